#include "data/SortIndex.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace {

const QCollator& collator() {
    static const QCollator c = [] {
        QCollator col{QLocale(QLocale::Russian, QLocale::Russia)};
        col.setCaseSensitivity(Qt::CaseInsensitive);
        return col;
    }();
    return c;
}

int sign(qint64 v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

}  // namespace

int compareValues(const fb::Value& a, const fb::Value& b) {
    using K = fb::Value::Kind;
    if (a.isNull() || b.isNull()) return a.isNull() ? (b.isNull() ? 0 : -1) : 1;
    const bool aNum = a.kind() == K::Int || a.kind() == K::Dec;
    const bool bNum = b.kind() == K::Int || b.kind() == K::Dec;
    if (aNum && bNum) {
        if (a.kind() == K::Int && b.kind() == K::Int) return sign(a.toInt() - b.toInt());
        const auto x = a.toDecimal(), y = b.toDecimal();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    const bool aDate = a.kind() == K::Date || a.kind() == K::Timestamp;
    const bool bDate = b.kind() == K::Date || b.kind() == K::Timestamp;
    if (aDate && bDate) {
        // Calendar comparison: no time zones involved (and no cost of them).
        const qint64 dx = a.toDate().toJulianDay(), dy = b.toDate().toJulianDay();
        if (dx != dy) return dx < dy ? -1 : 1;
        if (a.kind() == K::Date && b.kind() == K::Date) return 0;
        const int tx = a.kind() == K::Timestamp ? a.toDateTime().time().msecsSinceStartOfDay() : 0;
        const int ty = b.kind() == K::Timestamp ? b.toDateTime().time().msecsSinceStartOfDay() : 0;
        return tx < ty ? -1 : (ty < tx ? 1 : 0);
    }
    const QString x = a.toString(), y = b.toString();
    int c = collator().compare(x, y);
    if (c == 0) c = x.compare(y);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int TSortIndex::compare(const std::vector<fb::Value>& a, const std::vector<fb::Value>& b) const {
    for (const auto& k : m_keys) {
        int c = compareValues(a[k.field], b[k.field]);
        if (c != 0) return k.descending ? -c : c;
    }
    return 0;
}

int TSortIndex::compareWithKey(const std::vector<fb::Value>& row, const std::vector<fb::Value>& key) const {
    const size_t n = std::min(key.size(), m_keys.size());
    for (size_t i = 0; i < n; ++i) {
        int c = compareValues(row[m_keys[i].field], key[i]);
        if (c != 0) return m_keys[i].descending ? -c : c;
    }
    return 0;
}

void TSortIndex::sort(std::vector<TDataRow*>& rows) const {
    if (!isActive()) return;
    std::stable_sort(rows.begin(), rows.end(), [this](const TDataRow* a, const TDataRow* b) {
        const int c = compare(a->values, b->values);
        return c != 0 ? c < 0 : a->order < b->order;
    });
}
