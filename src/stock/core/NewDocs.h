#pragma once
// A new stock document's starting values, without any window or global
// record: the main window hands in the period; a test does the same.
#include "base/NewDocumentDate.h"

#include <QDate>

class TClientDataSet;

struct TNewDocsInput {
    int id = 0;  // drawn from GET_DOCS_ID
    int kind = 101;
    int periodId = -1;
    QDate periodFirst, periodLast;
    QDate today;
};

// Fills the new stock document row `ds` stands on (being appended). The number
// is left empty: the database draws it as the row is stored.
void FillNewDocsRow(TClientDataSet& ds, const TNewDocsInput& in);
