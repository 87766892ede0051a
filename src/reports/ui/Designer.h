#pragma once
// The report designer: a modal window on one template file. The page at
// paper scale with its bands and objects, a tool bar (save, close, undo and
// redo, clipboard, alignment, inserting objects, bands, preview), the
// property table and the list of variables and dataset fields the program
// supplies for this form. "Сохранить" writes back to the file the template
// came from; "Закрыть" asks before unsaved changes are thrown away.
#include "reports/engine/DesignDocument.h"

#include <QDialog>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class TfrDesignScene;
class TfrDesignView;
class TfrPropertyEditor;
class TfrReport;

class TfrmDesigner : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDesigner(QWidget* parent = nullptr);
    ~TfrmDesigner() override;

    // Opens a template; EfrFileError / EfrTemplateError as loading does.
    void loadFromFile(const QString& path);
    TfrDesignDocument* document() { return &m_doc; }
    TfrDesignScene* scene() const { return m_scene; }
    // Whether the template was saved at least once while the window was open.
    bool savedAny() const { return m_saved; }

    QToolBar* ToolBar;
    QAction *acDesignSave, *acDesignClose, *acUndo, *acRedo;
    QAction *acCut, *acCopy, *acPaste, *acDelete;
    QAction *acAlignLeft, *acAlignRight, *acAlignTop, *acAlignBottom, *acSameWidth, *acSameHeight, *acSnapToGrid;
    QAction *acInsertMemo, *acInsertLine, *acInsertRect, *acInsertPicture, *acInsertBarcode, *acInsertField;
    QAction *acBandAdd, *acBandDelete, *acBandUp, *acBandDown;
    QAction* acPreview;
    QMenu* pmBandTypes;
    QComboBox* cbZoom;
    QComboBox* cbPage;  // shown for a template of several pages
    QComboBox* cbGrid;
    TfrDesignView* gvDesign;
    TfrPropertyEditor* tblProperties;
    QTreeWidget* tvFields;
    QLabel* lbStatus;

public slots:
    // Saves; a failure is shown and the window stays as it was. True when saved.
    bool acDesignSaveExecute();
    void acPreviewExecute();
    void acInsertFieldExecute();
    void acInsertPictureExecute();
    void acPasteExecute();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // Asks about unsaved changes: true when the window may close.
    bool confirmClose();
    void fillFields();
    void updateActions();
    void updateTitle();
    void commitEditors();
    // Runs an edit; a refusal is shown in a message box.
    void edit(const std::function<void()>& change);

    TfrDesignDocument m_doc;
    TfrDesignScene* m_scene;
    QAction* m_pageAction;
    bool m_saved = false;
    bool m_closing = false;
};

// Opens the designer modally on the template file `templatePath`; returns
// whether the template was saved. A file that cannot be loaded is reported
// in a message box (nothing opens). When the shared report object holds this
// file, it is read again after a save, so the next print uses the new form.
bool DesignReport(QWidget* parent, const QString& templatePath);
