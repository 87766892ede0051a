#include "orders/core/DocuCommands.h"

const std::vector<TEditorCommand>& DocuCommands() {
    static const std::vector<TEditorCommand> table = {
        {"acPMovesAppend", "Добавить изделие", "+", (Qt::SHIFT | Qt::Key_Insert).toCombined()},
        {"acPMovesEdit", "Редактировать изделие (F2)", "Изм."},
        {"acPMovesDelete", "Убрать изделие (Ctrl-Del)", "-"},
        {"acPMovesUp", "Переместить изделие вверх", "↑"},
        {"acPMovesDown", "Переместить изделие вниз", "↓"},
        {"acUMovesAppend", "Добавить услугу", "+", Qt::Key_Insert},
        {"acUMovesEdit", "Редактировать услугу (F2)", "Изм."},
        {"acUMovesDelete", "Убрать услугу (Ctrl-Del)", "-"},
        {"acUMovesUp", "Переместить услугу вверх", "↑"},
        {"acUMovesDown", "Переместить услугу вниз", "↓"},
        {"acComEdit", "", nullptr, Qt::Key_F2},
        {"acComDelete", "", nullptr, (Qt::CTRL | Qt::Key_Delete).toCombined()},
    };
    return table;
}

std::vector<TDocuCommand> DocuLineCommands(TDocuLineKind kind) {
    const int first = int(kind == TDocuLineKind::Product ? TDocuCommand::ProductAppend : TDocuCommand::ServiceAppend);
    std::vector<TDocuCommand> out;
    for (int i = first; i < first + 5; ++i) out.push_back(TDocuCommand(i));
    return out;
}

TDocuCommand DocuFocusedCommand(TDocuCommand focused, TDocuLineKind grid) {
    const bool product = grid == TDocuLineKind::Product;
    if (focused == TDocuCommand::FocusedDelete)
        return product ? TDocuCommand::ProductDelete : TDocuCommand::ServiceDelete;
    return product ? TDocuCommand::ProductEdit : TDocuCommand::ServiceEdit;
}
