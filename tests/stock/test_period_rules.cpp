// The rules of periods without windows: dates of the next period, the date
// passed to the close, the state text, the sums and the dates check.
#include "StockCoreFixture.h"

#include "stock/core/PeriodList.h"
#include "stock/core/FramePeriodRange.h"
#include "stock/core/PeriodRules.h"
#include "stock/core/StockReports.h"

using namespace stocktest;

TEST(PeriodRules, NextPeriodFollowsTheLastDayWithoutOverlap) {
    struct Case { const char* last; const char* first; const char* end; };
    const Case cases[] = {
        {"2009-01-31", "2009-02-01", "2009-02-28"},  // a whole month: the next month
        {"2008-12-31", "2009-01-01", "2009-01-31"},  // over the year's end
        {"2009-01-15", "2009-01-16", "2009-01-31"},  // inside a month: the rest of that month
        {"2008-01-31", "2008-02-01", "2008-02-29"},  // leap February
        {"2008-02-28", "2008-02-29", "2008-02-29"},  // one day left in the month
        {"2008-02-29", "2008-03-01", "2008-03-31"},
        {"2009-11-30", "2009-12-01", "2009-12-31"},
    };
    for (const Case& c : cases) {
        const TPeriodDates next = NextPeriodDates(d(c.last));
        EXPECT_EQ(next.date1, d(c.first)) << c.last;
        EXPECT_EQ(next.date2, d(c.end)) << c.last;
    }
    EXPECT_FALSE(NextPeriodDates(QDate()).date1.isValid());
}

TEST(PeriodRules, CloseDateIsTheLastDayOfTheMonthOfTheNextDay) {
    struct Case { const char* date2; const char* param; };
    const Case cases[] = {
        {"2008-02-29", "2008-03-31"},
        {"2009-01-31", "2009-02-28"},
        {"2009-01-15", "2009-01-31"},
        {"2009-01-30", "2009-01-31"},
        {"2009-12-31", "2010-01-31"},
        {"2008-01-31", "2008-02-29"},
    };
    for (const Case& c : cases) EXPECT_EQ(PeriodCloseDate(d(c.date2)), d(c.param)) << c.date2;
}

TEST(PeriodRules, StatusTextFollowsTheStateMark) {
    struct Case { QString act; QString text; };
    const Case cases[] = {
        {"*", "--- ОТКРЫТ ---"}, {"#", "<< ЗАКРЫТ >>"}, {"", ""}, {" ", ""}, {"X", ""}, {"+", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(PeriodStatusName(c.act), c.text) << c.act.toStdString();
}

TEST(PeriodRules, DatesCheckRefusesAFirstDayAfterTheLastDay) {
    EXPECT_TRUE(PeriodDatesError(d("2009-01-01"), d("2009-01-31")).isEmpty());
    EXPECT_TRUE(PeriodDatesError(d("2009-01-31"), d("2009-01-31")).isEmpty());
    const QString reversed = PeriodDatesError(d("2009-02-01"), d("2009-01-31"));
    EXPECT_TRUE(reversed.contains("01.02.2009")) << reversed.toStdString();
    EXPECT_TRUE(reversed.contains("31.01.2009")) << reversed.toStdString();
    EXPECT_FALSE(PeriodDatesError(QDate(), d("2009-01-31")).isEmpty());
}

// A new first period's month and the report frame's starting values follow
// the day given; the frame reads back the period dates it shows.
TEST(PeriodRules, MonthsAndTheReportFrameStartFromTheDayGiven) {
    struct Case { const char* today; const char* first; const char* last; int quarter; };
    const Case cases[] = {
        {"2008-02-15", "2008-02-01", "2008-02-29", 0},
        {"2009-04-01", "2009-04-01", "2009-04-30", 1},
        {"2009-12-31", "2009-12-01", "2009-12-31", 3},
    };
    for (const Case& c : cases) {
        const QDate today = d(c.today);
        EXPECT_EQ(MonthDates(today), (TPeriodDates{d(c.first), d(c.last)})) << c.today;
        const TFrameValues v = FrameDefaults(today, d("2009-05-01"), d("2009-05-31"));
        EXPECT_EQ(v.day, today);
        EXPECT_EQ(FrameRange(TFrameChoice::Month, v), MonthDates(today)) << c.today;
        EXPECT_EQ(v.quarterIndex, c.quarter) << c.today;
        EXPECT_EQ(v.quarterYear, today.year());
        EXPECT_EQ(FrameRange(TFrameChoice::Custom, v), (TPeriodDates{QDate(today.year(), 1, 1), QDate(today.year(), 12, 31)}));
        EXPECT_EQ(FrameRange(TFrameChoice::CurrentPeriod, v), (TPeriodDates{d("2009-05-01"), d("2009-05-31")}));
        EXPECT_EQ(FrameDateFromText(ReportDateText(today)), today) << c.today;
    }
    EXPECT_FALSE(MonthDates(QDate()).date1.isValid());
    EXPECT_EQ(FrameDateFromText(QStringLiteral(" 01.02.2009 ")), d("2009-02-01"));
    EXPECT_FALSE(FrameDateFromText(QString()).isValid());
    EXPECT_FALSE(FrameDateFromText(QStringLiteral("завтра")).isValid());
}

class PeriodSumsTest : public StockCoreTest {};

TEST_F(PeriodSumsTest, NullSumsShowUndefinedOthersMoney) {
    const int a = period("2009-01-01", "2009-01-31", "#", fb::Decimal());
    const int b = period("2009-02-01", "2009-02-28", "*");
    exec("UPDATE RPERIOD SET SUM_OST1 = 1234567.5 WHERE ID = ?", {a});
    exec("UPDATE RPERIOD SET ACT = 'X' WHERE ID = ?", {b});
    TClientDataSet* ds = MakePeriodManList(nullptr);
    ds->open();
    ASSERT_EQ(ds->recordCount(), 2);
    const QString nbsp(QChar(0x00A0));
    EXPECT_EQ(ds->fieldByName("SUM_OST").displayText(), "0,00");
    EXPECT_EQ(ds->fieldByName("SUM_OST1").displayText(), "1" + nbsp + "234" + nbsp + "567,50");
    EXPECT_EQ(ds->fieldByName("STATUS_NAME").displayText(), "<< ЗАКРЫТ >>");
    ds->next();
    EXPECT_EQ(ds->fieldByName("SUM_OST").displayText(), "<не опр.>");
    EXPECT_EQ(ds->fieldByName("SUM_OST1").displayText(), "<не опр.>");
    EXPECT_EQ(ds->fieldByName("STATUS_NAME").displayText(), "");
    delete ds;
}

TEST(PeriodLists, ShowTheirColumnsUnderTheirLabels) {
    auto labels = [](TClientDataSet* ds) {
        QStringList out;
        for (TField* f : ds->visibleFields()) out << f->displayLabel();
        delete ds;
        return out;
    };
    EXPECT_EQ(labels(MakePeriodManList(nullptr)),
              QStringList({"Начало", "Конец", "Статус", "Док-в (услуги)", "Док-в (склад)", "Ост.н. скл.", "Ост.к. скл."}));
    EXPECT_EQ(labels(MakeChoosePeriodList(nullptr)), QStringList({"Начало", "Окончание", "Статус"}));
}

// The period manager's toolbar: its keys, groups parted by separators, no
// command locked by the document mode (the service decides what each may do).
TEST(PeriodRules, ManagerCommandsKeysAndGroups) {
    struct Row {
        const char* name;
        int key;
        bool separated;
    };
    const Row rows[] = {{"acPeriodClose", Qt::Key_F2, false},
                        {"acPeriodOpen", Qt::Key_F3, false},
                        {"acPeriodNew", Qt::Key_Insert, true},
                        {"acPeriodDelete", (Qt::CTRL | Qt::Key_Delete).toCombined(), true},
                        {"acPeriodReload", Qt::Key_F5, true},
                        {"acHelp", Qt::Key_F1, true}};
    const std::vector<TEditorCommand>& t = PeriodManCommands();
    ASSERT_EQ(t.size(), std::size(rows));
    for (size_t i = 0; i < t.size(); ++i) {
        EXPECT_STREQ(t[i].name, rows[i].name);
        EXPECT_EQ(t[i].shortcut, rows[i].key) << rows[i].name;
        EXPECT_EQ(t[i].separatorBefore, rows[i].separated) << rows[i].name;
        EXPECT_FALSE(t[i].needsEditing) << rows[i].name;
    }
    EXPECT_STREQ(t[0].hint, "Закрыть период");
}
