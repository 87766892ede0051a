#pragma once
// The service order's document service: saves the order row, its product
// lines, its service lines and (when the organisation writes goods off
// automatically) the write-off of the goods its services consume, all in one
// transaction. Either everything is stored or nothing: on a refusal the
// transaction is rolled back, the error (fb::DbError or EDatabaseError) is
// rethrown and the three change logs stay as they were, so the user can
// correct and save again. It takes the period and the options as inputs and
// reads no global record, so a test saves an order without any window.
#include "orders/core/WriteOff.h"

#include <QString>

class TClientDataSet;

struct TDocuSaveInput {
    int periodId = -1;        // the current work period: a new write-off goes there
    bool periodOpen = false;  // whether it is open
    bool autoSklad = false;   // the organisation writes consumed goods off automatically
    bool headerOnly = false;  // saved from view mode: the order row alone, no write-off made or changed
};

struct TDocuSaveResult {
    TWriteOffResult writeOff = TWriteOffResult::None;
    // What the user should be told beside "saved", or empty: a write-off
    // left as it was because its period is closed is said, not swallowed.
    QString note() const;
};

// `docu` stands on the order; a row being edited is posted first (the line
// lists likewise). Changes of lines in a closed period are refused before
// anything is sent (the database refuses them as well).
TDocuSaveResult SaveDocu(TClientDataSet& docu, TClientDataSet& pmoves, TClientDataSet& umoves,
                         const TDocuSaveInput& input);

// Closing without saving: a row being edited is cancelled and the cached
// changes are undone. With `deleteNewRow` (a new order, which the journal
// stored before the editor opened) the order `docId` is then deleted and the
// deletion applied at once. The refusal of that deletion is returned; empty
// when there is none.
QString DiscardDocuChanges(TClientDataSet& docu, int docId, bool deleteNewRow);
