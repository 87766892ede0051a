#pragma once
// The nomenclature frame of the stock report dialogs: all goods, one goods
// item, a goods group with or without its subgroups, or names containing a
// word. The dialog asks it for the condition of its statement and for a
// description of the choice to print.
#include "stock/core/StockReports.h"

#include <QGroupBox>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

class TFrameNomenk : public QGroupBox {
    Q_OBJECT
public:
    explicit TFrameNomenk(QWidget* parent = nullptr, const QString& name = QStringLiteral("frameNomenk"));

    // Refills the goods and group boxes from the shared lookups; the choice,
    // the marks and the word stay.
    void InitFrame();
    // The condition to append to a report statement and its parameters
    // (std::invalid_argument with the reason when no goods or group is chosen).
    TSqlCondition GetFilterSQL() const;
    QString GetFilterText() const;
    // The choice as the core sees it.
    TNomenkFilter filter() const;

    TNomenkChoice choice() const;
    void setChoice(TNomenkChoice choice);

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QWidget* Panel1;
    QWidget* Panel2;
    QWidget* Panel3;
    QWidget* Panel4;
    QLabel* lbAll;
    QComboBox* cbName;
    QPushButton* btnSelTovar;
    QComboBox* cbGroup;
    QPushButton* btnSelGroup;
    QCheckBox* chbIncludeSub;
    QLineEdit* edWord;
    QCheckBox* chbCaseSens;

public slots:
    // Shows the panel of the selected choice (all four buttons).
    void RadioButton1Click();
    // "...": the goods selection window on the chosen goods and its group.
    void btnSelTovarClick();
    // "...": the group selection window on the chosen group.
    void btnSelGroupClick();

private:
    QWidget* panel(int index) const;
    // The goods chosen in cbName: the item whose text is the box's text.
    int selectedTovarId() const;

    QButtonGroup* m_group;
};
