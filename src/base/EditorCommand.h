#pragma once
// A command of an editor as a row of its table: the window makes its action,
// the button under the grid or the toolbar entry from it.
#include <Qt>

struct TEditorCommand {
    const char* name;           // the action's object name ("acMovesAppend")
    const char* hint;           // its text and tip
    const char* button;         // the caption of its button under the grid, nullptr without one
    int shortcut = 0;           // a key with its modifiers, 0 without one
    bool needsEditing = true;   // enabled only while the document may be changed
    bool separatorBefore = false;  // a toolbar parts it from the commands before it
};
