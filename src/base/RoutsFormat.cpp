#include "base/RoutsFormat.h"

#include <QLocale>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

constexpr QChar kNbsp(0x00A0);

bool isBlankSeparator(QChar c) {
    return c.isSpace() || c == QChar(0x202F) || c == QChar(0x2009) || c == kNbsp;
}

QString trimControl(const QString& text) {
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b).unicode() <= 32) ++b;
    while (e > b && text.at(e - 1).unicode() <= 32) --e;
    return text.mid(b, e - b);
}

int digitCount(quint64 v) {
    int n = 1;
    while (v >= 10) { v /= 10; ++n; }
    return n;
}

qint64 pow10(int n) {
    qint64 r = 1;
    while (n-- > 0) r *= 10;
    return r;
}

[[noreturn]] void badVersion(const QString& text) {
    throw std::invalid_argument(
        QStringLiteral("Неверный номер версии: \"%1\"").arg(text).toStdString());
}

}  // namespace

bool IsEmptyText(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 32) return false;
    return true;
}

QString ZeroPad(qint64 value, int width) {
    if (width <= 0) return QString();
    QString s = QString::number(value);
    if (s.size() < width) s.prepend(QString(width - s.size(), u'0'));
    return s.left(width);
}

QString RemoveNbsp(const QString& text) {
    QString s = text;
    s.remove(kNbsp);
    return s;
}

QString MoneyGroupSeparator() {
    const QString sep = QLocale().groupSeparator();
    if (sep.size() == 1 && isBlankSeparator(sep.front())) return QString(kNbsp);
    return sep;
}

QString MoneyDecimalPoint() {
    return QLocale().decimalPoint();
}

QString FormatMoney(fb::Decimal value) {
    qint64 cents = value.toScaled(2);
    // Keep at most 15 significant digits, as the display always did.
    const quint64 mag = cents < 0 ? quint64(-(cents + 1)) + 1 : quint64(cents);
    const int digits = digitCount(mag);
    if (digits > 15) {
        const qint64 f = pow10(digits - 15);
        cents = fb::roundDiv(cents, f) * f;
    }
    const bool negative = cents < 0;
    const quint64 a = negative ? quint64(-(cents + 1)) + 1 : quint64(cents);
    const QString whole = QString::number(a / 100);
    const QString group = MoneyGroupSeparator();

    QString out;
    if (negative) out += u'-';
    const qsizetype lead = whole.size() % 3 == 0 ? 3 : whole.size() % 3;
    out += whole.left(lead);
    for (qsizetype i = lead; i < whole.size(); i += 3) {
        out += group;
        out += whole.mid(i, 3);
    }
    out += MoneyDecimalPoint();
    out += QString::number(a % 100).rightJustified(2, u'0');
    return out;
}

QString FloatToSQLText(double value) {
    if (!std::isfinite(value))
        throw std::invalid_argument("Число нельзя записать в текст запроса: значение не конечно");
    if (value == 0.0) return QStringLiteral("0");  // also -0
    // The general format of a comma locale with its comma turned into a point
    // is the general format of the C locale.
    QString s = QString::number(value, 'g', 15);
    const qsizetype comma = s.indexOf(u',');
    if (comma >= 0) s[comma] = u'.';
    return s;
}

QString FloatToSQLText(fb::Decimal value) {
    return value.toPlainString();
}

TStringArray SplitText(const QString& text, QChar delimiter) {
    return text.split(delimiter, Qt::KeepEmptyParts);
}

TStringArray SplitText(const QString& text, const QString& delimiter) {
    if (delimiter.isEmpty()) return TStringArray{text};
    return text.split(delimiter, Qt::KeepEmptyParts);
}

int IndexOfInt(const TIntegerArray& array, int value) {
    return int(array.indexOf(value));
}

void CopyIntArray(TIntegerArray& dest, const TIntegerArray& source) {
    dest = source;
}

void CopyStrArray(TStringArray& dest, const TStringArray& source) {
    dest = source;
}

int VersionToInt(const QString& text) {
    QString s = trimControl(text);
    qsizetype first = 0;
    while (first < s.size() && !(s.at(first) >= u'0' && s.at(first) <= u'9')) ++first;
    s = s.mid(first);
    if (s.isEmpty()) badVersion(text);
    if (s.endsWith(u'A')) s.chop(1);

    const TStringArray pieces = SplitText(s, u'.');
    if (pieces.size() < 3) badVersion(text);
    qint64 part[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const QString& p = pieces.at(i);
        if (p.isEmpty() || p.size() > 9) badVersion(text);
        for (QChar c : p)
            if (c < u'0' || c > u'9') badVersion(text);
        part[i] = p.toLongLong();
    }
    const qint64 v = part[0] * 10000 + part[1] * 100 + part[2];
    if (v > std::numeric_limits<int>::max()) badVersion(text);
    return int(v);
}
