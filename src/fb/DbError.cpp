#include "fb/DbError.h"

#include <QRegularExpression>
#include <algorithm>

namespace fb {

DbError::DbError(const QString& serverText, std::vector<long> gdsCodes, int sqlCode)
    : std::runtime_error((prefix() + serverText).toStdString()),
      m_serverText(serverText),
      m_message(prefix() + serverText),
      m_gds(std::move(gdsCodes)),
      m_sqlCode(sqlCode) {
    static const QRegularExpression re(QStringLiteral("constraint \"([^\"]+)\""));
    const auto m = re.match(serverText);
    if (m.hasMatch()) m_constraint = m.captured(1);
}

bool DbError::hasGds(long code) const {
    return std::find(m_gds.begin(), m_gds.end(), code) != m_gds.end();
}

namespace {
constexpr long kDeadlock = 335544336L;         // isc_deadlock
constexpr long kLockConflict = 335544345L;     // isc_lock_conflict
constexpr long kUpdateConflict = 335544451L;   // isc_update_conflict
constexpr long kLockTimeout = 335544510L;      // isc_lock_timeout
constexpr long kConnLost = 335544648L;         // isc_conn_lost
constexpr long kNetworkError = 335544721L;     // isc_network_error
constexpr long kNetReadErr = 335544726L;       // isc_net_read_err
constexpr long kNetWriteErr = 335544727L;      // isc_net_write_err
constexpr long kLostDbConnection = 335544741L; // isc_lost_db_connection
constexpr long kShutdown = 335544528L;         // isc_shutdown
constexpr long kAttShutdown = 335544856L;      // isc_att_shutdown
constexpr long kBadDbHandle = 335544324L;      // isc_bad_db_handle
}  // namespace

bool DbError::isLockTimeout() const { return hasGds(kLockTimeout); }

bool DbError::isUpdateConflict() const {
    if (isLockTimeout()) return false;
    return hasGds(kUpdateConflict) || hasGds(kDeadlock) || hasGds(kLockConflict);
}

bool DbError::isConnectionLost() const {
    for (long c : {kConnLost, kNetworkError, kNetReadErr, kNetWriteErr, kLostDbConnection, kShutdown, kAttShutdown,
                   kBadDbHandle})
        if (hasGds(c)) return true;
    return false;
}

QString DbError::exceptionName() const {
    static const QRegularExpression re(QStringLiteral("\\b(E_[A-Z0-9_]+)\\b"));
    const auto m = re.match(m_serverText);
    return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace fb
