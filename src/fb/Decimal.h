#pragma once
// Exact decimal for money and quantities: an integer count of 1/10000.
#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>
#include <stdexcept>

namespace fb {

// An amount beyond what an exact decimal holds (about ±922 337 203 685 477,5807).
class DecimalOverflow : public std::overflow_error {
public:
    DecimalOverflow();
};

class Decimal {
public:
    static constexpr qint64 kScale = 10000;  // four decimals kept in memory

    constexpr Decimal() = default;
    constexpr Decimal(int v) : m_units(qint64(v) * kScale) {}
    Decimal(qint64 v);  // throws DecimalOverflow beyond the range

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

    // Arithmetic never wraps: a result out of range throws DecimalOverflow.
    Decimal operator-() const;
    Decimal operator+(Decimal o) const;
    Decimal operator-(Decimal o) const;
    Decimal& operator+=(Decimal o) { return *this = *this + o; }
    Decimal& operator-=(Decimal o) { return *this = *this - o; }
    // True when the value has at most `precision` digits at `scale` decimals
    // (NUMERIC(15,2): up to 9 999 999 999 999,99).
    bool fitsNumeric(int precision, int scale) const;
    // Product and quotient keep four decimals, rounded half away from zero.
    Decimal operator*(Decimal o) const;
    Decimal operator/(Decimal o) const;  // throws std::domain_error on zero
    // value * percent / 100, rounded half away from zero to `decimals`.
    Decimal percent(Decimal pct, int decimals = 2) const;
    // value * o rounded once, half away from zero, to `decimals` (a price
    // times a quantity is kopecks: no rounding through the fourth decimal).
    Decimal timesRounded(Decimal o, int decimals = 2) const;

    friend constexpr bool operator==(Decimal a, Decimal b) = default;
    friend constexpr auto operator<=>(Decimal a, Decimal b) = default;

private:
    qint64 m_units = 0;
};

// The compiler's 128-bit integer, wide enough for a product of two amounts.
__extension__ typedef __int128 Wide;

// Integer division of a 128-bit value rounded half away from zero; throws
// DecimalOverflow when the quotient does not fit 64 bits.
qint64 roundDiv(Wide num, Wide den);

}  // namespace fb
