#include "stock/core/GoodsChoice.h"

#include "data/ClientDataSet.h"

void DefineGoodsGroupsList(TClientDataSet& groups) {
    groups.setCommandText(QStringLiteral("SELECT ID, LEVELI, NAME, PARENT_ID FROM TOVARGR ORDER BY LEVELI, NAME"));
    groups.setKeepServerOrder(true);
}

void DefineGroupGoodsList(TClientDataSet& goods) {
    goods.setCommandText(
        QStringLiteral("SELECT ID, ARTIKUL, EAN13, NAME, GR_ID FROM TOVAR WHERE GR_ID=:PAR_GR ORDER BY ARTIKUL"));
    goods.setKeepServerOrder(true);
    goods.setReadOnly(true);
    goods.addField(QStringLiteral("ID")).setVisible(false);
    goods.addField(QStringLiteral("ARTIKUL")).setDisplayLabel(QStringLiteral("Артикул")).setDisplayWidth(10);
    goods.addField(QStringLiteral("EAN13")).setVisible(false);
    goods.addField(QStringLiteral("NAME")).setDisplayLabel(QStringLiteral("Наименование")).setDisplayWidth(50);
    goods.addField(QStringLiteral("GR_ID")).setVisible(false);
}

void LocateOrFirst(TClientDataSet& list, int id) {
    if (!list.locate(QStringLiteral("ID"), id)) list.first();
}

std::optional<int> CurrentListId(const TClientDataSet& list) {
    if (!list.isActive() || list.isEmpty()) return std::nullopt;
    return int(list.fieldByName(QStringLiteral("ID")).asInteger());
}

void OpenGroupGoods(TClientDataSet& goods, const TClientDataSet& groups) {
    goods.close();
    goods.query().setParam(QStringLiteral("PAR_GR"), CurrentListId(groups).value_or(-1));
    goods.open();
}

std::optional<int> GoodsGroupOf(const TClientDataSet& tovar, int tovarId) {
    if (!tovar.isActive()) return std::nullopt;
    const fb::Value gr = tovar.lookup(QStringLiteral("ID"), tovarId, QStringLiteral("GR_ID"));
    if (gr.isNull()) return std::nullopt;
    return int(gr.toInt());
}
