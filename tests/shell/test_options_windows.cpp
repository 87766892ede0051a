// The two settings windows as a clerk uses them: the fields of the connection
// kind not chosen are disabled, an impossible term of completion is refused
// under its label, and a window reopens where it was left.
#include "ShellFixture.h"
#include "data/DataErrors.h"
#include "shell/Options.h"
#include "shell/OptionsUchet.h"
#include "session/UchetVariables.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace shelltest;

namespace {

struct RefusalLog {
    QStringList messages;
    RefusalLog() {
        setUiErrorHandler([this](std::exception_ptr e) { messages << errorMessage(e); });
    }
    ~RefusalLog() { setUiErrorHandler(nullptr); }
};

class OptionsWindows : public ShellTest {};

}  // namespace

TEST_F(OptionsWindows, TheFieldsOfTheKindNotChosenAreDisabled) {
    writeIni(QStringLiteral("[Database]\nDB_ConnectKind=1\nDB_LocalDBName=/data/obrix.fdb\nDB_Server=srv\n"));
    ModalScript script;
    script.onDialog(QStringLiteral("frmOptions"), [](QDialog* d) {
        auto* local = child<QRadioButton>(d, "rbLocalConnect");
        auto* remote = child<QRadioButton>(d, "rbRemoteLANConnect");
        const auto states = [d] {
            return QList<bool>{child<QLineEdit>(d, "edLocalDBName")->isEnabled(),
                               child<QPushButton>(d, "btnSelectDB")->isEnabled(),
                               child<QLineEdit>(d, "edRemoteLANServer")->isEnabled(),
                               child<QLineEdit>(d, "edRemoteLANFilename")->isEnabled()};
        };
        EXPECT_TRUE(local->isChecked());
        EXPECT_EQ(states(), (QList<bool>{true, true, false, false}));
        remote->click();
        EXPECT_EQ(states(), (QList<bool>{false, false, true, true}));
        local->click();
        EXPECT_EQ(states(), (QList<bool>{true, true, false, false}));
        child<QPushButton>(d, "btnCancel")->click();
    });
    execModal(Window<QDialog>("frmOptions"));
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(OptionsWindows, AWindowReopensWhereItWasLeft) {
    for (const char* name : {"frmOptions", "frmOptionsUchet"}) {
        SCOPED_TRACE(name);
        if (QString::fromLatin1(name) == QStringLiteral("frmOptionsUchet")) {
            DM().connectDatabase(dbPath);
            DM().cdsUchInfo->open();
        }
        auto* dialog = Window<QDialog>(name);
        ModalScript script;
        QPoint left, reopened;
        script.onDialog(QString::fromLatin1(name), [&](QDialog* d) {
            d->move(d->pos() + QPoint(37, 23));
            left = d->pos();
            d->reject();
        });
        script.onDialog(QString::fromLatin1(name), [&](QDialog* d) {
            reopened = d->pos();
            d->reject();
        });
        execModal(dialog);
        execModal(dialog);
        EXPECT_EQ(reopened, left);
    }
}

TEST_F(OptionsWindows, ATermOfCompletionOutsideZeroToTenYearsIsRefusedUnderItsLabel) {
    DM().connectDatabase(dbPath);
    DM().cdsUchInfo->open();
    UpdateUchetOptions();
    struct Case { const char* typed; const char* message; };
    const Case cases[] = {
        {"2000000000", "Поле \"Срок выполн., дней (умолч.)\": число 2000000000 слишком велико (допустимо от 0 до 3650)."},
        {"3651", "Поле \"Срок выполн., дней (умолч.)\": число 3651 слишком велико (допустимо от 0 до 3650)."},
        {"-1", "Поле \"Срок выполн., дней (умолч.)\": число -1 слишком мало (допустимо от 0 до 3650)."},
        {"99999999999999999999",
         "Поле \"Срок выполн., дней (умолч.)\": число 99999999999999999999 слишком велико (допустимо от 0 до 3650)."},
        {"3650", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        RefusalLog log;
        ModalScript script;
        script.onDialog(QStringLiteral("frmOptionsUchet"), [&](QDialog* d) {
            auto* tabs = child<QTabWidget>(d, "PageControl1");
            tabs->setCurrentIndex(1);
            auto* box = child<QLineEdit>(d, "edDVDelta");
            const QString before = box->text();
            box->setFocus();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            EXPECT_EQ(box->selectedText(), before) << "Ctrl+A selects all";
            QTest::keyClicks(box, QString::fromLatin1(c.typed));
            QTest::keyClick(box, Qt::Key_Return);
            QApplication::processEvents();
            if (c.message) {
                EXPECT_EQ(log.messages, QStringList{QString::fromUtf8(c.message)});
                EXPECT_EQ(box->text(), before);
                EXPECT_EQ(d->focusWidget(), box);
                child<QPushButton>(d, "btnCancel")->click();
            } else {
                EXPECT_TRUE(log.messages.isEmpty()) << log.messages.join(';').toStdString();
                child<QPushButton>(d, "btnOk")->click();
            }
        });
        execModal(Window<QDialog>("frmOptionsUchet"));
    }
    EXPECT_EQ(UchetOptions.DVDelta, 3650);
    EXPECT_EQ(scalar(QStringLiteral("SELECT DVDELTA FROM UCHINFO")).toInt(), 3650);
}

TEST_F(OptionsWindows, F1OpensTheWindowsHelpPage) {
    DM().connectDatabase(dbPath);
    DM().cdsUchInfo->open();
    GL.HelpFile = QStringLiteral("/nonexistent/obrix.chm");
    for (const char* name : {"frmOptions", "frmOptionsUchet"}) {
        SCOPED_TRACE(name);
        ModalScript script;
        script.answerOk();
        script.onDialog(QString::fromLatin1(name), [](QDialog* d) {
            QApplication::setActiveWindow(d);
            QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_F1);
            d->reject();
        });
        execModal(Window<QDialog>(name));
        EXPECT_EQ(script.messageTexts(), QStringList{QStringLiteral("Не найден файл справки /nonexistent/obrix.chm")});
    }
}
