#pragma once
// One row held by a client dataset.
#include "fb/Value.h"

#include <memory>
#include <vector>

struct TDataRow {
    quint64 serial = 0;                 // identity within its dataset
    double order = 0;                   // place in the order rows were loaded or added
    std::vector<fb::Value> values;      // by field index (lookup slots stay null)
    std::vector<fb::Value> original;    // values as loaded or last applied; empty for a new row
    quint64 version = 0;                // grows with every posted change of the row
};

using TRowPtr = std::shared_ptr<TDataRow>;
