#pragma once
// What the commands of a book do to its rows, without a window: the grid's
// columns, which commands a row enables, a new record and a copy, saving the
// edited record and where a refusal leaves it, deleting, the sort order and
// its menu, the quick find, the status line, the questions and refusals of
// deleting a group, a group stored with the depths of its branch. The window
// proposes IDs through the book's procedure, asks, shows and re-reads.
#include "books/core/BookRules.h"
#include "fb/Value.h"

#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>

class TClientDataSet;

namespace books {

// The book's columns added to its records' dataset: titles, widths, hidden
// columns, money shown with its separators.
void AddBookFields(TClientDataSet& ds, const QList<BookField>& fields);

// Copy, edit and delete need a current row.
bool HasRows(const TClientDataSet& ds);

using FieldValues = QList<QPair<QString, fb::Value>>;
// The copy fields of the current row, for a new record made by copying.
FieldValues CopiedValues(const TClientDataSet& ds, const QStringList& copyFields);
// Appends a row: the values given (copied fields, the group in view), then the proposed ID.
void StartNewRecord(TClientDataSet& ds, int id, const FieldValues& values = {});
// The group a new record of a tree book goes into: the current group, null when there is none.
fb::Value GroupInView(const TClientDataSet& groups);

// Saves the row being edited: posts it and stores it by `store` (true when
// the database took it); the cursor then stands on the saved row. A refused
// row was undone in memory: it is put back into insert, or into edit on the
// row of `originalId`, with what was typed, so that nothing lands on another
// row; false.
bool SaveEditedRecord(TClientDataSet& ds, const fb::Value& originalId, const std::function<bool()>& store);

QString DeleteRecordQuestion();
// Deletes the current row and stores the deletion; false when the database
// refused it (the book then reads its rows again and returns to the row).
bool DeleteCurrentRecord(TClientDataSet& ds);

// A sort order is offered when it has a caption (the first two always).
bool SortShown(const BookConfig& book, int order);
// The records ordered by the field of order `order`: the query's ORDER BY and the grid's index.
void SortRecords(TClientDataSet& ds, const BookConfig& book, int order, bool wholeLineOrderBy);
// The order that follows a quick-find field once chosen; none when it is
// already the order or the field has no sort order of its own.
std::optional<int> SortForFindField(const BookConfig& book, int field, int currentOrder);
// The text typed into quick-find field `field` read as a value of its
// column; the rows ordered by that column and the cursor on the nearest.
// False when there is nothing to search.
bool FindNearestRecord(TClientDataSet& ds, const BookConfig& book, int field, const QString& text);

// "Записей в справочнике: N", and for a tree book viewed by groups "; Записей в выбранной группе: M".
QString BookStatusText(int records, std::optional<int> inGroup = std::nullopt);

// Deleting a group: the refusal shown for `verdict` (empty when allowed), and the question then asked.
QString GroupDeleteRefusal(GroupDelete verdict, const QString& groupName);
QString GroupDeleteQuestion(const QString& groupName);
// Stores the groups' pending changes with true depths (LEVELI) of the
// branch of `groupId`, in one transaction. A refusal throws away the pending
// changes and returns the database's message; nothing when stored.
std::optional<QString> SaveGroups(TClientDataSet& groups, const QString& groupTable, int groupId);

}  // namespace books
