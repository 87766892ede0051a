#include "ui/DataSetModel.h"

#include "data/DataErrors.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

DataSetModel::DataSetModel(TClientDataSet* dataSet, QObject* parent) : QAbstractTableModel(parent) {
    setDataSet(dataSet);
}

void DataSetModel::setDataSet(TClientDataSet* dataSet) {
    beginResetModel();
    for (const auto& c : m_connections) disconnect(c);
    m_connections.clear();
    m_lookups.clear();
    m_ds = dataSet;
    m_columns = m_ds ? m_ds->visibleFields() : std::vector<TField*>{};
    if (m_ds) {
        m_connections << connect(m_ds, &TClientDataSet::dataChanged, this, &DataSetModel::resetAll)
                      << connect(m_ds, &TClientDataSet::fieldsChanged, this, &DataSetModel::resetAll)
                      << connect(m_ds, &TClientDataSet::stateChanged, this, [this] { watchLookups(); })
                      << connect(m_ds, &TClientDataSet::rowChanged, this, &DataSetModel::onRowChanged)
                      << connect(m_ds, &TClientDataSet::currentChanged, this, &DataSetModel::syncViews);
    }
    endResetModel();
    watchLookups();
    syncViews();
    emit columnsChanged();
}

// Lookup fields show rows of other datasets: when those change, so does the text here.
void DataSetModel::watchLookups() {
    if (!m_ds) return;
    for (TField* f : m_ds->fields()) {
        TClientDataSet* src = f->kind() == TFieldKind::Lookup ? f->lookup().dataSet : nullptr;
        if (!src || m_lookups.contains(src)) continue;
        m_lookups.insert(src);
        m_connections << connect(src, &TClientDataSet::dataChanged, this, [this] {
            if (rowCount() > 0 && columnCount() > 0)
                emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        });
        m_connections << connect(src, &QObject::destroyed, this, [this, src] { m_lookups.remove(src); });
    }
}

void DataSetModel::resetAll() {
    beginResetModel();
    const auto old = m_columns;
    m_columns = m_ds ? m_ds->visibleFields() : std::vector<TField*>{};
    endResetModel();
    // A reset gives the views' columns Qt's default width: they get theirs back.
    m_views.removeAll(nullptr);
    for (const auto& v : m_views) applyColumnWidths(v);
    watchLookups();
    syncViews();
    if (old != m_columns) emit columnsChanged();
}

void DataSetModel::onRowChanged(int row) {
    if (row < 0 || row >= rowCount() || m_columns.empty()) return;
    emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

TField* DataSetModel::fieldAt(int column) const {
    if (column < 0 || column >= int(m_columns.size())) return nullptr;
    return m_columns[size_t(column)];
}

int DataSetModel::columnOf(const QString& fieldName) const {
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i]->name() == fieldName.toUpper()) return int(i);
    return -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_ds || !m_ds->isActive()) return 0;
    return m_ds->recordCount();
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_ds || index.row() >= rowCount()) return {};
    TField* f = fieldAt(index.column());
    if (!f) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        QString text;
        try {
            text = m_ds->displayTextAt(index.row(), f->index());
        } catch (const std::exception&) {
            return QString();  // a display handler that fails shows nothing rather than stopping the paint
        }
        if (role == Qt::ToolTipRole) return f->isNumeric() || text.isEmpty() ? QVariant() : QVariant(text);
        // One line per row: line breaks inside a text show as blanks.
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        return text;
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (f->isNumeric() ? Qt::AlignRight : Qt::AlignLeft));
    default: return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    TField* f = fieldAt(section);
    return f ? QVariant(f->displayLabel()) : QVariant();
}

void DataSetModel::setStretchField(const QString& fieldName) { m_stretchField = fieldName.toUpper(); }

int DataSetModel::columnWidthOf(const QTableView* view, int column) const {
    const TField* f = fieldAt(column);
    if (!f) return 0;
    const QFontMetrics fm(view->font());
    const int digit = fm.horizontalAdvance(QLatin1Char('0'));
    return std::max(f->displayWidth() * digit + 8, fm.horizontalAdvance(f->displayLabel()) + 16);
}

int DataSetModel::columnsWidth(const QTableView* view) const {
    int sum = 0;
    for (int c = 0; c < columnCount(); ++c) sum += columnWidthOf(view, c);
    return sum;
}

void DataSetModel::applyColumnWidths(QTableView* view) const {
    QHeaderView* header = view->horizontalHeader();
    if (!m_stretchField.isEmpty()) header->setStretchLastSection(false);
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const int column = int(i);
        const bool stretch = m_columns[i]->name() == m_stretchField;
        header->setSectionResizeMode(column, stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
        if (!stretch) view->setColumnWidth(column, columnWidthOf(view, column));
    }
}

void DataSetModel::attachView(QTableView* view) {
    if (view->model() != this) view->setModel(this);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideRight);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_views.removeAll(nullptr);
    if (!m_views.contains(view)) m_views << view;
    QPointer<QTableView> guard(view);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, guard](const QModelIndex& current) {
                if (guard) onViewRowChanged(guard, current.row());
            });
    connect(this, &DataSetModel::columnsChanged, view, [this, guard] {
        if (guard) applyColumnWidths(guard);
    });
    applyColumnWidths(view);
    syncViews();
}

void DataSetModel::onViewRowChanged(QTableView*, int row) {
    if (m_syncing || !m_ds || !m_ds->isActive() || row < 0 || row == m_ds->recNo()) return;
    try {
        m_ds->setRecNo(row);
    } catch (...) {
        handleUiError(std::current_exception());
    }
    syncViews();  // back to where the dataset is, when it refused to move
}

void DataSetModel::syncViews() {
    if (m_syncing) return;
    m_syncing = true;
    const int row = (m_ds && m_ds->isActive()) ? m_ds->recNo() : -1;
    m_views.removeAll(nullptr);
    for (const auto& v : m_views) {
        QItemSelectionModel* sel = v->selectionModel();
        if (!sel) continue;
        if (row < 0 || row >= rowCount()) {
            sel->clearSelection();
            continue;
        }
        const int col = std::max(0, v->currentIndex().column());
        const QModelIndex idx = index(row, std::min(col, std::max(0, columnCount() - 1)));
        if (sel->currentIndex().row() != row || !sel->isRowSelected(row, QModelIndex())) {
            sel->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            v->scrollTo(idx);
        }
    }
    m_syncing = false;
}
