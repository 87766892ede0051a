#include "fb/Decimal.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace fb {

namespace {
constexpr qint64 pow10(int n) {
    qint64 r = 1;
    for (int i = 0; i < n; ++i) r *= 10;
    return r;
}
qint64 checked(Wide v) {
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min()) throw DecimalOverflow();
    return qint64(v);
}
}  // namespace

DecimalOverflow::DecimalOverflow()
    : std::overflow_error("Число слишком велико: результат выходит за пределы допустимых значений") {}

Decimal::Decimal(qint64 v) : m_units(checked(Wide(v) * kScale)) {}

Decimal Decimal::operator-() const { return fromUnits(checked(-Wide(m_units))); }
Decimal Decimal::operator+(Decimal o) const { return fromUnits(checked(Wide(m_units) + o.m_units)); }
Decimal Decimal::operator-(Decimal o) const { return fromUnits(checked(Wide(m_units) - o.m_units)); }

bool Decimal::fitsNumeric(int precision, int scale) const {
    const Wide limit = Wide(pow10(std::clamp(precision, 1, 18)));
    const Wide v = scale >= 4 ? Wide(m_units) * pow10(std::min(scale, 18) - 4)
                                  : Wide(roundDiv(m_units, pow10(4 - std::max(scale, 0))));
    return v < limit && v > -limit;
}

qint64 roundDiv(Wide num, Wide den) {
    if (den == 0) throw std::domain_error("division by zero");
    if (den < 0) { num = -num; den = -den; }
    Wide q = num / den;
    Wide r = num % den;
    if (r < 0) r = -r;
    if (2 * r >= den) q += (num < 0 ? -1 : 1);
    return checked(q);
}

Decimal Decimal::fromScaled(qint64 value, int scale) {
    if (scale <= 4) return fromUnits(checked(Wide(value) * pow10(4 - scale)));
    return fromUnits(roundDiv(value, pow10(scale - 4)));
}

qint64 Decimal::toScaled(int scale) const {
    if (scale >= 4) return checked(Wide(m_units) * pow10(scale - 4));
    return roundDiv(m_units, pow10(4 - scale));
}

Decimal Decimal::rounded(int decimals) const {
    if (decimals >= 4) return *this;
    const qint64 f = pow10(4 - decimals);
    return fromUnits(checked(Wide(roundDiv(m_units, f)) * f));
}

Decimal Decimal::operator*(Decimal o) const {
    return fromUnits(roundDiv(Wide(m_units) * o.m_units, kScale));
}

Decimal Decimal::operator/(Decimal o) const {
    if (o.m_units == 0) throw std::domain_error("division by zero");
    return fromUnits(roundDiv(Wide(m_units) * kScale, o.m_units));
}

Decimal Decimal::percent(Decimal pct, int decimals) const {
    // units * pct.units / (100 * kScale) gives units; then round to `decimals`.
    const qint64 f = pow10(4 - std::min(decimals, 4));
    const Wide num = Wide(m_units) * pct.m_units;
    const Wide den = Wide(100) * kScale * f;
    return fromUnits(checked(Wide(roundDiv(num, den)) * f));
}

Decimal Decimal::timesRounded(Decimal o, int decimals) const {
    const qint64 f = pow10(4 - std::clamp(decimals, 0, 4));
    return fromUnits(checked(Wide(roundDiv(Wide(m_units) * o.m_units, Wide(kScale) * f)) * f));
}

std::optional<Decimal> Decimal::parse(const QString& textIn) {
    QString text;
    for (QChar c : textIn) {
        if (c == QChar(' ') || c == QChar(0xA0) || c == QChar(0x202F)) continue;
        text += c;
    }
    if (text.isEmpty()) return std::nullopt;
    bool neg = false;
    int i = 0;
    if (text[0] == '-' || text[0] == '+') { neg = text[0] == '-'; i = 1; }
    qint64 whole = 0, frac = 0;
    int fracDigits = 0;
    bool seenSep = false, anyDigit = false;
    bool roundUp = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '.' || c == ',') {
            if (seenSep) return std::nullopt;
            seenSep = true;
            continue;
        }
        if (!c.isDigit()) return std::nullopt;
        anyDigit = true;
        const int d = c.digitValue();
        if (!seenSep) {
            if (whole > (qint64(1) << 62) / 10 / kScale) return std::nullopt;
            whole = whole * 10 + d;
        } else if (fracDigits < 4) {
            frac = frac * 10 + d;
            ++fracDigits;
        } else if (fracDigits == 4) {
            roundUp = d >= 5;
            ++fracDigits;
        }
    }
    if (!anyDigit) return std::nullopt;
    while (fracDigits < 4) { frac *= 10; ++fracDigits; }
    const qint64 units = whole * kScale + frac + (roundUp ? 1 : 0);
    return fromUnits(neg ? -units : units);
}

Decimal Decimal::fromString(const QString& text) {
    auto d = parse(text);
    if (!d) throw std::invalid_argument(("not a number: " + text).toStdString());
    return *d;
}

QString Decimal::toString(int decimals) const {
    decimals = std::clamp(decimals, 0, 4);
    const qint64 v = toScaled(decimals);
    const qint64 f = pow10(decimals);
    const qint64 a = v < 0 ? -v : v;
    QString s = (v < 0 ? QStringLiteral("-") : QString()) + QString::number(a / f);
    if (decimals > 0) s += '.' + QString::number(a % f).rightJustified(decimals, '0');
    return s;
}

QString Decimal::toPlainString() const {
    QString s = toString(4);
    while (s.endsWith('0')) s.chop(1);
    if (s.endsWith('.')) s.chop(1);
    return s;
}

}  // namespace fb
