#pragma once
// A new order's starting values, without any window or global record: the
// main window hands in the period, the organisation's options and the
// operator; a test does the same.
#include "base/NewDocumentDate.h"

#include <QDate>
#include <QString>

class TClientDataSet;

struct TNewDocuInput {
    int id = 0;                        // drawn from GET_DOCU_ID
    int kind = 1;                      // 1, 2 or 3
    int periodId = -1;
    QDate periodFirst, periodLast;
    QDate today;
    int dvDelta = 0;                   // days until completion and hand-over
    QString vremDef, serDef;           // hand-over time, series
    int operatorId = 0;
};

// Fills the new order row `ds` stands on (being appended). The number is left
// empty: the database draws it as the row is stored.
void FillNewDocuRow(TClientDataSet& ds, const TNewDocuInput& in);
