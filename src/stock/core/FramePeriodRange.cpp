#include "stock/core/FramePeriodRange.h"

#include <QLocale>
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

TFrameValues FrameDefaults(const QDate& today, const QDate& periodDate1, const QDate& periodDate2) {
    TFrameValues v;
    v.periodDate1 = periodDate1;
    v.periodDate2 = periodDate2;
    v.day = today;
    v.monthIndex = today.month() - 1;
    v.monthYear = today.year();
    v.quarterIndex = QuarterIndexOfMonth(today.month());
    v.quarterYear = today.year();
    v.custom1 = QDate(today.year(), 1, 1);
    v.custom2 = QDate(today.year(), 12, 31);
    return v;
}

QDate FrameDateFromText(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    QDate d = QLocale().toDate(t, QLocale::ShortFormat);
    if (!d.isValid()) d = QDate::fromString(t, QStringLiteral("dd.MM.yyyy"));
    return d;
}
