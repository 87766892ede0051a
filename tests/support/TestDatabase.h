#pragma once
// Test databases: each test binary builds its templates once (an empty working
// database, or the demo workshop) and every test works on its own copy.
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>
#include <vector>

namespace testdb {

enum class Template { Empty, Demo };

// The template database of the given kind, created at first use.
inline const QString& templatePath(Template kind = Template::Empty, const QDate& demoToday = QDate::currentDate()) {
    static QTemporaryDir dir;
    static const QString empty = [] {
        const QString p = dir.filePath(QStringLiteral("template.fdb"));
        obrixdb::createDatabase(p);
        return p;
    }();
    if (kind == Template::Empty) return empty;
    static const QString demo = [&] {
        const QString p = dir.filePath(QStringLiteral("demo.fdb"));
        QFile::copy(empty, p);
        QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner);
        fb::Attachment att(p);
        obrixdb::fillDemo(att, demoToday);
        return p;
    }();
    return demo;
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
