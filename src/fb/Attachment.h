#pragma once
// A connection to one database: a local file through the embedded engine,
// or "host/port:path" through the network. User SYSDBA, WIN1251, dialect 3.
#include <QString>
#include <memory>

namespace Firebird { class IAttachment; class IMaster; class IUtil; }

namespace fb {

class Transaction;
class Value;

// The fixed password of SYSDBA that every workstation connects with.
QString defaultPassword();
// Before the embedded engine's first use in the process: a per-user lock
// folder unless FIREBIRD_LOCK names one (a folder made by root must not lock
// users out). Attachments call it themselves.
void prepareLockFolder();
// True for "host:path" or "host/port:path" database strings.
bool isNetworkDatabase(const QString& database);

class Attachment {
public:
    // Opens the database; throws DbError when it cannot.
    explicit Attachment(const QString& database, const QString& user = QStringLiteral("SYSDBA"),
                        const QString& password = defaultPassword());
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    // Creates a new empty database file (page size 8192, default character set WIN1251).
    static std::unique_ptr<Attachment> create(const QString& database,
                                              const QString& user = QStringLiteral("SYSDBA"),
                                              const QString& password = defaultPassword());

    // Switches forced writes (every page written through to the disk at
    // commit) of a database no one else has open. Databases are made with
    // them on; a bulk filler may switch them off while it fills.
    static void setForcedWrites(const QString& database, bool on, const QString& user = QStringLiteral("SYSDBA"),
                                const QString& password = defaultPassword());

    const QString& database() const { return m_database; }
    bool isRemote() const { return isNetworkDatabase(m_database); }
    bool isOpen() const { return m_att != nullptr; }
    void close();  // detaches; safe to call twice

    // Runs one statement in its own transaction (DDL included) and commits.
    void executeImmediate(const QString& sql);

    Firebird::IAttachment* raw() const { return m_att; }

private:
    Attachment() = default;
    QString m_database;
    Firebird::IAttachment* m_att = nullptr;
};

Firebird::IMaster* master();

}  // namespace fb
