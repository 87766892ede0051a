#pragma once
// Order of the rows of a client dataset: a list of fields, each ascending or
// descending. Nulls come first; numbers compare by value, dates by date,
// texts by the Russian collation ignoring case (ties then by case).
#include "data/DataRow.h"

#include <QString>
#include <vector>

int compareValues(const fb::Value& a, const fb::Value& b);

struct TSortKey {
    int field = -1;
    bool descending = false;
};

class TSortIndex {
public:
    TSortIndex() = default;
    explicit TSortIndex(std::vector<TSortKey> keys) : m_keys(std::move(keys)) {}

    bool isActive() const { return !m_keys.empty(); }
    const std::vector<TSortKey>& keys() const { return m_keys; }

    // <0, 0, >0 over the index fields.
    int compare(const std::vector<fb::Value>& a, const std::vector<fb::Value>& b) const;
    // Compares a row with search values for the first keys.size() index fields.
    int compareWithKey(const std::vector<fb::Value>& row, const std::vector<fb::Value>& key) const;
    // Stable: rows equal on the index keep their load order.
    void sort(std::vector<TDataRow*>& rows) const;

private:
    std::vector<TSortKey> m_keys;
};
