#pragma once
// The period frame of the report dialogs: the user picks the current work
// period, a day, a month, a quarter or two free dates, and the dialog asks
// GetDate1 / GetDate2 for the range.
#include "stock/core/FramePeriodRange.h"

#include <QDate>
#include <QGroupBox>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QWidget;

class TFramePeriod : public QGroupBox {
    Q_OBJECT
public:
    explicit TFramePeriod(QWidget* parent = nullptr, const QString& name = QStringLiteral("framePeriod"));

    // Resets every control to `today` and the current work period of GL; the
    // chosen mode stays.
    void InitFrame(const QDate& today = QDate::currentDate());
    QDate GetDate1() const;
    QDate GetDate2() const;

    TFrameChoice choice() const;
    void setChoice(TFrameChoice choice);
    // What the controls hold, for the range arithmetic.
    TFrameValues values() const;

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QRadioButton* RadioButton5;
    QWidget* Panel1;
    QWidget* Panel2;
    QWidget* Panel3;
    QWidget* Panel4;
    QWidget* Panel5;
    QLineEdit* edTekRP1;
    QLineEdit* edTekRP2;
    QDateEdit* dtpDay;
    QComboBox* cbMes;
    QSpinBox* udMesGod;
    QLineEdit* edMesGod;  // the text part of udMesGod
    QComboBox* cbKva;
    QSpinBox* udKvaGod;
    QLineEdit* edKvaGod;  // the text part of udKvaGod
    QDateEdit* dtpCustom1;
    QDateEdit* dtpCustom2;

public slots:
    // Shows the panel of the selected choice (all five buttons).
    void RadioButton1Click();

private:
    QRadioButton* radio(int index) const;
    QWidget* panel(int index) const;

    QButtonGroup* m_group;
};
