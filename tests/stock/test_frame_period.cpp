// The report period frame: the range of each choice, and the controls as
// InitFrame leaves them.
#include "StockFixture.h"

#include "ui/FramePeriod.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

using namespace stocktest;

namespace {
TFrameValues base() {
    TFrameValues v;
    v.periodDate1 = d("2009-03-01");
    v.periodDate2 = d("2009-03-31");
    v.day = d("2009-05-15");
    v.custom1 = d("2009-06-10");
    v.custom2 = d("2009-06-01");
    return v;
}
QString range(const TPeriodDates& r) {
    return r.date1.toString("dd.MM.yyyy") + "-" + r.date2.toString("dd.MM.yyyy");
}
}  // namespace

TEST(FrameRange, MonthsByTheCalendar) {
    struct Case { int index; int year; const char* expected; };
    const Case cases[] = {
        {1, 2008, "01.02.2008-29.02.2008"}, {1, 2009, "01.02.2009-28.02.2009"},
        {1, 2000, "01.02.2000-29.02.2000"}, {1, 1900, "01.02.1900-28.02.1900"},
        {0, 2009, "01.01.2009-31.01.2009"}, {3, 2009, "01.04.2009-30.04.2009"},
        {11, 2009, "01.12.2009-31.12.2009"},
    };
    for (const Case& c : cases) {
        TFrameValues v = base();
        v.monthIndex = c.index;
        v.monthYear = c.year;
        EXPECT_EQ(range(FrameRange(TFrameChoice::Month, v)), c.expected) << c.index << " " << c.year;
    }
}

TEST(FrameRange, QuartersByTheCalendar) {
    struct Case { int index; int year; const char* expected; };
    const Case cases[] = {
        {0, 2009, "01.01.2009-31.03.2009"}, {1, 2009, "01.04.2009-30.06.2009"},
        {2, 2009, "01.07.2009-30.09.2009"}, {3, 2009, "01.10.2009-31.12.2009"},
        {0, 2008, "01.01.2008-31.03.2008"},
    };
    for (const Case& c : cases) {
        TFrameValues v = base();
        v.quarterIndex = c.index;
        v.quarterYear = c.year;
        EXPECT_EQ(range(FrameRange(TFrameChoice::Quarter, v)), c.expected) << c.index;
    }
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(QuarterIndexOfMonth(m), (m - 1) / 3);
}

TEST(FrameRange, PeriodDayAndFreeRangeArePassedOnAsTheyAre) {
    const TFrameValues v = base();
    EXPECT_EQ(range(FrameRange(TFrameChoice::CurrentPeriod, v)), "01.03.2009-31.03.2009");
    EXPECT_EQ(range(FrameRange(TFrameChoice::Day, v)), "15.05.2009-15.05.2009");
    // The end before the start stays so: the report then finds nothing.
    EXPECT_EQ(range(FrameRange(TFrameChoice::Custom, v)), "10.06.2009-01.06.2009");
}

TEST(FramePeriodWidget, OpensOnTheCurrentPeriodWithItsControls) {
    TFramePeriod f;
    EXPECT_EQ(f.objectName(), "framePeriod");
    EXPECT_EQ(f.title(), "Период");
    EXPECT_EQ(TFramePeriod(nullptr, "frameOther").objectName(), "frameOther");
    const char* captions[] = {"Текущий РП", "День", "Месяц", "Квартал", "Произвольный"};
    for (int i = 0; i < 5; ++i) {
        auto* rb = f.findChild<QRadioButton*>(QStringLiteral("RadioButton%1").arg(i + 1));
        ASSERT_NE(rb, nullptr);
        EXPECT_EQ(rb->text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(rb->isChecked(), i == 0);
        auto* panel = f.findChild<QWidget*>(QStringLiteral("Panel%1").arg(i + 1));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->isHidden(), i != 0);
    }
    for (const char* name : {"edTekRP1", "edTekRP2", "edMesGod", "edKvaGod"})
        EXPECT_NE(f.findChild<QLineEdit*>(name), nullptr) << name;
    for (const char* name : {"dtpDay", "dtpCustom1", "dtpCustom2"})
        EXPECT_NE(f.findChild<QDateEdit*>(name), nullptr) << name;
    EXPECT_TRUE(f.edTekRP1->isReadOnly());
    EXPECT_EQ(f.cbMes->count(), 12);
    EXPECT_EQ(f.cbMes->itemText(0), "Январь");
    EXPECT_EQ(f.cbMes->itemText(11), "Декабрь");
    EXPECT_EQ(f.cbKva->itemText(3), "4 квартал");
    EXPECT_EQ(f.udMesGod->minimum(), 1900);
    EXPECT_EQ(f.udKvaGod->maximum(), 2200);
}

TEST(FramePeriodWidget, InitFrameOnTheFifteenthOfMay2009) {
    ResetGlobalState();
    GL.RPeriodDate1 = d("2009-05-01");
    GL.RPeriodDate2 = d("2009-05-31");
    TFramePeriod f;
    f.InitFrame(d("2009-05-15"));
    EXPECT_EQ(f.dtpDay->date(), d("2009-05-15"));
    EXPECT_EQ(f.cbMes->currentText(), "Май");
    EXPECT_EQ(f.udMesGod->value(), 2009);
    EXPECT_EQ(f.edMesGod->text(), "2009");
    EXPECT_EQ(f.cbKva->currentText(), "2 квартал");
    EXPECT_EQ(f.udKvaGod->value(), 2009);
    EXPECT_EQ(f.dtpCustom1->date(), d("2009-01-01"));
    EXPECT_EQ(f.dtpCustom2->date(), d("2009-12-31"));
    EXPECT_EQ(f.edTekRP1->text(), "01.05.2009");
    EXPECT_EQ(f.edTekRP2->text(), "31.05.2009");
    EXPECT_EQ(f.focusPolicy(), Qt::NoFocus);

    struct Case { QRadioButton* button; const char* expected; };
    const Case cases[] = {
        {f.RadioButton1, "01.05.2009-31.05.2009"}, {f.RadioButton2, "15.05.2009-15.05.2009"},
        {f.RadioButton3, "01.05.2009-31.05.2009"}, {f.RadioButton4, "01.04.2009-30.06.2009"},
        {f.RadioButton5, "01.01.2009-31.12.2009"},
    };
    for (const Case& c : cases) {
        c.button->click();
        EXPECT_EQ(range({f.GetDate1(), f.GetDate2()}), c.expected) << c.button->objectName().toStdString();
        for (int i = 1; i <= 5; ++i) {
            QWidget* panel = f.findChild<QWidget*>(QStringLiteral("Panel%1").arg(i));
            EXPECT_EQ(panel->isHidden(), c.button->objectName() != QStringLiteral("RadioButton%1").arg(i));
        }
    }
}

TEST(FramePeriodWidget, ChosenModeStaysAndValuesGoBackToToday) {
    ResetGlobalState();
    TFramePeriod f;
    f.InitFrame(d("2009-05-15"));
    f.RadioButton3->click();
    f.cbMes->setCurrentIndex(1);
    f.udMesGod->setValue(2008);
    EXPECT_EQ(range({f.GetDate1(), f.GetDate2()}), "01.02.2008-29.02.2008");
    f.InitFrame(d("2010-11-03"));
    EXPECT_TRUE(f.RadioButton3->isChecked());
    EXPECT_FALSE(f.Panel3->isHidden());
    EXPECT_EQ(range({f.GetDate1(), f.GetDate2()}), "01.11.2010-30.11.2010");
    f.RadioButton4->click();
    EXPECT_EQ(range({f.GetDate1(), f.GetDate2()}), "01.10.2010-31.12.2010");
    // A free range with its end first is handed over unchanged.
    f.RadioButton5->click();
    f.dtpCustom1->setDate(d("2010-03-10"));
    f.dtpCustom2->setDate(d("2010-03-01"));
    EXPECT_EQ(range({f.GetDate1(), f.GetDate2()}), "10.03.2010-01.03.2010");
}

TEST(FramePeriodWidget, NoCurrentPeriodShowsTheDatesLastHeld) {
    ResetGlobalState();
    GL.RPeriodID = -1;
    GL.RPeriodDate1 = d("2008-12-01");
    GL.RPeriodDate2 = d("2008-12-31");
    TFramePeriod f;
    f.InitFrame(d("2009-05-15"));
    EXPECT_EQ(range({f.GetDate1(), f.GetDate2()}), "01.12.2008-31.12.2008");
}
