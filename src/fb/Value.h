#pragma once
// One database value: null, integer, decimal, date, timestamp or text.
#include "fb/Decimal.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <variant>

namespace fb {

class Value {
public:
    enum class Kind { Null, Int, Dec, Date, Timestamp, Text };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : m_v(qint64(v)) {}
    Value(qint64 v) : m_v(v) {}
    Value(Decimal v) : m_v(v) {}
    Value(const QDate& v) { if (v.isValid()) m_v = v; }
    Value(const QDateTime& v) { if (v.isValid()) m_v = v; }
    Value(const QString& v) : m_v(v) {}
    Value(const char* v) : m_v(QString::fromUtf8(v)) {}

    Kind kind() const { return Kind(m_v.index()); }
    bool isNull() const { return m_v.index() == 0; }

    // Conversions; a null gives the default (0, invalid date, empty text).
    qint64 toInt() const;
    Decimal toDecimal() const;
    QDate toDate() const;
    QDateTime toDateTime() const;
    QString toString() const;  // plain text (dates as dd.MM.yyyy, decimals with a point)

    friend bool operator==(const Value& a, const Value& b);

private:
    std::variant<std::monostate, qint64, Decimal, QDate, QDateTime, QString> m_v;
};

}  // namespace fb
