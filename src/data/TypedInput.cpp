#include "data/TypedInput.h"

#include "data/DataErrors.h"
#include "data/Field.h"
#include "fb/Decimal.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

QDate ParseTypedDate(const QString& typed, const QDate& reference) {
    QString t = typed.trimmed();
    t.remove(QLatin1Char(' '));
    if (t.isEmpty()) return {};
    const auto year = [&](const QString& y) -> int {
        if (y.isEmpty()) return reference.year();
        if (y.size() == 2) return 2000 + y.toInt();
        if (y.size() == 4) return y.toInt();
        return -1;
    };
    int day = 0, month = reference.month(), yearValue = reference.year();
    static const QRegularExpression separated(QStringLiteral("^(\\d{1,2})(?:[.,/-](\\d{0,2})(?:[.,/-](\\d{0,4}))?)?$"));
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (digits.match(t).hasMatch()) {
        switch (t.size()) {
        case 1:
        case 2: day = t.toInt(); break;
        case 4: day = t.left(2).toInt(); month = t.mid(2, 2).toInt(); break;
        case 6:
        case 8:
            day = t.left(2).toInt();
            month = t.mid(2, 2).toInt();
            yearValue = year(t.mid(4));
            break;
        default: return {};
        }
    } else {
        const QRegularExpressionMatch m = separated.match(t);
        if (!m.hasMatch()) return {};
        day = m.captured(1).toInt();
        if (!m.captured(2).isEmpty()) month = m.captured(2).toInt();
        yearValue = year(m.captured(3));
    }
    if (yearValue < 1) return {};
    return QDate(yearValue, month, day);  // invalid for 31.02 and the like
}

QString NumberInputError(const QString& label, const QString& text, bool integer, int scale, qint64 lo, qint64 hi) {
    QString t = text.trimmed();
    for (QChar blank : {QChar(' '), QChar(0xA0), QChar(0x202F)}) t.remove(blank);
    if (t.isEmpty()) return {};
    if (!t.contains(QLatin1Char('.'))) t.replace(QLatin1Char(','), QLatin1Char('.'));
    const QString name = QStringLiteral("Поле \"") + label + QStringLiteral("\": ");
    static const QRegularExpression number(QStringLiteral("^([+-]?)(\\d*)(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch m = number.match(t);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()))
        return name + QStringLiteral("\"") + text.trimmed() +
               (integer ? QStringLiteral("\" не является целым числом.") : QStringLiteral("\" не является числом."));
    QString whole = m.captured(2);
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0'))) whole.remove(0, 1);
    const QString fraction = m.captured(3);
    const auto range = [&] {
        return QStringLiteral(" (допустимо от ") + QString::number(lo) + QStringLiteral(" до ") + QString::number(hi) +
               QStringLiteral(").");
    };
    if (integer) {
        if (fraction.contains(QRegularExpression(QStringLiteral("[1-9]"))))
            return name + QStringLiteral("\"") + text.trimmed() + QStringLiteral("\" не является целым числом.");
        bool ok = false;
        const qint64 v = (m.captured(1) + (whole.isEmpty() ? QStringLiteral("0") : whole)).toLongLong(&ok);
        if (!ok || v > hi) return name + QStringLiteral("число ") + t + QStringLiteral(" слишком велико") + range();
        if (v < lo) return name + QStringLiteral("число ") + t + QStringLiteral(" слишком мало") + range();
        return {};
    }
    const int wholeDigits = 15 - scale;
    const QString tooLarge = name + QStringLiteral("число ") + t + QStringLiteral(" слишком велико (не больше ") +
                             QString::number(wholeDigits) + QStringLiteral(" цифр до запятой).");
    if (whole.size() > wholeDigits) return tooLarge;
    // Rounded to the column's decimals, 9999999999999.999 gains a digit before the point.
    if (const auto d = fb::Decimal::parse(t)) {
        try {
            if (!d->rounded(std::clamp(scale, 0, 4)).fitsNumeric(15, scale)) return tooLarge;
        } catch (const fb::DecimalOverflow&) {
            return tooLarge;
        }
    }
    return {};
}

QString FieldTextRefusal(const TField& field, const QString& label, const QString& text, bool hasRange, qint64 lo,
                         qint64 hi) {
    if (!field.isNumeric()) return {};
    const TFieldType type = field.type();
    const bool integer = type != TFieldType::Decimal;
    qint64 low = type == TFieldType::SmallInt  ? std::numeric_limits<qint16>::min()
                 : type == TFieldType::Integer ? std::numeric_limits<qint32>::min()
                                               : std::numeric_limits<qint64>::min();
    qint64 high = type == TFieldType::SmallInt  ? std::numeric_limits<qint16>::max()
                  : type == TFieldType::Integer ? std::numeric_limits<qint32>::max()
                                                : std::numeric_limits<qint64>::max();
    if (hasRange) {
        low = std::max(low, lo);
        high = std::min(high, hi);
    }
    return NumberInputError(label, text, integer, field.scale(), low, high);
}

QString WriteFieldText(TField& field, const QString& label, const QString& text, bool hasRange, qint64 lo, qint64 hi) {
    const QString refusal = FieldTextRefusal(field, label, text, hasRange, lo, hi);
    if (!refusal.isEmpty()) return refusal;
    try {
        field.setAsString(text);
    } catch (const EConvertError& e) {
        return QStringLiteral("Поле \"") + label + QStringLiteral("\": ") + e.message();
    }
    return {};
}

QDate ReadTypedDate(const QString& typed, const QDate& shown, const QDate& blank, const QDate& lowest,
                    const QDate& highest) {
    const QDate d = ParseTypedDate(typed, shown);
    if (!d.isValid() || d == blank || d < lowest || d > highest) return {};
    return d;
}

QString TypedDateRefusal(const QString& label, const QString& typed) {
    return QStringLiteral("Поле \"") + label + QStringLiteral("\": \"") + typed +
           QStringLiteral("\" не является датой.\rВведите дату в виде ДД.ММ.ГГГГ, например 15.01.2027.");
}

QString FieldLabelFromCaption(QString caption) {
    caption.remove(QLatin1Char('&'));
    caption = caption.trimmed();
    while (caption.endsWith(QLatin1Char(':')) || caption.endsWith(QLatin1Char('~')))
        caption = caption.left(caption.size() - 1).trimmed();
    return caption;
}
