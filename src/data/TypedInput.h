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

class TField;

// Why a clerk's text cannot go into the field ("" when it can): for a
// number field the text is read against the field's type (the range of a
// small, normal or big integer, the scale of a decimal), narrowed to lo..hi
// when `hasRange`; other fields take any text here.
QString FieldTextRefusal(const TField& field, const QString& label, const QString& text, bool hasRange = false,
                         qint64 lo = 0, qint64 hi = 0);
// Writes the text into the field unless refused; a text the field itself
// cannot convert is refused as "Поле \"label\": " + its reason. Returns the
// refusal, "" when written.
QString WriteFieldText(TField& field, const QString& label, const QString& text, bool hasRange = false, qint64 lo = 0,
                       qint64 hi = 0);

// A date box's reading of what was typed (ParseTypedDate against `shown`):
// a date within lowest..highest other than `blank` (the box's blank date,
// which stands for an empty field: typed, it would clear the field unasked);
// an invalid date when refused.
QDate ReadTypedDate(const QString& typed, const QDate& shown, const QDate& blank, const QDate& lowest,
                    const QDate& highest);
// "Поле \"label\": \"typed\" не является датой.\rВведите дату в виде ДД.ММ.ГГГГ, например 15.01.2027."
QString TypedDateRefusal(const QString& label, const QString& typed);

// The name a refusal gives a control, from its label's caption: the
// accelerator's "&" removed, blanks and trailing ":" or "~" dropped.
QString FieldLabelFromCaption(QString caption);
