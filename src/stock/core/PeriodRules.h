#pragma once
// The rules of work periods that need no window: the dates of the period that
// follows the last one, the date handed to the period close, the state text
// and the display of the stock sums.
#include "base/EditorCommand.h"

#include <QDate>
#include <QString>
#include <vector>

class TField;

struct TPeriodDates {
    QDate date1;  // first day
    QDate date2;  // last day
    friend bool operator==(const TPeriodDates&, const TPeriodDates&) = default;
};

// The period created after one that ends on `lastDate2`: it starts the day
// after and ends on the last day of that day's month. After 31.01.2009 that is
// 01.02.2009-28.02.2009; after 15.01.2009 it is 16.01.2009-31.01.2009.
TPeriodDates NextPeriodDates(const QDate& lastDate2);

// The last day of the month of `date`.
QDate LastDayOfMonth(const QDate& date);
// The calendar month of `date`: its first and last day (what a new first period
// is offered, the month the report frame's month choice covers).
TPeriodDates MonthDates(const QDate& date);

// DATE_2 passed to P_PERIOD_CLOSE for a period ending on `date2`: the last day
// of the month that contains the day after it (29.02.2008 -> 31.03.2008,
// 15.01.2009 -> 31.01.2009).
QDate PeriodCloseDate(const QDate& date2);

// ACT values.
inline const QString kPeriodOpenAct = QStringLiteral("*");
inline const QString kPeriodClosedAct = QStringLiteral("#");

// The state shown for ACT: "--- ОТКРЫТ ---", "<< ЗАКРЫТ >>", empty for anything else.
QString PeriodStatusName(const QString& act);

// Text shown for a null stock sum of a period.
inline const QString kPeriodSumUndefined = QStringLiteral("<не опр.>");
// SUM_OST / SUM_OST1 as shown: "<не опр.>" for null, else the money format.
QString PeriodSumText(const TField& field);

// Why a pair of dates cannot make a period; empty when they can.
QString PeriodDatesError(const QDate& date1, const QDate& date2);

// Said when a command needs a period and the list has none.
QString NoPeriodsText();

// The questions asked before a period is closed or deleted (delete: "No" is the default).
QString PeriodCloseQuestion();
QString PeriodDeleteQuestion();

// The period manager's commands in toolbar order (close, open, create, delete, reload, help).
const std::vector<TEditorCommand>& PeriodManCommands();
