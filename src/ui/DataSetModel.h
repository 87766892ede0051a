#pragma once
// A client dataset as a table for QTableView: the visible fields are the
// columns (display labels as headers, display handlers for the text), the rows
// are the dataset's rows in its order. An attached view keeps its current row
// and the dataset's cursor together.
// Every grid looks alike: one line per row, a text longer than its column is
// elided and shown whole as the cell's tooltip, numbers to the right; the
// columns take their display widths, and the stretch field (the name) takes
// what the grid has left, so that the columns after it stay in view.
#include "data/ClientDataSet.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QSet>

class QTableView;

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(TClientDataSet* dataSet = nullptr, QObject* parent = nullptr);

    void setDataSet(TClientDataSet* dataSet);
    TClientDataSet* dataSet() const { return m_ds; }
    TField* fieldAt(int column) const;
    int columnOf(const QString& fieldName) const;  // -1 when the field is not shown

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Shows the model in the view (whole-row selection) and keeps the view's
    // current row and the dataset's cursor in step; columns get their display widths.
    void attachView(QTableView* view);
    void applyColumnWidths(QTableView* view) const;
    // The width a column gets (its display width, at least its title) and the sum over all.
    int columnWidthOf(const QTableView* view, int column) const;
    int columnsWidth(const QTableView* view) const;
    // The column that takes the grid's free width (none by default).
    void setStretchField(const QString& fieldName);

signals:
    void columnsChanged();  // the set of shown fields changed

private:
    void resetAll();
    void onRowChanged(int row);
    void syncViews();
    void onViewRowChanged(QTableView* view, int row);
    void watchLookups();

    QPointer<TClientDataSet> m_ds;
    std::vector<TField*> m_columns;
    QList<QPointer<QTableView>> m_views;
    QSet<TClientDataSet*> m_lookups;
    QList<QMetaObject::Connection> m_connections;
    bool m_syncing = false;
    QString m_stretchField;
};
