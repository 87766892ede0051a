#include "ui/FieldBinding.h"

#include "data/DataErrors.h"
#include "data/TypedInput.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>


QDate nullDateOfDateEdit() { return QDate(1800, 1, 1); }

void setReadOnlyLook(QWidget* control, bool readOnly) {
    if (!control) return;
    const QPalette desktop = QApplication::palette(control);
    QPalette p = control->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, desktop.color(group, readOnly ? QPalette::Window : QPalette::Base));
    control->setPalette(p);
    control->setProperty("readOnlyLook", readOnly);
}

TFieldBinding::TFieldBinding(QWidget* control, TClientDataSet* dataSet, const QString& fieldName)
    : QObject(control), m_ds(dataSet), m_fieldName(fieldName.toUpper()), m_control(control) {
    if (!dataSet) return;
    dataSet->addDataLink(this);
    connect(dataSet, &TClientDataSet::currentChanged, this, [this] {
        m_pending = false;
        refresh();
    });
    connect(dataSet, &TClientDataSet::dataChanged, this, &TFieldBinding::refresh);
    connect(dataSet, &TClientDataSet::fieldsChanged, this, &TFieldBinding::refresh);
    connect(dataSet, &TClientDataSet::stateChanged, this, [this] {
        if (!m_ds->isEditing()) m_pending = false;  // posted or cancelled: the field decides again
        refresh();
    });
    connect(dataSet, &TClientDataSet::rowChanged, this, [this](int row) {
        if (row == m_ds->recNo()) refresh();
    });
}

TFieldBinding::~TFieldBinding() {
    if (m_ds) m_ds->removeDataLink(this);
}

TField* TFieldBinding::field() const { return m_ds ? m_ds->findField(m_fieldName) : nullptr; }

void TFieldBinding::setReadOnly(bool on) {
    m_readOnly = on;
    refresh();
}

bool TFieldBinding::isReadOnly() const {
    if (m_readOnly || !m_ds || m_ds->isReadOnly()) return true;
    TField* f = field();
    return f && f->isReadOnly();
}

void TFieldBinding::refresh() {
    if (m_pending) return;  // keep what the user is typing
    m_updating = true;
    try {
        showValue();
    } catch (...) {
        m_updating = false;
        handleUiError(std::current_exception());
        return;
    }
    applyReadOnly(isReadOnly());
    m_updating = false;
}

void TFieldBinding::updateData() {
    if (!m_pending) return;
    writeValue();
}

void TFieldBinding::setRange(qint64 lo, qint64 hi) {
    m_hasRange = true;
    m_lo = lo;
    m_hi = hi;
}

QString TFieldBinding::controlLabel() const {
    if (m_control) {
        QWidget* owner = m_control->parentWidget();
        // An editable combo box's line edit goes by the combo box's label.
        QWidget* target = qobject_cast<QComboBox*>(owner) ? owner : m_control;
        const auto labels = m_control->window()->findChildren<QLabel*>();
        for (QLabel* l : labels)
            if (l->buddy() == target && !l->text().isEmpty()) return FieldLabelFromCaption(l->text());
        if (!target->accessibleName().isEmpty()) return FieldLabelFromCaption(target->accessibleName());
    }
    TField* f = field();
    return f ? f->displayLabel() : m_fieldName;
}

bool TFieldBinding::writeText(const QString& text) {
    TField* f = field();
    if (!f) return true;
    const QString error = WriteFieldText(*f, controlLabel(), text, m_hasRange, m_lo, m_hi);
    if (error.isEmpty()) {
        m_pending = false;
        refresh();
        return true;
    }
    // The field keeps its value and shows it again; the control keeps the focus.
    m_pending = false;
    refresh();
    QPointer<QWidget> control = m_control;
    handleUiError(std::make_exception_ptr(EConvertError(error)));
    const auto back = [control] {
        if (!control) return;
        control->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(control.data())) e->selectAll();
    };
    back();
    QMetaObject::invokeMethod(control, back, Qt::QueuedConnection);  // after a focus move in progress
    return false;
}

bool TFieldBinding::beginUserEdit() {
    if (isReadOnly() || !m_ds || !m_ds->isActive() || !field()) return false;
    if (!m_ds->isEditing()) m_ds->edit();
    return true;
}

void TFieldBinding::guarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (...) {
        handleUiError(std::current_exception());
    }
}

namespace {

// --- QLineEdit -------------------------------------------------------------

class LineEditBinding : public TFieldBinding {
public:
    LineEditBinding(QLineEdit* edit, TClientDataSet* ds, const QString& fieldName)
        : TFieldBinding(edit, ds, fieldName), m_edit(edit) {
        connect(edit, &QLineEdit::textEdited, this, [this] {
            if (m_updating) return;
            m_pending = true;
            guarded([this] {
                if (!beginUserEdit()) {
                    m_pending = false;
                    refresh();
                }
            });
        });
        connect(edit, &QLineEdit::editingFinished, this, [this] { guarded([this] { updateData(); }); });
        edit->installEventFilter(this);
        refresh();
    }

    // Enter with a refused value goes no further (a dialog's default button
    // would otherwise take the old value and close).
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_edit && event->type() == QEvent::KeyPress && m_pending) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                bool ok = true;
                guarded([&] {
                    if (m_ds && m_ds->isEditing() && field()) ok = writeText(m_edit->text());
                });
                if (!ok) return true;
            }
        }
        return TFieldBinding::eventFilter(watched, event);
    }

protected:
    void showValue() override {
        TField* f = field();
        const bool has = f && m_ds && m_ds->isActive();
        m_edit->setText(has ? f->displayText() : QString());
        if (has && f->type() == TFieldType::Text && f->size() > 0) m_edit->setMaxLength(f->size());
        if (!m_edit->hasFocus()) m_edit->setCursorPosition(0);  // a long text shows its beginning
        if (has && f->isNumeric()) m_edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    void applyReadOnly(bool ro) override {
        m_edit->setReadOnly(ro);
        setReadOnlyLook(m_edit, ro);
    }
    void writeValue() override {
        TField* f = field();
        if (!f || !m_ds || !m_ds->isEditing()) {
            m_pending = false;
            return;
        }
        writeText(m_edit->text());
    }

private:
    QLineEdit* m_edit;
};

// --- QComboBox with a lookup list ------------------------------------------

QVariant keyVariant(const fb::Value& v) {
    using K = fb::Value::Kind;
    switch (v.kind()) {
    case K::Null: return {};
    case K::Int: return QVariant(qlonglong(v.toInt()));
    case K::Dec: {
        const fb::Decimal d = v.toDecimal();
        if (d.rounded(0) == d) return QVariant(qlonglong(d.toScaled(0)));
        return QVariant(d.toPlainString());
    }
    default: return QVariant(v.toString());
    }
}

fb::Value keyValue(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return {};
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) return fb::Value(qint64(v.toLongLong()));
    return fb::Value(v.toString());
}

class ComboBinding : public TFieldBinding {
public:
    ComboBinding(QComboBox* combo, TClientDataSet* ds, const QString& fieldName, TClientDataSet* list,
                 const QString& listField, const QString& keyField)
        : TFieldBinding(combo, ds, fieldName), m_combo(combo), m_list(list), m_listField(listField.toUpper()),
          m_keyField(keyField.toUpper()) {
        if (list) {
            connect(list, &TClientDataSet::dataChanged, this, [this] {
                fillItems();
                refresh();
            });
        }
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this](int index) {
            guarded([this, index] {
                if (!beginUserEdit()) {
                    refresh();
                    return;
                }
                field()->setValue(keyValue(m_combo->itemData(index)));
            });
        });
        fillItems();
        refresh();
    }

protected:
    void fillItems() {
        m_updating = true;
        m_combo->clear();
        TField* shown = m_list ? m_list->findField(m_listField) : nullptr;
        TField* key = m_list ? m_list->findField(m_keyField) : nullptr;
        if (m_list && m_list->isActive() && shown && key) {
            for (int r = 0; r < m_list->recordCount(); ++r)
                m_combo->addItem(m_list->displayTextAt(r, shown->index()),
                                 keyVariant(m_list->valueAt(r, key->index())));
        }
        m_updating = false;
    }
    void showValue() override {
        TField* f = field();
        const QVariant key = (f && m_ds && m_ds->isActive()) ? keyVariant(f->value()) : QVariant();
        m_combo->setCurrentIndex(key.isValid() ? m_combo->findData(key) : -1);
    }
    void applyReadOnly(bool ro) override { m_combo->setEnabled(!ro); }

private:
    QComboBox* m_combo;
    QPointer<TClientDataSet> m_list;
    QString m_listField, m_keyField;
};

// --- QDateEdit with an empty value -----------------------------------------

class DateBinding : public TFieldBinding {
public:
    DateBinding(QDateEdit* edit, TClientDataSet* ds, const QString& fieldName)
        : TFieldBinding(edit, ds, fieldName), m_edit(edit) {
        edit->setMinimumDate(nullDateOfDateEdit());
        edit->setSpecialValueText(QStringLiteral(" "));
        // A typed date goes into the field once it is complete (Enter, Tab, leaving
        // the box), never digit by digit.
        edit->setKeyboardTracking(false);
        m_popup = edit->calendarPopup();
        edit->installEventFilter(this);
        connect(edit, &QDateEdit::dateChanged, this, [this] {
            if (!m_updating) commit();
        });
        connect(edit, &QDateEdit::editingFinished, this, [this] {
            if (!m_updating) commit();
        });
        refresh();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_edit && event->type() == QEvent::FocusOut && !m_typed.isEmpty()) finishTyping();
        if (watched == m_edit && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier && !isReadOnly()) {
                guarded([this] {
                    m_typed.clear();
                    m_pending = false;
                    if (beginUserEdit()) field()->clear();
                    refresh();
                });
                return true;
            }
            // Typing digits replaces the whole date: what was typed is read when the
            // box is left (Tab, Enter, a click elsewhere), never digit by digit.
            const QString text = key->text();
            const QChar ch = text.size() == 1 ? text.at(0) : QChar();
            const bool separator = ch == QLatin1Char('.') || ch == QLatin1Char(',') || ch == QLatin1Char('/') ||
                                   ch == QLatin1Char('-');
            const bool typing = !m_typed.isEmpty();
            if (!isReadOnly() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
                (ch.isDigit() || (typing && separator))) {
                m_typed += separator ? QStringLiteral(".") : QString(ch);
                showTyped();
                return true;
            }
            if (typing && key->key() == Qt::Key_Backspace) {
                m_typed.chop(1);
                if (m_typed.isEmpty()) {
                    m_pending = false;
                    refresh();
                } else {
                    showTyped();
                }
                return true;
            }
            if (typing && key->key() == Qt::Key_Escape) {
                m_typed.clear();
                m_pending = false;
                refresh();
                return true;
            }
            const bool modifierOnly = key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control ||
                                      key->key() == Qt::Key_Alt || key->key() == Qt::Key_Meta ||
                                      key->key() == Qt::Key_AltGr || key->key() == Qt::Key_CapsLock ||
                                      key->key() == Qt::Key_NumLock;
            if (typing && modifierOnly) return false;
            if (typing && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
                if (!finishTyping()) return true;
                return false;
            }
            // Tab leaves the box (the sections are walked with the arrow keys and the separators).
            if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                if (!finishTyping()) return true;
                commit();
                const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
                focusNeighbour(forward);
                return true;
            }
        }
        return TFieldBinding::eventFilter(watched, event);
    }

protected:
    void showValue() override {
        TField* f = field();
        const QDate d = (f && m_ds && m_ds->isActive()) ? f->asDate() : QDate();
        const QDate shown = d.isValid() ? d : nullDateOfDateEdit();
        if (m_edit->date() != shown) m_edit->setDate(shown);  // leave the user's typing position alone
    }
    void applyReadOnly(bool ro) override {
        m_edit->setReadOnly(ro);
        m_edit->setCalendarPopup(m_popup && !ro);
        m_edit->setButtonSymbols(ro ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
        setReadOnlyLook(m_edit, ro);
    }

    void writeValue() override {
        if (!m_typed.isEmpty()) finishTyping();
        commit();
    }

private:
    // The date the box holds goes into the field when it differs.
    void commit() {
        m_pending = false;
        guarded([this] {
            TField* f = field();
            if (!f || !m_ds || !m_ds->isActive()) return;
            const QDate d = m_edit->date();
            const fb::Value v = d == nullDateOfDateEdit() ? fb::Value() : fb::Value(d);
            const QDate now = f->isNull() ? QDate() : f->asDate();
            if ((v.isNull() && !now.isValid()) || (!v.isNull() && now == d)) return;
            if (!beginUserEdit()) {
                refresh();
                return;
            }
            f->setValue(v);
        });
    }
    // The box's own text for its date (after a typed text was shown in it).
    void showDate() {
        auto* line = m_edit->findChild<QLineEdit*>();
        if (!line) return;
        const QSignalBlocker quiet(line);  // the box's own reading of its text stays out of it
        line->setText(m_edit->date() == m_edit->minimumDate() && !m_edit->specialValueText().isEmpty()
                          ? m_edit->specialValueText()
                          : m_edit->date().toString(m_edit->displayFormat()));
    }
    void showTyped() {
        m_pending = true;
        if (auto* line = m_edit->findChild<QLineEdit*>()) {
            const QSignalBlocker quiet(line);  // shown only: the box reads it when it is left
            line->setText(m_typed);
            line->setCursorPosition(int(m_typed.size()));
        }
    }
    // Reads what was typed: the date goes into the box and the field, or a
    // refusal is said and the field's date comes back. False when refused.
    bool finishTyping() {
        if (m_typed.isEmpty()) return true;
        const QString typed = m_typed;
        m_typed.clear();
        m_pending = false;
        const QDate shown = m_edit->date() == nullDateOfDateEdit() ? QDate::currentDate() : m_edit->date();
        const QDate d =
            ReadTypedDate(typed, shown, nullDateOfDateEdit(), m_edit->minimumDate(), m_edit->maximumDate());
        if (!d.isValid()) {
            refresh();
            showDate();
            QPointer<QWidget> control = m_edit;
            handleUiError(std::make_exception_ptr(EConvertError(TypedDateRefusal(controlLabel(), typed))));
            if (control) control->setFocus();
            QMetaObject::invokeMethod(control, [control] { if (control) control->setFocus(); }, Qt::QueuedConnection);
            return false;
        }
        if (m_edit->date() == d) {
            commit();
        } else {
            m_edit->setDate(d);  // the box and, through dateChanged, the field
        }
        showDate();
        return true;
    }
    void focusNeighbour(bool forward) {
        struct Access : QWidget {
            static bool step(QWidget* w, bool next) { return (w->*(&Access::focusNextPrevChild))(next); }
        };
        Access::step(m_edit->window(), forward);
    }

    QDateEdit* m_edit;
    bool m_popup = false;
    QString m_typed;  // digits and separators typed since the box was entered
};

// --- QCheckBox for "T"/"F" -------------------------------------------------

class CheckBinding : public TFieldBinding {
public:
    CheckBinding(QCheckBox* box, TClientDataSet* ds, const QString& fieldName, QString on, QString off)
        : TFieldBinding(box, ds, fieldName), m_box(box), m_on(std::move(on)), m_off(std::move(off)) {
        connect(box, &QCheckBox::clicked, this, [this](bool checked) {
            guarded([this, checked] {
                if (!beginUserEdit()) {
                    refresh();
                    return;
                }
                field()->setAsString(checked ? m_on : m_off);
            });
        });
        refresh();
    }

protected:
    void showValue() override {
        TField* f = field();
        const bool on = f && m_ds && m_ds->isActive() &&
                        f->asString().trimmed().compare(m_on, Qt::CaseInsensitive) == 0;
        m_box->setChecked(on);
    }
    void applyReadOnly(bool ro) override { m_box->setEnabled(!ro); }

private:
    QCheckBox* m_box;
    QString m_on, m_off;
};

}  // namespace

TFieldBinding* bindLineEdit(QLineEdit* edit, TClientDataSet* dataSet, const QString& fieldName) {
    return new LineEditBinding(edit, dataSet, fieldName);
}

TFieldBinding* bindComboBox(QComboBox* combo, TClientDataSet* dataSet, const QString& fieldName,
                            TClientDataSet* listDataSet, const QString& listField, const QString& keyField) {
    return new ComboBinding(combo, dataSet, fieldName, listDataSet, listField, keyField);
}

TFieldBinding* bindDateEdit(QDateEdit* edit, TClientDataSet* dataSet, const QString& fieldName) {
    return new DateBinding(edit, dataSet, fieldName);
}

TFieldBinding* bindCheckBox(QCheckBox* box, TClientDataSet* dataSet, const QString& fieldName,
                            const QString& checkedValue, const QString& uncheckedValue) {
    return new CheckBinding(box, dataSet, fieldName, checkedValue, uncheckedValue);
}
