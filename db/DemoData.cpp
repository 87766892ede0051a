// The demo workshop: reference books, three monthly work periods ending with
// the current month (the earlier two closed), a few dozen orders and stock
// documents of every kind.
#include "db/DbCreate.h"
#include "db/DemoBooks.h"
#include "db/DocGenerator.h"
#include "db/DocWriter.h"

#include "fb/Attachment.h"
#include "fb/Transaction.h"

namespace obrixdb {

void fillDemo(fb::Attachment& att, const QDate& today) {
    fb::Transaction tra(att);
    const Catalog cat = fillDemoBooks(tra);
    DocWriter w(tra);
    DocGenerator gen(cat, 20261209u, today);

    MonthPlan plan;
    plan.orders = 14;
    plan.writeOffShare = 1.0;  // the workshop writes off accompanying goods on every save
    plan.receipts = 2;
    plan.receiptLines = 6;
    plan.sales = 4;
    plan.saleLines = 2;
    plan.writeOffs = 1;
    plan.writeOffLines = 2;
    plan.returnsIn = 1;
    plan.returnsInLines = 1;
    plan.returnsOut = 1;
    plan.returnsOutLines = 2;

    const QDate thisMonth(today.year(), today.month(), 1);
    QDate month = thisMonth.addMonths(-2);
    int period = addPeriod(tra, month, QDate(month.year(), month.month(), month.daysInMonth()), true);
    gen.initialStock(w, period, month);
    for (int i = 0; i < 3; ++i) {
        const bool last = month == thisMonth;
        const QDate end = last ? today : QDate(month.year(), month.month(), month.daysInMonth());
        gen.fillRange(w, period, month, end, plan);
        if (!last) period = closePeriod(tra, period);
        month = month.addMonths(1);
    }
    tra.commit();
    refreshStatistics(att);
}

}  // namespace obrixdb
