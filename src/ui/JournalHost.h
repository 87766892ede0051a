#pragma once
// What the main window offers to the windows it opens, reached through the
// window registry by name ("frmMain") so that no library links the shell's.
class TClientDataSet;

class IJournalHost {
public:
    virtual ~IJournalHost() = default;
    // The journal of service orders (DOCU) and of stock documents (DOCS) of the
    // current work period; the editors edit their current rows.
    virtual TClientDataSet* journalDocu() = 0;
    virtual TClientDataSet* journalDocs() = 0;
    // Rewrites the status bar and the caption.
    virtual void UpdateStatusBar() = 0;
    // Closes and reopens both journals on GL.RPeriodID, then the status bar.
    virtual void ReopenJournals() = 0;
};

// A document editor the main window opens for a new or an existing document.
class IDocumentEditor {
public:
    virtual ~IDocumentEditor() = default;
    virtual void setIsNewDoc(bool isNew) = 0;
};

// The main window, when registered and implementing IJournalHost; null otherwise.
IJournalHost* JournalHost();
