// What a clerk types into a number, an amount or a date box of the program's
// real windows: what does not convert or does not fit its column is refused
// with a message naming the box, said once through the program's error
// window, and the box and its field keep their old value. Every window is the
// program's own, opened from the main window on a copy of the demo database.
#include "MainWindowFixture.h"

#include "ui/Application.h"
#include "shell/Composition.h"
#include "ui/FieldBinding.h"
#include "ui/AppErrorHandler.h"
#include "ui/ErrorDB.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QTabBar>
#include <QTest>

using namespace maintest;

namespace {

void settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

struct Edit {
    const char* window;  // where the box is: docu, docsline, tovar, zakazch
    const char* box;
    const char* typed;
    const char* message;  // a date box: its label (the message is the same for every refused date)
};

const QString kDateHint = QStringLiteral("\" не является датой.\rВведите дату в виде ДД.ММ.ГГГГ, например 15.01.2027.");

class EditRefusals : public MainWindowTest {
protected:
    using Inside = std::function<void(QDialog*)>;

    static void clickButton(QDialog* d, const char* name) {
        if (auto* b = d->findChild<QAbstractButton*>(QString::fromLatin1(name))) b->click();
    }
    static void trigger(QObject* owner, const char* action) {
        auto* a = owner->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }

    // Runs `inside` in the window the edit belongs to, then closes everything without saving.
    void inWindow(const QString& window, ModalScript& script, const Inside& inside) {
        auto* tabs = main->findChild<QTabBar*>(QStringLiteral("TabControl"));
        const auto run = [&](const char* action) {
            main->UpdateActionsWorkingWithDB();  // as when the program is idle
            QAction* a = main->action(QString::fromLatin1(action));
            ASSERT_TRUE(a->isEnabled()) << action;
            a->trigger();
        };
        if (window == QLatin1String("docu")) {
            tabs->setCurrentIndex(0);
            ASSERT_FALSE(main->journalDocu()->isEmpty());
            script.onDialog(QStringLiteral("frmDocu"), [&](QDialog* d) {
                inside(d);
                clickButton(d, "btnCancel");
            });
            run("acDocsEdit");
        } else if (window == QLatin1String("docsline")) {
            tabs->setCurrentIndex(1);
            const fb::Value doc = scalar(QStringLiteral("SELECT MIN(M.DOC_ID) FROM MOVES M JOIN DOCS D ON D.ID=M.DOC_ID "
                                                        "WHERE D.RPERIOD_ID=?"),
                                         {fb::Value(qint64(GL.RPeriodID))});
            ASSERT_FALSE(doc.isNull()) << "the demo period has stock documents with lines";
            ASSERT_TRUE(main->journalDocs()->locate(QStringLiteral("ID"), doc));
            script.onDialog(QStringLiteral("frmDocs"), [&](QDialog* d) {
                script.onDialog(QStringLiteral("frmTovar"), [&](QDialog* line) {
                    inside(line);
                    clickButton(line, "btnCancel");
                });
                trigger(d, "acMovesEdit");
                clickButton(d, "btnCancel");
            });
            run("acDocsEdit");
        } else {
            const bool goods = window == QLatin1String("tovar");
            script.onDialog(goods ? QStringLiteral("frmBookTovar") : QStringLiteral("frmBookZakazch"), [&](QDialog* b) {
                script.onDialog(goods ? QStringLiteral("frmNewTovar") : QStringLiteral("frmNewZakazch"), [&](QDialog* r) {
                    inside(r);
                    clickButton(r, "btnCancel");
                });
                if (goods) trigger(b, "acViewPlain");
                trigger(b, "acEdit");
                b->reject();
            });
            run(goods ? "acBookTovar" : "acBookZakazch");
        }
        for (TClientDataSet* j : {main->journalDocu(), main->journalDocs()})
            if (j->isEditing()) j->cancel();
    }

    static void type(QWidget* box, const QString& text) {
        box->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            line->setText(text);
            emit line->textEdited(text);
            QTest::keyClick(line, Qt::Key_Return);  // Enter, then the box is left
            emit line->editingFinished();
        } else {
            QTest::keyClicks(box, text);
            QTest::keyClick(box, Qt::Key_Tab);
        }
        settle();
    }
};

TEST_F(EditRefusals, EveryWindowRefusesWhatDoesNotConvertOrFitAndKeepsTheOldValue) {
    const Edit edits[] = {
        // The service order: amounts, a whole percentage, dates.
        {"docu", "edReceived", "abc", "Поле \"Получено\": \"abc\" не является числом."},
        {"docu", "edReceived", "12345678901234567890",
         "Поле \"Получено\": число 12345678901234567890 слишком велико (не больше 13 цифр до запятой)."},
        {"docu", "edReceived", "99999999999999,99",
         "Поле \"Получено\": число 99999999999999.99 слишком велико (не больше 13 цифр до запятой)."},
        {"docu", "edReceived", "9999999999999,999",
         "Поле \"Получено\": число 9999999999999.999 слишком велико (не больше 13 цифр до запятой)."},
        {"docu", "edOtklSum", "1.2.3", "Поле \"Откл - сумма\": \"1.2.3\" не является числом."},
        {"docu", "edOtklProc", "2,5", "Поле \"Откл - %\": \"2,5\" не является целым числом."},
        {"docu", "edDateP", "31.02.2027", "дата приема"},
        {"docu", "edDateV", "45.13", "дата выполнения"},
        // A stock line: a quantity with three decimals, a price with two.
        {"docsline", "edKolvo", "два", "Поле \"Количество\": \"два\" не является числом."},
        {"docsline", "edKolvo", "1234567890123",
         "Поле \"Количество\": число 1234567890123 слишком велико (не больше 12 цифр до запятой)."},
        {"docsline", "edCena", "1e5", "Поле \"Цена\": \"1e5\" не является числом."},
        {"docsline", "edCena", "10000000000000",
         "Поле \"Цена\": число 10000000000000 слишком велико (не больше 13 цифр до запятой)."},
        // A book's record: prices, a code, a date.
        {"tovar", "edCena", "12,3,4", "Поле \"Цена\": \"12,3,4\" не является числом."},
        {"tovar", "edCenaProd", "99999999999999",
         "Поле \"Цена реализ.\": число 99999999999999 слишком велико (не больше 13 цифр до запятой)."},
        {"tovar", "edId", "9999999999",
         "Поле \"Код\": число 9999999999 слишком велико (допустимо от -2147483648 до 2147483647)."},
        {"zakazch", "edDtr", "30.02.2000", "Дата рождения"},
        {"zakazch", "edDtr", "01.01.1800", "Дата рождения"},  // the box's blank date
    };
    connect();
    for (const Edit& e : edits) {
        SCOPED_TRACE(std::string(e.window) + " " + e.box + " \"" + e.typed + "\"");
        ModalScript script;
        QStringList said;
        bool reached = false;
        inWindow(QString::fromLatin1(e.window), script, [&](QDialog* d) {
            auto* box = d->findChild<QWidget*>(QString::fromLatin1(e.box));
            ASSERT_NE(box, nullptr);
            auto* binding = box->findChild<TFieldBinding*>();
            ASSERT_NE(binding, nullptr) << "the box is bound to a field";
            ASSERT_NE(binding->field(), nullptr);
            ASSERT_FALSE(binding->isReadOnly()) << "the box takes input";
            reached = true;
            const QString textBefore = qobject_cast<QLineEdit*>(box) ? qobject_cast<QLineEdit*>(box)->text()
                                                                    : qobject_cast<QDateEdit*>(box)->text();
            const fb::Value valueBefore = binding->field()->value();
            script.onDialog(QStringLiteral("frmErrorMes"), [&](QDialog* m) {
                said << static_cast<TfrmErrorMes*>(m)->messageText();
                m->accept();
            });
            type(box, QString::fromUtf8(e.typed));
            const QString message = QString::fromUtf8(e.message);
            const QString expected = qobject_cast<QDateEdit*>(box)
                                         ? QStringLiteral("Поле \"") + message + QStringLiteral("\": \"") +
                                               QString::fromUtf8(e.typed) + kDateHint
                                         : message;
            EXPECT_EQ(said.join(u'|').toStdString(), ModalSeam::displayText(expected).toStdString());
            EXPECT_EQ(binding->field()->value().toString(), valueBefore.toString()) << "the field keeps its value";
            const QString textAfter = qobject_cast<QLineEdit*>(box) ? qobject_cast<QLineEdit*>(box)->text()
                                                                   : qobject_cast<QDateEdit*>(box)->text();
            EXPECT_EQ(textAfter, textBefore) << "the box shows the old value again";
            EXPECT_TRUE(d->focusWidget() == box || box->isAncestorOf(d->focusWidget())) << "the box keeps the focus";
        });
        EXPECT_TRUE(reached) << "the window with the box was opened; shown: "
                             << script.dialogsShown().join(QStringLiteral(", ")).toStdString() << "; unexpected: "
                             << script.unexpected().join(QStringLiteral(", ")).toStdString() << "; messages: "
                             << script.messageTexts().join(QStringLiteral(" | ")).toStdString();
        EXPECT_EQ(script.dialogsShown().count(QStringLiteral("frmErrorMes")), said.size()) << "said once";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    InstallApplicationErrorHandler();
    auto& reg = WindowRegistry::instance();
    ComposeProgram();
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    reg.destroyAll();
    return rc;
}
