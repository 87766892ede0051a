#include "data/ChangeLog.h"

#include <algorithm>

void TChangeLog::reindex() {
    m_index.clear();
    m_index.reserve(qsizetype(m_entries.size()));
    for (size_t i = 0; i < m_entries.size(); ++i) m_index.insert(m_entries[i].row.get(), i);
}

void TChangeLog::recordInsert(const TRowPtr& row) {
    m_index.insert(row.get(), m_entries.size());
    m_entries.push_back({TChangeKind::Insert, row});
}

void TChangeLog::recordModify(const TRowPtr& row) {
    if (find(row.get())) return;
    m_index.insert(row.get(), m_entries.size());
    m_entries.push_back({TChangeKind::Modify, row});
}

bool TChangeLog::recordDelete(const TRowPtr& row) {
    const auto it = m_index.constFind(row.get());
    if (it == m_index.constEnd()) {
        m_index.insert(row.get(), m_entries.size());
        m_entries.push_back({TChangeKind::Delete, row});
        return true;
    }
    TChange& c = m_entries[*it];
    if (c.kind == TChangeKind::Insert) {
        remove(row.get());
        return false;
    }
    c.kind = TChangeKind::Delete;
    return true;
}

const TChange* TChangeLog::find(const TDataRow* row) const {
    const auto it = m_index.constFind(row);
    return it == m_index.constEnd() ? nullptr : &m_entries[*it];
}

const TChange* TChangeLog::findSerial(quint64 serial) const {
    for (const auto& c : m_entries)
        if (c.row->serial == serial) return &c;
    return nullptr;
}

void TChangeLog::setKind(const TDataRow* row, TChangeKind kind) {
    const auto it = m_index.constFind(row);
    if (it != m_index.constEnd()) m_entries[*it].kind = kind;
}

void TChangeLog::remove(const TDataRow* row) {
    const auto it = m_index.constFind(row);
    if (it == m_index.constEnd()) return;
    m_entries.erase(m_entries.begin() + long(*it));
    reindex();
}

void TChangeLog::removeRows(const QSet<const TDataRow*>& rows) {
    if (rows.isEmpty()) return;
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const TChange& c) { return rows.contains(c.row.get()); }),
                    m_entries.end());
    reindex();
}
