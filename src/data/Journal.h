#pragma once
// What the two journals share: one table's documents of a work period, in the
// server's order; drawing a new document's ID and checking its number; adding,
// deleting and applying a journal row.
#include <QDate>
#include <QString>

#include <functional>

class TClientDataSet;
class TDM;
class TField;

// The query of a journal over `table` (the period's documents by `dateField`
// and number, parameter RPERIOD_ID = `periodId`), the provider options and
// the three hidden key fields ID, KINDDOC_ID and RPERIOD_ID.
void DefineJournalQuery(TClientDataSet& journal, const QString& queryName, const QString& table,
                        const QString& dateField, int periodId);
// Column helpers of the journals' field lists.
TField& HiddenColumn(TField& f);
TField& JournalColumn(TField& f, const QString& label, int width);
// Money as the journals show it: the empty text for null.
TField& MoneyColumn(TField& f);
// Points the journal's lookup field at its lookup dataset, once the data module has it.
void SetLookupDataSet(TClientDataSet& journal, const QString& field, TClientDataSet* lookupDs);

// Closes the journal, sets its RPERIOD_ID to the period and opens it again.
void OpenJournalOnPeriod(TClientDataSet& journal, int periodId);

// The next number of a document: MAXNUM + 1 of the procedure `maxProc`, 1 when
// it is null; past `limit` an EDatabaseError says the numbers are exhausted.
int NextDocumentNumber(TDM& dm, const QString& maxProc, qint64 limit);
// A new document's ID drawn from the procedure `idProc`.
int DrawDocumentId(TDM& dm, const QString& idProc);
// Appends a row, runs `fill` on it and posts it; on an error the new row is
// dropped and the error propagates.
void AppendFilledRow(TClientDataSet& journal, const std::function<void()>& fill);

// "Удалить документ от <date> № <number> ?"
QString DeleteDocumentQuestion(const QDate& date, const QString& number);
// The document date and number of the journal's current row as the question shows them.
QString DeleteDocumentQuestion(const TClientDataSet& journal);

// Deletes the journal's current row (pending until applied).
void DeleteJournalRow(TClientDataSet& journal);

// Applies the journal's pending changes. Empty text when they reached the
// database; otherwise the apply's error text, and the journal is brought back
// to what the database holds (changes cancelled, rows re-read).
QString ApplyJournal(TClientDataSet& journal);
