#pragma once
// What a clerk types into a date or number box, read or refused before it
// reaches a field.
#include <QDate>
#include <QString>

// The date a clerk typed into a date box: "15.01.2027", "15.1.27", "15012027",
// "150127", "1501" and "15" (the missing month and year are those of
// `reference`); an invalid date for anything else.
QDate ParseTypedDate(const QString& typed, const QDate& reference);

// Why `text` cannot go into a field of that type (scale for decimals, lo..hi
// for integers); empty when it can. `label` names the control.
QString NumberInputError(const QString& label, const QString& text, bool integer, int scale, qint64 lo, qint64 hi);
