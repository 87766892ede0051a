// A file is either wholly replaced or left as it was.
#include "base/FileReplace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Lowers the file size limit for the scope, as a full disk would stop a write.
struct SizeLimit {
    explicit SizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~SizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
    }
    rlimit saved{};
    void (*handler)(int) = nullptr;
};

TEST(FileReplace, EitherTheWholeNewFileOrTheOldOneStays) {
    const QByteArray old = "old contents";
    const QByteArray big(100000, 'x');  // beyond any write buffer
    const QByteArray small(100, 'y');   // smaller than a write buffer
    struct Case {
        const char* name;
        QByteArray data;
        rlim_t limit;  // 0: none
        bool ok;
    } cases[] = {
        {"written", big, 0, true},
        {"a large write that breaks off", big, 4096, false},
        {"a small write that breaks off", small, 50, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("form.frf");
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        QString reason;
        bool ok;
        {
            std::unique_ptr<SizeLimit> limit;
            if (c.limit) limit = std::make_unique<SizeLimit>(c.limit);
            ok = WriteFileReplacing(path, c.data, reason);
        }
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(readAll(path), c.ok ? c.data : old);
        EXPECT_EQ(reason.isEmpty(), c.ok);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "a temporary file was left";
    }
}

TEST(FileReplace, AFolderThatCannotHoldTheFileIsReported) {
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    QString reason;
    EXPECT_FALSE(WriteFileReplacing(dir.filePath("plain/form.frf"), "x", reason));
    EXPECT_FALSE(reason.isEmpty());
}

}  // namespace
