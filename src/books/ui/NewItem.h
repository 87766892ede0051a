#pragma once
// The record dialog of every reference book: a heading, the fields of the
// record bound to the book's dataset, "Сохранить" and "Отмена". The book puts
// its dataset into insert or edit on the row to edit and shows the dialog;
// "Сохранить" checks the required fields, posts, applies and returns OK only
// when the row reached the database. A refused row keeps the dialog open on
// the user's own record with what was typed.
#include <QDialog>
#include <QHash>
#include <QPointer>

#include "data/ClientDataSet.h"

#include "fb/Value.h"

class QFormLayout;
class QLabel;
class QPushButton;
class QWidget;
class TClientDataSet;

class TfrmNewItem : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNewItem(QWidget* parent = nullptr);

    // The dataset whose current row the dialog edits (set by the book).
    QPointer<TClientDataSet> EditedDataSet;
    QLabel* Label1;
    QWidget* PanelMain;
    QWidget* PanelBottom;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    // True when the row may be saved; the descendants test their required fields.
    virtual bool CheckFields() { return true; }

    void btnOkClick();
    void btnCancelClick();

protected:
    // (Re)binds the controls to the dataset; called each time the dialog is shown.
    virtual void bindControls(TClientDataSet* ds) { Q_UNUSED(ds); }
    // Stores the posted row (and whatever belongs to it); true when stored.
    // The default applies EditedDataSet; the book's reconcile handler reports
    // a refusal and undoes the change in memory.
    virtual bool saveChanges();
    // Called when the dialog closes in any way (after done()).
    virtual void afterClose();
    void unbindAll();

    void showEvent(QShowEvent* e) override;
    void done(int r) override;

    QFormLayout* form;  // the descendants' fields, under the heading

private:
    fb::Value m_originalId;  // ID of the edited row as it was when the dialog opened
};
