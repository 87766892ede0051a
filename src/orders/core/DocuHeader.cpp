#include "orders/core/DocuHeader.h"

#include "data/ClientDataSet.h"

const std::vector<TDocuHeaderField>& DocuHeaderFields() {
    using A = TDocuFieldAccess;
    static const std::vector<TDocuHeaderField> fields = {
        {QStringLiteral("SERIES"), A::Shown},         {QStringLiteral("NUMBER"), A::Editing},
        {QStringLiteral("DATEP"), A::Editing},        {QStringLiteral("ZAKAZCH_ID"), A::Editing},
        {QStringLiteral("DATEV"), A::Editing},        {QStringLiteral("DATEVYD"), A::Always},
        {QStringLiteral("VREMVYD"), A::Editing},      {QStringLiteral("TOTAL"), A::Shown},
        {QStringLiteral("OTKLPROC"), A::Deviation},   {QStringLiteral("OTKLSUM"), A::Deviation},
        {QStringLiteral("TOTAL_WOTKL"), A::Shown},    {QStringLiteral("COMMENT"), A::Editing},
        {QStringLiteral("GARANT"), A::Editing},       {QStringLiteral("RECEIVED"), A::Editing},
        {QStringLiteral("DEBT"), A::Shown},
    };
    return fields;
}

TDocuFieldAccess DocuFieldAccess(const QString& field) {
    for (const TDocuHeaderField& f : DocuHeaderFields())
        if (f.field == field) return f.access;
    return TDocuFieldAccess::Shown;
}

bool DocuFieldReadOnly(TDocuFieldAccess access, bool editAllowed, bool deviationEditable) {
    switch (access) {
    case TDocuFieldAccess::Editing: return !editAllowed;
    case TDocuFieldAccess::Always: return false;
    case TDocuFieldAccess::Deviation: return !deviationEditable;
    case TDocuFieldAccess::Shown: break;
    }
    return true;
}

QString DocuShownName(const TClientDataSet& docu, const QString& nameField, const QString& idField,
                      const TClientDataSet* list, const QString& keyField, const QString& resultField) {
    if (docu.findField(nameField)) return docu.fieldByName(nameField).asString();
    if (!list) return QString();
    return list->lookup(keyField, docu.fieldByName(idField).value(), resultField).toString();
}

QString DocuKindHeading(const QString& kindName) {
    return kindName + QStringLiteral(" ") + QString(144, QLatin1Char('.'));
}

QString DocuCustomerRefusal(const TClientDataSet* docu) {
    if (docu && !docu->fieldByName(QStringLiteral("ZAKAZCH_ID")).isNull()) return QString();
    return QStringLiteral("Не заполнено обязательное поле Заказчик.\rЗаполните указанное поле.");
}

TField& EditedField(TClientDataSet& ds, const QString& field) {
    if (!ds.isEditing()) ds.edit();
    return ds.fieldByName(field);
}
