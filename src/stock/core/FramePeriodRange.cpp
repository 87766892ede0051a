#include "stock/core/FramePeriodRange.h"

#include <algorithm>

int QuarterIndexOfMonth(int month) { return (std::clamp(month, 1, 12) - 1) / 3; }

TPeriodDates FrameRange(TFrameChoice choice, const TFrameValues& v) {
    switch (choice) {
    case TFrameChoice::CurrentPeriod: return {v.periodDate1, v.periodDate2};
    case TFrameChoice::Day: return {v.day, v.day};
    case TFrameChoice::Month: return MonthDates(QDate(v.monthYear, std::clamp(v.monthIndex, 0, 11) + 1, 1));
    case TFrameChoice::Quarter: {
        const int q = std::clamp(v.quarterIndex, 0, 3);
        const QDate first(v.quarterYear, 3 * q + 1, 1);
        return {first, LastDayOfMonth(QDate(v.quarterYear, 3 * q + 3, 1))};
    }
    case TFrameChoice::Custom: return {v.custom1, v.custom2};
    }
    return {};
}
