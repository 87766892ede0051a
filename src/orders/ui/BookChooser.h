#pragma once
// Choosing a record through a reference book with its "Вставить в поле"
// command. When the book of that name offers the command (an action
// "acEnter" and a property "SelectedID"), the book is shown; until then a
// plain list of the records' names stands in for it.
#include <QString>
#include <optional>

class TClientDataSet;

// The ID chosen, or nothing when the operator closed without choosing.
// `kindDocId` (when not 0) is handed to the book as its property "KindDocID".
std::optional<int> ChooseFromBook(const QString& bookName, TClientDataSet& list, const QString& shownField,
                                  int kindDocId = 0);
