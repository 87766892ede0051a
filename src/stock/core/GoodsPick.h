#pragma once
// Picking a goods in the stock line dialog by its article, bar code or name:
// the goods list in the order of the goods lookup (by name), one entry per
// goods in each of the three lists, an entry identified by the goods' ID.
// No widgets: the dialog's three boxes show these lists.
#include <QHash>
#include <QString>
#include <vector>

class TClientDataSet;

enum class TGoodsBox { Artikul = 0, Ean13 = 1, Name = 2 };

class TGoodsPick {
public:
    // Reads every row of the goods lookup (ID, ARTIKUL, EAN13, NAME); the cursor stays.
    void load(const TClientDataSet& tovar);
    int count() const { return int(m_ids.size()); }
    int id(int index) const { return m_ids[size_t(index)]; }
    const QString& text(TGoodsBox box, int index) const { return m_text[int(box)][size_t(index)]; }
    const std::vector<QString>& texts(TGoodsBox box) const { return m_text[int(box)]; }
    // Index of the goods with that ID; -1 when there is none.
    int indexOfId(int id) const { return m_indexOfId.value(id, -1); }
    // The first entry that begins with `typed`, letter case ignored; -1 when
    // none does or nothing is typed.
    int firstWithPrefix(TGoodsBox box, const QString& typed) const;
    // Does the box's text name the entry? Upper case for the article and the
    // name, exactly for the bar code; an empty text names nothing.
    bool names(TGoodsBox box, int index, const QString& text) const;
    // The first entry the text names; -1 when none.
    int find(TGoodsBox box, const QString& text) const;

private:
    std::vector<int> m_ids;
    std::vector<QString> m_text[3];
    std::vector<QString> m_upper[3];
    QHash<int, int> m_indexOfId;
};
