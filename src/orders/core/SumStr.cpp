#include "orders/core/SumStr.h"

namespace {

// Words by position from the right (units, tens, hundreds) and digit.
const char* const kUnits[10] = {"", "один ", "два ", "три ", "четыре ", "пять ", "шесть ", "семь ", "восемь ", "девять "};
const char* const kTens[10] = {"", "", "двадцать ", "тридцать ", "сорок ", "пятьдесят ", "шестьдесят ", "семьдесят ",
                               "восемьдесят ", "девяносто "};
const char* const kHundreds[10] = {"", "сто ", "двести ", "триста ", "четыреста ", "пятьсот ", "шестьсот ", "семьсот ",
                                   "восемьсот ", "девятьсот "};
// The units digit of a group together with the group's word. Thousands are
// feminine: «одна тысяча», «две тысячи».
const char* const kThousands[10] = {"тысяч ", "одна тысяча ", "две тысячи ", "три тысячи ", "четыре тысячи ",
                                    "пять тысяч ", "шесть тысяч ", "семь тысяч ", "восемь тысяч ", "девять тысяч "};
const char* const kMillions[10] = {"миллионов ", "один миллион ", "два миллиона ", "три миллиона ", "четыре миллиона ",
                                   "пять миллионов ", "шесть миллионов ", "семь миллионов ", "восемь миллионов ",
                                   "девять миллионов "};
const char* const kMilliards[10] = {"миллиардов ", "один миллиард ", "два миллиарда ", "три миллиарда ",
                                    "четыре миллиарда ", "пять миллиардов ", "шесть миллиардов ", "семь миллиардов ",
                                    "восемь миллиардов ", "девять миллиардов "};
const char* const kTeens[10] = {"десять ", "одиннадцать ", "двенадцать ", "тринадцать ", "четырнадцать ",
                                "пятнадцать ", "шестнадцать ", "семнадцать ", "восемнадцать ", "девятнадцать "};

QString word(const char* w) { return QString::fromUtf8(w); }

// Only decimal digits, at least one.
bool allDigits(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

}  // namespace

std::pair<QString, QString> SplitAmount(const QString& text) {
    QString s = text;
    int p = s.indexOf(QLatin1Char(',')) + 1;
    if (p == 0) p = s.indexOf(QLatin1Char('.')) + 1;
    if (p > 0) s.remove(p - 1, 1);
    if (p == 0) return {s, QStringLiteral("00")};
    if (s.size() < p) return {s, QStringLiteral("00")};
    if (p == 1) return {QStringLiteral("0"), s};
    QString kop = s.mid(p - 1);
    if (p == s.size()) kop += QLatin1Char('0');
    return {s.left(p - 1), kop};
}

QString NumberInWords(const QString& s) {
    if (s == QLatin1String("0")) return QStringLiteral("Ноль ");
    const int a = int(s.size());
    auto digit = [&](int i) { return s.at(i - 1).digitValue(); };  // 1-based from the left
    // The three digits of the group whose lowest digit is at character i are all 0.
    auto groupEmpty = [&](int i) {
        for (int k = i; k > i - 3 && k >= 1; --k)
            if (digit(k) != 0) return false;
        return true;
    };
    QString result;
    int i = a;
    if (a >= 2 && digit(a - 1) == 1) {
        result = word(kTeens[digit(a)]);
        i = a - 2;
    }
    while (i >= 1) {
        if (a - i == 3 && a >= 5 && digit(i - 1) == 1) {
            result.prepend(word(kTeens[digit(i)]) + QStringLiteral("тысяч "));
            i -= 2;
        }
        if (a - i == 6 && a >= 8 && digit(i - 1) == 1) {
            result.prepend(word(kTeens[digit(i)]) + QStringLiteral("миллионов "));
            i -= 2;
        }
        if (i < 1) break;
        const int pos = a - i;
        const int d = digit(i);
        QString w;
        switch (pos) {
        case 3:
            // A lone thousand is just «тысяча»; inside a larger number it is «одна тысяча».
            if (d == 1 && a == 4) w = QStringLiteral("тысяча ");
            else if (d != 0 || !groupEmpty(i)) w = word(kThousands[d]);
            break;
        case 6:
            if (d != 0 || !groupEmpty(i)) w = word(kMillions[d]);
            break;
        case 9:
            if (d != 0 || !groupEmpty(i)) w = word(kMilliards[d]);
            break;
        default:
            switch (pos % 3) {
            case 0: w = word(kUnits[d]); break;
            case 1: w = word(kTens[d]); break;
            default: w = word(kHundreds[d]); break;
            }
        }
        result.prepend(w);
        --i;
    }
    return result;
}

QString AmountInWords(const QString& text) {
    QString t = text;
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative) t.remove(0, 1);
    const auto [roubles, kopecks] = SplitAmount(t);
    if (roubles.isEmpty() || kopecks.isEmpty()) return QString();
    if (!allDigits(roubles)) return QString();
    bool ok = false;
    const int value = roubles.toInt(&ok);
    if (!ok) return QString();
    if (value >= 2000000000) return QStringLiteral("<Слишком большое число>");
    QString words = NumberInWords(QString::number(value)) + QStringLiteral("руб. ");
    QString kop = kopecks;
    if (kop != QLatin1String("00")) {
        if (!allDigits(kop)) return QString();
        bool kok = false;
        const int k = kop.toInt(&kok);
        if (!kok) return QString();
        kop = QString::number(k);
    }
    kop += QStringLiteral(" коп. ");
    if (negative) words = QStringLiteral("минус ") + words.left(1).toLower() + words.mid(1);
    words[0] = words.at(0).toUpper();
    return words + kop;
}
