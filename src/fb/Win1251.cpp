#include "fb/DbError.h"
#include "fb/Statement.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <stdexcept>

namespace fb {

QString win1251ErrorText(QChar c) {
    return QStringLiteral("Символ «%1» (U+%2) нельзя сохранить в базе данных: "
                          "кодировка Windows-1251 его не содержит. Замените его другим символом.")
        .arg(QString(c), QString::number(c.unicode(), 16).toUpper().rightJustified(4, '0'));
}

QByteArray encodeWin1251(const QString& text) {
    QStringEncoder enc("windows-1251");
    QByteArray out = enc.encode(text);
    if (enc.hasError()) {
        for (QChar c : text) {
            QStringEncoder one("windows-1251");
            QByteArray b = one.encode(QString(c));
            if (one.hasError() || b.isEmpty()) throw std::invalid_argument(win1251ErrorText(c).toStdString());
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
