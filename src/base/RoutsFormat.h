#pragma once
// Small text routines every window calls: empty-field checks, document
// numbers with leading zeros, money display, numbers for SQL text, splitting
// delimited lines and the database structure version.
#include "fb/Decimal.h"

#include <QList>
#include <QString>
#include <QStringList>

// Growable arrays that carry field lists between the reference books and the
// CSV exchange.
using TStringArray = QStringList;
using TIntegerArray = QList<int>;

// True when nothing but characters with codes up to 32 is left after trimming.
bool IsEmptyText(const QString& text);

// The decimal text of `value` with "0" in front until it is `width` long; a
// longer text is cut to its first `width` characters. A negative value gets
// the zeros in front of its minus sign (-42, 6 -> "000-42").
QString ZeroPad(qint64 value, int width);

// The text without the no-break spaces (character 160) that money texts carry.
QString RemoveNbsp(const QString& text);

// Group and decimal separators of the current locale as money texts use them.
// A blank-like group separator is always the no-break space (character 160),
// the character Windows-1251 keeps for it.
QString MoneyGroupSeparator();
QString MoneyDecimalPoint();

// The amount with thousands separators and exactly two decimals (rounded half
// away from zero), at most 15 significant digits: "1 234,50" under a Russian
// locale, "1,234.50" under an English one.
QString FormatMoney(fb::Decimal value);

// A number as an SQL literal: general format with up to 15 significant
// digits and a point as decimal separator, whatever the locale ("1234.5",
// "-0.25", "1e+20"). Throws std::invalid_argument for NaN and infinities.
QString FloatToSQLText(double value);
// The exact value of a decimal as an SQL literal ("12.5", "-3").
QString FloatToSQLText(fb::Decimal value);

// The pieces between successive delimiters, in order; empty pieces stay, a
// text without the delimiter gives one piece (the whole text).
TStringArray SplitText(const QString& text, QChar delimiter);
TStringArray SplitText(const QString& text, const QString& delimiter);

// First index holding `value`, -1 when absent.
int IndexOfInt(const TIntegerArray& array, int value);

// The destination becomes an element-wise copy of the source.
void CopyIntArray(TIntegerArray& dest, const TIntegerArray& source);
void CopyStrArray(TStringArray& dest, const TStringArray& source);

// "1.1.6" -> 10106: blanks trimmed, anything before the first digit dropped, a
// trailing "A" dropped, then a * 10000 + b * 100 + c of the first three pieces
// between points. Throws std::invalid_argument when a piece is not a number,
// when the text holds no digit or has fewer than three pieces (callers treat
// that as a version that does not match).
int VersionToInt(const QString& text);
