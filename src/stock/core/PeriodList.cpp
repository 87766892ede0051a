#include "stock/core/PeriodList.h"

#include "data/ClientDataSet.h"
#include "stock/core/PeriodRules.h"

namespace {

void addStatusField(TClientDataSet* ds) {
    ds->addCalcField(QStringLiteral("STATUS_NAME"), TFieldType::Text, 30).setDisplayLabel(QStringLiteral("Статус"));
}

void calcStatus(TClientDataSet& ds) {
    ds.fieldByName(QStringLiteral("STATUS_NAME"))
        .setAsString(PeriodStatusName(ds.fieldByName(QStringLiteral("ACT")).asString()));
}

TClientDataSet* makeList(QObject* parent, const char* name, const char* queryName, const QString& sql) {
    auto* ds = new TClientDataSet(parent, QString::fromLatin1(name));
    ds->query().setObjectName(QString::fromLatin1(queryName));
    ds->setCommandText(sql);
    ds->setTableName(QStringLiteral("RPERIOD"));
    ds->setOnCalcFields(calcStatus);
    return ds;
}

}  // namespace

TClientDataSet* MakeChoosePeriodList(QObject* parent) {
    auto* ds = makeList(parent, "cdsRPeriod", "xqRPeriod",
                        QStringLiteral("SELECT ID, DATE_1, DATE_2, ACT, SUM_OST, SUM_OST1 FROM RPERIOD ORDER BY ID"));
    ds->addField(QStringLiteral("ID")).setVisible(false);
    ds->addField(QStringLiteral("DATE_1")).setDisplayLabel(QStringLiteral("Начало")).setDisplayWidth(12);
    ds->addField(QStringLiteral("DATE_2")).setDisplayLabel(QStringLiteral("Окончание")).setDisplayWidth(12);
    addStatusField(ds);
    ds->addField(QStringLiteral("ACT")).setVisible(false);
    ds->addField(QStringLiteral("SUM_OST")).setVisible(false);
    ds->addField(QStringLiteral("SUM_OST1")).setVisible(false);
    ds->setReadOnly(true);
    return ds;
}

TClientDataSet* MakePeriodManList(QObject* parent) {
    auto* ds = makeList(parent, "cdsPeriod", "xqPeriod",
                        QStringLiteral("SELECT ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST, SUM_OST1 "
                                       "FROM RPERIOD ORDER BY ID"));
    ds->addField(QStringLiteral("ID")).setVisible(false);
    ds->addField(QStringLiteral("DATE_1")).setDisplayLabel(QStringLiteral("Начало")).setDisplayWidth(12);
    ds->addField(QStringLiteral("DATE_2")).setDisplayLabel(QStringLiteral("Конец")).setDisplayWidth(12);
    addStatusField(ds);
    ds->addField(QStringLiteral("ACT")).setVisible(false);
    ds->addField(QStringLiteral("DOCU_CNT")).setDisplayLabel(QStringLiteral("Док-в (услуги)"));
    ds->addField(QStringLiteral("DOCS_CNT")).setDisplayLabel(QStringLiteral("Док-в (склад)"));
    ds->addField(QStringLiteral("SUM_OST"))
        .setDisplayLabel(QStringLiteral("Ост.н. скл."))
        .setOnGetText([](const TField& f) { return PeriodSumText(f); });
    ds->addField(QStringLiteral("SUM_OST1"))
        .setDisplayLabel(QStringLiteral("Ост.к. скл."))
        .setOnGetText([](const TField& f) { return PeriodSumText(f); });
    return ds;
}

void ReopenPeriodList(TClientDataSet& list, int id, TPeriodFallback fallback) {
    list.close();
    list.open();
    if (list.locate(QStringLiteral("ID"), fb::Value(id))) return;
    if (fallback == TPeriodFallback::First)
        list.first();
    else
        list.last();
}

std::optional<TChosenPeriod> ChosenPeriod(const TClientDataSet& list) {
    if (!list.isActive() || list.isEmpty()) return std::nullopt;
    TChosenPeriod p;
    p.id = list.fieldByName(QStringLiteral("ID")).asInteger();
    p.date1 = list.fieldByName(QStringLiteral("DATE_1")).asDate();
    p.date2 = list.fieldByName(QStringLiteral("DATE_2")).asDate();
    p.open = list.fieldByName(QStringLiteral("ACT")).asString().trimmed() == kPeriodOpenAct;
    return p;
}
