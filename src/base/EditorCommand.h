#pragma once
// A command of a document editor as a row of its table: the editor makes its
// action and the button under the grid from it.
#include <Qt>

struct TEditorCommand {
    const char* name;           // the action's object name ("acMovesAppend")
    const char* hint;           // its text and tip
    const char* button;         // the caption of its button under the grid, nullptr without one
    int shortcut = 0;           // a key with its modifiers, 0 without one
    bool needsEditing = true;   // enabled only while the document may be changed
};
