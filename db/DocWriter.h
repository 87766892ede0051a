#pragma once
// Writes whole documents (service orders, stock documents) and work periods
// the way the program leaves them: totals follow the lines, amounts in kopecks.
// Used by the demo and benchmark fillers.
#include "fb/Decimal.h"
#include "fb/Value.h"

#include <QDate>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace fb { class Transaction; class Statement; }

namespace obrixdb {

struct ProductLine {
    int productId = 0;
    fb::Value colorId, materialId, ppara;  // null when not given
    int procizn = 50;
};

struct ServiceLine {
    int uslugaId = 0;
    fb::Decimal summa;
};

struct Order {
    int kind = 1;
    int periodId = 0;
    QString series;
    int number = 0;
    QDate dateP, dateV, dateVyd;
    int zakazchId = 1;
    int priemschikId = 1;
    QString comment;
    int otklType = 0;  // 0 none, 1 discount, 2 markup
    int otklProc = 0;
    bool paidInFull = true;
    fb::Decimal received;  // used when not paid in full
    fb::Value garant = 3;
    QString vremVyd;
    std::vector<ProductLine> products;
    std::vector<ServiceLine> services;
};

// The money fields of an order as the editor's rules leave them.
struct OrderTotals {
    fb::Decimal total, otklSum, totalWotkl, received, debt;
};
OrderTotals orderTotals(const Order& o);

struct StockLine {
    int tovarId = 0;
    fb::Decimal kolvo, cena;
    std::optional<fb::Decimal> cenaRealiz;  // sales only
};

struct StockDoc {
    int kind = 101;
    int periodId = 0;
    QDate date;
    QString number;
    QString comment;
    std::optional<int> docuId;  // the order an automatic write-off comes from
    std::vector<StockLine> lines;
};

class DocWriter {
public:
    explicit DocWriter(fb::Transaction& tra);
    ~DocWriter();
    DocWriter(const DocWriter&) = delete;
    DocWriter& operator=(const DocWriter&) = delete;

    int addOrder(const Order& o);        // the new DOCU.ID
    int addStockDoc(const StockDoc& d);  // the new DOCS.ID

private:
    fb::Transaction& m_tra;
    std::unique_ptr<fb::Statement> m_docu, m_pmoves, m_umoves, m_docs, m_moves;
};

// A work period row as the period window makes it; `first` gives it an opening stock of 0.
int addPeriod(fb::Transaction& tra, const QDate& date1, const QDate& date2, bool first);
// Closes a period the way the period window does (the date passed is the last day of
// the month that holds the day after its end); returns the ID of the latest period then.
int closePeriod(fb::Transaction& tra, int periodId);
// The last day of the month holding the day after `date2`.
QDate closeDateFor(const QDate& date2);

}  // namespace obrixdb
