#pragma once
// Picking one goods item (TfrmSelTovar) or one goods group (TfrmSelGroup) from
// the group tree of the goods book. The caller sets the IDs to start from,
// shows the window and reads the IDs back after OK. Nothing is written to the
// database: a group renamed in the tree stays in the window's copy.
#include <QDialog>

class QPushButton;
class QSplitter;
class QTableView;
class QWidget;
class DataSetModel;
class TClientDataSet;
class TDBTreeView;

class TfrmSelTovar : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int SelTovarID MEMBER SelTovarID)
    Q_PROPERTY(int SelGroupID MEMBER SelGroupID)
public:
    explicit TfrmSelTovar(QWidget* parent = nullptr);

    // In: the goods to stand on; out: the chosen goods (0 when the group has none).
    int SelTovarID = 0;
    // In: the group to open.
    int SelGroupID = 0;

    TClientDataSet* cdsTovarGr;  // xqTovarGr: every group by level and name
    TClientDataSet* cdsTovar;    // xqTovar: the goods of group PAR_GR by article
    QWidget* PanelTree;
    TDBTreeView* DBTreeView;
    QTableView* DBGrid;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    void done(int result) override;

public slots:
    // The selected group changed: its goods are read again.
    void DBTreeViewChange();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void reloadGoods();
    DataSetModel* m_model;
};

class TfrmSelGroup : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int SelGroupID MEMBER SelGroupID)
public:
    explicit TfrmSelGroup(QWidget* parent = nullptr);

    // In: the group to stand on; out: the chosen group.
    int SelGroupID = 0;

    TClientDataSet* cdsGroup;  // xq_TovarGr
    QWidget* Panel;
    TDBTreeView* DBTreeView;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;
};
