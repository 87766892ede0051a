#pragma once
// The reference books of the demo workshop (goods, services with their
// accompanying goods, products, customers, operators), and what the document
// generators need to know of them.
#include "fb/Decimal.h"

#include <vector>

namespace fb { class Transaction; }

namespace obrixdb {

struct CatalogGoods {
    int id = 0;
    fb::Decimal cena, cenaProd;
};

struct CatalogUsage {
    int tovarId = 0;
    fb::Decimal kolvo, cena;
};

struct CatalogService {
    int id = 0;
    int kind = 1;  // the kind of service order it belongs to
    fb::Decimal price;
    std::vector<CatalogUsage> goods;  // accompanying goods
};

struct Catalog {
    std::vector<CatalogGoods> goods;
    std::vector<CatalogService> services;
    std::vector<int> products[4];  // by kind of order 1..3
    std::vector<int> customers;
    std::vector<int> operators;
    const CatalogGoods& goodsById(int id) const;
};

// Writes the workshop's reference books into a database holding only the required rows.
Catalog fillDemoBooks(fb::Transaction& tra);

}  // namespace obrixdb
