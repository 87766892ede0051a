#pragma once
// The rules for an order's dates that need no window: the acceptance date lies
// inside the order's work period; a completion date before the acceptance date
// is allowed only after a question.
#include <QDate>
#include <QString>

// Why an order with this acceptance date cannot be saved in the period
// first..last; empty when it can (also when the period's dates are unknown).
QString AcceptanceDateRefusal(const QDate& dateP, const QDate& periodFirst, const QDate& periodLast);

// True when both dates are set and the completion date is the earlier one.
bool CompletionBeforeAcceptance(const QDate& dateP, const QDate& dateV);
QString CompletionBeforeAcceptanceQuestion(const QDate& dateP, const QDate& dateV);

class TClientDataSet;

// The dates' check before an order is saved.
struct TDocuDatesCheck {
    QString refusal;   // the save is refused with this warning; the acceptance date is to be corrected
    QString question;  // asked first; "No" keeps the editor open on the completion date
};
// An order being edited in the current work period (`periodId`, its dates
// first..last; also a new order without RPERIOD_ID yet) needs an acceptance
// date inside that period; a completion date before the acceptance date asks.
// A viewed order (editing not allowed) keeps the dates it has: nothing to check.
TDocuDatesCheck CheckDocuDates(const TClientDataSet& docu, bool editAllowed, int periodId, const QDate& periodFirst,
                               const QDate& periodLast);
