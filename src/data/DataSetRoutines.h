#pragma once
// Re-reading a client dataset without losing its row; moving a line of a
// document's line list.
class TClientDataSet;
class TQuery;

// Remembers the current row's ID, closes and reopens the dataset and moves to
// that ID; when it is gone the first row stays current. Errors propagate.
void RefreshAndLocate(TClientDataSet& dataSet);
// Like RefreshAndLocate; between closing and reopening the query's PAR_GR
// becomes the ID of the group dataset's current row (byGroup) or -1.
void RefreshGroupAndLocate(TClientDataSet& dataSet, TQuery& query, TClientDataSet& groupDataSet, bool byGroup);
// Closes and reopens the dataset.
void Reopen(TClientDataSet& dataSet);

// A document's line list kept sorted by NPP (an order's product or service
// lines, a stock document's lines), with ID and NPP fields: swaps the NPP of
// the current line with that of the next (step +1) or previous (-1) line, so
// that the two change places and the cursor stays on the moved line (its row
// number moves by step). Both rows are posted (kept in the change log). False,
// and nothing changes, when there is no current line or no such neighbour
// (the first line up, the last line down).
bool SwapNppWithNeighbour(TClientDataSet& lines, int step);
