#pragma once
// A refusal reported by the database (or by the layer on its behalf).
#include <QString>
#include <stdexcept>
#include <vector>

namespace fb {

class DbError : public std::runtime_error {
public:
    // `serverText` is the server's own message; what() reads
    // "Database Server Error: " + serverText.
    explicit DbError(const QString& serverText, std::vector<long> gdsCodes = {}, int sqlCode = 0);

    QString message() const { return m_message; }       // with the prefix
    QString serverText() const { return m_serverText; }  // without it
    const std::vector<long>& gdsCodes() const { return m_gds; }
    int sqlCode() const { return m_sqlCode; }
    // Name of the violated constraint when the text names one ("FK_MOVES_2"), else empty.
    QString constraintName() const { return m_constraint; }
    bool hasGds(long code) const;

    // Two transactions changed the same row at once (the later one lost); a
    // fresh transaction may well succeed.
    bool isUpdateConflict() const;
    // A row stayed locked by another workstation longer than the lock timeout.
    bool isLockTimeout() const;
    // The connection to the server is gone (server restarted, network down).
    bool isConnectionLost() const;
    // The exception the database raised by name (E_PERIOD_CLOSED), else empty.
    QString exceptionName() const;

    static QString prefix() { return QStringLiteral("Database Server Error: "); }

private:
    QString m_serverText, m_message, m_constraint;
    std::vector<long> m_gds;
    int m_sqlCode;
};

}  // namespace fb
