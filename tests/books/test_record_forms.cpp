// The record forms of the books without a window: every dialog's controls
// name fields of its book, an empty record is refused with the dialog's own
// message and a filled one is not; the refusals of a group and of an
// accompanying goods line; the operator's rights.
#include "TestDatabase.h"

#include "books/core/BookRules.h"
#include "books/core/RecordForms.h"
#include "data/ClientDataSet.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class RecordFormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        att = std::make_unique<fb::Attachment>(testdb::freshCopy(m_dir));
    }
    void exec(const char* sql) { testdb::exec(*att, QString::fromUtf8(sql)); }
    std::unique_ptr<TClientDataSet> rows(const QString& sql, const char* param = nullptr, int value = 0) {
        auto ds = std::make_unique<TClientDataSet>();
        ds->setAttachment(att.get());
        ds->setCommandText(sql);
        if (param) ds->query().setParam(QString::fromLatin1(param), value);
        ds->open();
        return ds;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<fb::Attachment> att;
};

TEST_F(RecordFormsTest, EveryDialogEditsFieldsOfItsBookAndRefusesAnEmptyRecord) {
    struct Case { const char* dialog; const char* book; int controls; const char* emptyRefusal; };
    const Case cases[] = {
        {"frmNewColor", "frmBookColor", 2, "Заполните поля:\r\rКод\rНаименование\r"},
        {"frmNewMaterial", "frmBookMaterial", 2, "Заполните поля:\r\rКод\rНаименование\r"},
        {"frmNewComment", "frmBookComment", 2, "Заполните поля:\r\rКод\rТекст\r"},
        {"frmNewZakazch", "frmBookZakazch", 5, "Заполните поля:\r\rКод\rНаименование\r"},
        {"frmNewOperator", "frmBookOperator", 0, "Заполните поля:\r\rКод\rФИО\r"},
        {"frmNewProduct", "frmBookProduct", 3, "Заполните поля:\r\rКод\rНаименование\r"},
        {"frmNewUsluga", "frmBookUsluga", 6, "Заполните поля:\r\rКод\rНаименование\rСтоимость\r"},
        // The goods dialog breaks its lines with "\n\r" and leaves the code to the book.
        {"frmNewTovar", "frmBookTovar", 8,
         "Заполните поля:\n\r\n\rАртикул\n\rНаименование\n\rГруппа\n\rЕдиница измерения\n\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        const books::RecordForm& form = books::RecordFormOf(QString::fromLatin1(c.dialog));
        ASSERT_EQ(form.dialog, QString::fromLatin1(c.dialog));
        EXPECT_EQ(form.controls.size(), c.controls);
        const QString window = QString::fromLatin1(c.book);
        const auto* tree = books::TreeBookByWindow(window);
        const auto* flat = books::SimpleBookByWindow(window);
        ASSERT_TRUE(tree || flat);
        EXPECT_EQ(tree ? tree->dialog : flat->dialog, form.dialog);
        auto ds = tree ? rows(tree->recordsSql, "PAR_GR", -1) : rows(flat->sql);
        for (const books::RecordControl& control : form.controls)
            EXPECT_NO_THROW(ds->fieldByName(control.field)) << control.objectName.toStdString();
        ds->append();
        EXPECT_EQ(books::RecordRefusal(form, *ds), QString::fromUtf8(c.emptyRefusal));
        ds->fieldByName(form.required.first().first).setAsString(QStringLiteral("  "));  // blanks are no value
        EXPECT_EQ(books::RecordRefusal(form, *ds), QString::fromUtf8(c.emptyRefusal));
        for (const auto& [field, line] : form.required) ds->fieldByName(field).setAsString(QStringLiteral("1"));
        EXPECT_EQ(books::RecordRefusal(form, *ds), QString());
        ds->cancel();
    }
    EXPECT_TRUE(books::RecordFormOf(QStringLiteral("frmNewNothing")).required.isEmpty());
}

TEST_F(RecordFormsTest, GroupRefusalsFollowTheBranchAndSpareTheRoot) {
    exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'A', 1)");
    exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (2, 1, 'B', 2)");
    const auto* goods = books::TreeBookByWindow(QStringLiteral("frmBookTovar"));
    auto groups = rows(goods->groupsSql);
    auto list = rows(goods->groupsLookupSql);
    const QString self = QStringLiteral("Родительской группой не может быть сама группа.\n\r"
                                        " Выберите другую родительскую группу.\n\r");
    const QString child = QStringLiteral("Родительской группой не может быть подгруппа этой группы.\n\r"
                                         " Выберите другую родительскую группу.\n\r");
    const QString noName = QStringLiteral("Заполните поле \"Наименование группы\".\n\r");
    struct Case { int group; const char* name; int parent; QString refusal; };
    const Case cases[] = {
        {1, "A", 0, {}}, {1, "A", 1, self}, {1, "A", 2, child}, {2, "B", 0, {}}, {1, " ", 0, noName},
        {0, "", 5, {}},  // the root keeps its name and its parent out of the dialog's checks
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(groups->locate(QStringLiteral("ID"), c.group));
        EXPECT_EQ(books::IsRootGroup(*groups), c.group == 0);
        groups->edit();
        groups->fieldByName(QStringLiteral("NAME")).setAsString(QString::fromUtf8(c.name));
        if (c.group != 0) groups->fieldByName(QStringLiteral("PARENT_ID")).setAsInteger(c.parent);
        EXPECT_EQ(books::GroupRecordRefusal(*groups, list.get()), c.refusal) << c.group << "<-" << c.parent;
        EXPECT_EQ(books::GroupRecordRefusal(*groups, nullptr), c.refusal) << c.group << "<-" << c.parent;
        groups->cancel();
    }
}

TEST_F(RecordFormsTest, ServiceLineTakesThePriceAndIsRefusedWhenIncompleteOrRepeated) {
    exec("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA) VALUES (1, 0, 'N1', 'Набойка', 'пара', 12.5)");
    auto goods = rows(QStringLiteral("SELECT ID, NAME, CENA, EDIZM FROM TOVAR"));
    TClientDataSet lines;
    books::DefineServiceLines(lines, goods.get());
    lines.setAttachment(att.get());
    lines.query().setParam(QStringLiteral("USLUGA_ID"), 7);
    lines.open();
    lines.append();
    lines.fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(7);
    EXPECT_EQ(books::ServiceLineRefusal(lines), QStringLiteral("Заполните поля:\r\rНаименование\rКоличество\rЦена\r"));
    lines.fieldByName(QStringLiteral("TOVAR_ID")).setAsInteger(1);
    EXPECT_EQ(lines.fieldByName(QStringLiteral("CENA")).value(), fb::Value(testdb::dec("12.5")));
    EXPECT_EQ(lines.fieldByName(QStringLiteral("TOVAR_EDIZM")).asString(), QStringLiteral("пара"));
    EXPECT_EQ(books::ServiceLineRefusal(lines), QStringLiteral("Заполните поля:\r\rКоличество\r"));
    lines.fieldByName(QStringLiteral("KOLVO")).setAsString(QStringLiteral("2"));
    EXPECT_EQ(books::ServiceLineRefusal(lines), QString());
    lines.post();
    lines.edit();  // the line itself is no repetition
    EXPECT_EQ(books::ServiceLineRefusal(lines), QString());
    lines.cancel();
    lines.append();
    lines.fieldByName(QStringLiteral("TOVAR_ID")).setAsInteger(1);
    lines.fieldByName(QStringLiteral("KOLVO")).setAsString(QStringLiteral("1"));
    EXPECT_EQ(books::ServiceLineRefusal(lines),
              QStringLiteral("Этот товар уже есть среди сопутствующих товаров услуги.\rИзмените количество в его строке."));
}

TEST_F(RecordFormsTest, OperatorRightsShownAndToggled) {
    QStringList fields, groups;
    for (const books::OperatorRight& r : books::OperatorRights()) {
        fields << r.field;
        if (!groups.contains(r.group)) groups << r.group;
    }
    EXPECT_EQ(fields, books::RightFields());
    EXPECT_EQ(groups, (QStringList{QStringLiteral("Предоставление услуг"), QStringLiteral("Складские операции"), QString()}));
    auto ops = rows(books::SimpleBookByWindow(QStringLiteral("frmBookOperator"))->sql);
    ops->append();
    TField& right = ops->fieldByName(QStringLiteral("ZAK_EDIT"));
    EXPECT_EQ(books::ShownRole(*ops), 0);
    EXPECT_EQ(books::RightStateOf(right), books::RightState::Unknown);
    EXPECT_EQ(books::ToggledRight(right), QStringLiteral("T"));
    books::ApplyRole(*ops, 1);
    EXPECT_EQ(books::ShownRole(*ops), 1);
    EXPECT_EQ(books::RightStateOf(right), books::RightState::Denied);
    EXPECT_EQ(books::ToggledRight(right), QStringLiteral("T"));
    books::ApplyRole(*ops, 2);
    EXPECT_EQ(books::ShownRole(*ops), 2);
    EXPECT_EQ(books::RightStateOf(right), books::RightState::Granted);
    EXPECT_EQ(books::ToggledRight(right), QStringLiteral("F"));
    books::ApplyRole(*ops, 3);
    EXPECT_EQ(books::ShownRole(*ops), 0);
}

TEST_F(RecordFormsTest, LineGroupAndOperatorControlsNameFieldsOfTheirRows) {
    auto goods = rows(QStringLiteral("SELECT ID, NAME, CENA, EDIZM FROM TOVAR"));
    TClientDataSet lines;
    books::DefineServiceLines(lines, goods.get());
    lines.setAttachment(att.get());
    lines.query().setParam(QStringLiteral("USLUGA_ID"), 7);
    lines.open();
    const auto* services = books::TreeBookByWindow(QStringLiteral("frmBookUsluga"));
    auto groups = rows(services->groupsSql, "KINDDOC_ID", 0);
    auto ops = rows(books::SimpleBookByWindow(QStringLiteral("frmBookOperator"))->sql);
    struct Case { QList<books::RecordControl> controls; TClientDataSet* ds; QStringList names; };
    const Case cases[] = {
        {books::RecordFormOf(QStringLiteral("frmNewUslTov")).controls, &lines, {"cbTovar", "edKolvo", "edCena", "edEdizm"}},
        {books::GroupControls(true), groups.get(), {"edName", "cbGroup", "cbKinddoc"}},
        {books::GroupControls(false), groups.get(), {"edName", "cbGroup"}},
        {books::OperatorControls(), ops.get(), {"edID", "edFio", "edPassword", "DBEdit1"}},
    };
    for (const Case& c : cases) {
        QStringList names;
        for (const books::RecordControl& control : c.controls) {
            names << control.objectName;
            EXPECT_NO_THROW(c.ds->fieldByName(control.field)) << control.objectName.toStdString();
            EXPECT_EQ(control.kind == books::RecordControl::Lookup, !control.lookup.isEmpty()) << control.objectName.toStdString();
        }
        EXPECT_EQ(names, c.names);
    }
    // A new line belongs to the service being edited.
    auto service = rows(services->recordsSql, "PAR_GR", -1);
    service->append();
    service->fieldByName(QStringLiteral("ID")).setAsInteger(7);
    books::StartServiceLine(lines, *service);
    EXPECT_EQ(lines.fieldByName(QStringLiteral("USLUGA_ID")).value(), fb::Value(7));
    EXPECT_EQ(books::ServiceLineCaption(true), QStringLiteral("Новый сопутствующий товар"));
    EXPECT_EQ(books::ServiceLineCaption(false), QStringLiteral("Редактирование сопутствующего товара"));
    EXPECT_EQ(books::RoleCaptions(), (QStringList{QStringLiteral("Приемщик"), QStringLiteral("Администратор")}));
}
