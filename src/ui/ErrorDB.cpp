#include "ui/ErrorDB.h"

#include "data/DataErrors.h"
#include "data/ErrorTexts.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace {
constexpr int kMainHeight = 188;
constexpr int kMoreHeight = 96;
constexpr int kWidth = 460;
const char* kMore = "Дополнительно >>";
const char* kLess = "Убрать <<";

QLabel* errorIcon(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName("Image1");
    l->setPixmap(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    l->setAlignment(Qt::AlignTop);
    return l;
}

// The registered window of that name, or one made for this showing only.
template <class W>
void showModal(const QString& name, const std::function<void(W*)>& fill) {
    W* w = Window<W>(name);
    std::unique_ptr<W> own;
    if (!w) {
        own = std::make_unique<W>();
        w = own.get();
    }
    fill(w);
    execModal(w);
}
}  // namespace

void ShowErrorWindow(std::exception_ptr error, TErrorExplanation how) {
    if (!error) return;
    const QString message = errorMessage(error);
    if (isDatabaseError(error)) {
        showModal<TfrmErrorDB>(QStringLiteral("frmErrorDB"), [&](TfrmErrorDB* w) {
            if (how == TErrorExplanation::Apply)
                w->Message2(message);
            else
                w->Message1(message);
        });
        return;
    }
    showModal<TfrmErrorMes>(QStringLiteral("frmErrorMes"), [&](TfrmErrorMes* w) { w->setMessage(message); });
}

void ShowErrorWindow(const QString& applyMessage) {
    showModal<TfrmErrorDB>(QStringLiteral("frmErrorDB"), [&](TfrmErrorDB* w) { w->Message2(applyMessage); });
}

TfrmErrorDB::TfrmErrorDB(QWidget* parent) : QDialog(parent) {
    setObjectName("frmErrorDB");
    setWindowTitle(QStringLiteral("Ошибка"));
    setModal(true);

    PanelMain = new QWidget(this);
    PanelMain->setObjectName("PanelMain");
    Image1 = errorIcon(PanelMain);
    MemoMes = new QPlainTextEdit(PanelMain);
    MemoMes->setObjectName("MemoMes");
    MemoMes->setReadOnly(true);
    QFont bold = MemoMes->font();
    bold.setBold(true);
    MemoMes->setFont(bold);
    btnMore = new QPushButton(QString::fromUtf8(kMore), PanelMain);
    btnMore->setObjectName("btnMore");
    btnMore->setAutoDefault(false);
    btnOk = new QPushButton(QStringLiteral("&Ok"), PanelMain);
    btnOk->setObjectName("btnOk");
    btnOk->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    top->addWidget(MemoMes, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnMore);
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    auto* mainLay = new QVBoxLayout(PanelMain);
    mainLay->addLayout(top, 1);
    mainLay->addLayout(buttons);
    PanelMain->setFixedHeight(kMainHeight);

    PanelMore = new QWidget(this);
    PanelMore->setObjectName("PanelMore");
    MemoOriginal = new QPlainTextEdit(PanelMore);
    MemoOriginal->setObjectName("MemoOriginal");
    MemoOriginal->setReadOnly(true);
    auto* moreLay = new QVBoxLayout(PanelMore);
    moreLay->setContentsMargins(9, 0, 9, 9);
    moreLay->addWidget(MemoOriginal);
    PanelMore->setFixedHeight(kMoreHeight);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(PanelMain);
    lay->addWidget(PanelMore);
    lay->setSizeConstraint(QLayout::SetFixedSize);
    setFixedWidth(kWidth);

    connect(btnMore, &QPushButton::clicked, this, &TfrmErrorDB::btnMoreClick);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    PanelMore->hide();
}

void TfrmErrorDB::btnMoreClick() {
    if (btnMore->text() == QString::fromUtf8(kMore)) {
        PanelMore->show();
        btnMore->setText(QString::fromUtf8(kLess));
    } else {
        PanelMore->hide();
        btnMore->setText(QString::fromUtf8(kMore));
    }
    adjustSize();
}

void TfrmErrorDB::fill(const QString& explanation, const QString& recommendation, const QString& message) {
    // Always open collapsed.
    btnMore->setText(QString::fromUtf8(kLess));
    btnMoreClick();
    MemoMes->setPlainText(explanation + QStringLiteral("\n") + recommendation);
    MemoOriginal->setPlainText(QString(originalMessageText(message)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TfrmErrorDB::Message1(const QString& message) {
    const ErrorExplanation e = explainRaisedError(message);
    fill(e.explanation, e.recommendation, message);
}

void TfrmErrorDB::Message2(const QString& message) {
    const ErrorExplanation e = explainApplyError(message);
    fill(e.explanation, e.recommendation, message);
}

QString TfrmErrorDB::explanationText() const { return MemoMes->toPlainText(); }
QString TfrmErrorDB::originalText() const { return MemoOriginal->toPlainText(); }
bool TfrmErrorDB::isExpanded() const { return !PanelMore->isHidden(); }

void TfrmErrorDB::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    btnOk->setFocus();
}

TfrmErrorMes::TfrmErrorMes(QWidget* parent) : QDialog(parent) {
    setObjectName("frmErrorMes");
    setWindowTitle(QStringLiteral("Ошибка"));
    setModal(true);
    auto* icon = errorIcon(this);
    MemoMes = new QPlainTextEdit(this);
    MemoMes->setObjectName("MemoMes");
    MemoMes->setReadOnly(true);
    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setObjectName("btnOk");
    btnOk->setDefault(true);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(MemoMes, 1);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top, 1);
    auto* b = new QHBoxLayout;
    b->addStretch(1);
    b->addWidget(btnOk);
    lay->addLayout(b);
    setFixedSize(kWidth, 200);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmErrorMes::setMessage(const QString& text) { MemoMes->setPlainText(text); }
QString TfrmErrorMes::messageText() const { return MemoMes->toPlainText(); }

void TfrmErrorMes::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    btnOk->setFocus();
}
