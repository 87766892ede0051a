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

}  // namespace fb
