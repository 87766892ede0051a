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

QWidget* makeControl(QWidget* parent, const books::RecordControl& c) {
    QWidget* w = nullptr;
    if (c.kind == books::RecordControl::Edit) {
        auto* ed = new QLineEdit(parent);
        if (c.readOnly) {
            ed->setReadOnly(true);
            setReadOnlyLook(ed, true);
        }
        w = ed;
    } else if (c.kind == books::RecordControl::Date) {
        auto* d = new QDateEdit(parent);
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        w = d;
    } else {
        w = new QComboBox(parent);
    }
    w->setObjectName(c.objectName);
    if (c.maxWidth > 0) w->setMaximumWidth(c.maxWidth);
    return w;
}

// Every record dialog's controls from its table: a row each, or beside the one before.
void addControls(QWidget* parent, QFormLayout* form, const QList<books::RecordControl>& controls) {
    QHBoxLayout* row = nullptr;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const books::RecordControl& c = controls.at(i);
        if (c.sameRow && row) {
            row->addWidget(makeControl(row->parentWidget(), c));
        } else if (i + 1 < controls.size() && controls.at(i + 1).sameRow) {
            auto* box = new QWidget(parent);
            row = new QHBoxLayout(box);
            row->setContentsMargins(0, 0, 0, 0);
            row->addWidget(makeControl(box, c));
            form->addRow(c.label, box);
        } else {
            form->addRow(c.label, makeControl(parent, c));
        }
    }
}

void bindControlsOf(QWidget* dialog, TClientDataSet* ds, const QList<books::RecordControl>& controls,
                    TClientDataSet* groupList) {
    for (const books::RecordControl& c : controls) {
        QWidget* w = dialog->findChild<QWidget*>(c.objectName);
        if (c.kind == books::RecordControl::Edit) bindLineEdit(static_cast<QLineEdit*>(w), ds, c.field);
        else if (c.kind == books::RecordControl::Date) bindDateEdit(static_cast<QDateEdit*>(w), ds, c.field);
        else if (c.kind == books::RecordControl::Group)
            bindComboBox(static_cast<QComboBox*>(w), ds, c.field, groupList, QStringLiteral("FULLPATH"));
        else bindComboBox(static_cast<QComboBox*>(w), ds, c.field, DM().findChild<TClientDataSet*>(c.lookup), c.display);
    }
}

// The line and group dialogs' buttons under their form.
void addButtons(QDialog* dialog, QVBoxLayout* v, const QString& okCaption, QPushButton*& ok, QPushButton*& cancel) {
    auto* h = new QHBoxLayout;
    h->addStretch();
    ok = new QPushButton(okCaption, dialog);
    ok->setObjectName(QStringLiteral("btnOk"));
    cancel = new QPushButton(QStringLiteral("Отмена"), dialog);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    h->addWidget(ok);
    h->addWidget(cancel);
    v->addLayout(h);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

}  // namespace

// --- table-driven record dialogs ---------------------------------------------

TfrmNewRecord::TfrmNewRecord(const QString& dialog, QWidget* parent)
    : TfrmNewItem(parent), m_form(books::RecordFormOf(dialog)) {
    addControls(PanelMain, form, m_form.controls);
}

void TfrmNewRecord::bindControls(TClientDataSet* ds) { bindControlsOf(this, ds, m_form.controls, GroupList); }

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

TfrmNewUslTov::TfrmNewUslTov() : m_form(books::RecordFormOf(QStringLiteral("frmNewUslTov"))) {
    setModal(true);
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    addControls(this, form, m_form.controls);
    v->addLayout(form);
    addButtons(this, v, QStringLiteral("Ok"), btnOk, btnCancel);
    connect(btnOk, &QPushButton::clicked, this, &TfrmNewUslTov::btnOkClick);
}

void TfrmNewUslTov::bindTo(TClientDataSet* lines) {
    for (TFieldBinding* b : findChildren<TFieldBinding*>()) delete b;
    m_lines = lines;
    bindControlsOf(this, lines, m_form.controls, nullptr);
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
        books::StartServiceLine(*cdsBookUsltov, *EditedDataSet);
        lineDialog(books::ServiceLineCaption(true));
    } catch (...) {
        if (cdsBookUsltov->isEditing()) cdsBookUsltov->cancel();
        ShowApplicationError(std::current_exception());
    }
}

void TfrmNewUsluga::btnEditClick() {
    if (cdsBookUsltov->isEmpty()) return;
    try {
        cdsBookUsltov->edit();
        lineDialog(books::ServiceLineCaption(false));
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
    addControls(PanelMain, form, books::OperatorControls());
    auto* rg = new QGroupBox(books::RoleTitle(), PanelMain);
    rg->setObjectName(QStringLiteral("rgRole"));
    auto* rh = new QHBoxLayout(rg);
    m_roles = new QButtonGroup(this);
    for (int i = 0; i < books::RoleCaptions().size(); ++i) {
        auto* b = new QRadioButton(books::RoleCaptions().at(i), rg);
        b->setObjectName(QStringLiteral("rbRole%1").arg(i + 1));
        rh->addWidget(b);
        m_roles->addButton(b, i);
    }
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
    bindControlsOf(this, ds, books::OperatorControls(), nullptr);
    for (int i = 0; i < rights.size(); ++i) new RightBinding(rights.at(i), ds, books::OperatorRights().at(i).field);
    // Showing the role never changes the rights: the buttons are set without their handler.
    const QSignalBlocker block(m_roles);
    const int role = books::ShownRole(*ds);
    m_roles->setExclusive(false);
    for (QAbstractButton* b : m_roles->buttons()) b->setChecked(m_roles->id(b) + 1 == role);
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
    auto* label = new QLabel(QStringLiteral("Группа"), this);
    label->setObjectName(QStringLiteral("Label1"));
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: grey"));
    v->addWidget(label);
    m_form = new QFormLayout;
    addControls(this, m_form, books::GroupControls(true));
    v->addLayout(m_form);
    addButtons(this, v, QStringLiteral("Сохранить"), btnOk, btnCancel);
    connect(btnOk, &QPushButton::clicked, this, &TfrmNewGroup::btnOkClick);
}

void TfrmNewGroup::bindTo(TClientDataSet* groups, TClientDataSet* groupList, bool showKinds) {
    m_groups = groups;
    m_list = groupList;
    m_kinds = showKinds;
}

void TfrmNewGroup::showEvent(QShowEvent* e) {
    for (TFieldBinding* b : findChildren<TFieldBinding*>()) delete b;
    const QList<books::RecordControl> shown = books::GroupControls(m_kinds);
    if (m_groups) bindControlsOf(this, m_groups, shown, m_list);
    for (const books::RecordControl& c : books::GroupControls(true)) {
        QWidget* w = findChild<QWidget*>(c.objectName);
        const bool on = std::any_of(shown.begin(), shown.end(), [&](const auto& s) { return s.objectName == c.objectName; });
        w->setVisible(on);
        m_form->labelForField(w)->setVisible(on);
    }
    // The root group keeps its name and place.
    const bool root = m_groups && books::IsRootGroup(*m_groups);
    QWidget* name = findChild<QWidget*>(QStringLiteral("edName"));
    name->setEnabled(!root);
    findChild<QWidget*>(QStringLiteral("cbGroup"))->setEnabled(!root);
    if (!root) name->setFocus();
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
