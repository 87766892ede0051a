#pragma once
// What the order's line dialogs share: the line list they edit, the order's
// kind, the editor's modified mark, Enter/Escape and the close rule (a pending
// change of the line is cancelled whatever the result).
#include "orders/core/DocuLineDialogs.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <functional>

class TClientDataSet;
class TFieldBinding;
class QLabel;
class QPushButton;

class TLineDialog : public QDialog {
    Q_OBJECT
public:
    explicit TLineDialog(QWidget* parent = nullptr);

    // Set by the editor before it shows the dialog.
    void setLine(TClientDataSet* lines, int kindDocId, std::function<void(bool)> setModified);
    TClientDataSet* lines() const { return m_lines; }
    int kindDocId() const { return m_kindDocId; }

    QPushButton* btnOk;
    QPushButton* btnCancel;
    QPushButton* BitBtn1;

    void done(int r) override;

protected:
    // Posts the line when it is being edited, then marks the order modified.
    void AddZapis();
    // The line's required fields (DocuLineDialogs.h): false, and the empty ones named, when any is missing.
    bool CheckFilled(TDocuLineKind kind);
    virtual void beforeClose() {}
    QWidget* makeButtons();
    // Binds the dialog's controls to the current line list, once per list.
    void bindFields();
    virtual QList<TFieldBinding*> makeBindings(TClientDataSet* lines) = 0;
    QList<TFieldBinding*> m_bindings;

    TClientDataSet* m_lines = nullptr;
    int m_kindDocId = 0;
    std::function<void(bool)> m_setModified;

private:
    QPointer<TClientDataSet> m_bound;
};
