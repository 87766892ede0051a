// The amount received in words, as the receipt-contract prints it.
#include "orders/core/SumStr.h"

#include <gtest/gtest.h>

namespace {

struct WordsCase {
    const char* input;
    const char* words;
};

class AmountInWordsTable : public ::testing::TestWithParam<WordsCase> {};

TEST_P(AmountInWordsTable, WritesThePhrase) {
    const WordsCase& c = GetParam();
    EXPECT_EQ(AmountInWords(QString::fromUtf8(c.input)).toStdString(), std::string(c.words)) << "input " << c.input;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AmountInWordsTable,
    ::testing::Values(
        WordsCase{"0,00", "Ноль руб. 00 коп. "},
        WordsCase{"10", "Десять руб. 00 коп. "},
        WordsCase{"15,5", "Пятнадцать руб. 50 коп. "},
        WordsCase{"111", "Сто одиннадцать руб. 00 коп. "},
        WordsCase{"1500,05", "Тысяча пятьсот руб. 5 коп. "},
        WordsCase{"20000", "Двадцать тысяч руб. 00 коп. "},
        WordsCase{"1010000", "Один миллион десять тысяч руб. 00 коп. "},
        WordsCase{"1000000", "Один миллион руб. 00 коп. "},
        WordsCase{"1000", "Тысяча руб. 00 коп. "},
        WordsCase{"2000", "Две тысячи руб. 00 коп. "},
        // every teen, in the units and in the thousands
        WordsCase{"11", "Одиннадцать руб. 00 коп. "},
        WordsCase{"12", "Двенадцать руб. 00 коп. "},
        WordsCase{"13", "Тринадцать руб. 00 коп. "},
        WordsCase{"14", "Четырнадцать руб. 00 коп. "},
        WordsCase{"16", "Шестнадцать руб. 00 коп. "},
        WordsCase{"17", "Семнадцать руб. 00 коп. "},
        WordsCase{"18", "Восемнадцать руб. 00 коп. "},
        WordsCase{"19", "Девятнадцать руб. 00 коп. "},
        WordsCase{"15000", "Пятнадцать тысяч руб. 00 коп. "},
        WordsCase{"219019", "Двести девятнадцать тысяч девятнадцать руб. 00 коп. "},
        WordsCase{"17000000", "Семнадцать миллионов руб. 00 коп. "},
        // thousands agree in gender and number
        WordsCase{"21000", "Двадцать одна тысяча руб. 00 коп. "},
        WordsCase{"22000", "Двадцать две тысячи руб. 00 коп. "},
        WordsCase{"101000", "Сто одна тысяча руб. 00 коп. "},
        WordsCase{"1001000", "Один миллион одна тысяча руб. 00 коп. "},
        WordsCase{"5000", "Пять тысяч руб. 00 коп. "},
        WordsCase{"100000", "Сто тысяч руб. 00 коп. "},
        WordsCase{"1000001", "Один миллион один руб. 00 коп. "},
        WordsCase{"2001000000", "<Слишком большое число>"},
        // the limit
        WordsCase{"1999999999",
                  "Один миллиард девятьсот девяносто девять миллионов девятьсот девяносто девять тысяч "
                  "девятьсот девяносто девять руб. 00 коп. "},
        WordsCase{"2000000000", "<Слишком большое число>"},
        WordsCase{"2147483647", "<Слишком большое число>"},
        WordsCase{"2147483648", ""},
        WordsCase{"99999999999", ""},
        // separators, kopecks
        WordsCase{"12.30", "Двенадцать руб. 30 коп. "},
        WordsCase{"1.234,5", ""},              // the comma counts: "1.234" is not a number of roubles
        WordsCase{"7,007", "Семь руб. 7 коп. "},
        WordsCase{"15,", "Пятнадцать руб. 00 коп. "},
        WordsCase{",05", "Ноль руб. 5 коп. "},
        WordsCase{"1500.00", "Тысяча пятьсот руб. 00 коп. "},
        // bad input
        WordsCase{"", ""},
        WordsCase{"abc", ""},
        WordsCase{"12,ab", ""},
        WordsCase{"1 500", ""},
        // a negative amount
        WordsCase{"-40", "Минус сорок руб. 00 коп. "},
        WordsCase{"-1000,50", "Минус тысяча руб. 50 коп. "},
        WordsCase{"-0,5", "Минус ноль руб. 50 коп. "},
        WordsCase{"--5", ""}));

TEST(SplitAmount, SeparatesRoublesAndKopecks) {
    const struct {
        const char* in;
        const char* roubles;
        const char* kopecks;
    } cases[] = {{"1500", "1500", "00"}, {"1500,5", "1500", "50"}, {"1500,05", "1500", "05"}, {"15,", "15", "00"},
                 {"", "", "00"},         {",75", "0", "75"},       {"3.1,2", "3.1", "20"},   {"1.5.7", "1", "5.7"}};
    for (const auto& c : cases) {
        const auto [r, k] = SplitAmount(QString::fromUtf8(c.in));
        EXPECT_EQ(r.toStdString(), c.roubles) << c.in;
        EXPECT_EQ(k.toStdString(), c.kopecks) << c.in;
    }
}

TEST(NumberInWords, EndsEveryWordWithABlankAndSkipsEmptyGroups) {
    EXPECT_EQ(NumberInWords(QStringLiteral("0")), QStringLiteral("Ноль "));
    EXPECT_EQ(NumberInWords(QStringLiteral("1000000000")), QStringLiteral("один миллиард "));
    EXPECT_EQ(NumberInWords(QStringLiteral("1000001000")), QStringLiteral("один миллиард одна тысяча "));
    EXPECT_EQ(NumberInWords(QStringLiteral("40010")), QStringLiteral("сорок тысяч десять "));
}

}  // namespace
