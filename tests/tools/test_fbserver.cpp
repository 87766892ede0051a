// tools/fbserver.sh in throw-away folders, with a stand-in server program of
// the test's own (OBRIX_FB_SERVER): never against a server the test did not start.
#include "ToolsFixture.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>

using namespace toolstest;

namespace {

struct ScriptRun {
    int code = -1;
    QString output;
};

class FbServerScript : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        openForServer(tmp);
        port = freePort();
        root = tmp.filePath(QStringLiteral("server"));
    }
    void TearDown() override {
        script({QStringLiteral("stop"), root});
        for (QProcess* p : others) {
            p->kill();
            p->waitForFinished(5000);
            delete p;
        }
        for (qint64 pid : strays)
            if (alive(pid)) ::kill(pid_t(pid), SIGKILL);
    }

    ScriptRun script(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("OBRIX_FB_SERVER"), QStringLiteral(OBRIX_FAKE_FBSERVER));
        env.insert(QStringLiteral("OBRIX_FB_PORT"), QString::number(port));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("bash"), QStringList{QStringLiteral(OBRIX_FBSERVER_SCRIPT)} + args);
        p.waitForFinished(60000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
    }

    // A process of the test's own, started with the given environment additions.
    QProcess* own(const QString& program, const QStringList& args, const QMap<QString, QString>& vars = {}) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (auto it = vars.begin(); it != vars.end(); ++it) env.insert(it.key(), it.value());
        p->setProcessEnvironment(env);
        p->start(program, args);
        EXPECT_TRUE(p->waitForStarted(5000)) << program.toStdString();
        others << p;
        return p;
    }

    // A second "server" as another private server would be: same program, another folder and port.
    QProcess* foreignServer(qint64* child) {
        const QString dir = tmp.filePath(QStringLiteral("foreign"));
        QDir().mkpath(dir);
        QProcess* p = own(QStringLiteral(OBRIX_FAKE_FBSERVER), {},
                          {{QStringLiteral("FIREBIRD"), dir}, {QStringLiteral("OBRIX_FB_PORT"), QString::number(freePort())}});
        *child = readPid(dir + QStringLiteral("/child.pid"));
        strays << *child;
        return p;
    }

    QTemporaryDir tmp;
    QString root;
    int port = 0;
    QList<QProcess*> others;
    QList<qint64> strays;
};

// Names and contents of every file below `dir`, to see that nothing changed.
QStringList listing(const QString& dir) {
    QStringList out;
    const QFileInfoList entries = QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& e : entries) {
        if (e.isDir()) {
            out << e.fileName() + QStringLiteral("/");
            for (const QString& s : listing(e.filePath())) out << e.fileName() + QStringLiteral("/") + s;
        } else {
            QFile f(e.filePath());
            f.open(QIODevice::ReadOnly);
            out << e.fileName() + QStringLiteral("=") + QString::fromLatin1(f.readAll().toHex());
        }
    }
    return out;
}

}  // namespace

TEST_F(FbServerScript, StopEndsTheServerItStartedAndItsChildOnly) {
    const ScriptRun start = script({QStringLiteral("start"), root});
    ASSERT_EQ(start.code, 0) << start.output.toStdString();
    const qint64 server = readPid(root + QStringLiteral("/server.pid"));
    const qint64 child = readPid(root + QStringLiteral("/child.pid"));
    strays << server << child;
    ASSERT_TRUE(alive(server));
    ASSERT_TRUE(alive(child));

    qint64 foreignChild = 0;
    QProcess* foreign = foreignServer(&foreignChild);
    QProcess* unrelated = own(QStringLiteral("sleep"), {QStringLiteral("300")});

    const ScriptRun stop = script({QStringLiteral("stop"), root});
    EXPECT_EQ(stop.code, 0) << stop.output.toStdString();
    EXPECT_TRUE(waitGone(server)) << "the server it started";
    EXPECT_TRUE(waitGone(child)) << "the server's child";
    EXPECT_TRUE(alive(foreign->processId())) << "another server with the same program";
    EXPECT_TRUE(alive(foreignChild)) << "that server's child";
    EXPECT_TRUE(alive(unrelated->processId()));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/server.pid")));
}

// A pid file that no longer names the server it recorded stops nothing.
TEST_F(FbServerScript, AStaleRecordStopsNothing) {
    qint64 foreignChild = 0;
    const qint64 foreign = foreignServer(&foreignChild)->processId();
    const qint64 sleeper = own(QStringLiteral("sleep"), {QStringLiteral("300")})->processId();
    const QString fake = QStringLiteral(OBRIX_FAKE_FBSERVER);
    struct Case {
        const char* what;
        QString record;
        qint64 victim;
    };
    const Case cases[] = {
        {"an unrelated process with its own start time", QStringLiteral("%1 %2 %3").arg(sleeper).arg(startTime(sleeper), fake),
         sleeper},
        {"an unrelated process under its own program name",
         QStringLiteral("%1 %2 %3").arg(sleeper).arg(startTime(sleeper), programOf(sleeper)), sleeper},
        {"another folder's server (same program, same start time)",
         QStringLiteral("%1 %2 %3").arg(foreign).arg(startTime(foreign), fake), foreign},
        {"an id reused since (start time differs)",
         QStringLiteral("%1 %2 %3").arg(foreign).arg(startTime(foreign).toLongLong() - 7).arg(fake), foreign},
        {"an old-style record of the id alone", QString::number(foreign), foreign},
    };
    QDir().mkpath(root);
    for (const Case& c : cases) {
        QFile f(root + QStringLiteral("/server.pid"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.record.toUtf8() + "\n");
        f.close();
        const ScriptRun stop = script({QStringLiteral("stop"), root});
        EXPECT_EQ(stop.code, 0) << c.what << ": " << stop.output.toStdString();
        QThread::msleep(200);
        EXPECT_TRUE(alive(c.victim)) << c.what;
        EXPECT_TRUE(alive(foreignChild)) << c.what;
        EXPECT_FALSE(QFile::exists(root + QStringLiteral("/server.pid"))) << c.what;
    }
}

TEST_F(FbServerScript, StartRefusesWhatItDidNotMakeAndLeavesItAsItWas) {
    struct Case {
        const char* what;
        std::function<void(const QString&)> make;
    };
    const auto file = [](const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const Case cases[] = {
        {"a folder with a note", [&](const QString& d) { file(d + "/note.txt", "keep me"); }},
        {"a database left after a crash, no marker", [&](const QString& d) { file(d + "/data/base.fdb", "pages"); }},
        {"a file where the folder would be", [&](const QString& d) { file(d, "a file"); }},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString dir = tmp.filePath(QStringLiteral("case%1").arg(++n));
        c.make(dir);
        const QStringList before = listing(QFileInfo(dir).isDir() ? dir : tmp.path());
        const ScriptRun start = script({QStringLiteral("start"), dir});
        EXPECT_NE(start.code, 0) << c.what;
        EXPECT_TRUE(start.output.contains(dir)) << c.what << ": " << start.output.toStdString();
        EXPECT_EQ(listing(QFileInfo(dir).isDir() ? dir : tmp.path()), before) << c.what;
        EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/server.pid"))) << c.what;
    }
}

TEST_F(FbServerScript, ARestartKeepsTheDatabasesAndTheFoldersStayClosedToOthers) {
    ASSERT_EQ(script({QStringLiteral("start"), root}).code, 0);
    strays << readPid(root + QStringLiteral("/server.pid")) << readPid(root + QStringLiteral("/child.pid"));
    const QString db = root + QStringLiteral("/data/base.fdb");
    {
        QFile f(db);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("database pages");
    }
    ASSERT_EQ(script({QStringLiteral("stop"), root}).code, 0);
    const ScriptRun again = script({QStringLiteral("start"), root});
    ASSERT_EQ(again.code, 0) << again.output.toStdString();
    strays << readPid(root + QStringLiteral("/server.pid")) << readPid(root + QStringLiteral("/child.pid"));
    QFile f(db);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("database pages"));

    for (const QString& dir : {root, root + QStringLiteral("/data")}) {
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(dir).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & S_IRWXO, 0u) << dir.toStdString() << " is open to others";
        if (::getuid() == 0) {
            if (const passwd* fb = ::getpwnam("firebird")) { EXPECT_EQ(st.st_uid, fb->pw_uid) << dir.toStdString(); }
        }
    }
}

// A folder the script made before it wrote its marker is known by its
// firebird.conf and taken over with its databases.
TEST_F(FbServerScript, AFolderAnEarlierVersionMadeIsTakenOverWithItsDatabases) {
    QDir().mkpath(root + QStringLiteral("/data"));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(root + QStringLiteral("/firebird.conf"),
          "RemoteServicePort = 3052\nSecurityDatabase = " + QFile::encodeName(root) + "/security3.fdb\n");
    write(root + QStringLiteral("/data/base.fdb"), "database pages");
    const ScriptRun start = script({QStringLiteral("start"), root});
    ASSERT_EQ(start.code, 0) << start.output.toStdString();
    strays << readPid(root + QStringLiteral("/server.pid")) << readPid(root + QStringLiteral("/child.pid"));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/.obrix-fbserver")));
    QFile f(root + QStringLiteral("/data/base.fdb"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("database pages"));
}
