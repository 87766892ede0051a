// The obrix program itself, started on a copy of a test database and ended by
// a terminate or hang-up signal in several states: with the login dialog, a
// connection error box or the settings file's warning open, while blocked in a
// connection attempt that never answers, and at start-up. Each run must end within a liveness bound.
#include "TestDatabase.h"
#include "ToolsFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <sys/stat.h>

using namespace toolstest;

namespace {

enum class State { LoginDialog, ErrorBox, SettingsWarning, BlockedInConnect, StartUp };

const char* nameOf(State s) {
    switch (s) {
    case State::LoginDialog: return "login dialog open";
    case State::ErrorBox: return "connection error box open";
    case State::SettingsWarning: return "settings file warning open before the main window";
    case State::BlockedInConnect: return "blocked in a connection attempt";
    case State::StartUp: return "starting up";
    }
    return "";
}

// A "server" that takes the connection and never answers.
struct SilentServer {
    int listener = -1;
    int taken = -1;
    int port = 0;
    SilentServer() {
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listener, 4);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    // True once the program has connected (up to 20 s).
    bool waitConnected() {
        pollfd p{listener, POLLIN, 0};
        if (::poll(&p, 1, 20000) != 1) return false;
        taken = ::accept(listener, nullptr, nullptr);
        return taken >= 0;
    }
    ~SilentServer() {
        if (taken >= 0) ::close(taken);
        ::close(listener);
    }
};

// True once the process holds the file open (the connection is made), up to 20 s.
bool waitFileOpen(qint64 pid, const QString& path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    for (int i = 0; i < 400; ++i) {
        const QFileInfoList fds = QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryInfoList(QDir::Files | QDir::System);
        for (const QFileInfo& fd : fds)
            if (fd.symLinkTarget() == target) return true;
        QThread::msleep(50);
    }
    return false;
}

QString iniText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

TEST(Terminate, ASignalEndsTheProgramInEveryStateTwentyTimes) {
    const State states[] = {State::LoginDialog, State::ErrorBox, State::SettingsWarning, State::BlockedInConnect,
                             State::StartUp};
    for (int run = 0; run < 20; ++run) {
        const State state = states[run % 5];
        const int sig = run % 8 < 4 ? SIGTERM : SIGHUP;
        const std::string what = std::string(nameOf(state)) + (sig == SIGTERM ? ", SIGTERM" : ", SIGHUP") +
                                 ", run " + std::to_string(run + 1);

        // The program beside its own settings file in a throw-away folder.
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString exe = dir.filePath(QStringLiteral("obrix"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(OBRIX_EXECUTABLE), exe));
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString db = testdb::freshCopy(dir);
        SilentServer silent;
        QString ini;
        switch (state) {
        case State::LoginDialog:
        case State::StartUp:
            ini = QStringLiteral("[Database]\nDB_ConnectKind=1\nDB_LocalDBName=%1\n").arg(db);
            break;
        case State::ErrorBox:
            ini = QStringLiteral("[Database]\nDB_ConnectKind=1\nDB_LocalDBName=%1\n").arg(dir.filePath("missing.fdb"));
            break;
        case State::SettingsWarning:  // a named pipe where the settings file belongs
            break;
        case State::BlockedInConnect:
            ini = QStringLiteral("[Database]\nDB_ConnectKind=2\nDB_Server=127.0.0.1\nDB_Port=%1\nDB_ServerDBName=/x.fdb\n")
                      .arg(silent.port);
            break;
        }
        const QString iniPath = dir.filePath(QStringLiteral("obrix.ini"));
        if (state == State::SettingsWarning) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(iniPath).constData(), 0600), 0);
        } else {
            QFile f(iniPath);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(ini.toUtf8());
        }

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(exe, {});
        ASSERT_TRUE(p.waitForStarted(10000)) << what;
        const qint64 pid = p.processId();

        switch (state) {
        case State::LoginDialog:
            ASSERT_TRUE(waitFileOpen(pid, db)) << what;
            QThread::msleep(1500);  // the journals open, then the login dialog shows
            break;
        case State::ErrorBox:
        case State::SettingsWarning:
            QThread::msleep(2000);
            break;
        case State::BlockedInConnect:
            ASSERT_TRUE(silent.waitConnected()) << what;
            QThread::msleep(300);
            break;
        case State::StartUp:
            QThread::msleep(run % 3 * 100);
            break;
        }
        ASSERT_EQ(p.state(), QProcess::Running) << what << ": ended before the signal\n"
                                                << p.readAll().toStdString();
        ::kill(pid_t(pid), sig);

        const bool ended = p.waitForFinished(10000);
        EXPECT_TRUE(ended) << what << ": still running 10 s after the signal";
        if (!ended) {
            p.kill();
            p.waitForFinished(5000);
            continue;
        }
        if (state == State::LoginDialog || state == State::ErrorBox) {
            // The main window closed the normal way: the connection closed, the placement written.
            EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << what;
            EXPECT_EQ(p.exitCode(), 0) << what << "\n" << p.readAll().toStdString();
            EXPECT_TRUE(iniText(iniPath).contains(QStringLiteral("[MainForm]\n"))) << what << "\n"
                                                                                   << iniText(iniPath).toStdString();
        }
        if (state == State::SettingsWarning) {
            EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << what;
            EXPECT_EQ(p.exitCode(), 0) << what << "\n" << p.readAll().toStdString();
            struct stat st {};
            ASSERT_EQ(::lstat(QFile::encodeName(iniPath).constData(), &st), 0) << what;
            EXPECT_TRUE(S_ISFIFO(st.st_mode)) << what << ": the pipe was replaced";
        }
    }
}
