#include "stock/core/StockLine.h"

#include "base/RoutsFormat.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"

void AppendStockLine(TClientDataSet& moves, TDM& dm, int docId) {
    const int id = dm.getMovesId(QStringLiteral("GET_MOVES"));
    const int npp = dm.getMovesNpp(QStringLiteral("GET_MOVES"));
    moves.append();
    moves.fieldByName(QStringLiteral("ID")).setAsInteger(id);
    moves.fieldByName(QStringLiteral("DOC_ID")).setAsInteger(docId);
    moves.fieldByName(QStringLiteral("NPP")).setAsInteger(npp);
    moves.fieldByName(QStringLiteral("SUMMA")).setAsDecimal(fb::Decimal());
}

QString StockLineDialogTitle(bool newLine) {
    return newLine ? QStringLiteral("Добавить товар") : QStringLiteral("Редактировать товар");
}

void PutLineGoods(TClientDataSet& moves, const TClientDataSet& tovar, std::optional<int> tovarId) {
    TField& id = moves.fieldByName(QStringLiteral("TOVAR_ID"));
    if (!tovarId) {
        if (!id.isNull()) id.clear();
        return;
    }
    id.setAsInteger(*tovarId);
    PutGoodsPrices(moves, tovar, *tovarId);
}

void PutGoodsPrices(TClientDataSet& moves, const TClientDataSet& tovar, int tovarId) {
    auto price = [&](const char* field) {
        const fb::Value v = tovar.lookup(QStringLiteral("ID"), tovarId, QString::fromLatin1(field));
        return v.isNull() ? fb::Decimal() : v.toDecimal();
    };
    moves.fieldByName(QStringLiteral("CENA")).setAsDecimal(price("CENA"));
    moves.fieldByName(QStringLiteral("CENA_REALIZ")).setAsDecimal(price("CENA_PROD"));
}

QStringList MissingLineFields(const TClientDataSet& moves) {
    QStringList missing;
    for (const char* name : {"TOVAR_ID", "KOLVO", "CENA"}) {
        const TField& f = moves.fieldByName(QString::fromLatin1(name));
        if (IsEmptyText(f.asString())) missing << (f.hasDisplayLabel() ? f.displayLabel() : f.name());
    }
    return missing;
}

QString MissingLineFieldsText(const QStringList& missing) {
    QString text = QStringLiteral("Заполните поля:\r\r");
    for (const QString& m : missing) text += m + QStringLiteral("\r");
    return text;
}

QString TakeStockLine(TClientDataSet& moves) {
    const QStringList missing = MissingLineFields(moves);
    if (!missing.isEmpty()) return MissingLineFieldsText(missing);
    if (moves.isEditing()) moves.post();
    return QString();
}

void DefineStockOnHand(TClientDataSet& nalich) {
    nalich.query().setObjectName(QStringLiteral("xqNalich"));
    nalich.setCommandText(QStringLiteral(
        "SELECT TOVAR_ID, SUM(KOLVO) AS KOLVO, SUM(SUMMA) AS SUMMA FROM P_NALICHALL(:RP_ID) GROUP BY TOVAR_ID"));
    nalich.setReadOnly(true);
    nalich.addField(QStringLiteral("TOVAR_ID"), TFieldType::Integer);
    nalich.addField(QStringLiteral("KOLVO"), TFieldType::Decimal).setScale(3);
    nalich.addField(QStringLiteral("SUMMA"), TFieldType::Decimal).setScale(2);
    nalich.setIndexFieldNames(QStringLiteral("TOVAR_ID"));
}

void OpenStockOnHand(TClientDataSet& nalich, int periodId) {
    nalich.close();
    nalich.query().setParam(QStringLiteral("RP_ID"), periodId);
    nalich.open();
}

QString StockOnHandText(const TClientDataSet& nalich, int tovarId) {
    const fb::Value kolvo =
        nalich.isActive() ? nalich.lookup(QStringLiteral("TOVAR_ID"), tovarId, QStringLiteral("KOLVO")) : fb::Value();
    return kolvo.isNull() ? QString() : nalich.fieldByName(QStringLiteral("KOLVO")).textOf(kolvo);
}
