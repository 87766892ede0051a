#pragma once
// Short Russian explanations of database errors, with a recommendation.
#include <QString>

struct ErrorExplanation {
    QString explanation;
    QString recommendation;
};

// The error window's first table: the whole message decides; anything else is generic.
ErrorExplanation explainRaisedError(const QString& message);
// The second table, for a failed apply: a row matches when the message begins with
// its pattern, and the last matching row decides; no match gives the generic text.
ErrorExplanation explainApplyError(const QString& message);
// The generic pair.
ErrorExplanation genericExplanation();
// The lower part of the window: heading, a rule of 58 dashes, then the message.
QString originalMessageText(const QString& message);
