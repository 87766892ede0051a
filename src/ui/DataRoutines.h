#pragma once
// Common routines over list controls and client datasets: filling a list or a
// combo box with the rows of a dataset (each item carries the row's ID) and
// finding an item by ID. Re-reading a dataset is in data/DataSetRoutines.h.
#include <QString>

class QComboBox;
class QListWidget;
class TClientDataSet;

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
