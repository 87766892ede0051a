#pragma once
// Exact decimal for money and quantities: an integer count of 1/10000.
#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

namespace fb {

class Decimal {
public:
    static constexpr qint64 kScale = 10000;  // four decimals kept in memory

    constexpr Decimal() = default;
    constexpr Decimal(int v) : m_units(qint64(v) * kScale) {}
    constexpr Decimal(qint64 v) : m_units(v * kScale) {}

    static constexpr Decimal fromUnits(qint64 units) { Decimal d; d.m_units = units; return d; }
    // A value stored with `scale` decimals (NUMERIC(15,2) -> scale 2); scale <= 4.
    static Decimal fromScaled(qint64 value, int scale);
    // Parses "1234.56", "-0,5", "1 234,50" (blanks and character 160 ignored).
    static std::optional<Decimal> parse(const QString& text);
    // Same as parse, throws std::invalid_argument on bad text.
    static Decimal fromString(const QString& text);

    constexpr qint64 units() const { return m_units; }
    // The value as an integer count of 10^-scale, rounded half away from zero.
    qint64 toScaled(int scale) const;
    // Rounded to `decimals` places (0..4), half away from zero.
    Decimal rounded(int decimals) const;
    Decimal kopecks() const { return rounded(2); }
    // Plain text with a point and exactly `decimals` places ("-12.50").
    QString toString(int decimals = 2) const;
    // Plain text without trailing zeros ("12.5", "3").
    QString toPlainString() const;
    double toDouble() const { return double(m_units) / kScale; }  // display only
    bool isZero() const { return m_units == 0; }
    bool isNegative() const { return m_units < 0; }
    Decimal abs() const { return fromUnits(m_units < 0 ? -m_units : m_units); }

    Decimal operator-() const { return fromUnits(-m_units); }
    Decimal operator+(Decimal o) const { return fromUnits(m_units + o.m_units); }
    Decimal operator-(Decimal o) const { return fromUnits(m_units - o.m_units); }
    Decimal& operator+=(Decimal o) { m_units += o.m_units; return *this; }
    Decimal& operator-=(Decimal o) { m_units -= o.m_units; return *this; }
    // Product and quotient keep four decimals, rounded half away from zero.
    Decimal operator*(Decimal o) const;
    Decimal operator/(Decimal o) const;  // throws std::domain_error on zero
    // value * percent / 100, rounded half away from zero to `decimals`.
    Decimal percent(Decimal pct, int decimals = 2) const;

    friend constexpr bool operator==(Decimal a, Decimal b) = default;
    friend constexpr auto operator<=>(Decimal a, Decimal b) = default;

private:
    qint64 m_units = 0;
};

// Integer division of a 128-bit value rounded half away from zero.
qint64 roundDiv(__int128 num, __int128 den);

}  // namespace fb
