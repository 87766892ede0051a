#pragma once
// The two journals of the main window (service orders DOCU and stock
// documents DOCS of the current work period) and the making of a new
// document in them: its number, its date, its default values, the apply.
// No widgets: the main window shows what these routines decide.
#include "session/Global.h"
#include "base/NewDocumentDate.h"

#include <QDate>
#include <QString>

class TClientDataSet;
class TDM;

// Query, provider options and fields of the journals. The lookup fields are
// declared without their lookup datasets; BindJournalLookups adds them once
// the data module exists.
void DefineDocuJournal(TClientDataSet& cdsDocu);
void DefineDocsJournal(TClientDataSet& cdsDocs);
void BindJournalLookups(TClientDataSet& cdsDocu, TClientDataSet& cdsDocs, TDM& dm);

// Closes the journal, sets its RPERIOD_ID to the period and opens it again.
void OpenJournalOnPeriod(TClientDataSet& journal, int periodId);

// Why a new document cannot be made now (no work period, or the period is
// closed); empty when it can.
QString NewDocumentRefusal(const TGL& gl);
// Why the current document cannot be deleted (its period is closed); empty when it can.
QString DeleteDocumentRefusal(const TGL& gl);
// "Удалить документ от <date> № <number> ?"
QString DeleteDocumentQuestion(const QDate& date, const QString& number);
// The document date and number of the journal's current row as the question shows them.
QString DeleteDocumentQuestion(const TClientDataSet& journal);

// The greatest numbers there can be: orders are INTEGER, stock document
// numbers are counted while they are whole numbers of up to nine digits.
constexpr qint64 kMaxDocuNumber = 2147483647;
constexpr qint64 kMaxDocsNumber = 999999999;
// The next number: MAXNUM + 1 of GET_MAX_DOCU_NUMBER / GET_MAX_DOCS_NUMBER, 1 when
// it is null; past the greatest number an EDatabaseError says numbers are exhausted.
int NextDocuNumber();
int NextDocsNumber();

// Appends and posts a new service order / stock document of that kind in the
// journal (numbered, dated by `today`, with the organisation's defaults). The
// row is left pending: the caller applies it (ApplyJournal). On an error the
// new row is dropped and the error propagates.
void AppendNewDocuRow(TClientDataSet& cdsDocu, int kind, const QDate& today = QDate::currentDate());
void AppendNewDocsRow(TClientDataSet& cdsDocs, int kind, const QDate& today = QDate::currentDate());

// Deletes the journal's current row (pending until applied).
void DeleteJournalRow(TClientDataSet& journal);

// Applies the journal's pending changes. Empty text when they reached the
// database; otherwise the apply's error text, and the journal is brought back
// to what the database holds (changes cancelled, rows re-read).
QString ApplyJournal(TClientDataSet& journal);
