#pragma once
// Saving a service order: the order row, its product lines, its service lines
// and (when the organisation writes goods off automatically) the write-off of
// the goods its services consume, all in one transaction. Either everything
// is stored or nothing: on a refusal the transaction is rolled back, the
// error (fb::DbError or EDatabaseError) is rethrown and the three change logs
// stay as they were, so the user can correct and save again.
class TClientDataSet;

// `docu` stands on the order; a row being edited is posted first (the line
// lists likewise). `headerOnly`: the order was saved from view mode, no
// write-off is made or changed. The write-off follows UchetOptions.AutoSklad.
void SaveDocu(TClientDataSet& docu, TClientDataSet& pmoves, TClientDataSet& umoves, bool headerOnly);
