// The settings file and the settings window.
#include "ShellFixture.h"
#include "shell/Options.h"
#include "ui/WindowPlacement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStringEncoder>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <functional>
#include <sys/stat.h>

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
    WriteShowHintMes();
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
    WriteShowHintMes();
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

// --- the file's bytes ----------------------------------------------------------

namespace {

enum class Enc { Utf8, Utf8Bom, Win1251 };

QByteArray encode(const QString& text, Enc enc) {
    if (enc != Enc::Win1251) return text.toUtf8();
    QStringEncoder e("windows-1251");
    return e.encode(text);
}

// The file as a workstation would have it: lines in one encoding and one line end.
QByteArray fileBytes(const QStringList& lines, Enc enc, const QByteArray& eol, bool finalEol) {
    QByteArray out = enc == Enc::Utf8Bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (int i = 0; i < lines.size(); ++i) {
        out += encode(lines[i], enc);
        if (i + 1 < lines.size() || finalEol) out += eol;
    }
    return out;
}

// Bytes shown so that a difference reads: line ends and non-ASCII escaped.
std::string shown(const QByteArray& bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n\n";
        else if (u < 0x20 || u >= 0x80) out += QStringLiteral("\\x%1").arg(u, 2, 16, QChar('0')).toStdString();
        else out += c;
    }
    return out;
}

std::string bytesOf(const QString& path) {
    QFile f(path);
    return shown(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

}  // namespace

// Whatever encoding and line ends the file has, the keys are read, and a
// write changes exactly the lines it writes: every other byte stays.
TEST_F(Settings, WritesKeepEveryOtherByteInTheFilesEncodingAndLineEnds) {
    const QString oldPath = QStringLiteral("C:\\Обрикс\\База данных.fdb");
    const QString newPath = QStringLiteral("D:\\Новая база\\мастерская.fdb");
    const QStringList before = {
        QStringLiteral("[Database]"),
        QStringLiteral("DB_ConnectKind=1"),
        QStringLiteral("DB_LocalDBName=") + oldPath,
        QStringLiteral("DB_Server = сервер-1 "),
        QStringLiteral("DB_ServerDBName=D:\\Базы\\обрикс.fdb"),
        QStringLiteral("DB_Port = 3052"),
        QStringLiteral("; заметка: «не трогать»"),
        QStringLiteral("[Misc]"),
        QStringLiteral("MS_ShowHintMes=1"),
        QStringLiteral("[Другое]"),
        QStringLiteral("Ключ=Значение №5"),
    };
    QStringList after = before;
    after[2] = QStringLiteral("DB_LocalDBName=") + newPath;
    after[8] = QStringLiteral("MS_ShowHintMes=0");
    after << QString() << QStringLiteral("[MainForm]") << QStringLiteral("Left=-5");

    struct Variant { Enc enc; const char* name; };
    const Variant encodings[] = {{Enc::Utf8, "UTF-8"}, {Enc::Utf8Bom, "UTF-8 with BOM"}, {Enc::Win1251, "Windows-1251"}};
    const QByteArray eols[] = {"\n", "\r\n", "\r"};
    for (const Variant& v : encodings)
        for (const QByteArray& eol : eols)
            for (const bool finalEol : {true, false}) {
                const std::string what = std::string(v.name) + " eol " + eol.toHex().toStdString() +
                                         (finalEol ? "" : " no final line end");
                writeBytes(iniPath, fileBytes(before, v.enc, eol, finalEol));

                TMyApplicationOptions o;
                ReadAppOptions(o);
                EXPECT_EQ(o.LocalDBName, oldPath) << what;
                EXPECT_EQ(o.Server, QStringLiteral("сервер-1")) << what;
                EXPECT_TRUE(o.ShowHintMes) << what;
                EXPECT_EQ(settings::readString("Другое", "Ключ"), QStringLiteral("Значение №5")) << what;

                WriteAppOptions(o);  // the same values: nothing moves
                EXPECT_EQ(bytesOf(iniPath), shown(fileBytes(before, v.enc, eol, finalEol))) << what;

                o.LocalDBName = newPath;
                WriteAppOptions(o);
                AppOptions.ShowHintMes = false;
                WriteShowHintMes();
                settings::writeInteger("MainForm", "Left", -5);
                EXPECT_EQ(bytesOf(iniPath), shown(fileBytes(after, v.enc, eol, true))) << what;

                TMyApplicationOptions again;
                ReadAppOptions(again);
                EXPECT_EQ(again.LocalDBName, newPath) << what;
                EXPECT_FALSE(again.ShowHintMes) << what;
            }
}

TEST_F(Settings, AValueWindows1251CannotHoldTurnsTheFileIntoUtf8WithEveryTextKept) {
    const QStringList lines = {QStringLiteral("[Database]"), QStringLiteral("DB_LocalDBName=C:\\База.fdb"),
                               QStringLiteral("DB_Server=сервер")};
    writeBytes(iniPath, fileBytes(lines, Enc::Win1251, "\r\n", true));
    settings::writeString("Database", "DB_LocalDBName", QStringLiteral("C:\\База €.fdb"));
    settings::writeString("Database", "DB_ServerDBName", QStringLiteral("/srv/数据.fdb"));
    const QStringList expected = {lines[0], QStringLiteral("DB_LocalDBName=C:\\База €.fdb"), lines[2],
                                  QStringLiteral("DB_ServerDBName=/srv/数据.fdb")};
    EXPECT_EQ(bytesOf(iniPath), shown(fileBytes(expected, Enc::Utf8, "\r\n", true)));
}

// Anything that is not a small regular file is said once, gives the defaults
// and is never written over.
TEST_F(Settings, WhatIsNotASettingsFileGivesTheDefaultsAndStaysAsItWas) {
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
        QString reason;
    };
    const Case cases[] = {
        {"link to /dev/zero", [](const QString& p) { ASSERT_TRUE(QFile::link("/dev/zero", p)); },
         QStringLiteral("это не обычный файл")},
        {"named pipe", [](const QString& p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
         QStringLiteral("это не обычный файл")},
        {"folder", [](const QString& p) { ASSERT_TRUE(QDir().mkdir(p)); }, QStringLiteral("это не обычный файл")},
        {"2 MB file",
         [](const QString& p) {
             writeBytes(p, "[Database]\nDB_ConnectKind=2\nDB_Server=big\n" + QByteArray(2 * 1024 * 1024, ';'));
         },
         QStringLiteral("файл больше 1 МБ")},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = QFileInfo(iniPath).absolutePath() + QStringLiteral("/case%1.ini").arg(++n);
        settings::setFilePath(path);
        c.make(path);
        const QFileInfo info(path);
        const std::string before = info.isFile() && !info.isSymLink() ? bytesOf(path) : std::string();

        ModalScript script;
        script.answerOk();
        TMyApplicationOptions o;
        o.ConnectKind = 5;
        ReadAppOptions(o);
        EXPECT_EQ(o.ConnectKind, 1) << c.name;
        EXPECT_EQ(o.Server, QString()) << c.name;
        EXPECT_EQ(o.Port, QStringLiteral("3052")) << c.name;
        o.Server = QStringLiteral("srv");
        WriteAppOptions(o);
        WriteShowHintMes();
        settings::writeInteger("MainForm", "Left", 1);

        ASSERT_EQ(script.messages().size(), 1) << c.name;
        EXPECT_EQ(script.messages()[0].text,
                  QStringLiteral("Файл настроек ") + path + QStringLiteral(" не прочитан: ") + c.reason +
                      QStringLiteral(".\r\rПрограмма работает с настройками по умолчанию и не изменяет этот файл."))
            << c.name;
        EXPECT_EQ(script.messages()[0].flags, 48) << c.name;

        const QFileInfo now(path);
        EXPECT_EQ(now.isSymLink(), info.isSymLink()) << c.name;
        EXPECT_EQ(now.isDir(), info.isDir()) << c.name;
        if (!before.empty()) { EXPECT_TRUE(bytesOf(path) == before) << c.name; }
        if (QString(c.name) == "named pipe") {
            struct stat st {};
            ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
            EXPECT_TRUE(S_ISFIFO(st.st_mode));
        }
    }
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
