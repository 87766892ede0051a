#pragma once
// Test databases: templates (an empty working database, or the demo workshop)
// are built once per test run, and every test works on its own copy.
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>
#include <vector>

namespace testdb {

enum class Template { Empty, Demo };

// The file name of a template: the empty working database, or the demo
// workshop filled as on the given day.
inline QString templateFileName(Template kind, const QDate& demoToday) {
    return kind == Template::Empty ? QStringLiteral("empty.fdb")
                                   : QStringLiteral("demo-%1.fdb").arg(demoToday.toString(QStringLiteral("yyyyMMdd")));
}

// Builds a template at `path`: written beside it and renamed into place, so a
// process copying it meanwhile sees the old file or the new one, never half.
inline void buildTemplate(const QString& path, Template kind, const QDate& demoToday) {
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    {
        auto att = obrixdb::createDatabaseAttached(part);
        if (kind == Template::Demo) obrixdb::fillDemo(*att, demoToday);
        att->close();
    }
    QFile::remove(path);
    if (!QFile::rename(part, path)) throw std::runtime_error("cannot put the template database in place");
}

// The templates the test run made once for every test process (the test
// fixture TestTemplates writes them into OBRIX_TEST_TEMPLATE_DIR). One older
// than this test binary may come from another schema and is not used.
inline QString sharedTemplate(Template kind, const QDate& demoToday) {
#ifdef OBRIX_TEST_TEMPLATE_DIR
    const QFileInfo file(QStringLiteral(OBRIX_TEST_TEMPLATE_DIR "/") + templateFileName(kind, demoToday));
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    const QDateTime built = QFileInfo(self.symLinkTarget()).lastModified();
    if (file.exists() && (!built.isValid() || file.lastModified() >= built)) return file.filePath();
#else
    Q_UNUSED(kind);
    Q_UNUSED(demoToday);
#endif
    return {};
}

// The template database of the given kind: the test run's shared one, or one
// built by this process at first use.
inline QString templatePath(Template kind = Template::Empty, const QDate& demoToday = QDate::currentDate()) {
    const QString shared = sharedTemplate(kind, demoToday);
    if (!shared.isEmpty()) return shared;
    static QTemporaryDir dir;
    const QString path = dir.filePath(templateFileName(kind, demoToday));
    if (!QFile::exists(path)) buildTemplate(path, kind, demoToday);
    return path;
}

// A private, writable copy of the database file `from` inside `dir`; returns its path.
inline QString copyDatabase(const QString& from, const QTemporaryDir& dir,
                            const QString& name = QStringLiteral("test.fdb")) {
    const QString path = dir.filePath(name);
    QFile::remove(path);
    if (!QFile::copy(from, path)) throw std::runtime_error("cannot copy the template database");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

// A private copy of a template inside `dir`; returns its path.
inline QString freshCopy(const QTemporaryDir& dir, Template kind = Template::Empty,
                         const QString& name = QStringLiteral("test.fdb")) {
    return copyDatabase(templatePath(kind), dir, name);
}

// One statement in its own committed transaction.
inline void exec(fb::Attachment& att, const QString& sql, const std::vector<fb::Value>& params = {}) {
    fb::Transaction tra(att);
    fb::exec(tra, sql, params);
    tra.commit();
}

inline fb::Value scalar(fb::Attachment& att, const QString& sql, const std::vector<fb::Value>& params = {}) {
    fb::Transaction tra(att);
    fb::Value v = fb::scalar(tra, sql, params);
    tra.commit();
    return v;
}

inline fb::Decimal dec(const char* s) { return fb::Decimal::fromString(QString::fromLatin1(s)); }

}  // namespace testdb
