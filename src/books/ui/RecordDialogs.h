#pragma once
// The record dialogs of the reference books: colours, materials, special
// marks, customers and products (fields and their required ones from a
// table), goods, services with their accompanying goods and the line dialog
// of those, operators with their role and rights, and the group dialog.
#include "books/core/RecordForms.h"
#include "books/ui/NewItem.h"

#include <QPointer>

class QButtonGroup;
class QCheckBox;
class QFormLayout;
class QTabWidget;
class QTableView;
class DataSetModel;

// A record dialog built from its form: the controls and the required fields.
class TfrmNewRecord : public TfrmNewItem {
    Q_OBJECT
public:
    explicit TfrmNewRecord(const QString& dialog, QWidget* parent = nullptr);
    bool CheckFields() override;
    // The group list of the tree book (ID, FULLPATH) for a "Группа" control.
    QPointer<TClientDataSet> GroupList;

protected:
    void bindControls(TClientDataSet* ds) override;
    const books::RecordForm& m_form;
};

class TfrmNewColor : public TfrmNewRecord { Q_OBJECT public: TfrmNewColor(); };
class TfrmNewMaterial : public TfrmNewRecord { Q_OBJECT public: TfrmNewMaterial(); };
class TfrmNewComment : public TfrmNewRecord { Q_OBJECT public: TfrmNewComment(); };
class TfrmNewZakazch : public TfrmNewRecord { Q_OBJECT public: TfrmNewZakazch(); };
class TfrmNewProduct : public TfrmNewRecord { Q_OBJECT public: TfrmNewProduct(); };
class TfrmNewTovar : public TfrmNewRecord { Q_OBJECT public: TfrmNewTovar(); };

// The accompanying goods line: goods, quantity, price, the goods' unit.
class TfrmNewUslTov : public QDialog {
    Q_OBJECT
public:
    TfrmNewUslTov();
    QPushButton* btnOk;
    QPushButton* btnCancel;
    void bindTo(TClientDataSet* lines);
    void btnOkClick();

private:
    const books::RecordForm& m_form;
    QPointer<TClientDataSet> m_lines;
};

// The service with its page of accompanying goods.
class TfrmNewUsluga : public TfrmNewRecord {
    Q_OBJECT
public:
    TfrmNewUsluga();
    QTabWidget* PageControl1;
    QTableView* DBGrid;
    QPushButton* btnAdd;
    QPushButton* btnDelete;
    QPushButton* btnEdit;
    // The lines of the service being edited (open while the dialog is shown).
    TClientDataSet* cdsBookUsltov;
    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();

protected:
    void bindControls(TClientDataSet* ds) override;
    bool saveChanges() override;
    void afterClose() override;
    void done(int r) override;

private:
    void lineDialog(const QString& caption);
    DataSetModel* m_model;
};

class TfrmNewOperator : public TfrmNewItem {
    Q_OBJECT
public:
    TfrmNewOperator();
    bool CheckFields() override;
    QList<QCheckBox*> rights;  // in the order of the ten rights
    void rgRoleClick(int index);

protected:
    void bindControls(TClientDataSet* ds) override;

private:
    QButtonGroup* m_roles;
};

// The group dialog shared by the three tree books.
class TfrmNewGroup : public QDialog {
    Q_OBJECT
public:
    TfrmNewGroup();
    QPushButton* btnOk;
    QPushButton* btnCancel;
    // Bound by the book being shown: its groups, its group list, whether kinds show.
    void bindTo(TClientDataSet* groups, TClientDataSet* groupList, bool showKinds);
    void btnOkClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QFormLayout* m_form;
    QPointer<TClientDataSet> m_groups;
    QPointer<TClientDataSet> m_list;
    bool m_kinds = false;
};
