#pragma once
// Controls bound to a field of a client dataset: the control shows the
// current row's value and follows the cursor; what the user types or picks
// goes into the field (the dataset is put into editing first). A binding is a
// child of its control and ends with it.
//   line edit: the field's display text; written when editing finishes or the row is posted
//   combo box: a list from a lookup dataset (shown field, key ID); the field gets the key
//   date edit: a date, or nothing (the minimum date, shown blank; Delete clears)
//   check box: "T"/"F" fields
#include "data/ClientDataSet.h"

#include <QDate>
#include <QObject>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QWidget;

class TFieldBinding : public QObject, public TDataLink {
    Q_OBJECT
public:
    TFieldBinding(QWidget* control, TClientDataSet* dataSet, const QString& fieldName);
    ~TFieldBinding() override;

    TClientDataSet* dataSet() const { return m_ds; }
    QString fieldName() const { return m_fieldName; }
    TField* field() const;  // null while the dataset has no such field (closed, auto fields)

    // A read-only binding shows the value and refuses input; the field or the
    // dataset being read-only has the same effect.
    void setReadOnly(bool on);
    bool isReadOnly() const;

    // Shows the current value again.
    void refresh();
    // Writes what the control holds but the field does not yet (TDataLink).
    void updateData() override;

protected:
    virtual void showValue() = 0;
    virtual void applyReadOnly(bool readOnly) = 0;
    virtual void writeValue() {}
    // Puts the dataset into editing; false when the control may not change it.
    bool beginUserEdit();
    // Runs a user's change; an error goes to the program's error handler.
    void guarded(const std::function<void()>& fn);

    QPointer<TClientDataSet> m_ds;
    QString m_fieldName;
    bool m_updating = false;  // the binding itself is changing the control
    bool m_pending = false;   // the control holds a value not yet in the field
    bool m_readOnly = false;
};

TFieldBinding* bindLineEdit(QLineEdit* edit, TClientDataSet* dataSet, const QString& fieldName);
TFieldBinding* bindComboBox(QComboBox* combo, TClientDataSet* dataSet, const QString& fieldName,
                            TClientDataSet* listDataSet, const QString& listField,
                            const QString& keyField = QStringLiteral("ID"));
TFieldBinding* bindDateEdit(QDateEdit* edit, TClientDataSet* dataSet, const QString& fieldName);
TFieldBinding* bindCheckBox(QCheckBox* box, TClientDataSet* dataSet, const QString& fieldName,
                            const QString& checkedValue = QStringLiteral("T"),
                            const QString& uncheckedValue = QStringLiteral("F"));

// The date a bound QDateEdit shows for an empty field.
QDate nullDateOfDateEdit();
