// Work periods: closing the last period and the stock on hand at its last day.
#include "BenchCase.h"

#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QDate>
#include <QElapsedTimer>
#include <stdexcept>

namespace {

struct LastPeriod {
    int id = 0;
    QDate date2;
};

LastPeriod lastPeriod(fb::Attachment& att) {
    fb::Transaction tra(att);
    fb::Statement s(tra, QStringLiteral("SELECT FIRST 1 ID, DATE_2 FROM RPERIOD ORDER BY ID DESC"));
    s.execute();
    LastPeriod p;
    if (s.fetch()) {
        p.id = int(s.value(0).toInt());
        p.date2 = s.value(1).toDate();
    }
    tra.commit();
    if (p.id == 0) throw std::runtime_error("В базе нет ни одного рабочего периода");
    return p;
}

QDate lastDayOfNextMonth(const QDate& d) {
    const QDate next = d.addDays(1);
    return QDate(next.year(), next.month(), next.daysInMonth());
}

qint64 periodCloseLast(fb::Attachment& att) {
    const LastPeriod p = lastPeriod(att);
    QElapsedTimer t;
    t.start();
    fb::Transaction tra(att);
    fb::exec(tra, QStringLiteral("EXECUTE PROCEDURE P_PERIOD_CLOSE(?, ?)"), {p.id, lastDayOfNextMonth(p.date2)});
    tra.commit();
    return t.elapsed();
}

qint64 nalichdLastDay(fb::Attachment& att) {
    const LastPeriod p = lastPeriod(att);
    QElapsedTimer t;
    t.start();
    fb::Transaction tra(att);
    fb::Statement s(tra, QStringLiteral("SELECT * FROM P_NALICHD(?)"));
    s.set(0, p.date2);
    s.execute();
    qint64 rows = 0;
    while (s.fetch()) ++rows;
    tra.commit();
    if (rows == 0) throw std::runtime_error("P_NALICHD не вернула ни одной строки");
    return t.elapsed();
}

}  // namespace

std::vector<BenchCase> periodBenchCases() {
    return {
        {QStringLiteral("period_close_last"), QStringLiteral("закрытие последнего (открытого) периода, P_PERIOD_CLOSE"),
         periodCloseLast},
        {QStringLiteral("nalichd_last_day"), QStringLiteral("остатки на последний день последнего периода, P_NALICHD, все строки"),
         nalichdLastDay},
    };
}
