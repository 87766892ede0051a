#pragma once
// The main window's side of its two journals: binding both to the data
// module's lookups, whether a document may be made or deleted in the current
// work period, and a new document made from the run state (the current
// period, the organisation's options, the operator). The journals themselves
// are the orders and stock cores' (DocuJournal.h, DocsJournal.h), the routines
// they share the data layer's (Journal.h).
#include "session/Global.h"

#include <QDate>
#include <QString>

class TClientDataSet;
class TDM;

void BindJournalLookups(TClientDataSet& cdsDocu, TClientDataSet& cdsDocs, TDM& dm);

// Why a new document cannot be made now (no work period, or the period is
// closed); empty when it can.
QString NewDocumentRefusal(const TGL& gl);
// Why the current document cannot be deleted (its period is closed); empty when it can.
QString DeleteDocumentRefusal(const TGL& gl);

// Appends and posts a new service order / stock document of that kind in the
// journal (numbered, dated by `today`, with the organisation's defaults, in the
// current work period, by the logged-in operator). The row is left pending:
// the caller applies it (ApplyJournal). On an error the new row is dropped and
// the error propagates.
void AppendNewDocuRow(TClientDataSet& cdsDocu, int kind, const QDate& today = QDate::currentDate());
void AppendNewDocsRow(TClientDataSet& cdsDocs, int kind, const QDate& today = QDate::currentDate());
