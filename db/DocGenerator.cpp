#include "db/DocGenerator.h"

#include <algorithm>

namespace obrixdb {

using fb::Decimal;
using fb::Value;

namespace {

const char* const kOrderComments[] = {
    "Потертости", "Царапины", "Заломы", "Сильный износ", "Следы предыдущего ремонта", "Срочный заказ",
};

enum class Event { Order, Receipt, Sale, WriteOff, ReturnIn, ReturnOut };

}  // namespace

DocGenerator::DocGenerator(const Catalog& catalog, quint32 seed, const QDate& today)
    : m_cat(catalog), m_rng(seed), m_today(today) {
    for (const auto& s : m_cat.services)
        if (s.kind >= 1 && s.kind <= 3) m_servicesByKind[s.kind].push_back(&s);
}

int DocGenerator::rnd(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

bool DocGenerator::chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_rng) < p; }

void DocGenerator::initialStock(DocWriter& w, int periodId, const QDate& date, int linesPerDoc) {
    StockDoc d;
    auto flush = [&]() {
        if (d.lines.empty()) return;
        d.kind = 101;
        d.periodId = periodId;
        d.date = date;
        d.number = QString::number(++m_docsNumber);
        d.comment = QStringLiteral("Начальные остатки");
        w.addStockDoc(d);
        d.lines.clear();
    };
    for (const auto& g : m_cat.goods) {
        d.lines.push_back({g.id, Decimal(rnd(20, 60)), g.cena, std::nullopt});
        if (int(d.lines.size()) >= linesPerDoc) flush();
    }
    flush();
}

Order DocGenerator::makeOrder(int periodId, const QDate& date) {
    Order o;
    const int r = rnd(1, 10);
    o.kind = r <= 6 ? 1 : r <= 9 ? 2 : 3;
    o.periodId = periodId;
    o.series = QStringLiteral("АА");
    o.number = ++m_docuNumber;
    o.dateP = date;
    o.dateV = date.addDays(3);
    o.zakazchId = chance(0.4) ? 1 : pick(m_cat.customers);
    o.priemschikId = pick(m_cat.operators);
    o.vremVyd = QStringLiteral("10:00-19:00");
    if (chance(0.2)) o.comment = QString::fromUtf8(kOrderComments[rnd(0, int(std::size(kOrderComments)) - 1)]);

    const auto& products = m_cat.products[o.kind];
    const int nProducts = o.kind == 1 && chance(0.15) ? 2 : 1;
    for (int i = 0; i < nProducts; ++i) {
        ProductLine p;
        p.productId = pick(products);
        if (o.kind == 1) {
            p.colorId = rnd(1, 10);
            p.materialId = rnd(1, 7);
            p.ppara = chance(0.8) ? 1 : rnd(2, 3);
            p.procizn = rnd(2, 8) * 10;
            o.garant = chance(0.7) ? 3 : 4;
        } else if (o.kind == 2) {
            p.materialId = rnd(8, 9);
            p.procizn = 50;
            o.garant = 2;
        } else {
            p.materialId = rnd(8, 11);
            p.procizn = 50;
            o.garant = 1;
        }
        o.products.push_back(p);
    }

    const auto& services = m_servicesByKind[o.kind];
    const int nServices = rnd(1, o.kind == 1 ? 3 : 2);
    for (int i = 0; i < nServices; ++i) {
        const CatalogService* s = services[size_t(rnd(0, int(services.size()) - 1))];
        // Per-character engraving is charged by the number of characters.
        const Decimal summa = s->price < Decimal(100) ? s->price * Decimal(rnd(5, 25)) : s->price;
        o.services.push_back({s->id, summa});
    }

    const int dev = rnd(1, 10);
    if (dev <= 2) {
        o.otklType = 1;
        o.otklProc = 5 * rnd(1, 3);
    } else if (dev == 3) {
        o.otklType = 2;
        o.otklProc = 10 * rnd(2, 5);
    }

    if (o.dateV <= m_today) {
        o.dateVyd = std::min(o.dateV.addDays(rnd(0, 2)), m_today);
        o.paidInFull = true;
    } else {
        o.paidInFull = false;
        const OrderTotals t = orderTotals(o);
        o.received = chance(0.5) ? t.totalWotkl.percent(Decimal(50), 2) : Decimal();
    }
    return o;
}

void DocGenerator::writeOrder(DocWriter& w, int periodId, const QDate& date, double writeOffShare) {
    const Order o = makeOrder(periodId, date);
    const int docuId = w.addOrder(o);
    if (!chance(writeOffShare)) return;
    // As the order editor does on saving: one write-off of the goods every service line consumes.
    StockDoc d;
    d.kind = 102;
    d.periodId = periodId;
    d.date = date;
    d.number = QString::number(++m_docsNumber);
    d.docuId = docuId;
    for (const auto& line : o.services)
        for (const auto& s : m_cat.services)
            if (s.id == line.uslugaId)
                for (const auto& use : s.goods) d.lines.push_back({use.tovarId, use.kolvo, use.cena, std::nullopt});
    w.addStockDoc(d);
}

void DocGenerator::writeStockDoc(DocWriter& w, int periodId, const QDate& date, int kind, int lines) {
    StockDoc d;
    d.kind = kind;
    d.periodId = periodId;
    d.date = date;
    d.number = QString::number(++m_docsNumber);
    switch (kind) {
    case 101: d.comment = QStringLiteral("Поставка от ООО «Обувьснаб»"); break;
    case 102: d.comment = QStringLiteral("Списание брака"); break;
    case 103: d.comment = QString(); break;
    case 107: d.comment = QStringLiteral("Возврат товара покупателем"); break;
    case 108: d.comment = QStringLiteral("Возврат поставщику: брак"); break;
    default: break;
    }
    for (int i = 0; i < lines; ++i) {
        const CatalogGoods& g = pick(m_cat.goods);
        StockLine l{g.id, Decimal(1), g.cena, std::nullopt};
        if (kind == 101) l.kolvo = Decimal(rnd(5, 30));
        else if (kind == 103) { l.kolvo = Decimal(rnd(1, 3)); l.cenaRealiz = g.cenaProd; }
        else if (kind == 108) l.kolvo = Decimal(rnd(1, 5));
        else if (kind == 102) l.kolvo = Decimal(rnd(1, 2));
        d.lines.push_back(l);
    }
    w.addStockDoc(d);
}

void DocGenerator::fillRange(DocWriter& w, int periodId, const QDate& from, const QDate& to,
                             const MonthPlan& plan) {
    const int days = int(from.daysTo(to));
    std::vector<std::pair<QDate, Event>> events;
    auto add = [&](int n, Event e) {
        for (int i = 0; i < n; ++i) events.emplace_back(from.addDays(rnd(0, days)), e);
    };
    add(plan.orders, Event::Order);
    add(plan.receipts, Event::Receipt);
    add(plan.sales, Event::Sale);
    add(plan.writeOffs, Event::WriteOff);
    add(plan.returnsIn, Event::ReturnIn);
    add(plan.returnsOut, Event::ReturnOut);
    std::stable_sort(events.begin(), events.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [date, e] : events) {
        switch (e) {
        case Event::Order: writeOrder(w, periodId, date, plan.writeOffShare); break;
        case Event::Receipt: writeStockDoc(w, periodId, date, 101, plan.receiptLines); break;
        case Event::Sale: writeStockDoc(w, periodId, date, 103, plan.saleLines); break;
        case Event::WriteOff: writeStockDoc(w, periodId, date, 102, plan.writeOffLines); break;
        case Event::ReturnIn: writeStockDoc(w, periodId, date, 107, plan.returnsInLines); break;
        case Event::ReturnOut: writeStockDoc(w, periodId, date, 108, plan.returnsOutLines); break;
        }
    }
}

}  // namespace obrixdb
