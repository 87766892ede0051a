#pragma once
// The order editor's commands: the product lines' and the service lines' five
// each, and F2 and Ctrl+Del, which act on the grid holding the focus.
#include "base/EditorCommand.h"
#include "orders/core/DocuLines.h"

#include <vector>

enum class TDocuCommand {
    ProductAppend, ProductEdit, ProductDelete, ProductUp, ProductDown,
    ServiceAppend, ServiceEdit, ServiceDelete, ServiceUp, ServiceDown,
    FocusedEdit, FocusedDelete,
};

// The table, in the order of TDocuCommand.
const std::vector<TEditorCommand>& DocuCommands();
inline const TEditorCommand& DocuCommand(TDocuCommand c) { return DocuCommands()[size_t(c)]; }
// The commands of one line list, in the order of their buttons.
std::vector<TDocuCommand> DocuLineCommands(TDocuLineKind kind);
// The line command a focused one (FocusedEdit, FocusedDelete) runs on the grid of `grid`.
TDocuCommand DocuFocusedCommand(TDocuCommand focused, TDocuLineKind grid);
