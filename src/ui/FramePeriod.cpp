#include "ui/FramePeriod.h"

#include "session/Global.h"

#include "ui/EditorWidgets.h"
#include "stock/core/StockReports.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QWidget* makePanel(QWidget* parent, const char* name) {
    auto* p = new QWidget(parent);
    p->setObjectName(QString::fromLatin1(name));
    auto* lay = new QHBoxLayout(p);
    lay->setContentsMargins(0, 0, 0, 0);
    return p;
}

QSpinBox* yearBox(QWidget* parent, const char* upDown, const char* edit, QLineEdit*& text) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(upDown));
    s->setRange(1900, 2200);
    s->setGroupSeparatorShown(false);
    text = s->findChild<QLineEdit*>();
    if (text) text->setObjectName(QString::fromLatin1(edit));
    return s;
}

}  // namespace

TFramePeriod::TFramePeriod(QWidget* parent, const QString& name) : QGroupBox(QStringLiteral("Период"), parent) {
    setObjectName(name);

    const QStringList captions = {QStringLiteral("Текущий РП"), QStringLiteral("День"), QStringLiteral("Месяц"),
                                  QStringLiteral("Квартал"), QStringLiteral("Произвольный")};
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    QRadioButton** radios[] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4, &RadioButton5};
    QWidget** panels[] = {&Panel1, &Panel2, &Panel3, &Panel4, &Panel5};
    for (int i = 0; i < 5; ++i) {
        *radios[i] = new QRadioButton(captions[i], this);
        (*radios[i])->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        m_group->addButton(*radios[i], i);
        *panels[i] = makePanel(this, QStringLiteral("Panel%1").arg(i + 1).toLatin1().constData());
    }

    edTekRP1 = new QLineEdit(Panel1);
    edTekRP1->setObjectName(QStringLiteral("edTekRP1"));
    edTekRP2 = new QLineEdit(Panel1);
    edTekRP2->setObjectName(QStringLiteral("edTekRP2"));
    for (QLineEdit* e : {edTekRP1, edTekRP2}) {
        e->setReadOnly(true);
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Window));
        e->setPalette(pal);
        Panel1->layout()->addWidget(e);
    }

    dtpDay = dateEditor(Panel2, "dtpDay");
    Panel2->layout()->addWidget(dtpDay);

    cbMes = new QComboBox(Panel3);
    cbMes->setObjectName(QStringLiteral("cbMes"));
    cbMes->addItems({QStringLiteral("Январь"), QStringLiteral("Февраль"), QStringLiteral("Март"),
                     QStringLiteral("Апрель"), QStringLiteral("Май"), QStringLiteral("Июнь"),
                     QStringLiteral("Июль"), QStringLiteral("Август"), QStringLiteral("Сентябрь"),
                     QStringLiteral("Октябрь"), QStringLiteral("Ноябрь"), QStringLiteral("Декабрь")});
    udMesGod = yearBox(Panel3, "udMesGod", "edMesGod", edMesGod);
    Panel3->layout()->addWidget(cbMes);
    Panel3->layout()->addWidget(udMesGod);

    cbKva = new QComboBox(Panel4);
    cbKva->setObjectName(QStringLiteral("cbKva"));
    cbKva->addItems({QStringLiteral("1 квартал"), QStringLiteral("2 квартал"), QStringLiteral("3 квартал"),
                     QStringLiteral("4 квартал")});
    udKvaGod = yearBox(Panel4, "udKvaGod", "edKvaGod", edKvaGod);
    Panel4->layout()->addWidget(cbKva);
    Panel4->layout()->addWidget(udKvaGod);

    dtpCustom1 = dateEditor(Panel5, "dtpCustom1");
    dtpCustom2 = dateEditor(Panel5, "dtpCustom2");
    Panel5->layout()->addWidget(dtpCustom1);
    Panel5->layout()->addWidget(dtpCustom2);

    auto* radiosLay = new QVBoxLayout;
    for (int i = 0; i < 5; ++i) radiosLay->addWidget(radio(i));
    auto* panelsLay = new QGridLayout;
    for (int i = 0; i < 5; ++i) panelsLay->addWidget(panel(i), 0, 0, Qt::AlignTop);
    auto* lay = new QHBoxLayout(this);
    lay->addLayout(radiosLay);
    lay->addLayout(panelsLay, 1);

    RadioButton1->setChecked(true);
    RadioButton1Click();
    connect(m_group, &QButtonGroup::idClicked, this, [this](int) { RadioButton1Click(); });
    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool on) { if (on) RadioButton1Click(); });
}

QRadioButton* TFramePeriod::radio(int index) const {
    return static_cast<QRadioButton*>(m_group->button(index));
}

QWidget* TFramePeriod::panel(int index) const {
    switch (index) {
    case 0: return Panel1;
    case 1: return Panel2;
    case 2: return Panel3;
    case 3: return Panel4;
    default: return Panel5;
    }
}

TFrameChoice TFramePeriod::choice() const {
    const int id = m_group->checkedId();
    return id < 0 ? TFrameChoice::CurrentPeriod : TFrameChoice(id);
}

void TFramePeriod::setChoice(TFrameChoice c) {
    radio(int(c))->setChecked(true);
    RadioButton1Click();
}

void TFramePeriod::RadioButton1Click() {
    const int selected = int(choice());
    for (int i = 0; i < 5; ++i) panel(i)->setVisible(i == selected);
}

void TFramePeriod::InitFrame(const QDate& today) {
    const TFrameValues v = FrameDefaults(today, GL.RPeriodDate1, GL.RPeriodDate2);
    dtpDay->setDate(v.day);
    cbMes->setCurrentIndex(v.monthIndex);
    udMesGod->setValue(v.monthYear);
    cbKva->setCurrentIndex(v.quarterIndex);
    udKvaGod->setValue(v.quarterYear);
    dtpCustom1->setDate(v.custom1);
    dtpCustom2->setDate(v.custom2);
    edTekRP1->setText(ReportDateText(v.periodDate1));
    edTekRP2->setText(ReportDateText(v.periodDate2));
    RadioButton1Click();
    setFocusPolicy(Qt::NoFocus);
}

TFrameValues TFramePeriod::values() const {
    TFrameValues v;
    v.periodDate1 = FrameDateFromText(edTekRP1->text());
    v.periodDate2 = FrameDateFromText(edTekRP2->text());
    v.day = dtpDay->date();
    v.monthIndex = cbMes->currentIndex();
    v.monthYear = udMesGod->value();
    v.quarterIndex = cbKva->currentIndex();
    v.quarterYear = udKvaGod->value();
    v.custom1 = dtpCustom1->date();
    v.custom2 = dtpCustom2->date();
    return v;
}

QDate TFramePeriod::GetDate1() const { return FrameRange(choice(), values()).date1; }
QDate TFramePeriod::GetDate2() const { return FrameRange(choice(), values()).date2; }
