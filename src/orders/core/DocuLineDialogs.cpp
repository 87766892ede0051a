#include "orders/core/DocuLineDialogs.h"

#include "base/RoutsFormat.h"
#include "data/ClientDataSet.h"
#include "orders/core/DocuHeader.h"

#include <utility>
#include <vector>

QString DocuLineDialogTitle(TDocuLineKind kind, bool appending) {
    if (kind == TDocuLineKind::Product)
        return appending ? QStringLiteral("Добавить изделие") : QStringLiteral("Редактировать изделие");
    return appending ? QStringLiteral("Добавить услугу") : QStringLiteral("Редактировать услугу");
}

QString DocuKindFilter(int kindDocId) { return QStringLiteral("KINDDOC_ID=") + QString::number(kindDocId); }

bool IsEmptyField(const TClientDataSet* ds, const QString& fieldName) {
    if (!ds) return true;
    const TField& f = ds->fieldByName(fieldName);
    return f.isNull() || IsEmptyText(f.asString());
}

QStringList MissingDocuLineFields(TDocuLineKind kind, const TClientDataSet* lines) {
    using Required = std::vector<std::pair<QString, QString>>;  // field, the name the message uses
    static const Required product = {{QStringLiteral("PRODUCT_ID"), QStringLiteral("Изделие")}};
    static const Required service = {{QStringLiteral("USLUGA_ID"), QStringLiteral("Услуга")},
                                     {QStringLiteral("SUMMA"), QStringLiteral("Стоимость")}};
    QStringList missing;
    for (const auto& [field, name] : kind == TDocuLineKind::Product ? product : service)
        if (IsEmptyField(lines, field)) missing << name;
    return missing;
}

QString MissingFieldsMessage(const QStringList& missing) {
    QString text = QStringLiteral("Заполните поля:\r\r");
    for (const QString& m : missing) text += m + QStringLiteral("\r");
    return text;
}

void SetDocuLineChoice(TClientDataSet& lines, const QString& field, std::optional<int> id) {
    TField& f = EditedField(lines, field);
    if (id)
        f.setAsInteger(*id);
    else
        f.clear();
}
