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
