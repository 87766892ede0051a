#pragma once
// Random but repeatable documents of a workshop's month: orders with their
// automatic write-offs and stock documents of every kind.
#include "db/DemoBooks.h"
#include "db/DocWriter.h"

#include <QDate>
#include <random>

namespace obrixdb {

// How many documents of each kind one month gets, and their lines per document.
struct MonthPlan {
    int orders = 0;
    double writeOffShare = 1.0;  // share of orders whose saving wrote off their goods
    int receipts = 0, receiptLines = 0;
    int sales = 0, saleLines = 0;
    int writeOffs = 0, writeOffLines = 0;
    int returnsIn = 0, returnsInLines = 0;    // kind 107
    int returnsOut = 0, returnsOutLines = 0;  // kind 108
};

class DocGenerator {
public:
    DocGenerator(const Catalog& catalog, quint32 seed, const QDate& today);

    // A receipt of every goods item of the catalog (in documents of at most
    // `linesPerDoc` lines) dated `date`: the stock the workshop starts with.
    void initialStock(DocWriter& w, int periodId, const QDate& date, int linesPerDoc = 1000);
    // The documents of `plan`, dated from `from` to `to`, in date order.
    void fillRange(DocWriter& w, int periodId, const QDate& from, const QDate& to, const MonthPlan& plan);

    int ordersWritten() const { return m_docuNumber; }
    int stockDocsWritten() const { return m_docsNumber; }

private:
    int rnd(int lo, int hi);  // inclusive
    bool chance(double p);
    template <class T> const T& pick(const std::vector<T>& v) { return v[size_t(rnd(0, int(v.size()) - 1))]; }

    Order makeOrder(int periodId, const QDate& date);
    void writeOrder(DocWriter& w, int periodId, const QDate& date, double writeOffShare);
    void writeStockDoc(DocWriter& w, int periodId, const QDate& date, int kind, int lines);

    const Catalog& m_cat;
    std::mt19937 m_rng;
    QDate m_today;
    int m_docuNumber = 0;
    int m_docsNumber = 0;
    std::vector<const CatalogService*> m_servicesByKind[4];
};

}  // namespace obrixdb
