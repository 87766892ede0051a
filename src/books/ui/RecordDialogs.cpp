#include "books/ui/RecordDialogs.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "books/core/BookRules.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "ui/DataSetModel.h"
#include "ui/FieldBinding.h"
#include "ui/AppErrorHandler.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLineEdit* lineEdit(QWidget* parent, QFormLayout* form, const QString& name, const QString& label) {
    auto* ed = new QLineEdit(parent);
    ed->setObjectName(name);
    if (form) form->addRow(label, ed);
    return ed;
}

const QString kCode = QStringLiteral("Код");

}  // namespace

// --- table-driven record dialogs ---------------------------------------------

TfrmNewRecord::TfrmNewRecord(const QString& dialog, QWidget* parent)
    : TfrmNewItem(parent), m_form(books::RecordFormOf(dialog)) {
    for (const books::RecordControl& c : m_form.controls) {
        QWidget* w = nullptr;
        if (c.kind == books::RecordControl::Edit) {
            w = new QLineEdit(PanelMain);
        } else if (c.kind == books::RecordControl::Date) {
            auto* d = new QDateEdit(PanelMain);
            d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
            w = d;
        } else {
            w = new QComboBox(PanelMain);
        }
        w->setObjectName(c.objectName);
        form->addRow(c.label, w);
    }
}

void TfrmNewRecord::bindControls(TClientDataSet* ds) {
    for (const books::RecordControl& c : m_form.controls) {
        QWidget* w = findChild<QWidget*>(c.objectName);
        if (c.kind == books::RecordControl::Edit) bindLineEdit(static_cast<QLineEdit*>(w), ds, c.field);
        else if (c.kind == books::RecordControl::Date) bindDateEdit(static_cast<QDateEdit*>(w), ds, c.field);
        else bindComboBox(static_cast<QComboBox*>(w), ds, c.field, GroupList, QStringLiteral("FULLPATH"));
    }
}

bool TfrmNewRecord::CheckFields() {
    const QString text = books::RecordRefusal(m_form, *EditedDataSet);
    if (text.isEmpty()) return true;
    TitledMessageBox(text, mbWarningOk);
    return false;
}

TfrmNewColor::TfrmNewColor() : TfrmNewRecord(QStringLiteral("frmNewColor")) {}
TfrmNewMaterial::TfrmNewMaterial() : TfrmNewRecord(QStringLiteral("frmNewMaterial")) {}
TfrmNewComment::TfrmNewComment() : TfrmNewRecord(QStringLiteral("frmNewComment")) {}
TfrmNewZakazch::TfrmNewZakazch() : TfrmNewRecord(QStringLiteral("frmNewZakazch")) {}
TfrmNewProduct::TfrmNewProduct() : TfrmNewRecord(QStringLiteral("frmNewProduct")) {}
TfrmNewTovar::TfrmNewTovar() : TfrmNewRecord(QStringLiteral("frmNewTovar")) {}

// --- accompanying goods line -------------------------------------------------

TfrmNewUslTov::TfrmNewUslTov() {
    setModal(true);
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    cbTovar = new QComboBox(this);
    cbTovar->setObjectName(QStringLiteral("cbTovar"));
    form->addRow(QStringLiteral("Наименование"), cbTovar);
    edKolvo = lineEdit(this, form, QStringLiteral("edKolvo"), QStringLiteral("Количество"));
    edCena = lineEdit(this, form, QStringLiteral("edCena"), QStringLiteral("Цена"));
    edEdizm = lineEdit(this, form, QStringLiteral("edEdizm"), QStringLiteral("Ед. изм."));
    edEdizm->setReadOnly(true);
    setReadOnlyLook(edEdizm, true);
    v->addLayout(form);
    auto* h = new QHBoxLayout;
    h->addStretch();
    btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    h->addWidget(btnOk);
    h->addWidget(btnCancel);
    v->addLayout(h);
    connect(btnOk, &QPushButton::clicked, this, &TfrmNewUslTov::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmNewUslTov::bindTo(TClientDataSet* lines) {
    for (TFieldBinding* b : findChildren<TFieldBinding*>()) delete b;
    m_lines = lines;
    bindComboBox(cbTovar, lines, QStringLiteral("TOVAR_ID"), DM().cdsTovarLU, QStringLiteral("NAME"));
    bindLineEdit(edKolvo, lines, QStringLiteral("KOLVO"));
    bindLineEdit(edCena, lines, QStringLiteral("CENA"));
    bindLineEdit(edEdizm, lines, QStringLiteral("TOVAR_EDIZM"));
}

void TfrmNewUslTov::btnOkClick() {
    if (!m_lines) return;
    try {
        m_lines->updateRecord();
        const QString text = books::ServiceLineRefusal(*m_lines);
        if (!text.isEmpty()) {
            TitledMessageBox(text, mbWarningOk);
            return;
        }
        accept();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}

// --- service ------------------------------------------------------------------

TfrmNewUsluga::TfrmNewUsluga() : TfrmNewRecord(QStringLiteral("frmNewUsluga")) {
    // The fields move onto the first page; the second holds the goods.
    PageControl1 = new QTabWidget(PanelMain);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* page1 = new QWidget;
    page1->setObjectName(QStringLiteral("TabSheet1"));
    auto* l1 = new QFormLayout(page1);
    while (form->rowCount() > 0) {
        QFormLayout::TakeRowResult row = form->takeRow(0);
        QWidget* label = row.labelItem ? row.labelItem->widget() : nullptr;
        QWidget* field = row.fieldItem ? row.fieldItem->widget() : nullptr;
        delete row.labelItem;
        delete row.fieldItem;
        if (label && field) l1->addRow(label, field);
    }
    PageControl1->addTab(page1, QStringLiteral("Услуга"));
    auto* page2 = new QWidget;
    page2->setObjectName(QStringLiteral("TabSheet2"));
    auto* l2 = new QVBoxLayout(page2);
    DBGrid = new QTableView(page2);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    l2->addWidget(DBGrid);
    auto* h = new QHBoxLayout;
    btnAdd = new QPushButton(QStringLiteral("Добавить"), page2);
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    btnDelete = new QPushButton(QStringLiteral("Удалить"), page2);
    btnDelete->setObjectName(QStringLiteral("btnDelete"));
    btnEdit = new QPushButton(QStringLiteral("Редактировать"), page2);
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    h->addWidget(btnAdd);
    h->addWidget(btnDelete);
    h->addWidget(btnEdit);
    h->addStretch();
    l2->addLayout(h);
    PageControl1->addTab(page2, QStringLiteral("Сопутствующие товары"));
    form->addRow(PageControl1);

    cdsBookUsltov = new TClientDataSet(this, QStringLiteral("cdsBookUsltov"));
    books::DefineServiceLines(*cdsBookUsltov, DM().cdsTovarLU);
    m_model = new DataSetModel(cdsBookUsltov, this);
    m_model->attachView(DBGrid);

    connect(btnAdd, &QPushButton::clicked, this, &TfrmNewUsluga::btnAddClick);
    connect(btnEdit, &QPushButton::clicked, this, &TfrmNewUsluga::btnEditClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmNewUsluga::btnDeleteClick);
}

bool TfrmNewUsluga::CheckFields() { return TfrmNewRecord::CheckFields(); }

void TfrmNewUsluga::bindControls(TClientDataSet* ds) {
    TfrmNewRecord::bindControls(ds);
    PageControl1->setCurrentIndex(0);
    cdsBookUsltov->close();
    cdsBookUsltov->query().setParam(QStringLiteral("USLUGA_ID"), ds->fieldByName(QStringLiteral("ID")).value());
    cdsBookUsltov->open();
}

void TfrmNewUsluga::lineDialog(const QString& caption) {
    auto* dlg = Window<TfrmNewUslTov>(QStringLiteral("frmNewUslTov"));
    std::unique_ptr<TfrmNewUslTov> own;
    if (!dlg) {
        own = std::make_unique<TfrmNewUslTov>();
        dlg = own.get();
    }
    dlg->setWindowTitle(caption);
    dlg->bindTo(cdsBookUsltov);
    const int r = execModal(dlg);
    if (r == QDialog::Accepted) cdsBookUsltov->post();
    else cdsBookUsltov->cancel();
}

void TfrmNewUsluga::btnAddClick() {
    try {
        cdsBookUsltov->append();
        cdsBookUsltov->fieldByName(QStringLiteral("USLUGA_ID")).setValue(EditedDataSet->fieldByName(QStringLiteral("ID")).value());
        lineDialog(QStringLiteral("Новый сопутствующий товар"));
    } catch (...) {
        if (cdsBookUsltov->isEditing()) cdsBookUsltov->cancel();
        ShowApplicationError(std::current_exception());
    }
}

void TfrmNewUsluga::btnEditClick() {
    if (cdsBookUsltov->isEmpty()) return;
    try {
        cdsBookUsltov->edit();
        lineDialog(QStringLiteral("Редактирование сопутствующего товара"));
    } catch (...) {
        if (cdsBookUsltov->isEditing()) cdsBookUsltov->cancel();
        ShowApplicationError(std::current_exception());
    }
}

void TfrmNewUsluga::btnDeleteClick() {
    if (cdsBookUsltov->isEmpty()) return;
    cdsBookUsltov->deleteRecord();
}

bool TfrmNewUsluga::saveChanges() {
    try {
        books::SaveServiceWithLines(*EditedDataSet, *cdsBookUsltov);
        return true;
    } catch (...) {
        // Nothing was stored: the service's change is undone in memory (the
        // dialog puts the typed values back), the lines stay pending.
        QString message;
        try {
            throw;
        } catch (const std::exception& e) {
            message = QString::fromUtf8(e.what());
        }
        EditedDataSet->revertRecord();
        ReportJournalApplyError(message);
        return false;
    }
}

void TfrmNewUsluga::done(int r) {
    if (r != QDialog::Accepted && cdsBookUsltov->isActive()) cdsBookUsltov->cancelUpdates();
    TfrmNewRecord::done(r);
}

void TfrmNewUsluga::afterClose() {
    TfrmNewRecord::afterClose();
    cdsBookUsltov->close();
}

// --- operator -------------------------------------------------------------------

namespace {

// A right shown checked for "T", unchecked for "F" and greyed when empty.
class RightBinding : public TFieldBinding {
public:
    RightBinding(QCheckBox* box, TClientDataSet* ds, const QString& fieldName)
        : TFieldBinding(box, ds, fieldName), m_box(box) {
        connect(box, &QCheckBox::clicked, this, [this] {
            guarded([this] {
                if (!beginUserEdit()) {
                    refresh();
                    return;
                }
                field()->setAsString(books::ToggledRight(*field()));
                refresh();
            });
        });
        refresh();
    }

protected:
    void showValue() override {
        TField* f = field();
        const books::RightState state = f && m_ds && m_ds->isActive() ? books::RightStateOf(*f) : books::RightState::Unknown;
        m_box->setCheckState(state == books::RightState::Unknown  ? Qt::PartiallyChecked
                             : state == books::RightState::Granted ? Qt::Checked
                                                                   : Qt::Unchecked);
    }
    void applyReadOnly(bool ro) override { m_box->setEnabled(!ro); }

private:
    QCheckBox* m_box;
};

}  // namespace

TfrmNewOperator::TfrmNewOperator() {
    edID = lineEdit(PanelMain, form, QStringLiteral("edID"), kCode);
    edFio = lineEdit(PanelMain, form, QStringLiteral("edFio"), QStringLiteral("ФИО"));
    auto* pw = new QWidget(PanelMain);
    auto* ph = new QHBoxLayout(pw);
    ph->setContentsMargins(0, 0, 0, 0);
    edPassword = lineEdit(pw, nullptr, QStringLiteral("edPassword"), {});
    DBEdit1 = lineEdit(pw, nullptr, QStringLiteral("DBEdit1"), {});
    DBEdit1->setMaximumWidth(40);
    ph->addWidget(edPassword);
    ph->addWidget(DBEdit1);
    form->addRow(QStringLiteral("Пароль"), pw);
    auto* rg = new QGroupBox(QStringLiteral("Роль"), PanelMain);
    rg->setObjectName(QStringLiteral("rgRole"));
    auto* rh = new QHBoxLayout(rg);
    rbRole1 = new QRadioButton(QStringLiteral("Приемщик"), rg);
    rbRole1->setObjectName(QStringLiteral("rbRole1"));
    rbRole2 = new QRadioButton(QStringLiteral("Администратор"), rg);
    rbRole2->setObjectName(QStringLiteral("rbRole2"));
    rh->addWidget(rbRole1);
    rh->addWidget(rbRole2);
    m_roles = new QButtonGroup(this);
    m_roles->addButton(rbRole1, 0);
    m_roles->addButton(rbRole2, 1);
    form->addRow(rg);
    // The rights of one group share a frame; the others stand alone.
    QGroupBox* frame = nullptr;
    QHBoxLayout* row = nullptr;
    int n = 1, frames = 0;
    for (const books::OperatorRight& r : books::OperatorRights()) {
        if (!r.group.isEmpty() && (!frame || frame->title() != r.group)) {
            frame = new QGroupBox(r.group, PanelMain);
            frame->setObjectName(QStringLiteral("GroupBox%1").arg(++frames));
            row = new QHBoxLayout(frame);
            form->addRow(frame);
        }
        auto* box = new QCheckBox(r.caption, r.group.isEmpty() ? PanelMain : frame);
        box->setObjectName(QStringLiteral("DBCheckBox%1").arg(n++));
        if (r.group.isEmpty()) form->addRow(box);
        else row->addWidget(box);
        rights << box;
    }
    connect(m_roles, &QButtonGroup::idClicked, this, &TfrmNewOperator::rgRoleClick);
}

void TfrmNewOperator::bindControls(TClientDataSet* ds) {
    bindLineEdit(edID, ds, QStringLiteral("ID"));
    bindLineEdit(edFio, ds, QStringLiteral("FIO"));
    bindLineEdit(edPassword, ds, QStringLiteral("PASSWD"));
    bindLineEdit(DBEdit1, ds, QStringLiteral("ROLE_ID"));
    for (int i = 0; i < rights.size(); ++i) new RightBinding(rights.at(i), ds, books::OperatorRights().at(i).field);
    // Showing the role never changes the rights: the buttons are set without their handler.
    const QSignalBlocker block(m_roles);
    const int role = books::ShownRole(*ds);
    m_roles->setExclusive(false);
    rbRole1->setChecked(role == 1);
    rbRole2->setChecked(role == 2);
    m_roles->setExclusive(true);
}

void TfrmNewOperator::rgRoleClick(int index) {
    try {
        books::ApplyRole(*EditedDataSet, index + 1);
        for (TFieldBinding* b : findChildren<TFieldBinding*>()) b->refresh();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}

bool TfrmNewOperator::CheckFields() {
    const QString text = books::RecordRefusal(books::RecordFormOf(QStringLiteral("frmNewOperator")), *EditedDataSet);
    if (text.isEmpty()) return true;
    TitledMessageBox(text, mbWarningOk);
    return false;
}

// --- group ----------------------------------------------------------------------

TfrmNewGroup::TfrmNewGroup() {
    setModal(true);
    auto* v = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Группа"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f = Label1->font();
    f.setBold(true);
    Label1->setFont(f);
    Label1->setStyleSheet(QStringLiteral("color: grey"));
    v->addWidget(Label1);
    auto* form = new QFormLayout;
    edName = lineEdit(this, form, QStringLiteral("edName"), QStringLiteral("Наименование группы"));
    cbGroup = new QComboBox(this);
    cbGroup->setObjectName(QStringLiteral("cbGroup"));
    form->addRow(QStringLiteral("Родительская группа"), cbGroup);
    lbKinddoc = new QLabel(QStringLiteral("Услуги используются в документах"), this);
    lbKinddoc->setObjectName(QStringLiteral("lbKinddoc"));
    cbKinddoc = new QComboBox(this);
    cbKinddoc->setObjectName(QStringLiteral("cbKinddoc"));
    form->addRow(lbKinddoc, cbKinddoc);
    v->addLayout(form);
    auto* h = new QHBoxLayout;
    h->addStretch();
    btnOk = new QPushButton(QStringLiteral("Сохранить"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    h->addWidget(btnOk);
    h->addWidget(btnCancel);
    v->addLayout(h);
    connect(btnOk, &QPushButton::clicked, this, &TfrmNewGroup::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmNewGroup::bindTo(TClientDataSet* groups, TClientDataSet* groupList, bool showKinds) {
    m_groups = groups;
    m_list = groupList;
    m_kinds = showKinds;
}

void TfrmNewGroup::rebind() {
    for (TFieldBinding* b : findChildren<TFieldBinding*>()) delete b;
    if (!m_groups) return;
    bindLineEdit(edName, m_groups, QStringLiteral("NAME"));
    bindComboBox(cbGroup, m_groups, QStringLiteral("PARENT_ID"), m_list, QStringLiteral("FULLPATH"));
    if (m_kinds) bindComboBox(cbKinddoc, m_groups, QStringLiteral("KINDDOC_ID"), DM().cdsKindDoc, QStringLiteral("NAME"));
}

void TfrmNewGroup::showEvent(QShowEvent* e) {
    rebind();
    lbKinddoc->setVisible(m_kinds);
    cbKinddoc->setVisible(m_kinds);
    const bool root = m_groups && books::IsRootGroup(*m_groups);
    edName->setEnabled(!root);
    cbGroup->setEnabled(!root);
    if (!root) edName->setFocus();
    QDialog::showEvent(e);
}

void TfrmNewGroup::btnOkClick() {
    if (!m_groups) return;
    try {
        m_groups->updateRecord();
        const QString text = books::GroupRecordRefusal(*m_groups, m_list);
        if (!text.isEmpty()) {
            TitledMessageBox(text, mbWarningOk);
            return;
        }
        accept();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}
