#include "fb/Value.h"

namespace fb {

qint64 Value::toInt() const {
    switch (kind()) {
    case Kind::Int: return std::get<qint64>(m_v);
    case Kind::Dec: return std::get<Decimal>(m_v).toScaled(0);
    case Kind::Text: return std::get<QString>(m_v).trimmed().toLongLong();
    default: return 0;
    }
}

Decimal Value::toDecimal() const {
    switch (kind()) {
    case Kind::Int: return Decimal(std::get<qint64>(m_v));
    case Kind::Dec: return std::get<Decimal>(m_v);
    case Kind::Text: return Decimal::parse(std::get<QString>(m_v)).value_or(Decimal());
    default: return Decimal();
    }
}

QDate Value::toDate() const {
    switch (kind()) {
    case Kind::Date: return std::get<QDate>(m_v);
    case Kind::Timestamp: return std::get<QDateTime>(m_v).date();
    case Kind::Text: return QDate::fromString(std::get<QString>(m_v), QStringLiteral("dd.MM.yyyy"));
    default: return QDate();
    }
}

QDateTime Value::toDateTime() const {
    switch (kind()) {
    case Kind::Date: return QDateTime(std::get<QDate>(m_v), QTime(0, 0));
    case Kind::Timestamp: return std::get<QDateTime>(m_v);
    default: return QDateTime();
    }
}

QString Value::toString() const {
    switch (kind()) {
    case Kind::Null: return QString();
    case Kind::Int: return QString::number(std::get<qint64>(m_v));
    case Kind::Dec: return std::get<Decimal>(m_v).toPlainString();
    case Kind::Date: return std::get<QDate>(m_v).toString(QStringLiteral("dd.MM.yyyy"));
    case Kind::Timestamp: return std::get<QDateTime>(m_v).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    case Kind::Text: return std::get<QString>(m_v);
    }
    return QString();
}

bool operator==(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    const bool aNum = a.kind() == Value::Kind::Int || a.kind() == Value::Kind::Dec;
    const bool bNum = b.kind() == Value::Kind::Int || b.kind() == Value::Kind::Dec;
    if (aNum && bNum) {
        // Two integers compare as they are: a BIGINT may be beyond what a Decimal holds.
        if (a.kind() == Value::Kind::Int && b.kind() == Value::Kind::Int)
            return std::get<qint64>(a.m_v) == std::get<qint64>(b.m_v);
        try {
            return a.toDecimal() == b.toDecimal();
        } catch (const DecimalOverflow&) {
            return false;  // an integer no Decimal holds equals no Decimal
        }
    }
    return a.m_v == b.m_v;
}

}  // namespace fb
