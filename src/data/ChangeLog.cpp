#include "data/ChangeLog.h"

#include <algorithm>

void TChangeLog::recordInsert(const TRowPtr& row) { m_entries.push_back({TChangeKind::Insert, row}); }

void TChangeLog::recordModify(const TRowPtr& row) {
    if (!find(row.get())) m_entries.push_back({TChangeKind::Modify, row});
}

bool TChangeLog::recordDelete(const TRowPtr& row) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const TChange& c) { return c.row.get() == row.get(); });
    if (it == m_entries.end()) {
        m_entries.push_back({TChangeKind::Delete, row});
        return true;
    }
    if (it->kind == TChangeKind::Insert) {
        m_entries.erase(it);
        return false;
    }
    it->kind = TChangeKind::Delete;
    return true;
}

const TChange* TChangeLog::find(const TDataRow* row) const {
    for (const auto& c : m_entries)
        if (c.row.get() == row) return &c;
    return nullptr;
}

const TChange* TChangeLog::findSerial(quint64 serial) const {
    for (const auto& c : m_entries)
        if (c.row->serial == serial) return &c;
    return nullptr;
}

void TChangeLog::setKind(const TDataRow* row, TChangeKind kind) {
    for (auto& c : m_entries)
        if (c.row.get() == row) c.kind = kind;
}

void TChangeLog::remove(const TDataRow* row) {
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const TChange& c) { return c.row.get() == row; }),
                    m_entries.end());
}
