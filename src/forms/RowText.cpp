#include "forms/RowText.h"

#include "data/ClientDataSet.h"

#include <QLocale>

namespace {

const TField* currentField(const TClientDataSet& ds, const char* field) {
    if (!ds.isActive() || (ds.isEmpty() && !ds.isEditing())) return nullptr;
    return ds.findField(QLatin1String(field));
}

}  // namespace

fb::Value RowValue(const TClientDataSet& ds, const char* field) {
    const TField* f = currentField(ds, field);
    return f ? f->value() : fb::Value();
}

QString RowText(const TClientDataSet& ds, const char* field) {
    const TField* f = currentField(ds, field);
    return f ? f->asString() : QString();
}

QString RowDateText(const TClientDataSet& ds, const char* field) {
    const fb::Value v = RowValue(ds, field);
    return v.isNull() ? QString() : QLocale().toString(v.toDate(), QLocale::ShortFormat);
}
