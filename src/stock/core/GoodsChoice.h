#pragma once
// Choosing goods, or a goods group, from the group tree of the goods book:
// the lists the choice windows show, the goods of the group the tree stands
// on, where a window starts and what it hands back. Nothing is written to the
// database. No widgets: the windows show these lists in a tree and a grid.
#include <optional>

class TClientDataSet;

// Every group of the goods book (ID, LEVELI, NAME, PARENT_ID) by level and
// name, in the order the server gives.
void DefineGoodsGroupsList(TClientDataSet& groups);
// The goods of one group (parameter PAR_GR) by article, read only:
// "Артикул" and "Наименование" shown; ID, EAN13 and GR_ID hidden.
void DefineGroupGoodsList(TClientDataSet& goods);

// Puts the cursor on the row with ID `id`, the first row when there is none.
void LocateOrFirst(TClientDataSet& list, int id);
// Rereads the goods of the group the groups' cursor stands on (-1 when the
// groups list is closed or empty: no goods).
void OpenGroupGoods(TClientDataSet& goods, const TClientDataSet& groups);
// The ID of the row the cursor stands on; nullopt when the list is closed or empty.
std::optional<int> CurrentListId(const TClientDataSet& list);

// The group of a goods in the goods list `tovar` (ID, GR_ID; the data module's
// goods lookup); nullopt when the list is closed or the goods has none there.
std::optional<int> GoodsGroupOf(const TClientDataSet& tovar, int tovarId);
