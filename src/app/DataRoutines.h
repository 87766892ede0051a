#pragma once
// Common routines over client datasets and list controls: filling a list or a
// combo box with the rows of a dataset (each item carries the row's ID),
// finding an item by ID, and re-reading a dataset without losing its row.
#include <QString>

class QComboBox;
class QListWidget;
class TClientDataSet;
class TQuery;

// The role under which list and combo items carry their ID.
constexpr int kItemIdRole = Qt::UserRole;

// Index of the first item whose ID equals `id`; -1 when there is none.
int ComboIndexOfID(const QComboBox* combo, int id);
// The ID of the selected item; -1 when nothing is selected.
int ComboSelectedID(const QComboBox* combo);

// Clears the list, then adds one item per row of the dataset from its first
// row to its end (the text of the field, carrying the row's ID) and selects the
// first item. The dataset is left after its last row.
void FillListBox(QListWidget* list, TClientDataSet& dataSet, const QString& fieldName);
void FillComboBox(QComboBox* combo, TClientDataSet& dataSet, const QString& fieldName);
// The same, only rows whose GR_ID equals the group; group 0 adds every row.
void FillComboBoxByGroup(QComboBox* combo, TClientDataSet& dataSet, int groupId, const QString& fieldName);

// Remembers the current row's ID, closes and reopens the dataset and moves to
// that ID; when it is gone the first row stays current. Errors propagate.
void RefreshAndLocate(TClientDataSet& dataSet);
// Like RefreshAndLocate; between closing and reopening the query's PAR_GR
// becomes the ID of the group dataset's current row (byGroup) or -1.
void RefreshGroupAndLocate(TClientDataSet& dataSet, TQuery& query, TClientDataSet& groupDataSet, bool byGroup);
// Closes and reopens the dataset.
void Reopen(TClientDataSet& dataSet);
