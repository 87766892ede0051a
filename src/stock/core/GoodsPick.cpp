#include "stock/core/GoodsPick.h"

#include "data/ClientDataSet.h"

void TGoodsPick::load(const TClientDataSet& tovar) {
    const int n = tovar.recordCount();
    m_ids.assign(size_t(n), 0);
    for (int b = 0; b < 3; ++b) {
        m_text[b].assign(size_t(n), QString());
        m_upper[b].assign(size_t(n), QString());
    }
    m_indexOfId.clear();
    m_indexOfId.reserve(n);
    const int idCol = tovar.fieldByName(QStringLiteral("ID")).index();
    const int cols[3] = {tovar.fieldByName(QStringLiteral("ARTIKUL")).index(),
                         tovar.fieldByName(QStringLiteral("EAN13")).index(),
                         tovar.fieldByName(QStringLiteral("NAME")).index()};
    for (int row = 0; row < n; ++row) {
        const int id = int(tovar.valueAt(row, idCol).toInt());
        m_ids[size_t(row)] = id;
        if (!m_indexOfId.contains(id)) m_indexOfId.insert(id, row);
        for (int b = 0; b < 3; ++b) {
            const fb::Value v = tovar.valueAt(row, cols[b]);
            QString t = v.isNull() ? QString() : v.toString().trimmed();
            m_upper[b][size_t(row)] = t.toUpper();
            m_text[b][size_t(row)] = std::move(t);
        }
    }
}

int TGoodsPick::firstWithPrefix(TGoodsBox box, const QString& typed) const {
    if (typed.isEmpty()) return -1;
    const QString up = typed.toUpper();
    const auto& list = m_upper[int(box)];
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].startsWith(up)) return int(i);
    return -1;
}

bool TGoodsPick::names(TGoodsBox box, int index, const QString& text) const {
    if (index < 0 || index >= count() || text.isEmpty()) return false;
    if (box == TGoodsBox::Ean13) return m_text[int(box)][size_t(index)] == text;
    return m_upper[int(box)][size_t(index)] == text.toUpper();
}

int TGoodsPick::find(TGoodsBox box, const QString& text) const {
    if (text.isEmpty()) return -1;
    for (int i = 0; i < count(); ++i)
        if (names(box, i, text)) return i;
    return -1;
}
