// A large database for measurements: years of monthly work periods, 5,000
// goods, 2,000 customers, about 20,000 orders and 40,000 stock lines a year.
// Each month is written in its own transaction, then its period is closed.
#include "db/DbCreate.h"
#include "db/DemoBooks.h"
#include "db/DocGenerator.h"
#include "db/DocWriter.h"

#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <stdexcept>

namespace obrixdb {

using fb::Decimal;

namespace {

constexpr int kGoods = 5000;
constexpr int kCustomers = 2000;
constexpr int kTopGroups = 10;
constexpr int kSubGroups = 4;

// More goods groups, goods and customers on top of the demo books.
void growBooks(fb::Transaction& tra, Catalog& cat) {
    const int firstGroup = int(fb::scalar(tra, "SELECT MAX(ID) FROM TOVARGR").toInt()) + 1;
    std::vector<int> leafGroups;
    {
        fb::Statement s(tra, "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (?, ?, ?, ?)");
        int id = firstGroup;
        for (int t = 1; t <= kTopGroups; ++t) {
            const int top = id++;
            s.set(0, top);
            s.set(1, 0);
            s.set(2, QStringLiteral("Раздел %1").arg(t, 2, 10, QChar('0')));
            s.set(3, 1);
            s.execute();
            for (int g = 1; g <= kSubGroups; ++g) {
                s.set(0, id);
                s.set(1, top);
                s.set(2, QStringLiteral("Подраздел %1.%2").arg(t, 2, 10, QChar('0')).arg(g));
                s.set(3, 2);
                s.execute();
                leafGroups.push_back(id++);
            }
        }
    }
    {
        fb::Statement s(tra,
            "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA, CENA_PROD) VALUES (?, ?, ?, ?, ?, ?, ?)");
        int id = int(fb::scalar(tra, "SELECT MAX(ID) FROM TOVAR").toInt());
        for (int n = int(cat.goods.size()); n < kGoods; ++n) {
            ++id;
            const Decimal cena = Decimal::fromUnits(qint64(500 + (id * 7919) % 99500) * 100);  // 5.00 .. 999.99
            const Decimal prod = cena.percent(Decimal(160), 2);
            s.set(0, id);
            s.set(1, leafGroups[size_t(id) % leafGroups.size()]);
            s.set(2, QStringLiteral("Б-%1").arg(id, 5, 10, QChar('0')));
            s.set(3, QStringLiteral("Товар %1").arg(id, 5, 10, QChar('0')));
            s.set(4, QStringLiteral("шт"));
            s.set(5, cena);
            s.set(6, prod);
            s.execute();
            cat.goods.push_back({id, cena, prod});
        }
    }
    {
        fb::Statement s(tra, "INSERT INTO ZAKAZCH (ID, NAME, PHONE) VALUES (?, ?, ?)");
        int id = int(fb::scalar(tra, "SELECT MAX(ID) FROM ZAKAZCH").toInt());
        while (int(cat.customers.size()) < kCustomers) {
            ++id;
            s.set(0, id);
            s.set(1, QStringLiteral("Заказчик %1").arg(id, 4, 10, QChar('0')));
            s.set(2, QStringLiteral("+7 900 %1").arg(id, 7, 10, QChar('0')));
            s.execute();
            cat.customers.push_back(id);
        }
    }
}

}  // namespace

void fillBench(fb::Attachment& att, int years, const Progress& progress, const QDate& today) {
    if (years < 1 || years > 50) throw std::invalid_argument("years must be 1..50");
    Catalog cat;
    {
        fb::Transaction tra(att);
        cat = fillDemoBooks(tra);
        growBooks(tra, cat);
        tra.commit();
    }
    DocGenerator gen(cat, 777u, today);

    MonthPlan plan;
    plan.orders = 1667;
    plan.writeOffShare = 0.4;
    plan.receipts = 10;
    plan.receiptLines = 60;
    plan.sales = 120;
    plan.saleLines = 8;
    plan.writeOffs = 10;
    plan.writeOffLines = 20;
    plan.returnsIn = 20;
    plan.returnsInLines = 5;
    plan.returnsOut = 10;
    plan.returnsOutLines = 10;

    const int months = years * 12;
    const QDate thisMonth(today.year(), today.month(), 1);
    QDate month = thisMonth.addMonths(-(months - 1));
    int period = 0;
    for (int i = 0; i < months; ++i) {
        const QDate end(month.year(), month.month(), month.daysInMonth());
        {
            fb::Transaction tra(att);
            if (i == 0) period = addPeriod(tra, month, end, true);
            DocWriter w(tra);
            if (i == 0) gen.initialStock(w, period, month);
            gen.fillRange(w, period, month, end, plan);
            tra.commit();
        }
        if (i + 1 < months) {
            fb::Transaction tra(att);
            period = closePeriod(tra, period);
            tra.commit();
        }
        if (progress) progress(QStringLiteral("Месяц %1").arg(month.toString(QStringLiteral("MM.yyyy"))), i + 1, months);
        month = month.addMonths(1);
    }
    refreshStatistics(att);
}

}  // namespace obrixdb
