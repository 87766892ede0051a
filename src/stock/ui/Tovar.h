#pragma once
// The stock line dialog: one goods line of a stock document, added or
// changed. The editor puts its line list into insert or edit state and shows
// the dialog; the goods is picked by article, bar code or name (three boxes
// kept in step), its prices come from the goods book and, for the outgoing
// kinds, the stock on hand of the current work period is shown. OK checks
// the required values and posts the line; any other way out cancels it.
#include "stock/core/GoodsPick.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TClientDataSet;
class TFieldBinding;

class TfrmTovar : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTovar(QWidget* parent = nullptr);

    // Set by the editor before each showing: its line list (in insert or edit
    // state), the document's kind, whether the line is new, and its changed mark.
    void setLine(TClientDataSet* moves, int kindDocId, bool newLine, std::function<void(bool)> setModified);

    bool NewLine = true;
    bool ShowNalich = false;
    int KindDocID = 0;

    // The stock of the current work period per goods (P_NALICHALL).
    TClientDataSet* cdsNalich;

    QComboBox* cbArtikul;
    QComboBox* cbEan13;
    QComboBox* cbTov;
    QLineEdit* edEdizm;
    QLineEdit* edKolvo;
    QLineEdit* edCena;
    QLineEdit* edSumma;
    QLineEdit* edCenaRealiz;
    QLineEdit* edSummaRealiz;
    QLineEdit* edNalichKol;
    QPushButton* BitBtn1;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    void btnOkClick();
    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TGoodsBox boxOf(const QComboBox* box) const;
    QComboBox* comboOf(TGoodsBox box) const;
    void fillBoxes();
    void boxEdited(QComboBox* box, const QString& typed);
    void boxActivated(QComboBox* box, int index);
    // The goods change: found or not, by the box's selection and text.
    void goodsChange(QComboBox* box);
    void selectInOthers(QComboBox* box, int index);
    void bindFields();
    void setRowVisible(QWidget* label, QWidget* field, bool on);

    TClientDataSet* m_moves = nullptr;
    QPointer<TClientDataSet> m_bound;
    std::function<void(bool)> m_setModified;
    QList<TFieldBinding*> m_bindings;
    TGoodsPick m_goods;
    // The boxes hold the goods lookup's rows until it changes (reopened, edited).
    QPointer<TClientDataSet> m_filledFrom;
    bool m_goodsStale = true;
    bool m_syncing = false;
    QLabel* lbCenaRealiz;
    QLabel* lbSummaRealiz;
    QLabel* lbNalichKol;
};
