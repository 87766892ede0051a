// The order editor on a demo database: modes, line routines, the closing
// table, the customer check and a save the database refuses.
#include "EditorFixture.h"

#include "orders/ui/Product.h"
#include "orders/ui/Usluga.h"
#include "orders/ui/ZakazchInfo.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QApplication>
#include <QTest>
#include <QToolButton>

using namespace editortest;

namespace {
const QString kSaveQuestion = QStringLiteral("Документ был изменен.\rСохранить внесенные в документ изменения?\r\r");

QStringList idsOf(TClientDataSet& ds) {
    QStringList out;
    const int idx = ds.fieldByName(QStringLiteral("ID")).index();
    for (int r = 0; r < ds.recordCount(); ++r) out << ds.valueAt(r, idx).toString();
    return out;
}

// Types into a bound box as a user does, then leaves it.
void type(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->textEdited(text);
    emit edit->editingFinished();
}

// Picks a service in the service line dialog as a user does.
void pickService(TfrmUsluga* dlg, int uslugaId) {
    const int idx = dlg->cbUsluga->findData(QVariant(qlonglong(uslugaId)));
    ASSERT_GE(idx, 0);
    dlg->cbUsluga->setCurrentIndex(idx);
    emit dlg->cbUsluga->activated(idx);
}
}  // namespace

// --- modes ------------------------------------------------------------------

struct ModeCase {
    const char* name;
    bool isNew, periodOpen, zakInsert, zakEdit;
    const char* caption;
    bool editable;
};

class EditorModes : public EditorTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(EditorModes, CaptionAndEditability) {
    const ModeCase c = GetParam();
    GL.RPeriodOpen = c.periodOpen;
    GL.ZakInsert = c.zakInsert;
    GL.ZakEdit = c.zakEdit;
    if (c.isNew) newOrder(1); else existingOrder(1);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        EXPECT_EQ(editor->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_FALSE(editor->DocModified);
        EXPECT_EQ(editor->btnOk->isEnabled(), c.editable);
        EXPECT_EQ(editor->acUMovesAppend->isEnabled(), c.editable);
        EXPECT_EQ(editor->acPMovesDelete->isEnabled(), c.editable);
        EXPECT_EQ(editor->sbBookZakazch->isEnabled(), c.editable);
        EXPECT_EQ(editor->GroupBox1->isEnabled(), c.editable);
        EXPECT_EQ(editor->edNumber->isReadOnly(), !c.editable);
        EXPECT_EQ(editor->edReceived->isReadOnly(), !c.editable);
        EXPECT_EQ(editor->cbZakazch->isEnabled(), c.editable);
        EXPECT_FALSE(editor->edDateVyd->isReadOnly());  // the hand-over date, in every mode
        EXPECT_TRUE(editor->edOtklProc->isReadOnly());   // no deviation on these orders
        EXPECT_TRUE(editor->lbNameDoc->text().startsWith(QStringLiteral("Ремонт обуви ....")));
        editor->btnCancel->click();
    });
    openEditor(c.isNew);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EditorModes,
    ::testing::Values(ModeCase{"NewWithAllRights", true, true, true, true, "Новый документ", true},
                      ModeCase{"NewWithCreateRightOnly", true, true, true, false, "Новый документ", true},
                      ModeCase{"NewWithoutCreateRight", true, true, false, true, "Новый документ", false},
                      ModeCase{"Existing", false, true, true, true, "Редактирование документа", true},
                      ModeCase{"ExistingWithCreateRightOnly", false, true, true, false, "Просмотр", false},
                      ModeCase{"ExistingInClosedPeriod", false, false, true, true, "Просмотр", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorTest, KeyCuttingOrderHasNoProductsTab) {
    existingOrder(2, 1);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        EXPECT_FALSE(editor->PageControl1->isTabVisible(0));
        const int before = editor->cdsPMoves->recordCount();
        editor->acPMovesAppend->trigger();  // Shift+Ins does nothing here
        EXPECT_EQ(editor->cdsPMoves->recordCount(), before);
        EXPECT_FALSE(editor->DocModified);
        editor->btnCancel->click();
    });
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(EditorTest, KeysOfTheLineCommands) {
    EXPECT_EQ(editor->acUMovesAppend->shortcut(), QKeySequence(Qt::Key_Insert));
    EXPECT_EQ(editor->acPMovesAppend->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    EXPECT_EQ(editor->acComEdit->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(editor->acComDelete->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
}

// --- lines ------------------------------------------------------------------

TEST_F(EditorTest, AppendedServiceLineTakesNumbersPriceAndTotal) {
    const int doc = existingOrder(1, 2);
    const qint64 linesBefore = count(QStringLiteral("UMOVES"), QStringLiteral("DOC_ID=") + QString::number(doc));
    ModalScript script;
    QStringList nppBefore;
    int lastNum = 0;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        TClientDataSet& u = *editor->cdsUMoves;
        nppBefore = column(u, QStringLiteral("NPP"));
        u.last();
        // The operator renumbered the last line: the next number follows it.
        u.edit();
        u.fieldByName(QStringLiteral("NUM")).setAsInteger(40);
        u.post();
        lastNum = 40;
        editor->acUMovesAppend->trigger();
        EXPECT_EQ(u.recordCount(), nppBefore.size() + 1);
        u.last();
        EXPECT_EQ(u.fieldByName(QStringLiteral("NUM")).asInteger(), lastNum + 1);
        EXPECT_GT(u.fieldByName(QStringLiteral("NPP")).asInteger(), nppBefore.last().toInt());
        EXPECT_EQ(u.fieldByName(QStringLiteral("DOC_ID")).asInteger(), doc);
        EXPECT_EQ(u.fieldByName(QStringLiteral("SUMMA")).asDecimal(), dec("123.45"));
        EXPECT_EQ(journal().fieldByName(QStringLiteral("TOTAL")).asDecimal(), ServiceLinesTotal(u));
        EXPECT_TRUE(editor->windowTitle().endsWith(QStringLiteral(" *")));
        editor->btnOk->click();
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmUsluga*>(d);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Добавить услугу"));
        EXPECT_EQ(dlg->edSumma->text(), QStringLiteral("0,00"));
        // Only the services of shoe repair are offered.
        for (int i = 0; i < dlg->cbUsluga->count(); ++i)
            EXPECT_EQ(DM().cdsUslugaLU->lookup(QStringLiteral("ID"), dlg->cbUsluga->itemData(i).toLongLong(),
                                               QStringLiteral("KINDDOC_ID")).toInt(), 1);
        type(dlg->edSumma, QStringLiteral("5"));
        pickService(dlg, 90001);  // the price replaces the typed amount
        EXPECT_EQ(dlg->edSumma->text(), QStringLiteral("123,45"));
        dlg->btnOk->click();
    });
    EXPECT_EQ(openEditor(false), QDialog::Accepted);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_FALSE(DM().cdsUslugaLU->isFiltered());
    EXPECT_EQ(count(QStringLiteral("UMOVES"), QStringLiteral("DOC_ID=") + QString::number(doc)), linesBefore + 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT TOTAL FROM DOCU WHERE ID=?"), {doc}).toDecimal(),
              scalar(QStringLiteral("SELECT SUM(SUMMA) FROM UMOVES WHERE DOC_ID=?"), {doc}).toDecimal());
    EXPECT_EQ(scalar(QStringLiteral("SELECT NUM FROM UMOVES WHERE DOC_ID=? AND USLUGA_ID=90001"), {doc}).toInt(), 41);
}

TEST_F(EditorTest, CancelledNewLineLeavesNothing) {
    existingOrder(1, 2);
    ModalScript script;
    fb::Decimal total;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        total = journal().fieldByName(QStringLiteral("TOTAL")).asDecimal();
        const QStringList ids = idsOf(*editor->cdsUMoves);
        editor->acUMovesAppend->trigger();
        EXPECT_EQ(idsOf(*editor->cdsUMoves), ids);
        EXPECT_EQ(journal().fieldByName(QStringLiteral("TOTAL")).asDecimal(), total);
        EXPECT_FALSE(editor->DocModified);
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        pickService(static_cast<TfrmUsluga*>(d), 90001);
        static_cast<TfrmUsluga*>(d)->btnCancel->click();
    });
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(EditorTest, ServiceDialogNamesTheEmptyFields) {
    existingOrder(1, 2);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        editor->acUMovesAppend->trigger();
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmUsluga*>(d);
        dlg->btnOk->click();  // amount 0 counts as filled
        type(dlg->edSumma, QString());
        dlg->btnOk->click();
        EXPECT_TRUE(dlg->isVisible());
        dlg->btnCancel->click();
    });
    script.answerOk().answerOk();
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(script.messageTexts(),
              (QStringList{QStringLiteral("Заполните поля:\r\rУслуга\r"),
                           QStringLiteral("Заполните поля:\r\rУслуга\rСтоимость\r")}));
}

TEST_F(EditorTest, ProductLineThroughItsDialog) {
    const int doc = existingOrder(1, 1);
    const QString productName =
        scalar(QStringLiteral("SELECT FIRST 1 P.NAME FROM PRODUCT P JOIN PRODUCTGR G ON G.ID=P.GR_ID "
                              "WHERE G.KINDDOC_ID=1 ORDER BY P.ID")).toString();
    const qint64 productId = scalar(QStringLiteral("SELECT FIRST 1 P.ID FROM PRODUCT P JOIN PRODUCTGR G ON "
                                                   "G.ID=P.GR_ID WHERE G.KINDDOC_ID=1 ORDER BY P.ID")).toInt();
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        editor->acPMovesAppend->trigger();  // refused: no product
        editor->acPMovesAppend->trigger();
        TClientDataSet& p = *editor->cdsPMoves;
        p.last();
        EXPECT_EQ(p.fieldByName(QStringLiteral("PRODUCT_ID")).asLargeInt(), productId);
        EXPECT_EQ(p.fieldByName(QStringLiteral("PROCIZN")).asInteger(), 50);
        EXPECT_TRUE(p.fieldByName(QStringLiteral("COLOR_ID")).isNull());
        editor->btnOk->click();
    });
    script.onDialog(QStringLiteral("frmProduct"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmProduct*>(d);
        EXPECT_TRUE(dlg->cbProduct->currentText().isEmpty());
        EXPECT_EQ(dlg->edProcizn->text(), QStringLiteral("50"));
        EXPECT_TRUE(dlg->cbPpara->isVisibleTo(dlg));
        dlg->cbProduct->setEditText(QStringLiteral("Нет такого изделия"));
        dlg->btnOk->click();
        EXPECT_TRUE(dlg->isVisible());
        dlg->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmProduct"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmProduct*>(d);
        dlg->cbProduct->setEditText(productName.toUpper());  // another letter case still picks it
        dlg->cbColor->setEditText(QStringLiteral("Небесный"));  // not in the list: stays empty
        dlg->btnOk->click();
    });
    script.answerOk();
    openEditor(false);
    EXPECT_EQ(script.messageTexts(), QStringList{QStringLiteral("Заполните поля:\r\rИзделие\r")});
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(count(QStringLiteral("PMOVES"),
                    QStringLiteral("PROCIZN=50 AND COLOR_ID IS NULL AND DOC_ID=") + QString::number(doc) +
                        QStringLiteral(" AND PRODUCT_ID=") + QString::number(productId)),
              1 + count(QStringLiteral("PMOVES"), QStringLiteral("1=0")));
}

TEST_F(EditorTest, EditAndDeleteLines) {
    const int doc = existingOrder(1, 2);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        TClientDataSet& u = *editor->cdsUMoves;
        const int n = u.recordCount();
        u.first();
        editor->DBGU->setFocus();
        editor->acComEdit->trigger();  // F2 on the service grid
        u.first();
        EXPECT_EQ(u.fieldByName(QStringLiteral("SUMMA")).asDecimal(), dec("777"));
        u.last();
        editor->acComDelete->trigger();  // Ctrl+Del, no question
        EXPECT_EQ(u.recordCount(), n - 1);
        EXPECT_EQ(journal().fieldByName(QStringLiteral("TOTAL")).asDecimal(), ServiceLinesTotal(u));
        EXPECT_TRUE(editor->DocModified);
        editor->btnOk->click();
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmUsluga*>(d);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Редактировать услугу"));
        type(dlg->edSumma, QStringLiteral("777"));
        dlg->btnOk->click();
    });
    const qint64 before = count(QStringLiteral("UMOVES"), QStringLiteral("DOC_ID=") + QString::number(doc));
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(count(QStringLiteral("UMOVES"), QStringLiteral("DOC_ID=") + QString::number(doc)), before - 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT TOTAL FROM DOCU WHERE ID=?"), {doc}).toDecimal(),
              scalar(QStringLiteral("SELECT SUM(SUMMA) FROM UMOVES WHERE DOC_ID=?"), {doc}).toDecimal());
}

TEST_F(EditorTest, MovingSwapsNppWithTheNeighbour) {
    existingOrder(1, 3);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        TClientDataSet& u = *editor->cdsUMoves;
        const QStringList ids = idsOf(u), npps = column(u, QStringLiteral("NPP"));
        u.first();
        editor->acUMovesDown->trigger();
        EXPECT_EQ(u.recNo(), 1);  // the cursor follows the moved line
        EXPECT_EQ(u.fieldByName(QStringLiteral("ID")).asString(), ids[0]);
        EXPECT_EQ(u.fieldByName(QStringLiteral("NPP")).asString(), npps[1]);
        QStringList swapped = ids;
        swapped.swapItemsAt(0, 1);
        EXPECT_EQ(idsOf(u), swapped.mid(0, ids.size()));
        EXPECT_EQ(column(u, QStringLiteral("NPP")), npps);  // the same values, still in order
        editor->acUMovesUp->trigger();
        EXPECT_EQ(idsOf(u), ids);
        EXPECT_EQ(u.recNo(), 0);
        editor->SetModified(false);
        editor->acUMovesUp->trigger();  // the first line up: nothing moves, the order is marked
        EXPECT_EQ(idsOf(u), ids);
        EXPECT_TRUE(editor->DocModified);
        editor->btnCancel->click();
    });
    script.answerNo();
    openEditor(false);
    EXPECT_EQ(script.messageTexts(), QStringList{kSaveQuestion});
}

TEST_F(EditorTest, MovingTheOnlyLineDoesNothing) {
    const int doc = newOrder(1);
    (void)doc;
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        editor->acUMovesAppend->trigger();
        editor->SetModified(false);
        editor->acUMovesDown->trigger();
        editor->acUMovesUp->trigger();
        EXPECT_FALSE(editor->DocModified);
        EXPECT_FALSE(editor->windowTitle().endsWith(QStringLiteral(" *")));
        editor->btnOk->click();
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        pickService(static_cast<TfrmUsluga*>(d), 90001);
        static_cast<TfrmUsluga*>(d)->btnOk->click();
    });
    openEditor(true);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT TOTAL FROM DOCU WHERE ID=?"), {doc}).toDecimal(), dec("123.45"));
}

// --- closing ----------------------------------------------------------------

TEST_F(EditorTest, UntouchedNewOrderDisappears) {
    const int doc = newOrder(1);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) { editor->btnCancel->click(); });
    openEditor(true);
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_EQ(count(QStringLiteral("DOCU"), QStringLiteral("ID=") + QString::number(doc)), 0);
    EXPECT_FALSE(journal().locate(QStringLiteral("ID"), doc));
}

TEST_F(EditorTest, NewOrderAnsweredNoDisappears) {
    const int doc = newOrder(3);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        editor->acUMovesAppend->trigger();
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmUsluga*>(d);
        ASSERT_GT(dlg->cbUsluga->count(), 0);
        dlg->cbUsluga->setCurrentIndex(0);
        emit dlg->cbUsluga->activated(0);
        dlg->btnOk->click();
    });
    script.answerNo();
    openEditor(true);
    EXPECT_EQ(script.messageTexts(), QStringList{kSaveQuestion});
    EXPECT_EQ(count(QStringLiteral("DOCU"), QStringLiteral("ID=") + QString::number(doc)), 0);
    EXPECT_EQ(count(QStringLiteral("UMOVES"), QStringLiteral("DOC_ID=") + QString::number(doc)), 0);
}

TEST_F(EditorTest, ExistingOrderAnsweredNoGetsItsValuesBack) {
    const int doc = existingOrder(1, 2);
    const fb::Decimal received = journal().fieldByName(QStringLiteral("RECEIVED")).asDecimal();
    const fb::Decimal debt = journal().fieldByName(QStringLiteral("DEBT")).asDecimal();
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        type(editor->edReceived, QStringLiteral("1"));
        EXPECT_EQ(journal().fieldByName(QStringLiteral("RECEIVED")).asDecimal(), dec("1"));
        EXPECT_TRUE(editor->windowTitle().endsWith(QStringLiteral(" *")));
        editor->cdsUMoves->first();
        editor->acUMovesDelete->trigger();
        editor->btnCancel->click();
    });
    script.answerNo();
    openEditor(false);
    EXPECT_EQ(script.messageTexts(), QStringList{kSaveQuestion});
    ASSERT_TRUE(journal().locate(QStringLiteral("ID"), doc));
    EXPECT_EQ(journal().fieldByName(QStringLiteral("RECEIVED")).asDecimal(), received);
    EXPECT_EQ(journal().fieldByName(QStringLiteral("DEBT")).asDecimal(), debt);
    EXPECT_FALSE(journal().updatesPending());
    EXPECT_EQ(scalar(QStringLiteral("SELECT RECEIVED FROM DOCU WHERE ID=?"), {doc}).toDecimal(), received);
    EXPECT_GE(count(QStringLiteral("UMOVES"), QStringLiteral("DOC_ID=") + QString::number(doc)), 2);
    EXPECT_FALSE(editor->cdsUMoves->isActive());
}

TEST_F(EditorTest, LookingOnlyAsksNothing) {
    existingOrder(1);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) { editor->btnCancel->click(); });
    EXPECT_EQ(openEditor(false), QDialog::Rejected);
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_FALSE(journal().updatesPending());
}

TEST_F(EditorTest, ChangedOrderAnsweredYesIsSaved) {
    const int doc = existingOrder(1);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        type(editor->edVremVyd, QStringLiteral("после 15"));
        editor->btnCancel->click();
    });
    script.answerYes();
    EXPECT_EQ(openEditor(false), QDialog::Accepted);
    EXPECT_EQ(scalar(QStringLiteral("SELECT VREMVYD FROM DOCU WHERE ID=?"), {doc}).toString(),
              QStringLiteral("после 15"));
}

// --- view mode ----------------------------------------------------------------

TEST_F(EditorTest, ViewModeChangesOnlyTheHandOverDate) {
    const int doc = existingOrder(1, 2);
    GL.RPeriodOpen = false;
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        const QStringList before = idsOf(*editor->cdsUMoves);
        editor->DBGU->setFocus();
        for (QAction* a : {editor->acUMovesAppend, editor->acComEdit, editor->acComDelete, editor->acUMovesDown})
            a->trigger();
        emit editor->DBGU->doubleClicked(editor->DBGU->model()->index(0, 0));
        EXPECT_EQ(idsOf(*editor->cdsUMoves), before);
        EXPECT_FALSE(editor->DocModified);
        editor->edDateVyd->setDate(QDate(2026, 3, 20));
        EXPECT_TRUE(editor->windowTitle().endsWith(QStringLiteral(" *")));
        editor->btnCancel->click();
    });
    script.answerYes();
    openEditor(false);
    EXPECT_EQ(script.messageTexts(), QStringList{kSaveQuestion});
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT DATEVYD FROM DOCU WHERE ID=?"), {doc}).toDate(), QDate(2026, 3, 20));
}

// --- customer -----------------------------------------------------------------

TEST_F(EditorTest, OrderWithoutCustomerIsNotSaved) {
    const int doc = existingOrder(1);
    const qint64 customer = journal().fieldByName(QStringLiteral("ZAKAZCH_ID")).asLargeInt();
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        journal().edit();
        journal().fieldByName(QStringLiteral("ZAKAZCH_ID")).clear();
        editor->btnOk->click();
        EXPECT_EQ(editor->result(), 0);
        EXPECT_TRUE(editor->isVisible());
        editor->btnCancel->click();
    });
    script.answerOk().answerNo();
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(script.messageTexts(),
              (QStringList{QStringLiteral("Не заполнено обязательное поле Заказчик.\rЗаполните указанное поле."),
                           kSaveQuestion}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT ZAKAZCH_ID FROM DOCU WHERE ID=?"), {doc}).toInt(), customer);
}

TEST_F(EditorTest, CustomerChosenFromTheListAndItsInformation) {
    const int doc = existingOrder(1);
    const qint64 other = scalar(QStringLiteral("SELECT MAX(ID) FROM ZAKAZCH")).toInt();
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        editor->sbBookZakazch->click();
        EXPECT_EQ(journal().fieldByName(QStringLiteral("ZAKAZCH_ID")).asLargeInt(), other);
        EXPECT_EQ(editor->cbZakazch->currentData().toLongLong(), other);
        editor->sbZakazchInfo->click();
        editor->btnOk->click();
    });
    script.onDialog([&](QDialog* d) {
        auto* list = d->findChild<QListWidget*>(QStringLiteral("lbItems"));
        ASSERT_TRUE(list);
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toLongLong() == other) list->setCurrentRow(i);
        d->accept();
    });
    script.onDialog(QStringLiteral("frmZakazchInfo"), [&](QDialog* d) {
        auto* info = static_cast<TfrmZakazchInfo*>(d);
        EXPECT_EQ(info->ZakazchID, other);
        EXPECT_EQ(info->lbZakazchName->text(),
                  scalar(QStringLiteral("SELECT NAME FROM ZAKAZCH WHERE ID=?"), {other}).toString());
        EXPECT_TRUE(info->cdsZak->isActive());
        info->btnClose->click();
        EXPECT_FALSE(info->cdsZak->isActive());
    });
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT ZAKAZCH_ID FROM DOCU WHERE ID=?"), {doc}).toInt(), other);
}

TEST_F(EditorTest, CustomerInformationSumsTheOrdersByYear) {
    const qint64 customer = scalar(QStringLiteral("SELECT FIRST 1 ZAKAZCH_ID FROM DOCU GROUP BY ZAKAZCH_ID "
                                                  "ORDER BY COUNT(*) DESC")).toInt();
    auto* info = Window<TfrmZakazchInfo>(QStringLiteral("frmZakazchInfo"));
    ModalScript script;
    script.onDialog(QStringLiteral("frmZakazchInfo"), [&](QDialog*) {
        qint64 orders = 0;
        TClientDataSet& z = *info->cdsZak;
        for (z.first(); !z.eof(); z.next()) orders += z.fieldByName(QStringLiteral("DOCU_CNT")).asLargeInt();
        EXPECT_EQ(orders, count(QStringLiteral("DOCU"), QStringLiteral("ZAKAZCH_ID=") + QString::number(customer)));
        info->btnClose->click();
    });
    info->ZakazchID = int(customer);
    info->ZakazchName = QStringLiteral("Кто-то");
    execModal(info);
    EXPECT_TRUE(script.unexpected().isEmpty());
}

// --- a save the database refuses --------------------------------------------------

TEST_F(EditorTest, RefusedSaveKeepsTheEditorAndItsChanges) {
    const int doc = existingOrder(1, 2);
    const fb::Decimal total = scalar(QStringLiteral("SELECT TOTAL FROM DOCU WHERE ID=?"), {doc}).toDecimal();
    const qint64 lines = count(QStringLiteral("UMOVES"), QStringLiteral("DOC_ID=") + QString::number(doc));
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        editor->acUMovesAppend->trigger();
        // Meanwhile another workstation deletes the service.
        exec(QStringLiteral("DELETE FROM USLUGA WHERE ID=90001"));
        const int n = editor->cdsUMoves->recordCount();
        editor->btnOk->click();
        EXPECT_TRUE(editor->isVisible());
        EXPECT_TRUE(editor->windowTitle().endsWith(QStringLiteral(" *")));
        EXPECT_TRUE(editor->DocModified);
        EXPECT_EQ(editor->cdsUMoves->recordCount(), n);
        EXPECT_TRUE(editor->cdsUMoves->updatesPending());
        EXPECT_TRUE(journal().updatesPending());
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        pickService(static_cast<TfrmUsluga*>(d), 90001);
        static_cast<TfrmUsluga*>(d)->btnOk->click();
    });
    QString explanation;
    script.onDialog(QStringLiteral("frmErrorDB"), [&](QDialog* d) {
        explanation = static_cast<TfrmErrorDB*>(d)->originalText();
        d->accept();
    });
    script.answerNo();
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_TRUE(explanation.contains(QStringLiteral("FK_UMOVES_2"))) << explanation.toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT TOTAL FROM DOCU WHERE ID=?"), {doc}).toDecimal(), total);
    EXPECT_EQ(count(QStringLiteral("UMOVES"), QStringLiteral("DOC_ID=") + QString::number(doc)), lines);
}

// --- the hint panel -------------------------------------------------------------

TEST_F(EditorTest, HintPanelRemovedForGood) {
    existingOrder(1);
    AppOptions.ShowHintMes = true;
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        EXPECT_TRUE(editor->PanelHint->isVisible());
        editor->SpeedButton1->click();
        EXPECT_FALSE(editor->PanelHint->isVisible());
        EXPECT_FALSE(AppOptions.ShowHintMes);
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        EXPECT_FALSE(editor->PanelHint->isVisible());
        editor->btnCancel->click();
    });
    openEditor(false);
    openEditor(false);
}

// --- the keyboard -------------------------------------------------------------

TEST_F(EditorTest, KeyboardAddsConfirmsAndCloses) {
    const int doc = existingOrder(1, 2);
    ModalScript script;
    int added = 0;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        QApplication::setActiveWindow(editor);
        const int n = editor->cdsUMoves->recordCount();
        editor->DBGU->setFocus();
        QTest::keyClick(editor->DBGU, Qt::Key_Insert);  // Ins adds a service
        added = editor->cdsUMoves->recordCount() - n;
        QTest::keyClick(editor, Qt::Key_Escape);        // Escape closes (and asks)
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmUsluga*>(d);
        QApplication::setActiveWindow(dlg);
        pickService(dlg, 90001);
        QTest::keyClick(dlg->edSumma, Qt::Key_Return);  // Enter confirms
    });
    script.answerNo();
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(added, 1);
    EXPECT_EQ(script.messageTexts(), QStringList{kSaveQuestion});
    EXPECT_EQ(count(QStringLiteral("UMOVES"), QStringLiteral("USLUGA_ID=90001 AND DOC_ID=") + QString::number(doc)), 0);
}

TEST_F(EditorTest, KeyboardEditsAndRemovesOnTheFocusedGrid) {
    existingOrder(1, 2);
    ModalScript script;
    QStringList before, afterEscape, afterDelete;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        QApplication::setActiveWindow(editor);
        TClientDataSet& u = *editor->cdsUMoves;
        before = column(u, QStringLiteral("SUMMA"));
        u.first();
        editor->DBGU->setFocus();
        QTest::keyClick(editor->DBGU, Qt::Key_F2);  // edit dialog, closed with Escape
        afterEscape = column(u, QStringLiteral("SUMMA"));
        QApplication::setActiveWindow(editor);
        editor->DBGU->setFocus();
        QTest::keyClick(editor->DBGU, Qt::Key_Delete, Qt::ControlModifier);
        afterDelete = column(u, QStringLiteral("SUMMA"));
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmUsluga*>(d);
        QApplication::setActiveWindow(dlg);
        type(dlg->edSumma, QStringLiteral("1"));
        QTest::keyClick(dlg->edSumma, Qt::Key_Escape);
    });
    script.answerNo();
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(afterEscape, before);
    EXPECT_EQ(afterDelete, before.mid(1));
}

TEST_F(EditorTest, LineDialogsTabTopToBottom) {
    auto* p = Window<TfrmProduct>(QStringLiteral("frmProduct"));
    auto* u = Window<TfrmUsluga>(QStringLiteral("frmUsluga"));
    auto chain = [](QWidget* from, int n) {
        QStringList names;
        QWidget* w = from;
        for (int i = 0; i < n; ++i) {
            do w = w->nextInFocusChain();
            while (w->objectName().isEmpty() || w->focusPolicy() == Qt::NoFocus);
            names << w->objectName();
        }
        return names;
    };
    EXPECT_EQ(chain(p->edNum, 6), (QStringList{"cbPpara", "cbProduct", "cbColor", "cbMaterial", "edProcizn", "btnOk"}));
    EXPECT_EQ(chain(u->edNum, 4), (QStringList{"cbUsluga", "sbBookUsluga", "edSumma", "btnOk"}));
}

// --- deviation, special marks, help ---------------------------------------------

TEST_F(EditorTest, DeviationThroughTheRadioButtons) {
    const int doc = existingOrder(1, 2);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        EXPECT_TRUE(editor->rbNone->isChecked());
        EXPECT_TRUE(editor->edOtklProc->isReadOnly());
        editor->rbSkid->click();
        EXPECT_EQ(journal().fieldByName(QStringLiteral("OTKLTYPE")).asInteger(), 1);
        EXPECT_FALSE(editor->edOtklProc->isReadOnly());
        EXPECT_FALSE(editor->edOtklSum->isReadOnly());
        type(editor->edOtklProc, QStringLiteral("10"));
        const fb::Decimal total = journal().fieldByName(QStringLiteral("TOTAL")).asDecimal();
        EXPECT_EQ(journal().fieldByName(QStringLiteral("OTKLSUM")).asDecimal(), total.percent(fb::Decimal(qint64(10)), 2));
        EXPECT_TRUE(editor->DocModified);
        editor->btnOk->click();
    });
    openEditor(false);
    EXPECT_EQ(scalar(QStringLiteral("SELECT OTKLTYPE FROM DOCU WHERE ID=?"), {doc}).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT OTKLPROC FROM DOCU WHERE ID=?"), {doc}).toInt(), 10);

    // The same order in a closed period: the boxes stay read-only even with a discount.
    GL.RPeriodOpen = false;
    ASSERT_TRUE(journal().locate(QStringLiteral("ID"), doc));
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        EXPECT_TRUE(editor->rbSkid->isChecked());
        EXPECT_FALSE(editor->GroupBox1->isEnabled());
        EXPECT_TRUE(editor->edOtklProc->isReadOnly());
        EXPECT_TRUE(editor->edOtklSum->isReadOnly());
        editor->btnCancel->click();
    });
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(EditorTest, SpecialMarkFromTheListOrTyped) {
    const int doc = existingOrder(1);
    const QString mark = scalar(QStringLiteral("SELECT FIRST 1 NAME FROM COMMENT ORDER BY NAME")).toString();
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        EXPECT_EQ(editor->cbComment->count(), int(scalar(QStringLiteral("SELECT COUNT(*) FROM COMMENT")).toInt()));
        EXPECT_EQ(editor->cbComment->itemText(0), mark);
        editor->cbComment->setCurrentIndex(0);
        emit editor->cbComment->activated(0);
        EXPECT_EQ(journal().fieldByName(QStringLiteral("COMMENT")).asString(), mark);
        editor->btnOk->click();
    });
    openEditor(false);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COMMENT FROM DOCU WHERE ID=?"), {doc}).toString(), mark);
    ASSERT_TRUE(journal().locate(QStringLiteral("ID"), doc));
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        type(editor->cbComment->lineEdit(), QStringLiteral("без каблука"));
        editor->btnOk->click();
    });
    openEditor(false);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COMMENT FROM DOCU WHERE ID=?"), {doc}).toString(),
              QStringLiteral("без каблука"));
}

TEST_F(EditorTest, HelpButtonOpensTheEditorsPage) {
    existingOrder(1);
    GL.HelpFile = QStringLiteral("/nonexistent/obrix.chm");
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        editor->BitBtn1->click();
        editor->btnCancel->click();
    });
    script.answerOk();
    openEditor(false);
    EXPECT_EQ(script.messageTexts(), QStringList{QStringLiteral("Не найден файл справки /nonexistent/obrix.chm")});
}

TEST_F(EditorTest, EngravingProductDialogHidesShoeFields) {
    newOrder(3);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        EXPECT_TRUE(editor->PageControl1->isTabVisible(0));
        EXPECT_FALSE(editor->cdsPMoves->fieldByName(QStringLiteral("COLOR_NAME")).isVisible());
        EXPECT_EQ(editor->cdsPMoves->fieldByName(QStringLiteral("PRODUCT_NAME")).displayWidth(), 70);
        editor->acPMovesAppend->trigger();
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmProduct"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmProduct*>(d);
        EXPECT_FALSE(dlg->cbPpara->isVisibleTo(dlg));
        EXPECT_FALSE(dlg->cbColor->isVisibleTo(dlg));
        EXPECT_FALSE(dlg->cbMaterial->isVisibleTo(dlg));
        for (int i = 0; i < dlg->cbProduct->count(); ++i)
            EXPECT_EQ(DM().cdsProductLU->lookup(QStringLiteral("ID"), dlg->cbProduct->itemData(i).toLongLong(),
                                                QStringLiteral("KINDDOC_ID")).toInt(), 3);
        dlg->btnCancel->click();
    });
    openEditor(true);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(EditorTest, ViewModeSaveWritesNoGoodsOff) {
    const int doc = existingOrder(1, 2);
    UchetOptions.AutoSklad = true;
    GL.ZakEdit = false;
    const qint64 writeOffs = count(QStringLiteral("DOCS"), QStringLiteral("DOCU_ID=") + QString::number(doc));
    const qint64 stockLines = scalar(QStringLiteral("SELECT COUNT(*) FROM MOVES")).toInt();
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        editor->edDateVyd->setDate(QDate(2026, 3, 21));
        editor->btnCancel->click();
    });
    script.answerYes();
    openEditor(false);
    EXPECT_EQ(scalar(QStringLiteral("SELECT DATEVYD FROM DOCU WHERE ID=?"), {doc}).toDate(), QDate(2026, 3, 21));
    EXPECT_EQ(count(QStringLiteral("DOCS"), QStringLiteral("DOCU_ID=") + QString::number(doc)), writeOffs);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM MOVES")).toInt(), stockLines);
}

TEST_F(EditorTest, ServiceChosenThroughTheBook) {
    existingOrder(1, 2);
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        editor->acUMovesAppend->trigger();
        TClientDataSet& u = *editor->cdsUMoves;
        u.last();
        EXPECT_EQ(u.fieldByName(QStringLiteral("USLUGA_ID")).asInteger(), 90001);
        EXPECT_EQ(u.fieldByName(QStringLiteral("SUMMA")).asDecimal(), dec("123.45"));
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmUsluga"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmUsluga*>(d);
        dlg->sbBookUsluga->click();
        EXPECT_EQ(dlg->cbUsluga->currentData().toLongLong(), 90001);
        dlg->btnOk->click();
    });
    script.onDialog([&](QDialog* d) {  // the services book stands in as a plain list of the order's kind
        auto* list = d->findChild<QListWidget*>(QStringLiteral("lbItems"));
        ASSERT_TRUE(list);
        EXPECT_EQ(list->count(), DM().cdsUslugaLU->recordCount());
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toInt() == 90001) list->setCurrentRow(i);
        d->accept();
    });
    script.answerNo();
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(EditorTest, EditedProductLineShowsItsChoices) {
    const qint64 line = scalar(QStringLiteral(
        "SELECT MIN(P.ID) FROM PMOVES P JOIN DOCU D ON D.ID=P.DOC_ID WHERE D.RPERIOD_ID=? AND D.KINDDOC_ID=1 "
        "AND P.COLOR_ID IS NOT NULL"), {GL.RPeriodID}).toInt();
    ASSERT_GT(line, 0);
    const qint64 doc = scalar(QStringLiteral("SELECT DOC_ID FROM PMOVES WHERE ID=?"), {line}).toInt();
    ASSERT_TRUE(journal().locate(QStringLiteral("ID"), doc));
    const QString product = scalar(QStringLiteral("SELECT R.NAME FROM PMOVES P JOIN PRODUCT R ON R.ID=P.PRODUCT_ID "
                                                  "WHERE P.ID=?"), {line}).toString();
    const QString color = scalar(QStringLiteral("SELECT C.NAME FROM PMOVES P JOIN COLOR C ON C.ID=P.COLOR_ID "
                                                "WHERE P.ID=?"), {line}).toString();
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        ASSERT_TRUE(editor->cdsPMoves->locate(QStringLiteral("ID"), line));
        editor->DBGP->setFocus();
        emit editor->DBGP->doubleClicked(editor->DBGP->currentIndex());
        EXPECT_FALSE(editor->DocModified);
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmProduct"), [&](QDialog* d) {
        auto* dlg = static_cast<TfrmProduct*>(d);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Редактировать изделие"));
        EXPECT_EQ(dlg->cbProduct->currentText(), product);
        EXPECT_EQ(dlg->cbColor->currentText(), color);
        dlg->btnCancel->click();
    });
    openEditor(false);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}
