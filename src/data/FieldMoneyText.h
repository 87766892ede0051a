#pragma once
// Display of money fields: the given text (callers pass the empty text) when
// the field is null, else the amount with thousands separators and two decimals.
#include <QString>

class TField;

QString FieldMoneyText(const TField& field, const QString& nullText = QString());
