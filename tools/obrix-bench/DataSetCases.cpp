// The client dataset in bulk: opening 100,000 rows beside the raw fetch of
// the same query, appending rows into a sorted dataset (an import), and the
// switch to the stock tab on a database of several years.
#include "BenchCase.h"

#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <stdexcept>

namespace {

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

const QString kOrders = QStringLiteral("SELECT FIRST 100000 * FROM DOCU ORDER BY ID");

qint64 rawFetch(fb::Attachment& att, qint64& rows) {
    QElapsedTimer t;
    t.start();
    fb::Transaction tra(att);
    fb::Statement s(tra, kOrders);
    s.execute();
    rows = 0;
    std::vector<fb::Value> keep;
    while (s.fetch()) {
        for (int c = 0; c < s.columnCount(); ++c) keep.push_back(s.value(c));
        ++rows;
    }
    tra.commit();
    return t.elapsed();
}

qint64 openHundredThousand(fb::Attachment& att) {
    qint64 rows = 0;
    rawFetch(att, rows);  // warm the page cache for both
    const qint64 raw = rawFetch(att, rows);
    QElapsedTimer t;
    t.start();
    TClientDataSet ds(nullptr, QStringLiteral("cdsBench"));
    ds.setAttachment(&att);
    ds.setReadOnly(true);
    ds.setKeepServerOrder(true);
    ds.setCommandText(kOrders);
    ds.open();
    const qint64 ms = t.elapsed();
    if (ds.recordCount() != rows) throw std::runtime_error("набор данных прочитал не все строки");
    out() << "dataset_open_100k: " << rows << " rows, dataset " << ms << " ms, raw fetch " << raw
          << " ms, ratio " << QString::number(double(ms) / double(std::max<qint64>(raw, 1)), 'f', 2)
          << " (target <= 1.50)\n";
    return ms;
}

// Appends and posts `n` rows into a dataset sorted by name, as an import does.
qint64 appendSorted(fb::Attachment& att, int n) {
    TClientDataSet ds(nullptr, QStringLiteral("cdsBook"));
    ds.setAttachment(&att);
    ds.setCommandText(QStringLiteral("SELECT * FROM COLOR ORDER BY NAME"));
    ds.open();
    QElapsedTimer t;
    t.start();
    ds.disableControls();
    for (int i = 0; i < n; ++i) {
        ds.append();
        ds.fieldByName(QStringLiteral("ID")).setAsInteger(100000 + i);
        // names in an order unlike the sort: every row lands among the others
        ds.fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Цвет %1").arg((i * 7919) % n, 6, 10, QLatin1Char('0')));
        ds.post();
    }
    ds.enableControls();
    ds.first();
    return t.elapsed();
}

qint64 appendTenAndHundredThousand(fb::Attachment& att) {
    const qint64 small = appendSorted(att, 10000);
    const qint64 large = appendSorted(att, 100000);
    out() << "dataset_append_sorted: 10,000 rows " << small << " ms, 100,000 rows " << large << " ms, ratio "
          << QString::number(double(large) / double(std::max<qint64>(small, 1)), 'f', 1) << " (target <= 15)\n";
    return large;
}

int lastPeriod(fb::Attachment& att) {
    fb::Transaction tra(att);
    const int id = int(fb::scalar(tra, QStringLiteral("SELECT MAX(ID) FROM RPERIOD")).toInt());
    tra.commit();
    if (id == 0) throw std::runtime_error("В базе нет ни одного рабочего периода");
    return id;
}

qint64 stockTabSwitch(fb::Attachment& att) {
    const int period = lastPeriod(att);
    // What the stock tab read before: every order of every period.
    QElapsedTimer t;
    t.start();
    TClientDataSet all(nullptr, QStringLiteral("cdsAllOrders"));
    all.setAttachment(&att);
    all.setCommandText(QStringLiteral("SELECT D.ID, D.KINDDOC_ID, D.DATEP, D.SERIES, D.NUMBER, KD.NAME AS KDNAME "
                                      "FROM DOCU D JOIN KINDDOC KD ON KD.ID=D.KINDDOC_ID"));
    all.open();
    const qint64 before = t.elapsed();

    TDM dm;
    dm.xConnection = std::make_unique<fb::Attachment>(att.database());
    TClientDataSet docs(nullptr, QStringLiteral("cdsDocs"));
    docs.setAttachment(dm.xConnection.get());
    docs.setKeepServerOrder(true);
    docs.setCommandText(QStringLiteral("SELECT * FROM DOCS WHERE RPERIOD_ID=:RPERIOD_ID ORDER BY DATEDOC, NUMBER"));
    docs.query().setParam(QStringLiteral("RPERIOD_ID"), period);
    docs.open();
    t.restart();
    dm.openDocuLU(period);
    docs.refresh();
    const qint64 ms = t.elapsed();
    out() << "stock_tab_switch: " << ms << " ms (" << dm.cdsDocuLU->recordCount() << " orders named, "
          << docs.recordCount() << " stock documents; reading every order as before: " << before << " ms, "
          << all.recordCount() << " rows) (target < 100 ms)\n";
    return ms;
}

}  // namespace

std::vector<BenchCase> dataSetBenchCases() {
    return {
        {QStringLiteral("dataset_open_100k"),
         QStringLiteral("открытие набора данных из 100 000 строк (20 столбцов) рядом с простым чтением того же запроса"),
         openHundredThousand, 5000, true},
        {QStringLiteral("dataset_append_sorted"),
         QStringLiteral("добавление 10 000 и 100 000 строк в упорядоченный набор данных, как при импорте"),
         appendTenAndHundredThousand, 15000, true},
        {QStringLiteral("stock_tab_switch"),
         QStringLiteral("переход на закладку складских операций: заказы-основания периода и журнал"), stockTabSwitch,
         100, true},
    };
}
