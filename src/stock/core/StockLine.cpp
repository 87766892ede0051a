#include "stock/core/StockLine.h"

#include "base/RoutsFormat.h"
#include "data/ClientDataSet.h"

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
