// Common text routines: document numbers, money display, SQL numbers,
// delimited lines and structure versions.
#include "base/RoutsFormat.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

const QString NB = QString(QChar(0x00A0));

// Sets the program's locale for one test and puts the previous one back.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& loc) : m_prev(QLocale()) { QLocale::setDefault(loc); }
    ~LocaleScope() { QLocale::setDefault(m_prev); }
private:
    QLocale m_prev;
};

QLocale russian() { return QLocale(QLocale::Russian, QLocale::Russia); }

fb::Decimal dec(const char* text) { return fb::Decimal::fromString(QString::fromLatin1(text)); }

// ---- ZeroPad ----

struct ZeroPadCase { qint64 value; int width; const char* expected; };
void PrintTo(const ZeroPadCase& c, std::ostream* os) { *os << c.value << "/" << c.width; }

class ZeroPadTest : public ::testing::TestWithParam<ZeroPadCase> {};

TEST_P(ZeroPadTest, PadsOrCuts) {
    const auto& c = GetParam();
    EXPECT_EQ(ZeroPad(c.value, c.width), QString::fromLatin1(c.expected))
        << c.value << " width " << c.width;
}

INSTANTIATE_TEST_SUITE_P(Numbers, ZeroPadTest, ::testing::Values(
    ZeroPadCase{7, 6, "000007"},
    ZeroPadCase{42, 6, "000042"},
    ZeroPadCase{0, 6, "000000"},
    ZeroPadCase{123456, 6, "123456"},
    ZeroPadCase{1234567, 6, "123456"},       // longer text keeps its first digits
    ZeroPadCase{-42, 6, "000-42"},           // zeros go in front of the minus sign
    ZeroPadCase{-12345, 6, "-12345"},
    ZeroPadCase{-1234567, 6, "-12345"},
    ZeroPadCase{12, 1, "1"},
    ZeroPadCase{5, 0, ""},
    ZeroPadCase{5, -3, ""},
    ZeroPadCase{2147483647, 12, "002147483647"}));

// ---- FormatMoney ----

struct MoneyCase { const char* value; QString expected; };
void PrintTo(const MoneyCase& c, std::ostream* os) { *os << c.value; }

class FormatMoneyRussian : public ::testing::TestWithParam<MoneyCase> {};

TEST_P(FormatMoneyRussian, GroupsWithNoBreakSpaceAndComma) {
    LocaleScope scope(russian());
    const auto& c = GetParam();
    EXPECT_EQ(FormatMoney(dec(c.value)), c.expected) << c.value;
}

INSTANTIATE_TEST_SUITE_P(Values, FormatMoneyRussian, ::testing::Values(
    MoneyCase{"1234.5", "1" + NB + "234,50"},
    MoneyCase{"0", "0,00"},
    MoneyCase{"5", "5,00"},
    MoneyCase{"100", "100,00"},
    MoneyCase{"999.99", "999,99"},
    MoneyCase{"1000", "1" + NB + "000,00"},
    MoneyCase{"-1234.5", "-1" + NB + "234,50"},
    MoneyCase{"-0.5", "-0,50"},
    MoneyCase{"1234567.8912", "1" + NB + "234" + NB + "567,89"},
    MoneyCase{"12.345", "12,35"},            // half away from zero
    MoneyCase{"12.3449", "12,34"},
    MoneyCase{"-12.345", "-12,35"},
    MoneyCase{"0.005", "0,01"},
    MoneyCase{"-0.0049", "0,00"},            // no minus sign on a zero
    MoneyCase{"999.995", "1" + NB + "000,00"},
    MoneyCase{"9999999999999.99",
              "9" + NB + "999" + NB + "999" + NB + "999" + NB + "999,99"},
    // More than 15 significant digits: rounded at the fifteenth.
    MoneyCase{"123456789012345.67",
              "123" + NB + "456" + NB + "789" + NB + "012" + NB + "346,00"}));

TEST(FormatMoney, EnglishAndCLocales) {
    {
        LocaleScope scope(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(FormatMoney(dec("1234.5")), "1,234.50");
        EXPECT_EQ(FormatMoney(dec("-1234567.891")), "-1,234,567.89");
        EXPECT_EQ(FormatMoney(dec("0.1")), "0.10");
    }
    {
        LocaleScope scope(QLocale::c());
        EXPECT_EQ(FormatMoney(dec("1234.5")), "1,234.50");
        EXPECT_EQ(FormatMoney(dec("12")), "12.00");
    }
    {
        LocaleScope scope(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(FormatMoney(dec("1234.5")), "1.234,50");
    }
}

TEST(FormatMoney, BlankGroupSeparatorsBecomeCharacter160) {
    // French uses a (narrow) no-break space; Windows-1251 only has 160.
    LocaleScope scope(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(FormatMoney(dec("1234567.5")), "1" + NB + "234" + NB + "567,50");
    EXPECT_EQ(MoneyGroupSeparator(), NB);
}

TEST(FormatMoney, RussianSeparators) {
    LocaleScope scope(russian());
    EXPECT_EQ(MoneyGroupSeparator(), NB);
    EXPECT_EQ(MoneyDecimalPoint(), ",");
}

TEST(FormatMoney, RoundTripsThroughRemoveNbsp) {
    LocaleScope scope(russian());
    for (const char* v : {"0", "1234.56", "-98765432.1", "1000000", "0.07"}) {
        const fb::Decimal d = dec(v);
        const auto back = fb::Decimal::parse(RemoveNbsp(FormatMoney(d)));
        ASSERT_TRUE(back.has_value()) << v;
        EXPECT_EQ(*back, d.rounded(2)) << v;
    }
}

// ---- RemoveNbsp ----

TEST(RemoveNbsp, RemovesOnlyCharacter160) {
    EXPECT_EQ(RemoveNbsp("1" + NB + "234" + NB + "567,50"), "1234567,50");
    EXPECT_EQ(RemoveNbsp("1 234"), "1 234");  // an ordinary blank stays
    EXPECT_EQ(RemoveNbsp(NB + NB), "");
    EXPECT_EQ(RemoveNbsp(""), "");
    EXPECT_EQ(RemoveNbsp("abc"), "abc");
}

// ---- FloatToSQLText ----

struct SqlCase { double value; const char* expected; };
void PrintTo(const SqlCase& c, std::ostream* os) { *os << c.expected; }

class FloatToSQLTextComma : public ::testing::TestWithParam<SqlCase> {};

TEST_P(FloatToSQLTextComma, WritesAPoint) {
    LocaleScope scope(russian());
    const auto& c = GetParam();
    EXPECT_EQ(FloatToSQLText(c.value), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Values, FloatToSQLTextComma, ::testing::Values(
    SqlCase{1234.5, "1234.5"},
    SqlCase{-0.25, "-0.25"},
    SqlCase{3.0, "3"},
    SqlCase{0.1, "0.1"},
    SqlCase{0.0, "0"},
    SqlCase{-0.0, "0"},
    SqlCase{123456789.123, "123456789.123"},
    SqlCase{1.0 / 3.0, "0.333333333333333"},
    SqlCase{1234567.891, "1234567.891"}));

TEST(FloatToSQLText, LargeAndTinyValuesStayLiterals) {
    LocaleScope scope(russian());
    for (double v : {1e20, -3.5e-7, 123456789012345678.0}) {
        const QString s = FloatToSQLText(v);
        EXPECT_FALSE(s.contains(u',')) << s.toStdString();
        bool ok = false;
        const double back = s.toDouble(&ok);
        EXPECT_TRUE(ok) << s.toStdString();
        EXPECT_NEAR(back, v, std::abs(v) * 1e-14) << s.toStdString();  // 15 digits kept
    }
}

TEST(FloatToSQLText, RefusesNonFiniteNumbers) {
    EXPECT_THROW(FloatToSQLText(std::numeric_limits<double>::quiet_NaN()), std::invalid_argument);
    EXPECT_THROW(FloatToSQLText(std::numeric_limits<double>::infinity()), std::invalid_argument);
}

TEST(FloatToSQLText, DecimalIsExact) {
    LocaleScope scope(russian());
    EXPECT_EQ(FloatToSQLText(dec("12.5")), "12.5");
    EXPECT_EQ(FloatToSQLText(dec("-3")), "-3");
    EXPECT_EQ(FloatToSQLText(dec("0.0001")), "0.0001");
    EXPECT_EQ(FloatToSQLText(dec("123456789012.3456")), "123456789012.3456");
}

// ---- IsEmptyText ----

struct EmptyCase { QString text; bool empty; };
void PrintTo(const EmptyCase& c, std::ostream* os) { *os << "\"" << c.text.toStdString() << "\""; }

class IsEmptyTextTest : public ::testing::TestWithParam<EmptyCase> {};

TEST_P(IsEmptyTextTest, TrimsControlCharacters) {
    EXPECT_EQ(IsEmptyText(GetParam().text), GetParam().empty) << GetParam().text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Texts, IsEmptyTextTest, ::testing::Values(
    EmptyCase{"", true},
    EmptyCase{" ", true},
    EmptyCase{"\t\r\n ", true},
    EmptyCase{QString(QChar(1)) + QChar(31), true},
    EmptyCase{"a", false},
    EmptyCase{"  a  ", false},
    EmptyCase{NB, false},                    // 160 is above 32
    EmptyCase{"0", false}));

// ---- SplitText ----

struct SplitCase { QString text; QChar delimiter; QStringList pieces; };
void PrintTo(const SplitCase& c, std::ostream* os) { *os << "\"" << c.text.toStdString() << "\""; }

class SplitTextTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextTest, KeepsEmptyPieces) {
    const auto& c = GetParam();
    EXPECT_EQ(SplitText(c.text, c.delimiter), c.pieces) << c.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitTextTest, ::testing::Values(
    SplitCase{"a;;b", u';', {"a", "", "b"}},
    SplitCase{"abc", u';', {"abc"}},
    SplitCase{"a;b;", u';', {"a", "b", ""}},
    SplitCase{";a", u';', {"", "a"}},
    SplitCase{";", u';', {"", ""}},
    SplitCase{"", u';', {""}},
    SplitCase{"1.1.6", u'.', {"1", "1", "6"}},
    SplitCase{"Иванов;Иван;", u';', {"Иванов", "Иван", ""}}));

TEST(SplitText, TextDelimiter) {
    EXPECT_EQ(SplitText("a, b,, c", QStringLiteral(", ")), QStringList({"a", "b,", "c"}));
    EXPECT_EQ(SplitText("abc", QString()), QStringList({"abc"}));
}

// ---- arrays ----

TEST(IntArrays, IndexOfIntFindsFirst) {
    const TIntegerArray a{5, 7, 5, -1};
    EXPECT_EQ(IndexOfInt(a, 5), 0);
    EXPECT_EQ(IndexOfInt(a, 7), 1);
    EXPECT_EQ(IndexOfInt(a, -1), 3);
    EXPECT_EQ(IndexOfInt(a, 9), -1);
    EXPECT_EQ(IndexOfInt(TIntegerArray{}, 0), -1);
}

TEST(Arrays, CopiesReplaceTheDestination) {
    TIntegerArray src{1, 2, 3}, dst{9, 9, 9, 9, 9};
    CopyIntArray(dst, src);
    EXPECT_EQ(dst, src);
    dst[0] = 42;  // an independent copy
    EXPECT_EQ(src[0], 1);

    TStringArray ssrc{"a", "", "b"}, sdst{"x"};
    CopyStrArray(sdst, ssrc);
    EXPECT_EQ(sdst, ssrc);
    sdst[1] = "z";
    EXPECT_EQ(ssrc[1], "");

    CopyStrArray(sdst, TStringArray{});
    EXPECT_TRUE(sdst.isEmpty());
}

// ---- VersionToInt ----

struct VersionCase { const char* text; int value; };
void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.text; }

class VersionToIntTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionToIntTest, Converts) {
    EXPECT_EQ(VersionToInt(QString::fromLatin1(GetParam().text)), GetParam().value)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionToIntTest, ::testing::Values(
    VersionCase{"1.1.6", 10106},
    VersionCase{"ver1.1.6A", 10106},
    VersionCase{"  1.1.6  ", 10106},
    VersionCase{"V 1.1.6", 10106},
    VersionCase{"1.1.5", 10105},
    VersionCase{"1.2.0", 10200},
    VersionCase{"2.10.3", 21003},
    VersionCase{"1.1.6.9", 10106},           // pieces after the third are ignored
    VersionCase{"0.0.0", 0}));

TEST(VersionToInt, ComparesAsVersions) {
    EXPECT_LT(VersionToInt("1.1.5"), VersionToInt("1.1.6"));
    EXPECT_GT(VersionToInt("1.2.0"), VersionToInt("1.1.6"));
}

class VersionToIntBad : public ::testing::TestWithParam<const char*> {};

TEST_P(VersionToIntBad, Throws) {
    EXPECT_THROW(VersionToInt(QString::fromLatin1(GetParam())), std::invalid_argument)
        << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Texts, VersionToIntBad, ::testing::Values(
    "", "   ", "abc", "1.1", "1", "1.x.6", "1..6", "1.1.6B", "1.1.6a", "1.1.",
    "1.1.6 A", "99999999999.1.1"));

}  // namespace
