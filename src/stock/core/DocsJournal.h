#pragma once
// The journal of stock documents (DOCS rows of a work period) and a new
// document in it. The caller hands in the period (TNewDocsInput); nothing
// here reads the global records.
#include "stock/core/NewDocs.h"

class TClientDataSet;
class TDM;

// Query, provider options and fields of the journal; the lookup fields are
// declared without their lookup datasets (BindDocsJournalLookups adds them
// once the data module exists).
void DefineDocsJournal(TClientDataSet& cdsDocs, int periodId);
void BindDocsJournalLookups(TClientDataSet& cdsDocs, TDM& dm);

// Stock document numbers are counted while they are whole numbers of up to nine digits.
constexpr qint64 kMaxDocsNumber = 999999999;
// The next number: MAXNUM + 1 of GET_MAX_DOCS_NUMBER, 1 when it is null; past
// the greatest number an EDatabaseError says numbers are exhausted.
int NextDocsNumber(TDM& dm);

// Appends and posts a new stock document with the input's values and an ID
// drawn from GET_DOCS_ID. Pending until applied; on an error the new row is
// dropped and the error propagates.
void AppendDocsToJournal(TClientDataSet& cdsDocs, TDM& dm, TNewDocsInput in);
