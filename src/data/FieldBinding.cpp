#include "data/FieldBinding.h"

#include "data/DataErrors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

QDate nullDateOfDateEdit() { return QDate(1800, 1, 1); }

TFieldBinding::TFieldBinding(QWidget* control, TClientDataSet* dataSet, const QString& fieldName)
    : QObject(control), m_ds(dataSet), m_fieldName(fieldName.toUpper()) {
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
        refresh();
    }

protected:
    void showValue() override {
        TField* f = field();
        const bool has = f && m_ds && m_ds->isActive();
        m_edit->setText(has ? f->displayText() : QString());
        if (has && f->type() == TFieldType::Text && f->size() > 0) m_edit->setMaxLength(f->size());
    }
    void applyReadOnly(bool ro) override { m_edit->setReadOnly(ro); }
    void writeValue() override {
        TField* f = field();
        if (!f || !m_ds || !m_ds->isEditing()) {
            m_pending = false;
            return;
        }
        f->setAsString(m_edit->text());  // a conversion error leaves the text pending
        m_pending = false;
        refresh();
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
        edit->installEventFilter(this);
        connect(edit, &QDateEdit::dateChanged, this, [this](const QDate& d) {
            if (m_updating) return;
            guarded([this, d] {
                if (!beginUserEdit()) {
                    refresh();
                    return;
                }
                field()->setValue(d == nullDateOfDateEdit() ? fb::Value() : fb::Value(d));
            });
        });
        refresh();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_edit && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier && !isReadOnly()) {
                guarded([this] {
                    if (beginUserEdit()) field()->clear();
                    refresh();
                });
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
    void applyReadOnly(bool ro) override { m_edit->setReadOnly(ro); }

private:
    QDateEdit* m_edit;
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
