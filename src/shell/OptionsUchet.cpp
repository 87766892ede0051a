#include "shell/OptionsUchet.h"
#include "ui/DialogButtons.h"

#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/DataErrors.h"
#include "data/DataModule.h"
#include "ui/FieldBinding.h"
#include "ui/ErrorDB.h"
#include "ui/Help.h"
#include "session/UchetVariables.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

TfrmOptionsUchet::TfrmOptionsUchet(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmOptionsUchet"));
    setWindowTitle(QStringLiteral("Настройки учета"));
    setModal(true);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    tsSved = new QWidget;
    tsSved->setObjectName(QStringLiteral("tsSved"));
    tsParam = new QWidget;
    tsParam->setObjectName(QStringLiteral("tsParam"));
    PageControl1->addTab(tsSved, QStringLiteral("Сведения"));
    PageControl1->addTab(tsParam, QStringLiteral("Параметры"));

    auto makeEdit = [](QWidget* page, QVBoxLayout* lay, const char* name, const char* label) {
        auto* l = new QLabel(QString::fromUtf8(label), page);
        auto* e = new QLineEdit(page);
        e->setObjectName(QString::fromLatin1(name));
        l->setBuddy(e);
        lay->addWidget(l);
        lay->addWidget(e);
        return e;
    };

    // "Сведения": labels above their fields, in reading order.
    auto* sved = new QVBoxLayout(tsSved);
    sved->setSpacing(2);
    edNameOrg = makeEdit(tsSved, sved, "edNameOrg", "Название организации");
    edNameOrg->setReadOnly(true);
    edRukovod = makeEdit(tsSved, sved, "edRukovod", "Руководитель");
    edGlavbuh = makeEdit(tsSved, sved, "edGlavbuh", "Главный бухгалтер");
    edAdresOrg = makeEdit(tsSved, sved, "edAdresOrg", "Адрес");
    edPhoneOrg = makeEdit(tsSved, sved, "edPhoneOrg", "Телефон");
    edINN = makeEdit(tsSved, sved, "edINN", "ИНН");
    edKPP = makeEdit(tsSved, sved, "edKPP", "КПП");
    edOGRN = makeEdit(tsSved, sved, "edOGRN", "ОГРН");
    edBankname = makeEdit(tsSved, sved, "edBankname", "Наименование банка");
    edBankBik = makeEdit(tsSved, sved, "edBankBik", "БИК");
    edSchet = makeEdit(tsSved, sved, "edSchet", "Счет");
    edKorSchet = makeEdit(tsSved, sved, "edKorSchet", "Корр.счет");
    sved->addStretch(1);

    // "Параметры", top to bottom.
    auto* param = new QVBoxLayout(tsParam);
    param->setSpacing(2);
    edSerdef = makeEdit(tsParam, param, "edSerdef", "Серия документов");
    edDVDelta = makeEdit(tsParam, param, "edDVDelta", "Срок выполн., дней (умолч.)");
    // Digits and a sign only; anything else is refused with a beep.
    edDVDelta->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?[0-9]*")), edDVDelta));
    connect(edDVDelta, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
    edVremdef = makeEdit(tsParam, param, "edVremdef", "Время выдачи (умолч.)");
    edDened = makeEdit(tsParam, param, "edDened", "Денежная единица");
    param->addSpacing(8);
    chbAutoSklad = new QCheckBox(QStringLiteral("Автоматически списывать со склада сопутствующие товары"), tsParam);
    chbAutoSklad->setObjectName(QStringLiteral("chbAutoSklad"));
    param->addWidget(chbAutoSklad);
    param->addStretch(1);

    const DialogButtons buttons = MakeDialogButtons(this);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;
    BitBtn1 = buttons.help;
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(PageControl1, 1);
    lay->addLayout(buttons.row);
    setFixedSize(sizeHint().expandedTo(QSize(440, 560)));

    connect(btnOk, &QPushButton::clicked, this, &TfrmOptionsUchet::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmOptionsUchet::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmOptionsUchet::BitBtn1Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &TfrmOptionsUchet::BitBtn1Click);
}

// The bindings are made at the first showing: the data module may not exist
// yet when the window is created.
void TfrmOptionsUchet::bindFields() {
    if (m_bound) return;
    TClientDataSet* ds = DM().cdsUchInfo;
    bindLineEdit(edNameOrg, ds, QStringLiteral("NAMEORG"))->setReadOnly(true);
    bindLineEdit(edRukovod, ds, QStringLiteral("RUKOVOD"));
    bindLineEdit(edGlavbuh, ds, QStringLiteral("GLAVBUH"));
    bindLineEdit(edAdresOrg, ds, QStringLiteral("ADRESORG"));
    bindLineEdit(edPhoneOrg, ds, QStringLiteral("PHONEORG"));
    bindLineEdit(edINN, ds, QStringLiteral("INN"));
    bindLineEdit(edKPP, ds, QStringLiteral("KPP"));
    bindLineEdit(edOGRN, ds, QStringLiteral("OGRN"));
    bindLineEdit(edBankname, ds, QStringLiteral("BANKNAME"));
    bindLineEdit(edBankBik, ds, QStringLiteral("BANKBIK"));
    bindLineEdit(edSchet, ds, QStringLiteral("SCHET"));
    bindLineEdit(edKorSchet, ds, QStringLiteral("KORSCHET"));
    bindLineEdit(edSerdef, ds, QStringLiteral("SERDEF"));
    // Up to ten years; a larger term would give every new order an impossible date.
    bindLineEdit(edDVDelta, ds, QStringLiteral("DVDELTA"))->setRange(kDVDeltaMin, kDVDeltaMax);
    bindLineEdit(edVremdef, ds, QStringLiteral("VREMDEF"));
    bindLineEdit(edDened, ds, QStringLiteral("DENED"));
    bindCheckBox(chbAutoSklad, ds, QStringLiteral("AUTOSKLAD"));
    m_bound = true;
}

void TfrmOptionsUchet::showEvent(QShowEvent* e) {
    bindFields();
    for (auto* b : findChildren<TFieldBinding*>()) {
        // Messages about a field name it as its box's label does.
        if (TField* f = b->field()) f->setDisplayLabel(b->controlLabel());
        b->refresh();
    }
    QDialog::showEvent(e);
}

void TfrmOptionsUchet::UpdateVariables() { UpdateUchetOptions(); }

bool TfrmOptionsUchet::SaveChanges() {
    TClientDataSet* ds = DM().cdsUchInfo;
    try {
        if (ds->isEditing()) ds->post();
    } catch (const std::exception& e) {
        if (!isDatabaseError(e)) throw;  // the application-wide handler shows the rest
        ShowErrorWindow(std::current_exception(), TErrorExplanation::Raised);
        return false;
    }
    if (ds->applyUpdates() != 0) {
        ShowErrorWindow(ds->lastApplyError());
        return false;
    }
    UpdateVariables();
    return true;
}

void TfrmOptionsUchet::btnOkClick() {
    if (SaveChanges()) accept();
}

void TfrmOptionsUchet::reject() {
    if (DMExists()) {
        TClientDataSet* ds = DM().cdsUchInfo;
        if (ds->isActive()) {
            if (ds->isEditing()) ds->cancel();
            ds->cancelUpdates();
        }
    }
    QDialog::reject();
}

void TfrmOptionsUchet::BitBtn1Click() {
    HelpContext(this, PageControl1->currentWidget() == tsParam ? QStringLiteral("_options_param.htm")
                                                               : QStringLiteral("_options_sved.htm"));
}
