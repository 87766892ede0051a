#pragma once
// The date range a report covers, from the choice made in the period frame:
// the current work period, one day, a calendar month, a calendar quarter or
// two free dates. Pure arithmetic, no widgets.
#include "stock/core/PeriodRules.h"

#include <QDate>

enum class TFrameChoice { CurrentPeriod = 0, Day = 1, Month = 2, Quarter = 3, Custom = 4 };

struct TFrameValues {
    QDate periodDate1, periodDate2;  // the current work period, as its edits read back
    QDate day;
    int monthIndex = 0;              // item of the month box: 0 January .. 11 December
    int monthYear = 2000;
    int quarterIndex = 0;            // item of the quarter box: 0 first .. 3 fourth
    int quarterYear = 2000;
    QDate custom1, custom2;
};

// First and last day of the range; a free range is passed on as it is, even
// when its end lies before its start.
TPeriodDates FrameRange(TFrameChoice choice, const TFrameValues& values);

// The quarter item of a month (1..12): (month - 1) div 3.
int QuarterIndexOfMonth(int month);

// What the frame starts from: the current work period `periodDate1`..`periodDate2`,
// `today` as the day, its month and its quarter, and the whole year of `today`
// as the free range.
TFrameValues FrameDefaults(const QDate& today, const QDate& periodDate1, const QDate& periodDate2);

// A date as the frame's period edits show it (ReportDateText) read back: the
// workstation's short form, else dd.MM.yyyy; invalid for an empty or unknown text.
QDate FrameDateFromText(const QString& text);
