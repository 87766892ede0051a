#pragma once
// What the designer's commands may do at the moment, from the document alone:
// which are enabled, the window's title, the question asked before a band
// goes with its objects. The window sets its actions and asks.
#include "reports/engine/DesignDocument.h"

struct TfrDesignActions {
    bool undo = false, redo = false;
    bool cutCopyDelete = false;  // something is selected
    bool paste = false;          // a band to paste on and objects on the clipboard
    bool align = false;          // two objects or more: the first leads
    bool insert = false;         // a current band takes new objects
    bool bandDelete = false, bandUp = false, bandDown = false;
};
TfrDesignActions frDesignActions(const TfrDesignDocument& doc, bool clipboardHasObjects);

// "Дизайнер печатной формы - <file name>", with " *" while changes are unsaved.
QString frDesignerTitle(const TfrDesignDocument& doc);

// The question before `band` is removed with its objects; empty for a band
// without objects, which goes without asking.
QString frBandRemovalQuestion(const TfrBand& band);
