#pragma once
// Controls bound to a field of a client dataset: the control shows the
// current row's value and follows the cursor; what the user types or picks
// goes into the field (the dataset is put into editing first). A binding is a
// child of its control and ends with it.
//   line edit: the field's display text; written when editing finishes or the row is posted
//   combo box: a list from a lookup dataset (shown field, key ID); the field gets the key
//   date edit: a date, or nothing (the minimum date, shown blank; Delete clears)
//   check box: "T"/"F" fields
// A value the field cannot take (letters for a number, a number too large, a
// value outside the binding's range) is refused with a message that names the
// control by its label; the control gets the field's value back and keeps the
// focus. A read-only binding gives its control the read-only look.
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

    // Integer values outside lo..hi are refused.
    void setRange(qint64 lo, qint64 hi);
    // The name the messages use: the text of the control's label (its buddy),
    // else its accessible name, else the field's display label.
    QString controlLabel() const;
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
    // Writes a typed text into the field; a refused text is reported under the
    // control's label, the field's value comes back and the control keeps the focus.
    // False when the text was refused.
    bool writeText(const QString& text);

    QPointer<TClientDataSet> m_ds;
    QString m_fieldName;
    bool m_updating = false;  // the binding itself is changing the control
    bool m_pending = false;   // the control holds a value not yet in the field
    bool m_readOnly = false;
    bool m_hasRange = false;
    qint64 m_lo = 0, m_hi = 0;
    QWidget* m_control;
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

// The desktop's look of a read-only box (the window colour as background), or
// the editable look again.
void setReadOnlyLook(QWidget* control, bool readOnly);
