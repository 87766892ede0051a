#pragma once
// Helpers of the tools tests: processes seen through /proc, free ports,
// throw-away folders the server's user can reach.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace toolstest {

// Field 22 of /proc/PID/stat (start time in clock ticks), empty when the process is gone.
inline QString startTime(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return QString();
    const QByteArray stat = f.readAll();
    const QList<QByteArray> rest = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return rest.size() > 19 ? QString::fromLatin1(rest[19]) : QString();
}

// Alive: the process exists and is not a zombie waiting for its parent.
inline bool alive(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !f.open(QIODevice::ReadOnly)) return false;
    const QByteArray stat = f.readAll();
    const int at = stat.lastIndexOf(')');
    return at > 0 && at + 2 < stat.size() && stat[at + 2] != 'Z';
}

// Waits up to `seconds` for the process to end; a liveness bound, not a timing.
inline bool waitGone(qint64 pid, int seconds = 10) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (!alive(pid)) return true;
        QThread::msleep(50);
    }
    return !alive(pid);
}

// The first argument a process was started with.
inline QString programOf(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromLocal8Bit(f.readAll().split('\0').value(0));
}

// A port nobody listens on at the moment.
inline int freePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(s);
    return ntohs(a.sin_port);
}

// A throw-away folder others may pass through (the server runs as firebird).
inline void openForServer(const QTemporaryDir& dir) {
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                          QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

inline qint64 readPid(const QString& path, int seconds = 10) {
    for (int i = 0; i < seconds * 20; ++i) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const qint64 pid = f.readAll().split(' ').value(0).trimmed().toLongLong();
            if (pid > 0) return pid;
        }
        QThread::msleep(50);
    }
    return 0;
}

}  // namespace toolstest
