#include "reports/ui/DesignerProperties.h"

#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFontComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <cmath>
#include <memory>

namespace {

// Calls `done` when the watched widget loses the focus.
class FocusOutWatch : public QObject {
public:
    FocusOutWatch(QObject* parent, std::function<void()> done) : QObject(parent), m_done(std::move(done)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::FocusOut) m_done();
        return QObject::eventFilter(o, e);
    }
private:
    std::function<void()> m_done;
};

}  // namespace

TfrPropertyEditor::TfrPropertyEditor(TfrDesignDocument* doc, QWidget* parent) : QTableWidget(parent), m_doc(doc) {
    setObjectName(QStringLiteral("tblProperties"));
    setColumnCount(2);
    setHorizontalHeaderLabels({QStringLiteral("Свойство"), QStringLiteral("Значение")});
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(doc, &TfrDesignDocument::changed, this, &TfrPropertyEditor::scheduleRefresh);
    connect(doc, &TfrDesignDocument::selectionChanged, this, &TfrPropertyEditor::scheduleRefresh);
    refresh();
}

TfrPropertyEditor::~TfrPropertyEditor() {
    for (const QPointer<QObject>& w : m_watches) delete w.data();
}

void TfrPropertyEditor::scheduleRefresh() {
    // An editor may be the one whose signal caused the change: it goes after that signal.
    if (m_pending) return;
    m_pending = true;
    QTimer::singleShot(0, this, &TfrPropertyEditor::refresh);
}

QWidget* TfrPropertyEditor::editorFor(const QString& caption) const {
    for (int r = 0; r < rowCount(); ++r)
        if (item(r, 0) && item(r, 0)->text() == caption) return cellWidget(r, 1);
    return nullptr;
}

void TfrPropertyEditor::refresh() {
    m_pending = false;
    // the text editors about to go must not commit while they are destroyed
    for (const QPointer<QObject>& w : m_watches) delete w.data();
    m_watches.clear();
    setRowCount(0);
    for (const TfrPropertySection& s : frPropertySections(*m_doc)) {
        section(s.title);
        for (const TfrPropertyRow& r : s.rows) row(r);
    }
}

void TfrPropertyEditor::apply(const TfrPropertyRow& property, const QVariant& value) {
    if (const std::optional<QString> refusal = frApplyProperty(*m_doc, property, value)) {
        TitledMessageBox(*refusal, mbWarningOk);
        scheduleRefresh();
    }
}

std::shared_ptr<QVariant> TfrPropertyEditor::lastValue(const TfrPropertyRow& property) {
    return std::make_shared<QVariant>(property.value);
}

void TfrPropertyEditor::finish(const TfrPropertyRow& property, QVariant& last, const QVariant& typed) {
    const std::optional<QVariant> value = frEditedValue(property, last, typed);
    if (!value) return;
    last = *value;
    apply(property, *value);
}

void TfrPropertyEditor::section(const QString& title) {
    const int r = rowCount();
    insertRow(r);
    auto* it = new QTableWidgetItem(title);
    QFont f = it->font();
    f.setBold(true);
    it->setFont(f);
    it->setBackground(palette().alternateBase());
    setItem(r, 0, it);
    setSpan(r, 0, 1, 2);
}

void TfrPropertyEditor::row(const TfrPropertyRow& property) {
    QWidget* e = editor(property);
    const int r = rowCount();
    insertRow(r);
    setItem(r, 0, new QTableWidgetItem(property.caption));
    setCellWidget(r, 1, e);
    if (qobject_cast<QPlainTextEdit*>(e)) setRowHeight(r, fontMetrics().height() * 4);
}

// The editor of a row's kind; Enter, the loss of focus or a pick finishes an
// edit, and a value goes in once, only when it differs from the one before.
QWidget* TfrPropertyEditor::editor(const TfrPropertyRow& p) {
    switch (p.kind) {
    case TfrPropertyKind::Number: {
        auto* e = new QDoubleSpinBox;
        e->setDecimals(2);
        e->setRange(p.min, p.max);
        e->setSingleStep(0.5);
        e->setValue(p.value.toDouble());
        e->setKeyboardTracking(false);
        e->setFrame(false);
        connect(e, &QDoubleSpinBox::editingFinished, this, [this, e, last = lastValue(p), p] { finish(p, *last, e->value()); });
        return e;
    }
    case TfrPropertyKind::Text: {
        auto* e = new QLineEdit(p.value.toString());
        e->setFrame(false);
        connect(e, &QLineEdit::editingFinished, this, [this, e, last = lastValue(p), p] { finish(p, *last, e->text()); });
        return e;
    }
    case TfrPropertyKind::Multiline: {
        auto* e = new QPlainTextEdit(p.value.toString());
        e->setTabChangesFocus(true);
        e->setFrameShape(QFrame::NoFrame);
        auto* watch = new FocusOutWatch(e, [this, e, last = lastValue(p), p] { finish(p, *last, e->toPlainText()); });
        e->installEventFilter(watch);
        m_watches.emplace_back(watch);
        return e;
    }
    case TfrPropertyKind::Check: {
        auto* e = new QCheckBox;
        e->setChecked(p.value.toBool());
        connect(e, &QCheckBox::toggled, this, [this, p](bool on) {
            QVariant last = p.value;
            finish(p, last, on);
        });
        return e;
    }
    case TfrPropertyKind::Choice: {
        auto* e = new QComboBox;
        e->addItems(p.items);
        e->setCurrentIndex(p.value.toInt());
        e->setFrame(false);
        connect(e, &QComboBox::activated, this, [this, p](int i) {
            QVariant last = p.value;  // a pick is weighed against the shown value
            finish(p, last, i);
        });
        return e;
    }
    case TfrPropertyKind::EditableChoice: {
        auto* e = new QComboBox;
        e->setEditable(true);
        e->addItems(p.items);
        e->setCurrentText(p.value.toString());
        e->setFrame(false);
        auto commit = [this, e, last = lastValue(p), p] { finish(p, *last, e->currentText()); };
        connect(e, &QComboBox::activated, this, commit);
        connect(e->lineEdit(), &QLineEdit::editingFinished, this, commit);
        return e;
    }
    case TfrPropertyKind::FontFamily: {
        auto* e = new QFontComboBox;
        e->setCurrentFont(QFont(p.value.toString()));
        e->setFrame(false);
        connect(e, &QFontComboBox::activated, this, [this, e, p](int) {
            QVariant last = p.value;
            finish(p, last, e->currentFont().family());
        });
        return e;
    }
    }
    return new QWidget;
}
