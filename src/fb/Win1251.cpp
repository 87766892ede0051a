#include "fb/DbError.h"
#include "fb/Statement.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <stdexcept>

namespace fb {

QString win1251ErrorText(char32_t c) {
    const char32_t one[1] = {c};
    return QStringLiteral("Символ «%1» (U+%2) нельзя сохранить в базе данных: "
                          "кодировка Windows-1251 его не содержит. Замените его другим символом.")
        .arg(QString::fromUcs4(one, 1), QString::number(uint(c), 16).toUpper().rightJustified(4, '0'));
}

QString win1251ErrorText(QChar c) { return win1251ErrorText(char32_t(c.unicode())); }

QString normalizedText(const QString& text) {
    // Letters typed as a base and a combining mark (и + breve) become the one
    // character Windows-1251 holds (й).
    for (QChar c : text)
        if (c.unicode() >= 0x300) return text.normalized(QString::NormalizationForm_C);
    return text;
}

QByteArray encodeWin1251(const QString& textIn) {
    const QString text = normalizedText(textIn);
    QStringEncoder enc("windows-1251");
    QByteArray out = enc.encode(text);
    if (enc.hasError()) {
        // Name the first whole character (a surrogate pair is one character) that has no place.
        for (char32_t c : text.toUcs4()) {
            const char32_t one[1] = {c};
            QStringEncoder single("windows-1251");
            const QByteArray b = single.encode(QString::fromUcs4(one, 1));
            if (single.hasError() || b.isEmpty()) throw std::invalid_argument(win1251ErrorText(c).toStdString());
        }
        throw std::invalid_argument(win1251ErrorText(QChar('?')).toStdString());
    }
    return out;
}

QString decodeWin1251(const QByteArray& bytes) {
    QStringDecoder dec("windows-1251");
    return dec.decode(bytes);
}

}  // namespace fb
