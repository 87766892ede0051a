#pragma once
// The pending changes of a client dataset, one entry per row, in the order in
// which each row was first changed. A row inserted and then deleted leaves no
// trace; a row changed and then deleted becomes a deletion of the loaded row.
#include "data/DataRow.h"

#include <QHash>
#include <QSet>
#include <vector>

enum class TChangeKind { Insert, Modify, Delete };

struct TChange {
    TChangeKind kind;
    TRowPtr row;
};

class TChangeLog {
public:
    void recordInsert(const TRowPtr& row);
    void recordModify(const TRowPtr& row);
    // Returns false when the row was a pending insert (nothing is left to send).
    bool recordDelete(const TRowPtr& row);

    const TChange* find(const TDataRow* row) const;
    const TChange* findSerial(quint64 serial) const;
    void setKind(const TDataRow* row, TChangeKind kind);
    void remove(const TDataRow* row);
    // Removes the entries of all these rows in one pass (a bulk apply).
    void removeRows(const QSet<const TDataRow*>& rows);

    bool isEmpty() const { return m_entries.empty(); }
    int size() const { return int(m_entries.size()); }
    const std::vector<TChange>& entries() const { return m_entries; }
    void clear() {
        m_entries.clear();
        m_index.clear();
    }

private:
    void reindex();
    std::vector<TChange> m_entries;
    QHash<const TDataRow*, size_t> m_index;  // row -> its entry, so lookups stay constant-time
};
