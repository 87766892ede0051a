// The settings file and the settings window.
#include "ShellFixture.h"
#include "shell/Options.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

using namespace shelltest;

namespace {
class Settings : public ShellTest {};

TMyApplicationOptions options(int kind, const QString& local, const QString& server, const QString& serverDb,
                              const QString& port = QStringLiteral("3052")) {
    TMyApplicationOptions o;
    o.ConnectKind = kind;
    o.LocalDBName = local;
    o.Server = server;
    o.ServerDBName = serverDb;
    o.Port = port;
    return o;
}
}  // namespace

TEST_F(Settings, PathIsTheExecutableWithIni) {
    settings::setFilePath(QString());
    const QString exe = QCoreApplication::applicationFilePath();
    EXPECT_EQ(settings::filePath(), exe + QStringLiteral(".ini"));  // the test binary has no extension
}

TEST_F(Settings, NoFileGivesTheDefaults) {
    ASSERT_FALSE(QFile::exists(iniPath));
    TMyApplicationOptions o = options(7, "x", "y", "z", "1");
    o.ShowHintMes = false;
    ReadAppOptions(o);
    EXPECT_EQ(o.ConnectKind, 1);
    EXPECT_EQ(o.LocalDBName, QString());
    EXPECT_EQ(o.Server, QString());
    EXPECT_EQ(o.ServerDBName, QString());
    EXPECT_EQ(o.Port, QStringLiteral("3052"));
    EXPECT_TRUE(o.ShowHintMes);
    const settings::Placement p = settings::readPlacement();
    EXPECT_EQ(QRect(p.Left, p.Top, p.Width, p.Height), QRect(100, 100, 600, 400));
    EXPECT_EQ(p.WindowState, QStringLiteral("wsNormal"));
    EXPECT_FALSE(QFile::exists(iniPath)) << "reading creates no file";
}

TEST_F(Settings, DatabaseStringByKind) {
    struct Case { TMyApplicationOptions o; QString expected; };
    const Case cases[] = {
        {options(1, "/data/obrix.fdb", "srv", "D:\\Base\\base.fdb"), "/data/obrix.fdb"},
        {options(2, "/data/obrix.fdb", "srv", "D:\\Base\\base.fdb"), "srv/3052:D:\\Base\\base.fdb"},
        {options(2, "", "127.0.0.1", "/srv/obrix.fdb", "3050"), "127.0.0.1/3050:/srv/obrix.fdb"},
        {options(0, "/data/obrix.fdb", "srv", "D:\\Base\\base.fdb"), ""},
        {options(3, "/data/obrix.fdb", "srv", "x"), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DatabaseString(c.o), c.expected) << c.o.ConnectKind;
}

TEST_F(Settings, RoundTripKeepsSectionsKeysAndBackslashes) {
    WriteAppOptions(options(2, "/home/u/Рабочая база.fdb", "srv", "D:\\Base\\base.fdb"));
    AppOptions.ShowHintMes = false;
    writeShowHintMes();
    const QString text = iniText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Database]\nDB_ConnectKind=2\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("DB_ServerDBName=D:\\Base\\base.fdb\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("DB_Port=3052\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("[Misc]\nMS_ShowHintMes=0\n")));

    TMyApplicationOptions o;
    ReadAppOptions(o);
    EXPECT_EQ(o.ConnectKind, 2);
    EXPECT_EQ(o.LocalDBName, QStringLiteral("/home/u/Рабочая база.fdb"));
    EXPECT_EQ(DatabaseString(o), QStringLiteral("srv/3052:D:\\Base\\base.fdb"));
    EXPECT_FALSE(o.ShowHintMes);

    // A second write replaces the value in place; unknown keys and comments stay.
    writeIni(text + QStringLiteral("; a note\n[Other]\nKey=Value\n"));
    AppOptions.ShowHintMes = true;
    writeShowHintMes();
    const QString again = iniText();
    EXPECT_EQ(again.count(QStringLiteral("MS_ShowHintMes")), 1);
    EXPECT_TRUE(again.contains(QStringLiteral("MS_ShowHintMes=1")));
    EXPECT_TRUE(again.contains(QStringLiteral("; a note\n[Other]\nKey=Value\n")));
}

TEST_F(Settings, ReadsKeysWhateverTheirCaseAndBadNumbersGiveDefaults) {
    writeIni(QStringLiteral("[database]\r\ndb_connectkind = 2\r\nDB_Port=abc\r\n[MainForm]\r\nLeft=x\r\nTop=15\r\n"));
    EXPECT_EQ(settings::readInteger("Database", "DB_ConnectKind", 1), 2);
    EXPECT_EQ(settings::readString("Database", "DB_Port", "3052"), QStringLiteral("abc"));
    const settings::Placement p = settings::readPlacement();
    EXPECT_EQ(p.Left, 100);
    EXPECT_EQ(p.Top, 15);
}

TEST_F(Settings, MaximisedWindowStoresItsRestoredRectangle) {
    {
        QWidget w;
        restorePlacement(&w);  // no file: the defaults
        EXPECT_EQ(w.geometry(), QRect(100, 100, 600, 400));
        EXPECT_FALSE(w.isMaximized());
        w.setGeometry(150, 160, 500, 300);
        w.show();
        w.setWindowState(Qt::WindowMaximized);
        QCoreApplication::processEvents();
        ASSERT_TRUE(w.isMaximized());
        savePlacement(&w);
    }
    const QString text = iniText();
    EXPECT_TRUE(text.contains(QStringLiteral("[MainForm]\nLeft=150\nTop=160\nWidth=500\nHeight=300\n"
                                             "WindowState=wsMaximized\n")))
        << text.toStdString();

    QWidget next;
    restorePlacement(&next);
    EXPECT_TRUE(next.windowState() & Qt::WindowMaximized);
    next.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(next.normalGeometry(), QRect(150, 160, 500, 300));

    // Back to normal: the current rectangle and "wsNormal".
    next.setWindowState(Qt::WindowNoState);
    next.setGeometry(20, 30, 640, 480);
    QCoreApplication::processEvents();
    savePlacement(&next);
    const settings::Placement p = settings::readPlacement();
    EXPECT_EQ(QRect(p.Left, p.Top, p.Width, p.Height), QRect(20, 30, 640, 480));
    EXPECT_EQ(p.WindowState, QStringLiteral("wsNormal"));
}

TEST_F(Settings, OnlyTheExactStateTextMaximises) {
    writeIni(QStringLiteral("[MainForm]\nWindowState=wsmaximized\n"));
    QWidget w;
    restorePlacement(&w);
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
}

// --- the settings window ------------------------------------------------------

TEST_F(Settings, WindowReadsTheFileAtCreation) {
    writeIni(QStringLiteral("[Database]\nDB_ConnectKind=2\nDB_LocalDBName=/a.fdb\nDB_Server=srv\n"
                            "DB_ServerDBName=D:\\Base\\base.fdb\nDB_Port=3055\n[Misc]\nMS_ShowHintMes=0\n"));
    TfrmOptions w;
    EXPECT_EQ(w.objectName(), QStringLiteral("frmOptions"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Настройки программы"));
    EXPECT_FALSE(child<QRadioButton>(&w, "rbLocalConnect")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&w, "rbRemoteLANConnect")->isChecked());
    EXPECT_EQ(child<QLineEdit>(&w, "edLocalDBName")->text(), QStringLiteral("/a.fdb"));
    EXPECT_EQ(child<QLineEdit>(&w, "edRemoteLANServer")->text(), QStringLiteral("srv"));
    EXPECT_EQ(child<QLineEdit>(&w, "edRemoteLANFilename")->text(), QStringLiteral("D:\\Base\\base.fdb"));
    EXPECT_EQ(AppOptions.ConnectKind, 2);
    EXPECT_EQ(AppOptions.Port, QStringLiteral("3055"));
    EXPECT_FALSE(AppOptions.ShowHintMes);
    EXPECT_EQ(DatabaseString(AppOptions), QStringLiteral("srv/3055:D:\\Base\\base.fdb"));
}

TEST_F(Settings, WindowWithoutFileShowsLocalAndEmptyFields) {
    TfrmOptions w;
    EXPECT_TRUE(child<QRadioButton>(&w, "rbLocalConnect")->isChecked());
    EXPECT_TRUE(child<QLineEdit>(&w, "edLocalDBName")->text().isEmpty());
    EXPECT_EQ(AppOptions.ConnectKind, 1);
    EXPECT_EQ(DatabaseString(AppOptions), QString());
}

TEST_F(Settings, ShowingKeepsTheHintChoiceOfTheRun) {
    auto* w = Window<TfrmOptions>("frmOptions");
    ASSERT_NE(w, nullptr);
    writeIni(QStringLiteral("[Database]\nDB_ConnectKind=1\nDB_LocalDBName=/b.fdb\nDB_Port=3060\n[Misc]\nMS_ShowHintMes=1\n"));
    AppOptions.ShowHintMes = false;  // the user closed the hint panel during this run
    ModalScript script;
    script.onDialog("frmOptions", [](QDialog* d) { child<QPushButton>(d, "btnCancel")->click(); });
    EXPECT_EQ(execModal(w), QDialog::Rejected);
    EXPECT_FALSE(AppOptions.ShowHintMes);
    EXPECT_EQ(AppOptions.Port, QStringLiteral("3060"));  // everything else is read again
    EXPECT_EQ(AppOptions.LocalDBName, QStringLiteral("/b.fdb"));
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(Settings, OkWritesTheDatabaseKeysAndThePortAsRead) {
    auto* w = Window<TfrmOptions>("frmOptions");
    writeIni(QStringLiteral("[Database]\nDB_ConnectKind=1\nDB_Port=3099\n"));
    ModalScript script;
    script.answerFile(QStringLiteral("/srv/data/shop.fdb"));
    script.onDialog("frmOptions", [](QDialog* d) {
        child<QPushButton>(d, "btnSelectDB")->click();  // while the local file is the chosen kind
        child<QRadioButton>(d, "rbRemoteLANConnect")->setChecked(true);
        child<QLineEdit>(d, "edRemoteLANServer")->setText(QStringLiteral("srv"));
        child<QLineEdit>(d, "edRemoteLANFilename")->setText(QStringLiteral("D:\\Base\\base.fdb"));
        child<QPushButton>(d, "btnOk")->click();
    });
    EXPECT_EQ(execModal(w), QDialog::Accepted);
    ASSERT_EQ(script.fileRequests().size(), 1);
    EXPECT_EQ(script.fileRequests()[0].filter, QStringLiteral("База данных (*.fdb)"));
    EXPECT_EQ(script.fileRequests()[0].kind, FileRequest::Open);

    TMyApplicationOptions o;
    ReadAppOptions(o);
    EXPECT_EQ(o.ConnectKind, 2);
    EXPECT_EQ(o.LocalDBName, QStringLiteral("/srv/data/shop.fdb"));
    EXPECT_EQ(o.Server, QStringLiteral("srv"));
    EXPECT_EQ(o.ServerDBName, QStringLiteral("D:\\Base\\base.fdb"));
    EXPECT_EQ(o.Port, QStringLiteral("3099"));
    EXPECT_EQ(AppOptions.ConnectKind, 2);
    EXPECT_EQ(AppOptions.LocalDBName, QStringLiteral("/srv/data/shop.fdb"));
    EXPECT_EQ(DatabaseString(AppOptions), QStringLiteral("srv/3099:D:\\Base\\base.fdb"));
}

TEST_F(Settings, KindZeroChecksNothingAndIsWrittenBackAsZero) {
    auto* w = Window<TfrmOptions>("frmOptions");
    writeIni(QStringLiteral("[Database]\nDB_ConnectKind=0\nDB_LocalDBName=/c.fdb\n"));
    AppOptions.ConnectKind = 1;
    ModalScript script;
    script.onDialog("frmOptions", [](QDialog* d) {
        EXPECT_FALSE(child<QRadioButton>(d, "rbLocalConnect")->isChecked());
        EXPECT_FALSE(child<QRadioButton>(d, "rbRemoteLANConnect")->isChecked());
        child<QPushButton>(d, "btnOk")->click();
    });
    execModal(w);
    EXPECT_EQ(AppOptions.ConnectKind, 1) << "kept when no button is checked";
    EXPECT_TRUE(iniText().contains(QStringLiteral("DB_ConnectKind=0\n")));
    TMyApplicationOptions o;
    ReadAppOptions(o);
    EXPECT_EQ(DatabaseString(o), QString()) << "no database name at the next start";
}

TEST_F(Settings, CancelWritesNothingAndHelpNamesItsPage) {
    auto* w = Window<TfrmOptions>("frmOptions");
    GL.HelpFile = QStringLiteral("/nonexistent/obrix.chm");
    ModalScript script;
    script.answerOk();
    script.onDialog("frmOptions", [](QDialog* d) {
        EXPECT_EQ(child<QPushButton>(d, "BitBtn1")->toolTip(), QStringLiteral("Справка"));
        child<QPushButton>(d, "BitBtn1")->click();
        child<QLineEdit>(d, "edLocalDBName")->setText(QStringLiteral("/changed.fdb"));
        child<QPushButton>(d, "btnCancel")->click();
    });
    EXPECT_EQ(execModal(w), QDialog::Rejected);
    EXPECT_EQ(script.messageTexts(), QStringList{QStringLiteral("Не найден файл справки /nonexistent/obrix.chm")});
    EXPECT_FALSE(QFile::exists(iniPath));
}

TEST_F(Settings, AFileThatCannotBeWrittenIsSaidOnceAndTheValuesStayInMemory) {
    settings::setFilePath(QStringLiteral("/nonexistent-folder/obrix.ini"));
    ModalScript script;
    script.answerOk();
    settings::writeString(QStringLiteral("Database"), QStringLiteral("DB_Server"), QStringLiteral("srv"));
    settings::writeInteger(QStringLiteral("Database"), QStringLiteral("DB_ConnectKind"), 2);
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages()[0].text.startsWith(
        QStringLiteral("Не удалось сохранить настройки в файл /nonexistent-folder/obrix.ini")));
    EXPECT_EQ(script.messages()[0].flags, 48);
    EXPECT_TRUE(script.unexpected().isEmpty());
}
