// The grid model and the field-bound controls, offscreen.
#include "DataFixture.h"

#include "ui/DataSetModel.h"
#include "ui/FieldBinding.h"
#include "data/FieldMoneyText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace datatest;

namespace {

// Types text as key presses (QTest's own key clicks know only ASCII).
void type(QWidget* w, const QString& text) {
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class ModelTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        setUiErrorHandler([this](std::exception_ptr e) { uiErrors << errorMessage(e); });
    }
    void TearDown() override {
        setUiErrorHandler({});
        DataTest::TearDown();
    }
    std::unique_ptr<TClientDataSet> colors() {
        auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"), QStringLiteral("cdsBook"));
        ds->addField(QStringLiteral("ID")).setDisplayLabel(QStringLiteral("Код")).setVisible(false);
        ds->addField(QStringLiteral("NAME")).setDisplayLabel(QStringLiteral("Наименование")).setRequired();
        ds->open();
        return ds;
    }
    QStringList uiErrors;
};

TEST_F(ModelTest, ShowsVisibleFieldsWithLabelsAndDisplayTexts) {
    exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (1, 0, 'Клей', 1234.5)"));
    exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (2, 0, 'Шнурки')"));
    auto ds = dataSet(QStringLiteral("SELECT ID, NAME, CENA FROM TOVAR ORDER BY ID"));
    ds->open();
    ds->fieldByName(QStringLiteral("ID")).setVisible(false);
    ds->fieldByName(QStringLiteral("NAME")).setDisplayLabel(QStringLiteral("Наименование"));
    ds->fieldByName(QStringLiteral("CENA")).setDisplayLabel(QStringLiteral("Цена")).setOnGetText([](const TField& f) {
        return FieldMoneyText(f, QString());
    });
    DataSetModel model(ds.get());
    ASSERT_EQ(model.columnCount(), 2);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Наименование"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Цена"));
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("Клей"));
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("1\u00A0234,50"));
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QString());
    EXPECT_TRUE(model.data(model.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    EXPECT_EQ(model.columnOf(QStringLiteral("cena")), 1);
    EXPECT_EQ(model.columnOf(QStringLiteral("ID")), -1);

    ds->fieldByName(QStringLiteral("ID")).setVisible(true);
    EXPECT_EQ(model.columnCount(), 3);
    ds->close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ModelTest, FollowsEditsInsertsAndDeletes) {
    auto ds = colors();
    DataSetModel model(ds.get());
    int changed = 0, resets = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changed; });
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    ds->setRecNo(2);
    ds->edit();
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Молочный"));
    EXPECT_GE(changed, 1);
    EXPECT_EQ(model.data(model.index(2, 0)).toString(), QStringLiteral("Молочный"));  // the row being edited
    ds->cancel();
    EXPECT_EQ(model.data(model.index(2, 0)).toString(), QStringLiteral("Белый"));
    ds->append();
    EXPECT_EQ(model.rowCount(), 11);
    ds->cancel();
    EXPECT_EQ(model.rowCount(), 10);
    ds->deleteRecord();
    EXPECT_EQ(model.rowCount(), 9);
    EXPECT_GE(resets, 3);
}

TEST_F(ModelTest, TheViewsCurrentRowAndTheCursorMoveTogether) {
    auto ds = colors();
    DataSetModel model(ds.get());
    QTableView view;
    model.attachView(&view);
    EXPECT_EQ(view.currentIndex().row(), 0);
    ds->setRecNo(3);
    EXPECT_EQ(view.currentIndex().row(), 3);
    view.selectionModel()->setCurrentIndex(model.index(6, 0), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(ds->recNo(), 6);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ID")).asInteger(), 7);
    EXPECT_GT(view.columnWidth(0), 0);

    // a row that cannot be posted keeps the cursor (and the view) where it is
    ds->edit();
    ds->fieldByName(QStringLiteral("NAME")).clear();
    view.selectionModel()->setCurrentIndex(model.index(1, 0), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(ds->recNo(), 6);
    EXPECT_EQ(view.currentIndex().row(), 6);
    ASSERT_EQ(uiErrors.size(), 1);
    EXPECT_EQ(uiErrors[0], QStringLiteral("Field 'Наименование' must have a value"));
}

TEST_F(ModelTest, ALineEditShowsTheFieldAndWritesWhatIsTyped) {
    auto ds = colors();
    QLineEdit edit;
    TFieldBinding* b = bindLineEdit(&edit, ds.get(), QStringLiteral("NAME"));
    EXPECT_EQ(b->parent(), &edit);
    EXPECT_EQ(edit.text(), QStringLiteral("Черный"));
    EXPECT_EQ(edit.maxLength(), 30);
    ds->next();
    EXPECT_EQ(edit.text(), QStringLiteral("Коричневый"));

    edit.selectAll();
    type(&edit, QStringLiteral("Рыжий"));
    EXPECT_EQ(ds->state(), TDataSetState::Edit);  // typing puts the row into editing
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Коричневый"));
    ds->post();  // the typed text is written before posting
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Рыжий"));
    EXPECT_EQ(edit.text(), QStringLiteral("Рыжий"));

    edit.selectAll();
    type(&edit, QStringLiteral("Медный"));
    QTest::keyClick(&edit, Qt::Key_Return);  // editing finished: written at once
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Медный"));
    ds->cancel();
    EXPECT_EQ(edit.text(), QStringLiteral("Рыжий"));

    // assignments by code show at once
    ds->edit();
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Ржавый"));
    EXPECT_EQ(edit.text(), QStringLiteral("Ржавый"));
    ds->cancel();

    b->setReadOnly(true);
    EXPECT_TRUE(edit.isReadOnly());
    type(&edit, QStringLiteral("x"));
    EXPECT_EQ(ds->state(), TDataSetState::Browse);
    EXPECT_TRUE(uiErrors.isEmpty());
}

TEST_F(ModelTest, ALineEditRefusesTextThatIsNoNumber) {
    auto ds = colors();
    QLineEdit edit;
    bindLineEdit(&edit, ds.get(), QStringLiteral("ID"));
    edit.selectAll();
    type(&edit, QStringLiteral("12а"));
    QTest::keyClick(&edit, Qt::Key_Return);
    ASSERT_EQ(uiErrors.size(), 1);
    // Named by the field's label (no label widget here); the field's value comes back.
    EXPECT_EQ(uiErrors[0], QStringLiteral("Поле \"") + ds->fieldByName(QStringLiteral("ID")).displayLabel() +
                               QStringLiteral("\": \"12а\" не является целым числом."));
    EXPECT_EQ(edit.text(), QStringLiteral("1"));
    ds->post();
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ID")).asInteger(), 1);
    edit.selectAll();
    type(&edit, QStringLiteral("12"));
    QTest::keyClick(&edit, Qt::Key_Return);
    ds->post();
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ID")).asInteger(), 12);
    EXPECT_EQ(uiErrors.size(), 1);
}

TEST_F(ModelTest, AComboListsTheLookupAndWritesTheChosenId) {
    seedOrder();
    auto services = dataSet(QStringLiteral("SELECT ID, NAME FROM USLUGA ORDER BY NAME"), QStringLiteral("cdsUslugaLU"));
    services->open();
    auto ls = lines();
    ls->open();
    QComboBox combo;
    bindComboBox(&combo, ls.get(), QStringLiteral("USLUGA_ID"), services.get(), QStringLiteral("NAME"));
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("Молния"));
    EXPECT_EQ(combo.currentText(), QStringLiteral("Набойки"));
    ls->next();
    EXPECT_EQ(combo.currentText(), QStringLiteral("Подошва"));
    emit combo.activated(0);  // the user picks "Молния"
    EXPECT_EQ(ls->state(), TDataSetState::Edit);
    EXPECT_EQ(ls->fieldByName(QStringLiteral("USLUGA_ID")).asInteger(), 3);
    ls->edit();
    ls->fieldByName(QStringLiteral("USLUGA_ID")).clear();
    EXPECT_EQ(combo.currentIndex(), -1);
    ls->cancel();
    // the list follows its source
    exec(QStringLiteral("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (4, 1, 'Антискользящая', 90)"));
    services->refresh();
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.currentText(), QStringLiteral("Подошва"));
}

TEST_F(ModelTest, ADateEditShowsAnEmptyDateBlankAndDeleteClearsIt) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, DTR) VALUES (2, 'Петров', '1980-02-29')"));
    auto ds = dataSet(QStringLiteral("SELECT * FROM ZAKAZCH ORDER BY ID"));
    ds->open();
    QDateEdit edit;
    bindDateEdit(&edit, ds.get(), QStringLiteral("DTR"));
    EXPECT_EQ(edit.date(), nullDateOfDateEdit());
    EXPECT_EQ(edit.text(), QStringLiteral(" "));
    ds->next();
    EXPECT_EQ(edit.date(), QDate(1980, 2, 29));
    edit.setDate(QDate(1981, 3, 1));  // as the user's change arrives
    EXPECT_EQ(ds->state(), TDataSetState::Edit);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("DTR")).asDate(), QDate(1981, 3, 1));
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_TRUE(ds->fieldByName(QStringLiteral("DTR")).isNull());
    EXPECT_EQ(edit.date(), nullDateOfDateEdit());
    ds->post();
    EXPECT_EQ(ds->changeCount(), 1);
}

TEST_F(ModelTest, ACheckBoxWritesTOrF) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM PRIEMSCHIK"));
    ds->open();
    QCheckBox box;
    TFieldBinding* b = bindCheckBox(&box, ds.get(), QStringLiteral("ZAK_EDIT"));
    EXPECT_TRUE(box.isChecked());
    box.click();
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ZAK_EDIT")).asString(), QStringLiteral("F"));
    box.click();
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ZAK_EDIT")).asString(), QStringLiteral("T"));
    ds->cancel();
    b->setReadOnly(true);
    EXPECT_FALSE(box.isEnabled());
}

}  // namespace
