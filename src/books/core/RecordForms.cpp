#include "books/core/RecordForms.h"

#include "books/core/BookRules.h"
#include "data/ClientDataSet.h"
#include "data/FieldMoneyText.h"

namespace books {

namespace {

const QString kId = QStringLiteral("ID");
const QString kCode = QStringLiteral("Код");
const QString kName = QStringLiteral("Наименование");
const QString kGroup = QStringLiteral("Группа");

RecordControl edit(const char* objectName, const QString& label, const char* field) {
    return {QString::fromLatin1(objectName), label, QString::fromLatin1(field), RecordControl::Edit};
}
RecordControl groupControl() { return {QStringLiteral("cbGroup"), kGroup, QStringLiteral("GR_ID"), RecordControl::Group}; }
RecordControl lookup(const char* objectName, const QString& label, const char* field, const char* dataset) {
    return {QString::fromLatin1(objectName), label,        QString::fromLatin1(field), RecordControl::Lookup,
            QString::fromLatin1(dataset),    QStringLiteral("NAME")};
}

// Code and name, both required: colours, materials, special marks.
RecordForm idName(const char* dialog, const QString& nameLabel) {
    return {QString::fromLatin1(dialog),
            {edit("edID", kCode, "ID"), edit("edName", nameLabel, "NAME")},
            {{kId, kCode}, {QStringLiteral("NAME"), nameLabel}}};
}

}  // namespace

const QList<RecordForm>& RecordForms() {
    static const QList<RecordForm> forms = [] {
        const RequiredFields codeAndName{{kId, kCode}, {QStringLiteral("NAME"), kName}};
        QList<RecordForm> l;
        l << idName("frmNewColor", kName) << idName("frmNewMaterial", kName)
          << idName("frmNewComment", QStringLiteral("Текст"));
        l << RecordForm{QStringLiteral("frmNewZakazch"),
                        {edit("edID", kCode, "ID"), edit("edName", QStringLiteral("ФИО"), "NAME"),
                         edit("edAdres", QStringLiteral("Адрес"), "ADRES"),
                         edit("edPhone", QStringLiteral("Телефон"), "PHONE"),
                         {QStringLiteral("edDtr"), QStringLiteral("Дата рождения"), QStringLiteral("DTR"),
                          RecordControl::Date}},
                        codeAndName};
        l << RecordForm{QStringLiteral("frmNewOperator"), {}, {{kId, kCode}, {QStringLiteral("FIO"), QStringLiteral("ФИО")}}};
        l << RecordForm{QStringLiteral("frmNewProduct"),
                        {edit("edID", kCode, "ID"), edit("edName", kName, "NAME"), groupControl()},
                        codeAndName};
        l << RecordForm{QStringLiteral("frmNewTovar"),
                        {edit("edId", kCode, "ID"), edit("edArtikul", QStringLiteral("Артикул"), "ARTIKUL"),
                         edit("edEan13", QStringLiteral("Штрих-код"), "EAN13"), edit("edName", kName, "NAME"),
                         edit("edEdizm", QStringLiteral("Ед.изм."), "EDIZM"), edit("edCena", QStringLiteral("Цена"), "CENA"),
                         edit("edCenaProd", QStringLiteral("Цена реализ."), "CENA_PROD"), groupControl()},
                        {{QStringLiteral("ARTIKUL"), QStringLiteral("Артикул")},
                         {QStringLiteral("NAME"), kName},
                         {QStringLiteral("GR_ID"), kGroup},
                         {QStringLiteral("EDIZM"), QStringLiteral("Единица измерения")}},
                        QStringLiteral("\n\r")};
        l << RecordForm{QStringLiteral("frmNewUsluga"),
                        {edit("edID", kCode, "ID"), edit("edName", kName, "NAME"),
                         edit("edSumma", QStringLiteral("Стоимость"), "SUMMA"), groupControl(),
                         edit("edEan13", QStringLiteral("Штрих-код"), "EAN13"),
                         edit("edNumpr", QStringLiteral("№ по прейск."), "NUMPR")},
                        {{kId, kCode}, {QStringLiteral("NAME"), kName}, {QStringLiteral("SUMMA"), QStringLiteral("Стоимость")}}};
        RecordControl unit = edit("edEdizm", QStringLiteral("Ед. изм."), "TOVAR_EDIZM");
        unit.readOnly = true;
        l << RecordForm{QStringLiteral("frmNewUslTov"),
                        {lookup("cbTovar", kName, "TOVAR_ID", "cdsTovarLU"), edit("edKolvo", QStringLiteral("Количество"), "KOLVO"),
                         edit("edCena", QStringLiteral("Цена"), "CENA"), unit},
                        {{QStringLiteral("TOVAR_ID"), kName},
                         {QStringLiteral("KOLVO"), QStringLiteral("Количество")},
                         {QStringLiteral("CENA"), QStringLiteral("Цена")}}};
        // The group's own checks are GroupRecordRefusal's.
        l << RecordForm{QStringLiteral("frmNewGroup"),
                        {edit("edName", QStringLiteral("Наименование группы"), "NAME"),
                         {QStringLiteral("cbGroup"), QStringLiteral("Родительская группа"), QStringLiteral("PARENT_ID"),
                          RecordControl::Group},
                         lookup("cbKinddoc", QStringLiteral("Услуги используются в документах"), "KINDDOC_ID", "cdsKindDoc")},
                        {}};
        return l;
    }();
    return forms;
}

const RecordForm& RecordFormOf(const QString& dialog) {
    for (const RecordForm& f : RecordForms())
        if (f.dialog == dialog) return f;
    static const RecordForm none;
    return none;
}

QString RecordRefusal(const RecordForm& form, const TClientDataSet& ds) {
    return MissingFieldsMessage(MissingFields(ds, form.required), form.lineBreak);
}

// --- accompanying goods ---------------------------------------------------------

const QList<RecordControl>& OperatorControls() {
    static const QList<RecordControl> controls = [] {
        RecordControl role = edit("DBEdit1", {}, "ROLE_ID");
        role.sameRow = true;
        role.maxWidth = 40;
        return QList<RecordControl>{edit("edID", kCode, "ID"), edit("edFio", QStringLiteral("ФИО"), "FIO"),
                                    edit("edPassword", QStringLiteral("Пароль"), "PASSWD"), role};
    }();
    return controls;
}

QString ServiceLineCaption(bool isNew) {
    return isNew ? QStringLiteral("Новый сопутствующий товар") : QStringLiteral("Редактирование сопутствующего товара");
}

void StartServiceLine(TClientDataSet& lines, const TClientDataSet& services) {
    lines.append();
    lines.fieldByName(QStringLiteral("USLUGA_ID")).setValue(services.fieldByName(kId).value());
}

QString ServiceLineRefusal(const TClientDataSet& lines) {
    const QString missing = RecordRefusal(RecordFormOf(QStringLiteral("frmNewUslTov")), lines);
    if (!missing.isEmpty()) return missing;
    if (IsDuplicateLine(lines, lines.fieldByName(QStringLiteral("TOVAR_ID")).value()))
        return QStringLiteral("Этот товар уже есть среди сопутствующих товаров услуги.\r"
                              "Измените количество в его строке.");
    return {};
}

void DefineServiceLines(TClientDataSet& lines, TClientDataSet* goods) {
    lines.setCommandText(QStringLiteral("SELECT\n UT.USLUGA_ID,\n UT.TOVAR_ID,\n UT.KOLVO,\n UT.CENA\n"
                                        "FROM USLTOV UT\nWHERE UT.USLUGA_ID=:USLUGA_ID"));
    lines.setTableName(QStringLiteral("USLTOV"));
    lines.addField(QStringLiteral("USLUGA_ID")).setVisible(false);
    lines.addField(QStringLiteral("TOVAR_ID")).setVisible(false).setOnChange([goods](TField& f) {
        f.dataSet().fieldByName(QStringLiteral("CENA")).setValue(goods->lookup(kId, f.value(), QStringLiteral("CENA")));
    });
    lines.addLookupField(QStringLiteral("TOVAR_NAME"), TFieldType::Text, 100, QStringLiteral("TOVAR_ID"), goods, kId,
                         QStringLiteral("NAME"))
        .setDisplayLabel(QStringLiteral("Товар"))
        .setDisplayWidth(26);
    lines.addField(QStringLiteral("KOLVO")).setDisplayLabel(QStringLiteral("Кол-во")).setDisplayWidth(8);
    lines.addField(QStringLiteral("CENA"))
        .setDisplayLabel(QStringLiteral("Цена"))
        .setDisplayWidth(8)
        .setOnGetText([](const TField& f) { return FieldMoneyText(f); });
    lines.addLookupField(QStringLiteral("TOVAR_CENA"), TFieldType::Decimal, 0, QStringLiteral("TOVAR_ID"), goods, kId,
                         QStringLiteral("CENA"))
        .setVisible(false);
    lines.addLookupField(QStringLiteral("TOVAR_EDIZM"), TFieldType::Text, 10, QStringLiteral("TOVAR_ID"), goods, kId,
                         QStringLiteral("EDIZM"))
        .setVisible(false);
}

// --- groups ---------------------------------------------------------------------

bool IsRootGroup(const TClientDataSet& groups) {
    return groups.isActive() && groups.fieldByName(QStringLiteral("PARENT_ID")).value() == fb::Value(-1);
}

QList<RecordControl> GroupControls(bool showsKinds) {
    QList<RecordControl> controls = RecordFormOf(QStringLiteral("frmNewGroup")).controls;
    if (!showsKinds) controls.removeIf([](const RecordControl& c) { return c.field == QStringLiteral("KINDDOC_ID"); });
    return controls;
}

QString GroupRecordRefusal(const TClientDataSet& groups, const TClientDataSet* list) {
    // The root group keeps no parent of its own; its name is not asked for.
    if (IsRootGroup(groups)) return {};
    const QString name = groups.fieldByName(QStringLiteral("NAME")).asString();
    const int id = int(groups.fieldByName(kId).asInteger());
    const int parent = int(groups.fieldByName(QStringLiteral("PARENT_ID")).asInteger());
    QHash<int, int> parents = ParentsOf(list ? *list : groups);
    parents.insert(id, parent);
    return GroupDialogError(name, id, parent, parents);
}

// --- operators ------------------------------------------------------------------

const QList<OperatorRight>& OperatorRights() {
    static const QList<OperatorRight> rights = [] {
        const QStringList four{QStringLiteral("Просмотр"), QStringLiteral("Создание"), QStringLiteral("Редактирование"),
                               QStringLiteral("Удаление")};
        const QStringList groups{QStringLiteral("Предоставление услуг"), QStringLiteral("Складские операции")};
        QList<OperatorRight> l;
        for (int i = 0; i < 8; ++i) l.append({RightFields().at(i), four.at(i % 4), groups.at(i / 4)});
        l.append({RightFields().at(8), QStringLiteral("Доступ к справочникам"), {}});
        l.append({RightFields().at(9), QStringLiteral("Доступ к справочнику операторов"), {}});
        return l;
    }();
    return rights;
}

QString RoleTitle() { return QStringLiteral("Роль"); }

const QStringList& RoleCaptions() {
    static const QStringList captions{QStringLiteral("Приемщик"), QStringLiteral("Администратор")};
    return captions;
}

int ShownRole(const TClientDataSet& operators) {
    const fb::Value role = operators.fieldByName(QStringLiteral("ROLE_ID")).value();
    if (role.isNull()) return 0;
    const qint64 r = role.toInt();
    return r == 1 || r == 2 ? int(r) : 0;
}

RightState RightStateOf(const TField& right) {
    if (right.isNull()) return RightState::Unknown;
    return right.asString().trimmed() == QStringLiteral("T") ? RightState::Granted : RightState::Denied;
}

QString ToggledRight(const TField& right) {
    return right.asString().trimmed() == QStringLiteral("T") ? QStringLiteral("F") : QStringLiteral("T");
}

}  // namespace books
