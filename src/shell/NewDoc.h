#pragma once
// The kind choice of a new document: the document kinds of the selected tab
// (TYPEDOC 1 for service orders, 2 for stock documents) in ID order.
#include <QDialog>

class QListWidget;
class QPushButton;

class TfrmNewDoc : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNewDoc(QWidget* parent = nullptr);

    // 1 service kinds, 2 stock kinds; set before showing.
    void setTypeDoc(int typeDoc) { m_typeDoc = typeDoc; }
    int typeDoc() const { return m_typeDoc; }
    // ID of the chosen kind; -1 when the list is empty or nothing is chosen.
    int selectedKindId() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void fillKinds();

    QListWidget* ListBox;
    QPushButton* Ok;
    QPushButton* btnCancel;
    int m_typeDoc = 1;
};
