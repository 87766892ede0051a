#pragma once
// Re-reading a client dataset without losing its row.
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
