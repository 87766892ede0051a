#include "books/core/BookRules.h"

#include "base/RoutsFormat.h"
#include "data/ClientDataSet.h"
#include "data/SaveRetry.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QSet>

namespace books {

namespace {

std::array<QString, 4> four(const QString& a, const QString& b, const QString& c = {}, const QString& d = {}) {
    return {a, b, c, d};
}

const QString kId = QStringLiteral("ID");

SimpleBookConfig named(const char* window, const char* dialog, const char* heading, const char* table,
                       const char* caption, const char* help, const char* csv, const char* lookup,
                       const char* nameCaption, const char* sortName, int nameWidth) {
    SimpleBookConfig c;
    c.window = QString::fromLatin1(window);
    c.dialog = QString::fromLatin1(dialog);
    c.heading = QString::fromUtf8(heading);
    c.sql = QStringLiteral("SELECT ID, NAME FROM %1 ORDER BY ID").arg(QString::fromLatin1(table));
    c.idProc = QStringLiteral("GET_MAX_%1_ID").arg(QString::fromLatin1(table));
    c.caption = QString::fromUtf8(caption);
    c.helpPage = QString::fromLatin1(help);
    c.exportFileName = QString::fromUtf8(csv);
    c.lookup = QString::fromLatin1(lookup);
    c.sortCaptions = four(QStringLiteral("сортировать по коду"), QString::fromUtf8(sortName));
    c.findCaptions = four(QStringLiteral("Код"), QString::fromUtf8(nameCaption));
    c.orderFields = four(kId, QStringLiteral("NAME"));
    c.copyFields = {kId, QStringLiteral("NAME")};
    c.fields = {{kId, QStringLiteral("Код"), 10}, {QStringLiteral("NAME"), QString::fromUtf8(nameCaption), nameWidth}};
    return c;
}

}  // namespace

const QList<SimpleBookConfig>& SimpleBooks() {
    static const QList<SimpleBookConfig> books = [] {
        QList<SimpleBookConfig> l;
        l << named("frmBookColor", "frmNewColor", "Цвет", "COLOR", "Справочник: Цвета", "_books_color.htm",
                   "СПР_ЦВЕТОВ.csv", "cdsColorLU", "Наименование", "сортировать по наименованию", 30);
        l << named("frmBookMaterial", "frmNewMaterial", "Материал", "MATERIAL", "Справочник: Материалы",
                   "_books_material.htm", "СПР_МАТЕРИАЛОВ.csv", "cdsMaterialLU", "Наименование",
                   "сортировать по наименованию", 30);
        l << named("frmBookComment", "frmNewComment", "Особая отметка", "COMMENT", "Справочник: Особые отметки",
                   "_books_comment.htm", "СПР_ОТМЕТОК.csv", "cdsCommentLU", "Текст", "сортировать по тексту", 70);

        SimpleBookConfig z;
        z.window = QStringLiteral("frmBookZakazch");
        z.dialog = QStringLiteral("frmNewZakazch");
        z.heading = QStringLiteral("Заказчик");
        z.sql = QStringLiteral("SELECT ID, NAME, ADRES, PHONE, DTR FROM ZAKAZCH ORDER BY ID");
        z.idProc = QStringLiteral("GET_MAX_ZAKAZCH_ID");
        z.caption = QStringLiteral("Справочник: Заказчики");
        z.helpPage = QStringLiteral("_books_zakazch.htm");
        z.exportFileName = QStringLiteral("СПР_ЗАКАЗЧИКОВ.csv");
        z.lookup = QStringLiteral("cdsZakazchLU");
        z.sortCaptions = four(QStringLiteral("сортировать по коду"), QStringLiteral("сортировать по ФИО"),
                              QStringLiteral("сортировать по телефону"), QStringLiteral("сортировать по дате рождения"));
        z.findCaptions = four(QStringLiteral("Код"), QStringLiteral("ФИО"), QStringLiteral("Телефон"),
                              QStringLiteral("Дата рождения"));
        z.orderFields = four(kId, QStringLiteral("NAME"), QStringLiteral("PHONE"), QStringLiteral("DTR"));
        z.copyFields = {kId, QStringLiteral("NAME"), QStringLiteral("ADRES"), QStringLiteral("PHONE"),
                        QStringLiteral("DTR")};
        z.fields = {{kId, QStringLiteral("Код"), 10},
                    {QStringLiteral("NAME"), QStringLiteral("ФИО"), 34},
                    {QStringLiteral("ADRES"), QStringLiteral("Адрес"), 38},
                    {QStringLiteral("PHONE"), QStringLiteral("Телефон"), 16},
                    {QStringLiteral("DTR"), QStringLiteral("Дата рожд."), 12}};
        l << z;

        SimpleBookConfig o;
        o.window = QStringLiteral("frmBookOperator");
        o.dialog = QStringLiteral("frmNewOperator");
        o.heading = QStringLiteral("Оператор");
        o.sql = QStringLiteral("SELECT ID, FIO, PASSWD, ROLE_ID, ZAK_VIEW, ZAK_INSERT, ZAK_EDIT, ZAK_DELETE, SKL_VIEW, "
                               "SKL_INSERT, SKL_EDIT, SKL_DELETE, DOSTUP_BOOK, DOSTUP_BOOKUSER FROM PRIEMSCHIK ORDER BY ID");
        o.idProc = QStringLiteral("GET_MAX_PRIEMSCHIK_ID");
        o.caption = QStringLiteral("Справочник: Операторы");
        o.helpPage = QStringLiteral("_books_operator.htm");
        o.exportFileName = QStringLiteral("СПР_ОПЕРАТОРОВ.csv");
        o.lookup = QStringLiteral("cdsPriemschikLU");
        o.sortCaptions = four(QStringLiteral("сортировать по коду"), QStringLiteral("сортировать по ФИО"));
        o.findCaptions = four(QStringLiteral("Код"), QStringLiteral("ФИО"));
        o.orderFields = four(kId, QStringLiteral("FIO"));
        o.copyFields = {kId, QStringLiteral("FIO")};
        o.fields = {{kId, QStringLiteral("Код"), 10}, {QStringLiteral("FIO"), QStringLiteral("ФИО"), 40},
                    {QStringLiteral("PASSWD"), {}}, {QStringLiteral("ROLE_ID"), {}}};
        for (const QString& r : RightFields()) o.fields.append({r, {}});
        l << o;
        return l;
    }();
    return books;
}

const SimpleBookConfig* SimpleBookByWindow(const QString& window) {
    for (const auto& b : SimpleBooks())
        if (b.window == window) return &b;
    return nullptr;
}

const QList<TreeBookConfig>& TreeBooks() {
    static const QList<TreeBookConfig> books = [] {
        const auto base = [](const char* window, const char* dialog, const char* heading, const char* title,
                             const char* table, const char* lookup, const char* prefix) {
            TreeBookConfig c;
            const QString t = QString::fromLatin1(table);
            c.window = QString::fromLatin1(window);
            c.dialog = QString::fromLatin1(dialog);
            c.heading = QString::fromUtf8(heading);
            c.bookTitle = QString::fromUtf8(title);
            c.groupTable = t + QStringLiteral("GR");
            c.groupIdProc = QStringLiteral("GET_%1GR_ID").arg(t);
            c.idProc = QStringLiteral("GET_MAX_%1_ID").arg(t);
            c.lookup = QString::fromLatin1(lookup);
            c.helpPage = QStringLiteral("_books_.htm");
            c.groupsFileName = QStringLiteral("СПР_%1_ГРУППЫ.csv").arg(QString::fromUtf8(prefix));
            c.recordsFileName = QStringLiteral("СПР_%1_ЗАПИСИ.csv").arg(QString::fromUtf8(prefix));
            c.groupGenerator = QStringLiteral("GEN_%1GR_ID").arg(t);
            c.sortCaptions = four(QStringLiteral("сортировать по коду"), QStringLiteral("сортировать по наименованию"));
            c.findCaptions = four(QStringLiteral("Код"), QStringLiteral("Наименование"));
            c.orderFields = four(kId, QStringLiteral("NAME"));
            c.groupsLookupSql = QStringLiteral("SELECT ID, PARENT_ID, NAME, LEVELI, NAME AS FULLPATH FROM %1 "
                                               "ORDER BY LEVELI, NAME").arg(c.groupTable);
            return c;
        };
        QList<TreeBookConfig> l;
        TreeBookConfig t = base("frmBookTovar", "frmNewTovar", "Товар", "Товары", "TOVAR", "cdsTovarLU", "ТОВАРОВ");
        t.recordsSql = QStringLiteral("SELECT *\nFROM\n    TOVAR\nWHERE\n    (GR_ID=:PAR_GR OR -1=:PAR_GR)\nORDER BY ID");
        t.groupsSql = QStringLiteral("SELECT ID, PARENT_ID, NAME, LEVELI FROM TOVARGR ORDER BY LEVELI, NAME");
        t.recordGenerator = QStringLiteral("GEN_TOVAR_ID");
        t.copyFields = {QStringLiteral("ARTIKUL"), QStringLiteral("NAME"), QStringLiteral("GR_ID"),
                        QStringLiteral("EDIZM"), QStringLiteral("CENA")};
        t.fields = {{kId, QStringLiteral("Код"), 10},
                    {QStringLiteral("GR_ID"), {}},
                    {QStringLiteral("ARTIKUL"), QStringLiteral("Артикул"), 10},
                    {QStringLiteral("EAN13"), QStringLiteral("Штрих-код"), 14},
                    {QStringLiteral("NAME"), QStringLiteral("Наименование"), 40},
                    {QStringLiteral("EDIZM"), QStringLiteral("Ед.изм."), 0},
                    {QStringLiteral("CENA"), QStringLiteral("Цена"), 12, true},
                    {QStringLiteral("CENA_PROD"), QStringLiteral("Цена реализ."), 12, true}};
        l << t;

        TreeBookConfig u = base("frmBookUsluga", "frmNewUsluga", "Услуга", "Услуги", "USLUGA", "cdsUslugaLU", "УСЛУГ");
        u.recordsSql = QStringLiteral("SELECT *\nFROM USLUGA\nWHERE\n    (GR_ID=:PAR_GR OR -1=:PAR_GR)\nORDER BY ID");
        u.groupsSql = QStringLiteral("SELECT ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID FROM USLUGAGR WHERE "
                                     "(KINDDOC_ID=:KINDDOC_ID) OR (0=:KINDDOC_ID) OR (LEVELI=0) ORDER BY LEVELI, NAME");
        u.showsKindDoc = true;
        u.kindFilter = true;
        u.copyFields = {kId, QStringLiteral("GR_ID"), QStringLiteral("NAME"), QStringLiteral("SUMMA")};
        u.fields = {{kId, QStringLiteral("Код"), 8},
                    {QStringLiteral("GR_ID"), {}},
                    {QStringLiteral("NAME"), QStringLiteral("Наименование"), 40},
                    {QStringLiteral("EAN13"), QStringLiteral("Штрих-код"), 14},
                    {QStringLiteral("NUMPR"), QStringLiteral("№ по прейск."), 8},
                    {QStringLiteral("SUMMA"), QStringLiteral("Сумма"), 12, true}};
        l << u;

        TreeBookConfig p = base("frmBookProduct", "frmNewProduct", "Изделие", "Изделия", "PRODUCT", "cdsProductLU",
                                "ИЗДЕЛИЙ");
        p.recordsSql = QStringLiteral("SELECT *\nFROM PRODUCT\nWHERE\n    (GR_ID=:PAR_GR OR -1=:PAR_GR)\nORDER BY ID");
        p.groupsSql = QStringLiteral("SELECT ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID FROM PRODUCTGR ORDER BY LEVELI, NAME");
        p.showsKindDoc = true;
        p.copyFields = {kId, QStringLiteral("GR_ID"), QStringLiteral("NAME")};
        p.fields = {{kId, QStringLiteral("Код"), 10},
                    {QStringLiteral("GR_ID"), {}},
                    {QStringLiteral("NAME"), QStringLiteral("Наименование"), 50}};
        l << p;
        return l;
    }();
    return books;
}

const TreeBookConfig* TreeBookByWindow(const QString& window) {
    for (const auto& b : TreeBooks())
        if (b.window == window) return &b;
    return nullptr;
}

QString ReplaceOrderBy(const QString& sql, const QString& entry, bool wholeLine) {
    static const QString kOrderBy = QStringLiteral("ORDER BY");
    QStringList lines = sql.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        const int at = line.indexOf(kOrderBy);
        if (at < 0) continue;
        line = (wholeLine ? QString() : line.left(at)) + kOrderBy + QLatin1Char(' ') + entry;
    }
    return lines.join(QLatin1Char('\n'));
}

int NewRecordID(const fb::Value& maxId) { return maxId.isNull() ? 1 : int(maxId.toInt()) + 1; }

QString MissingFieldsMessage(const QStringList& missing, const QString& lineBreak) {
    if (missing.isEmpty()) return {};
    QString text = QStringLiteral("Заполните поля:") + lineBreak + lineBreak;
    for (const QString& m : missing) text += m + lineBreak;
    return text;
}

QStringList MissingFields(const TClientDataSet& ds, const QList<QPair<QString, QString>>& fields) {
    QStringList missing;
    for (const auto& f : fields)
        if (IsEmptyText(ds.fieldByName(f.first).asString())) missing << f.second;
    return missing;
}

std::optional<int> ChosenID(const TClientDataSet& ds) {
    if (!ds.isActive() || ds.isEmpty() || ds.recNo() < 0) return std::nullopt;
    const fb::Value id = ds.fieldByName(kId).value();
    if (id.isNull()) return std::nullopt;
    return int(id.toInt());
}

QHash<QString, fb::Value> RowValues(const TClientDataSet& ds) {
    QHash<QString, fb::Value> values;
    for (TField* f : ds.fields())
        if (f->kind() == TFieldKind::Data) values.insert(f->name(), f->value());
    return values;
}

void SetRowValues(TClientDataSet& ds, const QHash<QString, fb::Value>& values) {
    for (TField* f : ds.fields()) {
        if (f->kind() != TFieldKind::Data || !values.contains(f->name())) continue;
        if (!(f->value() == values.value(f->name()))) f->setValue(values.value(f->name()));
    }
}

QHash<int, int> ParentsOf(const TClientDataSet& groups) {
    QHash<int, int> parents;
    if (!groups.isActive()) return parents;
    const int id = groups.fieldByName(kId).index();
    const int parent = groups.fieldByName(QStringLiteral("PARENT_ID")).index();
    for (int r = 0; r < groups.recordCount(); ++r)
        parents.insert(int(groups.valueAt(r, id).toInt()), int(groups.valueAt(r, parent).toInt()));
    return parents;
}

bool IsInOwnBranch(const QHash<int, int>& parents, int groupId, int candidate) {
    QSet<int> seen;
    int cur = candidate;
    while (true) {
        if (cur == groupId) return true;
        if (seen.contains(cur) || !parents.contains(cur)) return false;
        seen.insert(cur);
        cur = parents.value(cur);
    }
}

QString GroupDialogError(const QString& name, int groupId, int parentId, const QHash<int, int>& parents) {
    QString text;
    if (name.trimmed().isEmpty()) text += QStringLiteral("Заполните поле \"Наименование группы\".\n\r");
    if (groupId == parentId)
        text += QStringLiteral("Родительской группой не может быть сама группа.\n\r Выберите другую родительскую группу.\n\r");
    else if (IsInOwnBranch(parents, groupId, parentId))
        text += QStringLiteral("Родительской группой не может быть подгруппа этой группы.\n\r"
                               " Выберите другую родительскую группу.\n\r");
    return text;
}

int FixGroupLevels(fb::Transaction& tra, const QString& groupTable, int groupId) {
    QHash<int, int> parentOf, level;
    QHash<int, QList<int>> children;
    {
        fb::Statement s(tra, QStringLiteral("SELECT ID, PARENT_ID, LEVELI FROM %1").arg(groupTable));
        s.execute();
        while (s.fetch()) {
            const int id = int(s.value(0).toInt()), parent = int(s.value(1).toInt());
            parentOf.insert(id, parent);
            level.insert(id, s.value(2).isNull() ? -1 : int(s.value(2).toInt()));
            if (id != parent) children[parent].append(id);
        }
    }
    if (!parentOf.contains(groupId)) return 0;
    const int parent = parentOf.value(groupId);
    const int start = parentOf.contains(parent) && parent != groupId ? level.value(parent) + 1 : 0;
    int changed = 0;
    QList<QPair<int, int>> todo{{groupId, start}};
    QSet<int> seen;
    while (!todo.isEmpty()) {
        const auto [id, lev] = todo.takeFirst();
        if (seen.contains(id)) continue;
        seen.insert(id);
        if (level.value(id) != lev) {
            fb::exec(tra, QStringLiteral("UPDATE %1 SET LEVELI = ? WHERE ID = ?").arg(groupTable), {lev, id});
            ++changed;
        }
        for (int c : children.value(id)) todo.append({c, lev + 1});
    }
    return changed;
}

GroupDelete CanDeleteGroup(int groupId, bool hasChildren, int recordsInView) {
    if (groupId == 0) return GroupDelete::Root;
    if (hasChildren || recordsInView > 0) return GroupDelete::NotEmpty;
    return GroupDelete::Allowed;
}

const QStringList& RightFields() {
    static const QStringList f{QStringLiteral("ZAK_VIEW"),  QStringLiteral("ZAK_INSERT"),  QStringLiteral("ZAK_EDIT"),
                               QStringLiteral("ZAK_DELETE"), QStringLiteral("SKL_VIEW"),    QStringLiteral("SKL_INSERT"),
                               QStringLiteral("SKL_EDIT"),  QStringLiteral("SKL_DELETE"),  QStringLiteral("DOSTUP_BOOK"),
                               QStringLiteral("DOSTUP_BOOKUSER")};
    return f;
}

QStringList RolePreset(int roleId) {
    if (roleId == 1) return QStringList{"T", "T", "F", "F", "T", "T", "F", "F", "T", "F"};
    if (roleId == 2) return QStringList(10, QStringLiteral("T"));
    return {};
}

void ApplyRole(TClientDataSet& operators, int roleId) {
    if (!operators.isEditing()) operators.edit();
    operators.fieldByName(QStringLiteral("ROLE_ID")).setAsInteger(roleId);
    const QStringList preset = RolePreset(roleId);
    for (int i = 0; i < preset.size(); ++i) operators.fieldByName(RightFields().at(i)).setValue(preset.at(i));
}

bool IsDuplicateLine(const TClientDataSet& lines, const fb::Value& tovarId) {
    if (tovarId.isNull()) return false;
    const int tov = lines.fieldByName(QStringLiteral("TOVAR_ID")).index();
    const int editing = lines.isEditing() ? lines.recNo() : -1;
    for (int r = 0; r < lines.recordCount(); ++r) {
        if (r == editing) continue;
        if (lines.valueAt(r, tov) == tovarId) return true;
    }
    return false;
}

void SaveServiceWithLines(TClientDataSet& services, TClientDataSet& lines) {
    const fb::Value id = services.fieldByName(kId).value();
    lines.checkBrowseMode();
    // Lines added while the service had another (proposed) ID follow it.
    lines.disableControls();
    try {
        const int field = lines.fieldByName(QStringLiteral("USLUGA_ID")).index();
        for (int r = 0; r < lines.recordCount(); ++r) {
            if (lines.valueAt(r, field) == id) continue;
            lines.setRecNo(r);
            lines.edit();
            lines.fieldByName(QStringLiteral("USLUGA_ID")).setValue(id);
            lines.post();
        }
    } catch (...) {
        lines.enableControls();
        throw;
    }
    lines.enableControls();
    RunSaveTransaction(services.attachment(), [&](fb::Transaction& tra) {
        services.applyUpdates(tra);
        lines.applyUpdates(tra);
    });
}

}  // namespace books
