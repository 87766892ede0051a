#include "data/Field.h"

#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "fb/Statement.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace {

QString quoted(const QString& text) { return QLatin1Char('\'') + text + QLatin1Char('\''); }

// Number text as typed: blanks and character 160 are grouping; when both a
// point and a comma occur, the locale's group separator is dropped as well.
QString numberText(QString text) {
    text = text.trimmed();
    text.remove(QChar(' '));
    text.remove(QChar(0xA0));
    text.remove(QChar(0x202F));
    if (text.contains('.') && text.contains(',')) {
        const QString group = QLocale().groupSeparator();
        if (group == QLatin1String(",") || group == QLatin1String(".")) text.remove(group);
    }
    return text;
}

QDate parseDate(const QString& textIn) {
    const QString text = textIn.trimmed();
    QDate d = QLocale().toDate(text, QLocale::ShortFormat);
    if (d.isValid()) return d;
    for (const char* fmt : {"dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd", "dd/MM/yyyy", "d/M/yyyy"}) {
        d = QDate::fromString(text, QLatin1String(fmt));
        if (d.isValid()) return d;
    }
    for (const char* fmt : {"dd.MM.yy", "d.M.yy"}) {
        d = QDate::fromString(text, QLatin1String(fmt));
        if (d.isValid()) return d.year() < 1950 ? d.addYears(100) : d;
    }
    return QDate();
}

// Refuses a text that WIN1251 cannot hold (the message names the character).
void checkWin1251(const QString& s) {
    try {
        fb::encodeWin1251(s);
    } catch (const std::invalid_argument& e) {
        throw EConvertError(QString::fromUtf8(e.what()));
    }
}

bool isIntegerType(TFieldType t) {
    return t == TFieldType::Integer || t == TFieldType::SmallInt || t == TFieldType::LargeInt;
}

}  // namespace

QString fieldTypeName(TFieldType type) {
    switch (type) {
    case TFieldType::Integer:
    case TFieldType::SmallInt:
    case TFieldType::LargeInt: return QStringLiteral("целое число");
    case TFieldType::Decimal: return QStringLiteral("число");
    case TFieldType::Date: return QStringLiteral("дата");
    case TFieldType::DateTime: return QStringLiteral("дата и время");
    case TFieldType::Time: return QStringLiteral("время");
    default: return QStringLiteral("текст");
    }
}

TField::TField(TClientDataSet& owner, const QString& name, TFieldKind kind, TFieldType type, int size)
    : m_owner(owner), m_name(name.toUpper()), m_kind(kind), m_type(type), m_size(size) {
    if (type == TFieldType::Decimal) m_scale = 2;
}

int TField::displayWidth() const {
    if (m_width > 0) return m_width;
    switch (m_type) {
    case TFieldType::Integer: return 10;
    case TFieldType::SmallInt: return 6;
    case TFieldType::LargeInt: return 15;
    case TFieldType::Decimal: return 15;
    case TFieldType::Date: return 10;
    case TFieldType::DateTime: return 18;
    case TFieldType::Time: return 8;
    default: return m_size > 0 ? std::min(m_size, 40) : 20;
    }
}

bool TField::isNumeric() const { return isIntegerType(m_type) || m_type == TFieldType::Decimal; }

TField& TField::setReadOnly(bool on) {
    if (m_readOnly != on) {
        m_readOnly = on;
        m_owner.notifyFieldsChanged();
    }
    return *this;
}

TField& TField::setVisible(bool on) {
    if (m_visible != on) {
        m_visible = on;
        m_owner.notifyFieldsChanged();
    }
    return *this;
}

TField& TField::setDisplayLabel(const QString& label) {
    m_label = label;
    m_owner.notifyFieldsChanged();
    return *this;
}

TField& TField::setDisplayWidth(int chars) {
    m_width = chars;
    m_owner.notifyFieldsChanged();
    return *this;
}

fb::Value TField::value() const { return m_owner.fieldValue(*this); }

void TField::setValue(const fb::Value& v) { m_owner.setFieldValue(*this, v); }

bool TField::asBoolean() const {
    const fb::Value v = value();
    if (v.isNull()) return false;
    if (v.kind() == fb::Value::Kind::Text) {
        const QString s = v.toString().trimmed();
        return !s.isEmpty() && QStringLiteral("TtYy").contains(s[0]);
    }
    if (v.kind() == fb::Value::Kind::Int || v.kind() == fb::Value::Kind::Dec) return !v.toDecimal().isZero();
    return false;
}

QString TField::displayText() const {
    if (m_onGetText) return m_onGetText(*this);
    return asString();
}

QString TField::textOf(const fb::Value& v) const {
    using K = fb::Value::Kind;
    switch (v.kind()) {
    case K::Null: return QString();
    case K::Int: return QString::number(v.toInt());
    case K::Dec: {
        QString s = v.toDecimal().toPlainString();
        return s.replace(QLatin1Char('.'), QLocale().decimalPoint());
    }
    case K::Date: return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    case K::Timestamp:
        if (m_type == TFieldType::Date) return QLocale().toString(v.toDate(), QLocale::ShortFormat);
        return QLocale().toString(v.toDateTime(), QLocale::ShortFormat);
    case K::Text: return v.toString();
    }
    return v.toString();
}

fb::Value TField::valueFromText(const QString& text) const {
    if (text.trimmed().isEmpty()) return fb::Value();
    switch (m_type) {
    case TFieldType::Integer:
    case TFieldType::SmallInt:
    case TFieldType::LargeInt: {
        bool ok = false;
        const QString t = numberText(text);
        const qint64 v = t.toLongLong(&ok);
        if (!ok) {
            static const QRegularExpression digits(QStringLiteral("^[-+]?[0-9]+$"));
            if (digits.match(t).hasMatch())
                throw EConvertError(QStringLiteral("Число %1 слишком велико для поля '%2'")
                                        .arg(text.trimmed(), displayLabel()));
            throw EConvertError(quoted(text.trimmed()) + QStringLiteral(" не является целым числом"));
        }
        return convert(fb::Value(v));
    }
    case TFieldType::Decimal: {
        const QString t = numberText(text);
        const auto d = fb::Decimal::parse(t);
        if (!d) {
            static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]+([.,][0-9]*)?$"));
            if (number.match(t).hasMatch())
                throw EConvertError(QStringLiteral("Число %1 слишком велико для поля '%2'")
                                        .arg(text.trimmed(), displayLabel()));
            throw EConvertError(quoted(text.trimmed()) + QStringLiteral(" не является числом"));
        }
        return convert(fb::Value(*d));
    }
    case TFieldType::Date: {
        const QDate d = parseDate(text);
        if (!d.isValid()) throw EConvertError(quoted(text.trimmed()) + QStringLiteral(" не является датой"));
        return fb::Value(d);
    }
    case TFieldType::DateTime: {
        QDateTime dt = QLocale().toDateTime(text.trimmed(), QLocale::ShortFormat);
        if (!dt.isValid()) dt = QDateTime::fromString(text.trimmed(), QStringLiteral("dd.MM.yyyy hh:mm:ss"));
        if (!dt.isValid()) {
            const QDate d = parseDate(text);
            if (d.isValid()) dt = QDateTime(d, QTime(0, 0));
        }
        if (!dt.isValid())
            throw EConvertError(quoted(text.trimmed()) + QStringLiteral(" не является датой и временем"));
        return fb::Value(dt);
    }
    default: return convert(fb::Value(text));
    }
}

fb::Value TField::convert(const fb::Value& v) const {
    using K = fb::Value::Kind;
    if (v.isNull()) return v;
    const auto tooLarge = [&](const QString& shown) -> EConvertError {
        return EConvertError(QStringLiteral("Число %1 слишком велико для поля '%2': допускается не более %3 цифр "
                                            "до запятой.")
                                 .arg(shown, displayLabel())
                                 .arg(m_precision - m_scale));
    };
    const auto refuse = [&]() -> EConvertError {
        return EConvertError(QStringLiteral("Значение ") + quoted(v.toString()) +
                             QStringLiteral(" нельзя записать в поле '") + displayLabel() +
                             QStringLiteral("' (") + fieldTypeName(m_type) + QStringLiteral(")"));
    };
    switch (m_type) {
    case TFieldType::Integer:
    case TFieldType::SmallInt:
    case TFieldType::LargeInt: {
        qint64 n = 0;
        if (v.kind() == K::Int) n = v.toInt();
        else if (v.kind() == K::Dec) n = v.toDecimal().toScaled(0);
        else if (v.kind() == K::Text) return valueFromText(v.toString());
        else throw refuse();
        const qint64 lo = m_type == TFieldType::SmallInt ? std::numeric_limits<qint16>::min()
                          : m_type == TFieldType::Integer ? std::numeric_limits<qint32>::min()
                                                          : std::numeric_limits<qint64>::min();
        const qint64 hi = m_type == TFieldType::SmallInt ? std::numeric_limits<qint16>::max()
                          : m_type == TFieldType::Integer ? std::numeric_limits<qint32>::max()
                                                          : std::numeric_limits<qint64>::max();
        if (n < lo || n > hi)
            throw EConvertError(QStringLiteral("Значение ") + QString::number(n) +
                                QStringLiteral(" вне допустимого диапазона поля '") + displayLabel() + '\'');
        return fb::Value(n);
    }
    case TFieldType::Decimal: {
        if (v.kind() == K::Text) return valueFromText(v.toString());
        if (v.kind() != K::Int && v.kind() != K::Dec) throw refuse();
        fb::Decimal d;
        try {
            d = v.toDecimal();
        } catch (const fb::DecimalOverflow&) {
            throw tooLarge(v.toString());
        }
        // What is shown, summed and stored is the same number: rounded to the
        // field's decimals here, half away from zero.
        d = d.rounded(std::clamp(m_scale, 0, 4));
        if (!d.fitsNumeric(m_precision, m_scale)) throw tooLarge(d.toString(std::clamp(m_scale, 0, 4)));
        return fb::Value(d);
    }
    case TFieldType::Date:
        if (v.kind() == K::Date) return v;
        if (v.kind() == K::Timestamp) return fb::Value(v.toDate());
        if (v.kind() == K::Text) return valueFromText(v.toString());
        throw refuse();
    case TFieldType::DateTime:
        if (v.kind() == K::Timestamp) return v;
        if (v.kind() == K::Date) return fb::Value(v.toDateTime());
        if (v.kind() == K::Text) return valueFromText(v.toString());
        throw refuse();
    case TFieldType::Unknown:
    case TFieldType::Time:
    case TFieldType::Other:
        return v;
    case TFieldType::Text:
    case TFieldType::Memo: {
        const QString s = fb::normalizedText(v.kind() == K::Text ? v.toString() : textOf(v));
        checkWin1251(s);
        if (m_type == TFieldType::Text && m_size > 0 && s.size() > m_size)
            throw EConvertError(QStringLiteral("Текст поля '%1' слишком длинный: %2 симв., а поле вмещает не более %3.")
                                    .arg(displayLabel())
                                    .arg(s.size())
                                    .arg(m_size));
        return fb::Value(s);
    }
    }
    return v;
}
