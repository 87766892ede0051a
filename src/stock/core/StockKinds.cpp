#include "stock/core/StockKinds.h"

#include "data/ClientDataSet.h"
#include "data/FieldMoneyText.h"

namespace {

const QString kRepDoc = QStringLiteral("Reports/RepDoc");
const QString kRepDocRealiz = QStringLiteral("Reports/RepDoc_Realiz");

fb::Decimal decimalOf(const TField& f) { return f.isNull() ? fb::Decimal() : f.asDecimal(); }

}  // namespace

TStockKind StockKind(int id) {
    switch (id) {
    case kKindReceipt: return {id, false, false, kRepDoc};
    case kKindWriteOff: return {id, false, true, kRepDoc};
    case kKindSale: return {id, true, true, kRepDocRealiz};
    case kKindReturnFromBuyer: return {id, false, false, kRepDoc};
    case kKindReturnToSupplier: return {id, false, true, kRepDoc};
    default: return {id, false, false, QString()};
    }
}

bool StockEditingAllowed(bool periodOpen, bool isNewDoc, bool sklInsert, bool sklEdit) {
    return periodOpen && (isNewDoc ? sklInsert : sklEdit);
}

fb::Decimal StockLineAmount(const fb::Decimal& cena, const fb::Decimal& kolvo) {
    return cena.timesRounded(kolvo, 2);
}

void DefineMovesDataSet(TClientDataSet& m, TClientDataSet* tovar, std::function<int()> kindOf) {
    m.query().setObjectName(QStringLiteral("xqMoves"));
    m.setCommandText(QStringLiteral("SELECT * FROM MOVES\n  WHERE DOC_ID=:CURDOC_ID\n  ORDER BY NPP"));
    m.setTableName(QStringLiteral("MOVES"));
    m.setIndexFieldNames(QStringLiteral("NPP"));
    auto hidden = [](TField& f) -> TField& { return f.setVisible(false); };
    auto look = [&](const char* name, TFieldType type, int size, const char* result) -> TField& {
        return m.addLookupField(QString::fromLatin1(name), type, size, QStringLiteral("TOVAR_ID"), tovar,
                                QStringLiteral("ID"), QString::fromLatin1(result));
    };
    auto money = [](TField& f) -> TField& {
        return f.setScale(2).setDisplayWidth(12).setOnGetText([](const TField& x) { return FieldMoneyText(x); });
    };
    hidden(m.addField(QStringLiteral("ID"))).setRequired();
    hidden(m.addField(QStringLiteral("DOC_ID"))).setRequired();
    hidden(m.addField(QStringLiteral("TOVAR_ID"))).setRequired();
    look("TOVAR_ARTIKUL", TFieldType::Text, 20, "ARTIKUL").setDisplayLabel(QStringLiteral("Артикул")).setDisplayWidth(12);
    hidden(look("TOVAR_EAN13", TFieldType::Text, 14, "EAN13")).setDisplayLabel(QStringLiteral("Штрих-код"));
    look("TOVAR_NAME", TFieldType::Text, 100, "NAME").setDisplayLabel(QStringLiteral("Наименование")).setDisplayWidth(40);
    look("TOVAR_EDIZM", TFieldType::Text, 10, "EDIZM").setDisplayLabel(QStringLiteral("Ед.изм.")).setDisplayWidth(7);
    hidden(look("TOVAR_CENA", TFieldType::Decimal, 0, "CENA"));
    hidden(look("TOVAR_CENA_PROD", TFieldType::Decimal, 0, "CENA_PROD"));
    m.addField(QStringLiteral("KOLVO"), TFieldType::Decimal)
        .setScale(3)
        .setRequired()
        .setDisplayLabel(QStringLiteral("Кол-во"))
        .setDisplayWidth(9);
    money(m.addField(QStringLiteral("CENA"), TFieldType::Decimal)).setRequired().setDisplayLabel(QStringLiteral("Цена"));
    money(m.addField(QStringLiteral("SUMMA"), TFieldType::Decimal)).setRequired().setDisplayLabel(QStringLiteral("Сумма"));
    hidden(m.addField(QStringLiteral("NPP"))).setRequired();
    money(m.addField(QStringLiteral("CENA_REALIZ"), TFieldType::Decimal)).setDisplayLabel(QStringLiteral("Цена реализ."));
    money(m.addField(QStringLiteral("SUMMA_REALIZ"), TFieldType::Decimal))
        .setDisplayLabel(QStringLiteral("Сумма реализ."));

    // The line value rule.
    auto rule = [kindOf](TField& changed) {
        TClientDataSet& ds = changed.dataSet();
        const fb::Decimal kolvo = decimalOf(ds.fieldByName(QStringLiteral("KOLVO")));
        ds.fieldByName(QStringLiteral("SUMMA"))
            .setAsDecimal(StockLineAmount(decimalOf(ds.fieldByName(QStringLiteral("CENA"))), kolvo));
        if (kindOf && StockKind(kindOf()).realiz)
            ds.fieldByName(QStringLiteral("SUMMA_REALIZ"))
                .setAsDecimal(StockLineAmount(decimalOf(ds.fieldByName(QStringLiteral("CENA_REALIZ"))), kolvo));
    };
    for (const char* f : {"KOLVO", "CENA", "CENA_REALIZ"}) m.fieldByName(QString::fromLatin1(f)).setOnChange(rule);
}

void ShowKindColumns(TClientDataSet& m, int kindDocId) {
    const bool realiz = StockKind(kindDocId).realiz;
    m.fieldByName(QStringLiteral("CENA")).setVisible(!realiz);
    m.fieldByName(QStringLiteral("SUMMA")).setVisible(!realiz);
    m.fieldByName(QStringLiteral("CENA_REALIZ")).setVisible(realiz);
    m.fieldByName(QStringLiteral("SUMMA_REALIZ")).setVisible(realiz);
}

TDocTotals CalcDocSumma(TClientDataSet& m) {
    TDocTotals t;
    if (!m.isActive()) return t;
    // Read every row without moving the cursor (the dialog's row stays selected).
    const int summa = m.fieldByName(QStringLiteral("SUMMA")).index();
    const int realiz = m.fieldByName(QStringLiteral("SUMMA_REALIZ")).index();
    for (int row = 0; row < m.recordCount(); ++row) {
        const fb::Value s = m.valueAt(row, summa);
        const fb::Value r = m.valueAt(row, realiz);
        if (!s.isNull()) t.summa += s.toDecimal();
        if (!r.isNull()) t.summaRealiz += r.toDecimal();
    }
    return t;
}

void PutDocTotals(TClientDataSet& docs, const TDocTotals& t) {
    if (!docs.isEditing()) docs.edit();
    docs.fieldByName(QStringLiteral("SUMMA")).setAsDecimal(t.summa);
    docs.fieldByName(QStringLiteral("SUMMA_REALIZ")).setAsDecimal(t.summaRealiz);
    docs.post();
}
