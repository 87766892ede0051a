#include "orders/ui/LineDialog.h"

#include "data/ClientDataSet.h"
#include "ui/FieldBinding.h"
#include "ui/Help.h"
#include "ui/MessageBoxes.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>

TLineDialog::TLineDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);  // Enter confirms
    btnOk->setAutoDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    BitBtn1 = new QPushButton(QStringLiteral("?"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QStringLiteral("Справка"));
    BitBtn1->setAutoDefault(false);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects too
    connect(BitBtn1, &QPushButton::clicked, this, [this] { HelpContext(this, QStringLiteral("_docum_pos_edit.htm")); });
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, BitBtn1, &QPushButton::click);
}

void TLineDialog::setLine(TClientDataSet* lines, int kindDocId, std::function<void(bool)> setModified) {
    m_lines = lines;
    m_kindDocId = kindDocId;
    m_setModified = std::move(setModified);
}

QWidget* TLineDialog::makeButtons() {
    auto* w = new QWidget(this);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(BitBtn1);
    h->addStretch();
    h->addWidget(btnOk);
    h->addWidget(btnCancel);
    return w;
}

void TLineDialog::AddZapis() {
    if (m_lines && m_lines->isEditing()) m_lines->post();
    if (m_setModified) m_setModified(true);
}

bool TLineDialog::CheckFilled(TDocuLineKind kind) {
    const QStringList missing = MissingDocuLineFields(kind, m_lines);
    if (missing.isEmpty()) return true;
    TitledMessageBox(MissingFieldsMessage(missing), mbWarningOk);
    return false;
}

void TLineDialog::done(int r) {
    beforeClose();
    if (m_lines && m_lines->isEditing()) m_lines->cancel();
    QDialog::done(r);
}

void TLineDialog::bindFields() {
    if (m_bound == m_lines) return;
    qDeleteAll(m_bindings);
    m_bindings.clear();
    m_bound = m_lines;
    if (m_lines) m_bindings = makeBindings(m_lines);
}
