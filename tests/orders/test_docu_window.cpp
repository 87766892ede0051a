// The order editor as a clerk sees it: what the boxes and grids show at the
// default size, typed dates and numbers, the read-only look of view mode,
// the dates of the order against its period, keys and focus.
#include "EditorFixture.h"

#include "ui/MessageBoxes.h"
#include "data/DataErrors.h"
#include "ui/DataSetModel.h"
#include "ui/FieldBinding.h"
#include "data/TypedInput.h"
#include "orders/core/DocuDates.h"
#include "orders/ui/Usluga.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace editortest;

namespace {

// Collects what the bound boxes refuse (the program shows it in its error window).
struct RefusalLog {
    QStringList messages;
    RefusalLog() {
        setUiErrorHandler([this](std::exception_ptr e) { messages << errorMessage(e); });
    }
    ~RefusalLog() { setUiErrorHandler(nullptr); }
};

void settle() { QApplication::processEvents(); }

// The right edge of a column lies inside the grid's visible area.
bool columnInView(QTableView* grid, const QString& field) {
    auto* model = static_cast<DataSetModel*>(grid->model());
    const int c = model->columnOf(field);
    if (c < 0) return false;
    return grid->columnViewportPosition(c) >= 0 &&
           grid->columnViewportPosition(c) + grid->columnWidth(c) <= grid->viewport()->width();
}

class DocuWindowTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        const fb::Value d1 = scalar(QStringLiteral("SELECT DATE_1 FROM RPERIOD WHERE ID=?"), {GL.RPeriodID});
        const fb::Value d2 = scalar(QStringLiteral("SELECT DATE_2 FROM RPERIOD WHERE ID=?"), {GL.RPeriodID});
        GL.RPeriodDate1 = d1.toDate();
        GL.RPeriodDate2 = d2.toDate();
    }
    // Runs the editor on the journal's current row; `body` acts while it is shown.
    template <class F>
    void withEditor(bool isNew, F&& body, ModalScript& script) {
        script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
            editor->activateWindow();
            QApplication::setActiveWindow(editor);
            settle();
            body();
            if (editor->isVisible()) {
                if (editor->DocModified) script.answerNo();
                editor->btnCancel->click();
            }
        });
        openEditor(isNew);
    }
    const QStringList kShortCaptions{QStringLiteral("+"), QStringLiteral("Изм."), QStringLiteral("-"),
                                     QStringLiteral("↑"), QStringLiteral("↓")};
    QStringList lineButtonCaptions(QWidget* tab) {
        QStringList out;
        for (const char* name : {"Append", "Edit", "Delete", "Up", "Down"}) {
            const QString prefix = tab == editor->TabSheetP ? QStringLiteral("btnPMoves") : QStringLiteral("btnUMoves");
            auto* b = tab->findChild<QToolButton*>(prefix + QString::fromLatin1(name));
            out << (b ? b->text() : QStringLiteral("<none>"));
        }
        return out;
    }
};

}  // namespace

// --- what the window shows ----------------------------------------------------

TEST_F(DocuWindowTest, LineButtonsAndMoneyBoxesKeepTheirSizeAfterAViewModeOpening) {
    const int doc = existingOrder(1, 2);
    ModalScript script;
    const QString largest = QStringLiteral("1 234 567 890 123,45");
    for (const bool periodOpen : {false, true, false}) {
        SCOPED_TRACE(periodOpen ? "edit mode" : "view mode");
        GL.RPeriodOpen = periodOpen;
        ASSERT_TRUE(journal().locate(QStringLiteral("ID"), doc));
        withEditor(false, [&] {
            editor->PageControl1->setCurrentWidget(editor->TabSheetU);
            settle();
            EXPECT_EQ(lineButtonCaptions(editor->TabSheetU), kShortCaptions);
            EXPECT_EQ(lineButtonCaptions(editor->TabSheetP), kShortCaptions);
            for (QLineEdit* box : {editor->edTotal, editor->edTolalWOtkl, editor->edDebt, editor->edReceived}) {
                SCOPED_TRACE(box->objectName().toStdString());
                EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(largest) + 8);
                EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(box->text()) + 8);
                EXPECT_TRUE(box->alignment() & Qt::AlignRight);
            }
        }, script);
    }
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(DocuWindowTest, KeyColumnsStayInViewAndNothingCarriesOverFromTheLastOrder) {
    // An engraving order first: its product column is the wide one.
    struct Step { int kind; const char* grid; QStringList fields; };
    const Step steps[] = {
        {3, "DBGP", {QStringLiteral("PRODUCT_NAME"), QStringLiteral("PROCIZN")}},
        {1, "DBGP", {QStringLiteral("PRODUCT_NAME"), QStringLiteral("COLOR_NAME"), QStringLiteral("MATERIAL_NAME"),
                     QStringLiteral("PROCIZN")}},
        {1, "DBGU", {QStringLiteral("USLUGA_NAME"), QStringLiteral("SUMMA")}},
        {2, "DBGU", {QStringLiteral("USLUGA_NAME"), QStringLiteral("SUMMA")}},
    };
    ModalScript script;
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.grid) + " of kind " + std::to_string(step.kind));
        existingOrder(step.kind, 1);
        withEditor(false, [&] {
            EXPECT_EQ(editor->size(), QSize(700, 640)) << "the default size";
            QTableView* grid = QString::fromLatin1(step.grid) == QStringLiteral("DBGP") ? editor->DBGP : editor->DBGU;
            editor->PageControl1->setCurrentWidget(grid->parentWidget());
            settle();
            for (const QString& f : step.fields) EXPECT_TRUE(columnInView(grid, f)) << f.toStdString();
            EXPECT_FALSE(grid->wordWrap());
            EXPECT_EQ(grid->textElideMode(), Qt::ElideRight);
        }, script);
    }
}

TEST_F(DocuWindowTest, ALongServiceNameIsElidedWithItsWholeTextAsTooltip) {
    existingOrder(1, 1);
    const QString name = QStringLiteral("Очень длинное название услуги, которое не помещается в колонку "
                                        "таблицы услуг заказа");
    exec(QStringLiteral("UPDATE USLUGA SET NAME=? WHERE ID=(SELECT FIRST 1 USLUGA_ID FROM UMOVES WHERE DOC_ID=? ORDER BY NPP)"),
         {name, journal().fieldByName(QStringLiteral("ID")).asInteger()});
    DM().cdsUslugaLU->close();
    DM().cdsUslugaLU->open();
    ModalScript script;
    withEditor(false, [&] {
        editor->PageControl1->setCurrentWidget(editor->TabSheetU);
        settle();
        auto* model = static_cast<DataSetModel*>(editor->DBGU->model());
        const QModelIndex cell = model->index(0, model->columnOf(QStringLiteral("USLUGA_NAME")));
        EXPECT_EQ(model->data(cell, Qt::ToolTipRole).toString(), name);
        EXPECT_LT(editor->DBGU->columnWidth(cell.column()), editor->DBGU->fontMetrics().horizontalAdvance(name));
        EXPECT_TRUE(columnInView(editor->DBGU, QStringLiteral("SUMMA")));
    }, script);
}

// --- typed input --------------------------------------------------------------

TEST_F(DocuWindowTest, ADateTypedDigitByDigitIsThatDateOrARefusalAndTabLeavesTheBox) {
    const QDate wanted = GL.RPeriodDate1.addDays(14);
    struct Case { QString typed; bool accepted; };
    const Case cases[] = {
        {wanted.toString(QStringLiteral("dd.MM.yyyy")), true},
        {wanted.toString(QStringLiteral("ddMMyyyy")), true},
        {wanted.toString(QStringLiteral("d.M.yy")), true},
        {QStringLiteral("31.02.") + QString::number(wanted.year()), false},
        {QStringLiteral("123"), false},
    };
    const int doc = existingOrder(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ASSERT_TRUE(journal().locate(QStringLiteral("ID"), doc));
        const QDate before = journal().fieldByName(QStringLiteral("DATEP")).asDate();
        RefusalLog log;
        ModalScript script;
        withEditor(false, [&] {
            editor->edDateP->setFocus();
            QTest::keyClick(editor->edDateP, Qt::Key_Home);
            QTest::keyClicks(editor->edDateP, c.typed);
            QTest::keyClick(editor->edDateP, Qt::Key_Tab);
            settle();
            const QDate expected = c.accepted ? wanted : before;
            EXPECT_EQ(journal().fieldByName(QStringLiteral("DATEP")).asDate(), expected);
            EXPECT_EQ(editor->edDateP->date(), expected);
            EXPECT_EQ(editor->edDateP->text(), expected.toString(QStringLiteral("dd.MM.yyyy")));
            if (c.accepted) {
                EXPECT_TRUE(log.messages.isEmpty()) << log.messages.join(';').toStdString();
                EXPECT_NE(editor->focusWidget(), editor->edDateP) << "Tab leaves the date box";
            } else {
                EXPECT_EQ(log.messages, QStringList{QStringLiteral("Поле \"дата приема\": \"") + c.typed +
                                                    QStringLiteral("\" не является датой.\rВведите дату в виде "
                                                                   "ДД.ММ.ГГГГ, например 15.01.2027.")});
                EXPECT_EQ(editor->focusWidget(), editor->edDateP) << "a refused date keeps the focus";
            }
        }, script);
    }
}

struct BadNumberCase {
    const char* box;
    const char* typed;
    const char* message;
};

TEST_F(DocuWindowTest, ARefusedNumberIsSaidOnceUnderTheBoxLabelAndTheOldValueComesBack) {
    const BadNumberCase cases[] = {
        {"edReceived", "abc", "Поле \"Получено\": \"abc\" не является числом."},
        {"edReceived", "12345678901234567890",
         "Поле \"Получено\": число 12345678901234567890 слишком велико (не больше 13 цифр до запятой)."},
        {"edOtklProc", "99999999999",
         "Поле \"Откл - %\": число 99999999999 слишком велико (допустимо от -2147483648 до 2147483647)."},
    };
    existingOrder(1, 2);
    for (const BadNumberCase& c : cases) {
        SCOPED_TRACE(c.typed);
        RefusalLog log;
        ModalScript script;
        withEditor(false, [&] {
            editor->rbSkid->click();
            auto* box = editor->findChild<QLineEdit*>(QString::fromLatin1(c.box));
            ASSERT_NE(box, nullptr);
            const QString before = box->text();
            const QString field = box == editor->edReceived ? QStringLiteral("RECEIVED") : QStringLiteral("OTKLPROC");
            const fb::Value old = journal().fieldByName(field).value();
            box->setFocus();
            box->setText(QString::fromUtf8(c.typed));
            emit box->textEdited(box->text());
            QTest::keyClick(box, Qt::Key_Return);  // Enter, then the box is left
            emit box->editingFinished();
            settle();
            EXPECT_EQ(log.messages, QStringList{QString::fromUtf8(c.message)});
            EXPECT_EQ(box->text(), before);
            EXPECT_EQ(journal().fieldByName(field).value().toString(), old.toString());
            EXPECT_EQ(editor->focusWidget(), box);
        }, script);
    }
}

TEST_F(DocuWindowTest, EnterOnARefusedPriceInTheServiceDialogSaysItOnceAndKeepsTheDialog) {
    newOrder(1);
    RefusalLog log;
    bool stayed = false;
    ModalScript script;
    const auto usluga = [&](QDialog* d) {
        auto* dlg = static_cast<TfrmUsluga*>(d);
        const int idx = dlg->cbUsluga->findData(QVariant(qlonglong(90001)));
        dlg->cbUsluga->setCurrentIndex(idx);
        emit dlg->cbUsluga->activated(idx);
        dlg->edSumma->setFocus();
        dlg->edSumma->setText(QStringLiteral("abc"));
        emit dlg->edSumma->textEdited(dlg->edSumma->text());
        QTest::keyClick(dlg->edSumma, Qt::Key_Return);
        settle();
        stayed = dlg->isVisible() && dlg->result() != QDialog::Accepted;
        dlg->btnCancel->click();
    };
    bool queued = false;
    withEditor(true, [&] {
        if (!queued) script.onDialog(QStringLiteral("frmUsluga"), usluga);
        queued = true;
        editor->acUMovesAppend->trigger();
    }, script);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(log.messages, QStringList{QStringLiteral("Поле \"Стоимость\": \"abc\" не является числом.")});
}

// --- view mode ------------------------------------------------------------------

TEST_F(DocuWindowTest, ViewModeBoxesLookReadOnlyAndKeepTheirValues) {
    existingOrder(1, 2);
    const auto looksReadOnly = [](QWidget* w) {
        return w->palette().color(QPalette::Base) == QApplication::palette(w).color(QPalette::Window);
    };
    for (const bool periodOpen : {false, true}) {
        SCOPED_TRACE(periodOpen ? "edit mode" : "view mode");
        GL.RPeriodOpen = periodOpen;
        ModalScript script;
        withEditor(false, [&] {
            const QList<QWidget*> locked = {editor->edNumber, editor->edReceived, editor->edVremVyd,
                                            editor->cbComment->lineEdit(), editor->edDateP, editor->edDateV};
            for (QWidget* w : locked) EXPECT_EQ(looksReadOnly(w), !periodOpen) << w->objectName().toStdString();
            EXPECT_TRUE(looksReadOnly(editor->edTotal));
            EXPECT_FALSE(looksReadOnly(editor->edDateVyd)) << "the hand-over date stays editable";
            EXPECT_EQ(editor->cbComment->isEnabled(), periodOpen) << "the marks' list changes nothing in view mode";
            if (!periodOpen) {
                const QString received = editor->edReceived->text();
                const QDate dateP = editor->edDateP->date();
                QTest::keyClicks(editor->edReceived, QStringLiteral("77"));
                editor->edDateP->setFocus();
                QTest::keyClick(editor->edDateP, Qt::Key_Up);
                EXPECT_EQ(editor->edReceived->text(), received);
                EXPECT_EQ(editor->edDateP->date(), dateP);
                EXPECT_FALSE(editor->DocModified);
            }
        }, script);
        EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    }
}

TEST_F(DocuWindowTest, ClickingTheCheckedDeviationButtonChangesNothing) {
    existingOrder(1, 2);
    ModalScript script;
    withEditor(false, [&] {
        ASSERT_TRUE(editor->rbNone->isChecked());
        editor->rbNone->click();
        EXPECT_FALSE(editor->DocModified);
        EXPECT_FALSE(editor->windowTitle().endsWith(QStringLiteral(" *")));
        editor->rbSkid->click();
        EXPECT_TRUE(editor->DocModified);
    }, script);
}

// --- dates against the period -------------------------------------------------------

TEST_F(DocuWindowTest, AnAcceptanceDateOutsideThePeriodIsRefusedWithThePeriodsDates) {
    const int doc = existingOrder(1, 2);
    const QDate outside = GL.RPeriodDate2.addDays(10);
    const QDate savedDateP = scalar(QStringLiteral("SELECT DATEP FROM DOCU WHERE ID=?"), {doc}).toDate();
    bool stayed = false;
    ModalScript script;
    script.answerOk();
    withEditor(false, [&] {
        editor->edDateP->setDate(outside);
        editor->btnOk->click();
        stayed = editor->isVisible();
    }, script);
    EXPECT_TRUE(stayed);
    ASSERT_FALSE(script.messageTexts().isEmpty());
    EXPECT_EQ(script.messageTexts().first(), AcceptanceDateRefusal(outside, GL.RPeriodDate1, GL.RPeriodDate2));
    EXPECT_TRUE(script.messageTexts().first().contains(GL.RPeriodDate1.toString(QStringLiteral("dd.MM.yyyy"))));
    EXPECT_EQ(scalar(QStringLiteral("SELECT DATEP FROM DOCU WHERE ID=?"), {doc}).toDate(), savedDateP);
}

TEST_F(DocuWindowTest, ACompletionDateBeforeAcceptanceAsksBeforeSaving) {
    const int doc = existingOrder(1, 2);
    const QDate dateP = GL.RPeriodDate1.addDays(5);
    const QDate early = dateP.addDays(-2);
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        ASSERT_TRUE(journal().locate(QStringLiteral("ID"), doc));
        bool stayed = false;
        ModalScript script;
        script.answer(yes ? idYes : idNo);
        withEditor(false, [&] {
            editor->edDateP->setDate(dateP);
            editor->edDateV->setDate(early);
            editor->btnOk->click();
            stayed = editor->isVisible();
        }, script);
        EXPECT_EQ(script.messageTexts().value(0), CompletionBeforeAcceptanceQuestion(dateP, early));
        EXPECT_EQ(stayed, !yes);
        EXPECT_EQ(scalar(QStringLiteral("SELECT DATEV FROM DOCU WHERE ID=?"), {doc}).toDate() == early, yes);
    }
}

// --- keys and focus ------------------------------------------------------------------

TEST_F(DocuWindowTest, F1OpensTheEditorsHelpPage) {
    existingOrder(1);
    GL.HelpFile = QStringLiteral("/nonexistent/obrix.chm");
    ModalScript script;
    script.answerOk();
    withEditor(false, [&] {
        EXPECT_EQ(editor->acHelp->shortcut(), QKeySequence(Qt::Key_F1));
        QTest::keyClick(editor->DBGU, Qt::Key_F1);
    }, script);
    EXPECT_EQ(script.messageTexts(), QStringList{QStringLiteral("Не найден файл справки /nonexistent/obrix.chm")});
}

TEST_F(DocuWindowTest, ANewOrderOpensOnTheFirstTabWithTheCustomerFocused) {
    existingOrder(1, 2);
    ModalScript script;
    withEditor(false, [&] {
        editor->PageControl1->setCurrentWidget(editor->TabSheetU);
        editor->edReceived->setFocus();
    }, script);
    struct Case { int kind; QWidget* tab; };
    for (const Case& c : {Case{1, editor->TabSheetP}, Case{2, editor->TabSheetU}}) {
        SCOPED_TRACE(c.kind);
        newOrder(c.kind);
        withEditor(true, [&] {
            EXPECT_EQ(editor->PageControl1->currentWidget(), c.tab);
            EXPECT_EQ(editor->focusWidget(), editor->cbZakazch);
        }, script);
    }
}

TEST(TypedDate, ReadsTheFormsAClerkTypes) {
    const QDate ref(2026, 12, 9);
    struct Case { const char* typed; QDate date; };
    const Case cases[] = {
        {"15.01.2027", QDate(2027, 1, 15)}, {"15012027", QDate(2027, 1, 15)}, {"15.1.27", QDate(2027, 1, 15)},
        {"150127", QDate(2027, 1, 15)},     {"1501", QDate(2026, 1, 15)},     {"15", QDate(2026, 12, 15)},
        {"15.01", QDate(2026, 1, 15)},      {"5,1,2027", QDate(2027, 1, 5)},  {"31.02.2027", QDate()},
        {"123", QDate()},                   {"15.01.202", QDate()},            {"", QDate()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseTypedDate(QString::fromLatin1(c.typed), ref), c.date) << c.typed;
}

TEST_F(DocuWindowTest, ALongSpecialMarkShowsItsBeginning) {
    const int doc = existingOrder(1);
    const QString mark = QStringLiteral("Следы предыдущего ремонта на подошве и на каблуке обеих полупар");
    exec(QStringLiteral("UPDATE DOCU SET COMMENT=? WHERE ID=?"), {mark, doc});
    journal().close();
    journal().open();
    ASSERT_TRUE(journal().locate(QStringLiteral("ID"), doc));
    ModalScript script;
    withEditor(false, [&] {
        QLineEdit* box = editor->cbComment->lineEdit();
        EXPECT_EQ(box->text(), mark);
        EXPECT_EQ(box->cursorPosition(), 0) << "the first letters are in view";
    }, script);
}

TEST_F(DocuWindowTest, TheReceiptCommandsPreviewTheOrderInEveryMode) {
    const int doc = existingOrder(1, 2);
    ModalScript script;
    int previews = 0;
    for (const bool periodOpen : {true, false}) {
        SCOPED_TRACE(periodOpen ? "edit mode" : "view mode");
        GL.RPeriodOpen = periodOpen;
        ASSERT_TRUE(journal().locate(QStringLiteral("ID"), doc));
        withEditor(false, [&] {
            EXPECT_TRUE(editor->acPrintKvit->isEnabled());
            for (QAction* print : {editor->acPrintKvit, editor->acPrintKvitUz}) {
                script.onDialog(QStringLiteral("frmPreview"), [&](QDialog* d) {
                    ++previews;
                    d->reject();
                });
                print->trigger();
            }
        }, script);
    }
    EXPECT_EQ(previews, 4);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}
