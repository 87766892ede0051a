#include "orders/core/CustomerOrders.h"

#include "data/ClientDataSet.h"
#include "data/FieldMoneyText.h"

void DefineCustomerOrders(TClientDataSet& ds) {
    ds.setCommandText(QStringLiteral(
        "SELECT EXTRACT(YEAR FROM D.DATEP) AS YEARP, COUNT(D.ID) AS DOCU_CNT,\n"
        "  SUM( (SELECT COUNT(*) FROM PMOVES WHERE DOC_ID=D.ID )) AS IZD_CNT,\n"
        "  SUM(D.TOTAL) AS TOTAL\n"
        "FROM DOCU D WHERE D.ZAKAZCH_ID=:ZAKAZCH_ID\n"
        "GROUP BY YEARP ORDER BY YEARP"));
    ds.setKeepServerOrder(true);
    ds.setReadOnly(true);
    ds.addField(QStringLiteral("YEARP"), TFieldType::SmallInt).setDisplayLabel(QStringLiteral("Год"));
    ds.addField(QStringLiteral("DOCU_CNT"), TFieldType::Integer).setDisplayLabel(QStringLiteral("Заказы"));
    ds.addField(QStringLiteral("IZD_CNT"), TFieldType::Decimal).setScale(0).setDisplayLabel(QStringLiteral("Изделия"));
    ds.addField(QStringLiteral("TOTAL"), TFieldType::Decimal)
        .setScale(2)
        .setDisplayLabel(QStringLiteral("Сумма"))
        .setOnGetText([](const TField& f) { return FieldMoneyText(f); });
}

void OpenCustomerOrders(TClientDataSet& ds, int zakazchId) {
    ds.close();
    ds.query().setParam(QStringLiteral("ZAKAZCH_ID"), zakazchId);
    ds.open();
}
