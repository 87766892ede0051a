// "Резервная копия…" of the main window: the administrator's command, the
// save dialog, the progress window with the engine's lines, the result.
#include "MainWindowFixture.h"
#include "ui/MessageBoxes.h"
#include "shell/Backup.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace maintest {
namespace {

// Lets the progress window run until the engine is done with it.
int waitForBackup(QDialog* d, QString* lines = nullptr) {
    auto* window = qobject_cast<TfrmBackup*>(d);
    if (!window) return QDialog::Rejected;
    QDeadlineTimer deadline(120000);  // a hung engine fails the test instead of hanging it
    while (window->outcome() == TfrmBackup::Outcome::None && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (lines) *lines = window->memoLines->toPlainText();
    return d->result();
}

class BackupCommandTest : public MainWindowTest {
protected:
    QString target(const char* name) const { return QFileInfo(path).dir().filePath(QString::fromLatin1(name)); }
};

TEST_F(BackupCommandTest, OnlyTheAdministratorHasTheCommandInTheSettingsMenu) {
    EXPECT_FALSE(enabled("acBackup"));  // no connection
    connect();
    EXPECT_TRUE(enabled("acBackup"));
    GL.DostupBookUser = false;
    EXPECT_FALSE(enabled("acBackup"));
    GL.DostupBookUser = true;

    QAction* settings = nullptr;
    for (QAction* m : main->menuBar()->actions())
        if (m->text() == QStringLiteral("Настройка")) settings = m;
    ASSERT_NE(settings, nullptr);
    QStringList items;
    for (QAction* a : settings->menu()->actions()) items << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(items, (QStringList{"acOptionsUchet", "acOptionsApp", "-", "acBackup"}));
    EXPECT_EQ(main->action(QStringLiteral("acBackup"))->text(), QStringLiteral("Резервная копия…"));
}

TEST_F(BackupCommandTest, TheChosenFileGetsTheBackupWhileTheWindowShowsTheEnginesWork) {
    connect();
    const QString file = target("copy.fbk");
    QString lines;
    ModalScript script;
    script.answerFile(file);
    script.onDialog(QStringLiteral("frmBackup"), [&](QDialog* d) { return waitForBackup(d, &lines); });
    script.answerOk();
    ASSERT_TRUE(enabled("acBackup"));
    main->action(QStringLiteral("acBackup"))->trigger();

    ASSERT_EQ(script.fileRequests().size(), 1);
    EXPECT_EQ(script.fileRequests()[0].kind, FileRequest::Save);
    EXPECT_EQ(script.fileRequests()[0].filter, QStringLiteral("Резервная копия (*.fbk)"));
    EXPECT_EQ(script.fileRequests()[0].dir, SuggestedBackupFile(path, QDate::currentDate()));
    EXPECT_EQ(script.dialogsShown(), QStringList{"frmBackup"});
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages()[0].text, QStringLiteral("Резервная копия базы данных создана:\r") + file);
    EXPECT_EQ(script.messages()[0].flags, mbInfoOk);
    EXPECT_GT(QFileInfo(file).size(), 10000);
    EXPECT_TRUE(lines.contains(QStringLiteral("DOCU"))) << lines.toStdString();  // the engine's lines, table by table
    // The program's connection is untouched and goes on working.
    EXPECT_GT(count(QStringLiteral("DOCU")), 0);
}

TEST_F(BackupCommandTest, AFailureSaysWhyAndNamesTheFile) {
    connect();
    const struct {
        QString chosen;
        QString says;  // empty: nothing is shown
    } cases[] = {
        {QString(), QString()},  // the dialog cancelled
        {target("no-such-folder/copy.fbk"), QStringLiteral("Не удалось создать файл резервной копии «%1»")},
        {path, QStringLiteral("нельзя записать поверх самой базы данных «%1»")},
    };
    for (const auto& c : cases) {
        ModalScript script;
        script.answerFile(c.chosen);
        if (!c.says.isEmpty()) {
            script.onDialog(QStringLiteral("frmBackup"), [](QDialog* d) { return waitForBackup(d); });
            script.answerOk();
        }
        ASSERT_TRUE(enabled("acBackup"));
        main->action(QStringLiteral("acBackup"))->trigger();
        if (c.says.isEmpty()) {
            EXPECT_TRUE(script.messages().isEmpty());
            EXPECT_TRUE(script.dialogsShown().isEmpty());
            continue;
        }
        ASSERT_EQ(script.messages().size(), 1) << c.chosen.toStdString();
        const QString text = script.messages()[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Резервная копия не создана.\r"))) << text.toStdString();
        EXPECT_TRUE(text.contains(c.says.arg(c.chosen == path ? path : c.chosen))) << text.toStdString();
        EXPECT_EQ(script.messages()[0].flags, mbStopOk);
        EXPECT_TRUE(script.unexpected().isEmpty());
    }
    EXPECT_GT(count(QStringLiteral("DOCU")), 0);  // the database is whole
}

}  // namespace
}  // namespace maintest
