#include "ui/FrameNomenk.h"

#include "ui/DataRoutines.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/DataModule.h"
#include "stock/core/GoodsChoice.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QWidget* makePanel(QWidget* parent, int index) {
    auto* p = new QWidget(parent);
    p->setObjectName(QStringLiteral("Panel%1").arg(index));
    auto* lay = new QHBoxLayout(p);
    lay->setContentsMargins(0, 0, 0, 0);
    return p;
}

QPushButton* dotsButton(QWidget* parent, const char* name) {
    auto* b = new QPushButton(QStringLiteral("..."), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedWidth(28);
    b->setAutoDefault(false);
    return b;
}

// A selection window of the goods book that takes and hands back IDs through
// its properties; none while the window is not part of the program.
QDialog* selectionWindow(const char* name, const char* property) {
    auto* dlg = Window<QDialog>(QString::fromLatin1(name));
    if (!dlg || dlg->metaObject()->indexOfProperty(property) < 0) return nullptr;
    return dlg;
}

}  // namespace

TFrameNomenk::TFrameNomenk(QWidget* parent, const QString& name) : QGroupBox(QStringLiteral("Номенклатура"), parent) {
    setObjectName(name);
    const QStringList captions = {QStringLiteral("Вся"), QStringLiteral("Наименование"), QStringLiteral("Группа"),
                                  QStringLiteral("По \"слову\"")};
    m_group = new QButtonGroup(this);
    QRadioButton** radios[] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4};
    QWidget** panels[] = {&Panel1, &Panel2, &Panel3, &Panel4};
    for (int i = 0; i < 4; ++i) {
        *radios[i] = new QRadioButton(captions[i], this);
        (*radios[i])->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        m_group->addButton(*radios[i], i);
        *panels[i] = makePanel(this, i + 1);
    }

    lbAll = new QLabel(QStringLiteral("<Вся номенклатура>"), Panel1);
    lbAll->setObjectName(QStringLiteral("lbAll"));
    lbAll->setTextFormat(Qt::PlainText);
    QFont f = lbAll->font();
    f.setBold(true);
    lbAll->setFont(f);
    QPalette pal = lbAll->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 128));
    lbAll->setPalette(pal);
    Panel1->layout()->addWidget(lbAll);

    cbName = new QComboBox(Panel2);
    cbName->setObjectName(QStringLiteral("cbName"));
    cbName->setEditable(true);
    cbName->setInsertPolicy(QComboBox::NoInsert);
    btnSelTovar = dotsButton(Panel2, "btnSelTovar");
    Panel2->layout()->addWidget(cbName);
    Panel2->layout()->addWidget(btnSelTovar);
    static_cast<QHBoxLayout*>(Panel2->layout())->setStretch(0, 1);

    auto* groupRow = new QWidget(Panel3);
    auto* groupLay = new QHBoxLayout(groupRow);
    groupLay->setContentsMargins(0, 0, 0, 0);
    cbGroup = new QComboBox(groupRow);
    cbGroup->setObjectName(QStringLiteral("cbGroup"));
    btnSelGroup = dotsButton(groupRow, "btnSelGroup");
    groupLay->addWidget(cbGroup, 1);
    groupLay->addWidget(btnSelGroup);
    chbIncludeSub = new QCheckBox(QStringLiteral("Включая подгруппы"), Panel3);
    chbIncludeSub->setObjectName(QStringLiteral("chbIncludeSub"));
    delete Panel3->layout();
    auto* p3 = new QVBoxLayout(Panel3);
    p3->setContentsMargins(0, 0, 0, 0);
    p3->addWidget(groupRow);
    p3->addWidget(chbIncludeSub);

    edWord = new QLineEdit(Panel4);
    edWord->setObjectName(QStringLiteral("edWord"));
    chbCaseSens = new QCheckBox(QStringLiteral("С учетом регистра"), Panel4);
    chbCaseSens->setObjectName(QStringLiteral("chbCaseSens"));
    delete Panel4->layout();
    auto* p4 = new QVBoxLayout(Panel4);
    p4->setContentsMargins(0, 0, 0, 0);
    p4->addWidget(edWord);
    p4->addWidget(chbCaseSens);

    auto* radiosLay = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) radiosLay->addWidget(m_group->button(i));
    radiosLay->addStretch(1);
    auto* panelsLay = new QGridLayout;
    for (int i = 0; i < 4; ++i) panelsLay->addWidget(panel(i), 0, 0, Qt::AlignTop);
    auto* lay = new QHBoxLayout(this);
    lay->addLayout(radiosLay);
    lay->addLayout(panelsLay, 1);

    RadioButton1->setChecked(true);
    RadioButton1Click();
    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool on) { if (on) RadioButton1Click(); });
    connect(btnSelTovar, &QPushButton::clicked, this, &TFrameNomenk::btnSelTovarClick);
    connect(btnSelGroup, &QPushButton::clicked, this, &TFrameNomenk::btnSelGroupClick);
}

QWidget* TFrameNomenk::panel(int index) const {
    switch (index) {
    case 0: return Panel1;
    case 1: return Panel2;
    case 2: return Panel3;
    default: return Panel4;
    }
}

TNomenkChoice TFrameNomenk::choice() const {
    const int id = m_group->checkedId();
    return id < 0 ? TNomenkChoice::All : TNomenkChoice(id);
}

void TFrameNomenk::setChoice(TNomenkChoice c) {
    m_group->button(int(c))->setChecked(true);
    RadioButton1Click();
}

void TFrameNomenk::RadioButton1Click() {
    const int selected = int(choice());
    for (int i = 0; i < 4; ++i) panel(i)->setVisible(i == selected);
}

void TFrameNomenk::InitFrame() {
    TDM& dm = DM();
    if (dm.cdsTovarGrLU->isActive()) FillComboBox(cbGroup, *dm.cdsTovarGrLU, QStringLiteral("FULLPATH"));
    else cbGroup->clear();
    if (dm.cdsTovarLU->isActive()) FillComboBoxByGroup(cbName, *dm.cdsTovarLU, 0, QStringLiteral("NAME"));
    else cbName->clear();
    btnSelTovar->setEnabled(selectionWindow("frmSelTovar", "SelTovarID") != nullptr);
    btnSelGroup->setEnabled(selectionWindow("frmSelGroup", "SelGroupID") != nullptr);
    RadioButton1Click();
    setFocusPolicy(Qt::NoFocus);
}

int TFrameNomenk::selectedTovarId() const {
    // The box takes free text: only a text that names an item chooses it.
    const int i = cbName->findText(cbName->currentText(), Qt::MatchExactly);
    if (i < 0) return -1;
    const int current = cbName->currentIndex();
    const int index = current >= 0 && cbName->itemText(current) == cbName->currentText() ? current : i;
    const QVariant v = cbName->itemData(index, kItemIdRole);
    return v.isValid() ? v.toInt() : -1;
}

TNomenkFilter TFrameNomenk::filter() const {
    TNomenkFilter f;
    f.choice = choice();
    if (f.choice == TNomenkChoice::Name) f.tovarId = selectedTovarId();
    if (f.choice == TNomenkChoice::Group) f.groupId = ComboSelectedID(cbGroup);
    f.includeSub = chbIncludeSub->isChecked();
    f.word = edWord->text();
    f.caseSens = chbCaseSens->isChecked();
    return f;
}

TSqlCondition TFrameNomenk::GetFilterSQL() const { return NomenkFilterSQL(filter()); }

QString TFrameNomenk::GetFilterText() const {
    return NomenkFilterText(filter(), cbName->currentText(), cbGroup->currentText());
}

void TFrameNomenk::btnSelTovarClick() {
    QDialog* dlg = selectionWindow("frmSelTovar", "SelTovarID");
    if (!dlg) return;
    const int tovarId = selectedTovarId();
    dlg->setProperty("SelTovarID", tovarId);
    if (tovarId >= 0)
        if (const std::optional<int> group = GoodsGroupOf(*DM().cdsTovarLU, tovarId)) dlg->setProperty("SelGroupID", *group);
    if (execModal(dlg) != QDialog::Accepted) return;
    const int i = ComboIndexOfID(cbName, dlg->property("SelTovarID").toInt());
    if (i >= 0) cbName->setCurrentIndex(i);
}

void TFrameNomenk::btnSelGroupClick() {
    QDialog* dlg = selectionWindow("frmSelGroup", "SelGroupID");
    if (!dlg) return;
    dlg->setProperty("SelGroupID", ComboSelectedID(cbGroup));
    if (execModal(dlg) != QDialog::Accepted) return;
    const int i = ComboIndexOfID(cbGroup, dlg->property("SelGroupID").toInt());
    if (i >= 0) cbGroup->setCurrentIndex(i);
}
