#include "data/FieldMoneyText.h"

#include "base/RoutsFormat.h"
#include "data/Field.h"

QString FieldMoneyText(const TField& field, const QString& nullText) {
    const fb::Value v = field.value();
    if (v.isNull()) return nullText;
    return FormatMoney(v.toDecimal());
}
