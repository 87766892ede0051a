#pragma once
// The journal of service orders (DOCU rows of a work period) and a new order
// in it. The caller hands in the period, the organisation's options and the
// operator (TNewDocuInput); nothing here reads the global records.
#include "orders/core/NewDocu.h"

class TClientDataSet;
class TDM;

// Query, provider options and fields of the journal; the lookup fields are
// declared without their lookup datasets (BindDocuJournalLookups adds them
// once the data module exists).
void DefineDocuJournal(TClientDataSet& cdsDocu, int periodId);
void BindDocuJournalLookups(TClientDataSet& cdsDocu, TDM& dm);

// Orders are INTEGER: the greatest number there can be.
constexpr qint64 kMaxDocuNumber = 2147483647;
// The next number: MAXNUM + 1 of GET_MAX_DOCU_NUMBER, 1 when it is null; past
// the greatest number an EDatabaseError says numbers are exhausted.
int NextDocuNumber(TDM& dm);

// Appends and posts a new order with the input's values and an ID drawn from
// GET_DOCU_ID (the input's own ID is not used). The row is left pending: the
// caller applies it (ApplyJournal). On an error the new row is dropped and the
// error propagates.
void AppendDocuToJournal(TClientDataSet& cdsDocu, TDM& dm, TNewDocuInput in);
