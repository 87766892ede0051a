// Three counters on one server all day: three workstation processes create,
// edit and delete orders (with their automatic write-offs) and stock documents
// of every kind at once while a fourth closes and reopens the work period
// twice. Afterwards the database holds exactly what the workstations were
// told, the engine finds nothing wrong with the file, and every refusal a
// workstation met was one the program explains in Russian.
#include "ServerDatabase.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/Decimal.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "data/ErrorTexts.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using fb::Decimal;
using Goods = std::map<int, Decimal>;

int envCount(const char* name, int fallback) {
    const int n = qEnvironmentVariableIntValue(name);
    return n > 0 ? n : fallback;
}

Goods parseGoods(const QString& text) {
    Goods goods;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        goods[item.section(QLatin1Char(':'), 0, 0).toInt()] += Decimal::fromString(item.section(QLatin1Char(':'), 1));
    return goods;
}

struct OrderRec {
    qint64 number = 0;
    Decimal totalWotkl, debt;
    Goods consumed;
    bool operator==(const OrderRec& o) const {
        return number == o.number && totalWotkl == o.totalWotkl && debt == o.debt;
    }
};

struct DocsRec {
    int kind = 0;
    QString number;
    Decimal summa;
    Goods goods;
    bool operator==(const DocsRec& o) const { return kind == o.kind && number == o.number && summa == o.summa; }
};

struct Refusal {
    QString workstation, operation, explanation, resolution, message;
};

// What the workstations say they were told, all records together.
struct Told {
    std::map<int, OrderRec> orders;
    std::map<int, DocsRec> docs;
    std::vector<Refusal> refusals;
    std::vector<std::map<QString, QString>> stats;  // per workstation, in start order
    QStringList periodEvents;
};

void readRecord(const QString& path, const QString& workstation, Told& told) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text)) << path.toStdString();
    std::map<QString, QString> stats;
    stats[QStringLiteral("name")] = workstation;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList c = line.split(QLatin1Char('\t'));
        const QString& what = c[0];
        if (what == QStringLiteral("ORDER")) {
            told.orders[c[1].toInt()] = {c[2].toLongLong(), Decimal::fromString(c[3]), Decimal::fromString(c[4]),
                                         parseGoods(c.value(5))};
        } else if (what == QStringLiteral("ORDER_DELETED")) {
            told.orders.erase(c[1].toInt());
        } else if (what == QStringLiteral("DOCS")) {
            told.docs[c[1].toInt()] = {c[2].toInt(), c[3], Decimal::fromString(c[4]), parseGoods(c.value(5))};
        } else if (what == QStringLiteral("DOCS_DELETED")) {
            told.docs.erase(c[1].toInt());
        } else if (what == QStringLiteral("REFUSAL")) {
            told.refusals.push_back({workstation, c[1], c[2], c[3], c.value(4)});
        } else if (what == QStringLiteral("PERIOD")) {
            told.periodEvents << c[1];
        } else if (what == QStringLiteral("STATS")) {
            for (int i = 1; i < c.size(); ++i) stats[c[i].section(QLatin1Char('='), 0, 0)] = c[i].section(QLatin1Char('='), 1);
        }
    }
    told.stats.push_back(stats);
}

class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        db = servertest::serverDatabase(QStringLiteral("soak"));
        if (db.isEmpty()) {
            if (qEnvironmentVariableIsSet("OBRIX_TEST_SERVER_REQUIRED")) FAIL() << "the test server is not set up";
            GTEST_SKIP() << "no test server (run through tools/setup.sh test)";
        }
        servertest::ensureApplication();
        obrixdb::createDatabase(db);
        // The day's work is about who meets whom, not about the disk: without
        // waiting for every commit to reach the platter the run stays within minutes.
        fb::Attachment::setForcedWrites(db, false);
        att = std::make_unique<fb::Attachment>(db);
        const QDate today = QDate::currentDate();
        const QDate first(today.year(), today.month(), 1);
        fb::Transaction tra(*att);
        fb::exec(tra, QStringLiteral("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST) "
                                     "VALUES (1, ?, ?, '*', 0, 0, 0)"),
                 {first, first.addMonths(1).addDays(-1)});
        const char* seed[] = {
            "UPDATE UCHINFO SET AUTOSKLAD = 'T'",
            "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Материалы', 1)",
            "INSERT INTO TOVAR (ID, GR_ID, NAME, CENA, CENA_PROD) VALUES (1, 1, 'Клей', 10, 15)",
            "INSERT INTO TOVAR (ID, GR_ID, NAME, CENA, CENA_PROD) VALUES (2, 1, 'Нитки', 3, 5)",
            "INSERT INTO TOVAR (ID, GR_ID, NAME, CENA, CENA_PROD) VALUES (3, 1, 'Бегунок', 7.5, 12)",
            "INSERT INTO TOVAR (ID, GR_ID, NAME, CENA, CENA_PROD) VALUES (4, 1, 'Заготовка ключа', 20, 40)",
            "INSERT INTO TOVAR (ID, GR_ID, NAME, CENA, CENA_PROD) VALUES (5, 1, 'Краска', 12.35, 20)",
            "INSERT INTO TOVAR (ID, GR_ID, NAME, CENA, CENA_PROD) VALUES (6, 1, 'Набойка', 4.1, 9)",
            "INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Ремонт', 1, 1)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (1, 1, 'Набойки', 150)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (2, 1, 'Чистка', 400)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (3, 1, 'Молния', 250.5)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (4, 1, 'Ключ', 120)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (5, 1, 'Гравировка', 333.33)",
            "INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (1, 6, 2, 4.1)",
            "INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (1, 1, 0.05, 10)",
            "INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (3, 3, 1, 7.5)",
            "INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (3, 2, 0.5, 3)",
            "INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (4, 4, 1, 20)",
            "INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (5, 5, 0.125, 12.35)",
            "INSERT INTO PRODUCTGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)",
            "INSERT INTO PRODUCT (ID, GR_ID, NAME) VALUES (1, 1, 'Сапоги')",
        };
        for (const char* sql : seed) fb::exec(tra, QString::fromUtf8(sql));
        tra.commit();
    }
    void TearDown() override {
        if (att) att->close();
    }

    std::vector<std::vector<fb::Value>> rows(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(*att);
        fb::Statement st(tra, sql);
        for (size_t i = 0; i < params.size(); ++i) st.set(int(i), params[i]);
        st.execute();
        std::vector<std::vector<fb::Value>> out;
        while (st.fetch()) {
            std::vector<fb::Value> row;
            for (int c = 0; c < st.columnCount(); ++c) row.push_back(st.value(c));
            out.push_back(std::move(row));
        }
        tra.commit();
        return out;
    }
    qint64 scalar(const QString& sql) { return rows(sql).at(0).at(0).toInt(); }

    QString db;
    std::unique_ptr<fb::Attachment> att;
};

std::map<int, Decimal> nonZero(const std::map<int, Decimal>& m) {
    std::map<int, Decimal> out;
    for (const auto& [k, v] : m)
        if (!v.isZero()) out[k] = v;
    return out;
}

}  // namespace

TEST_F(Soak, ThreeCountersAndAPeriodCloserAllDayKeepExactlyWhatTheyWereTold) {
    const int kClients = 3;
    const int orders = envCount("OBRIX_SOAK_ORDERS", 1000);
    const int stockDocs = envCount("OBRIX_SOAK_STOCKDOCS", 300);
    const int total = kClients * orders;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    const QString program = QStringLiteral(SOAK_CLIENT);
    std::vector<std::unique_ptr<QProcess>> procs;
    QStringList names, records;
    const auto start = [&](const QString& name, const QStringList& args) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->start(program, args);
        ASSERT_TRUE(p->waitForStarted(10000)) << name.toStdString();
        procs.push_back(std::move(p));
        names << name;
    };
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < kClients; ++i) {
        records << dir.filePath(QStringLiteral("client%1.txt").arg(i + 1));
        start(QStringLiteral("рабочее место %1").arg(i + 1),
              {QStringLiteral("client"), db, records.last(), QString::number(orders), QString::number(stockDocs),
               QString::number(1000 + i)});
    }
    records << dir.filePath(QStringLiteral("closer.txt"));
    start(QStringLiteral("администратор"), {QStringLiteral("closer"), db, records.last(), QString::number(total / 4),
                                            QString::number(total * 3 / 5), QStringLiteral("1500")});
    bool clientsDone = true;
    for (size_t i = 0; i < procs.size(); ++i) {
        QProcess& p = *procs[i];
        if (!clientsDone) p.kill();  // the administrator waits for orders that will not come
        const bool finished = p.waitForFinished(780000);
        EXPECT_TRUE(finished) << names[int(i)].toStdString() << " did not finish";
        const bool ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        EXPECT_TRUE(ok) << names[int(i)].toStdString() << ": "
                        << QString::fromUtf8(p.readAllStandardError()).toStdString();
        if (!ok) clientsDone = false;
    }
    ASSERT_TRUE(clientsDone);
    const qint64 wallMs = wall.elapsed();

    Told told;
    for (int i = 0; i < records.size(); ++i) readRecord(records[i], names[i], told);

    // --- figures -----------------------------------------------------------
    std::printf("Soak: %d workstations x %d orders and %d stock documents, all done in %.1f s\n", kClients, orders,
                stockDocs, wallMs / 1000.0);
    for (int i = 0; i < kClients; ++i) {
        auto& s = told.stats[i];
        const double secs = s[QStringLiteral("ms")].toDouble() / 1000.0;
        std::printf("  %s: %s orders in %.1f s = %.1f orders/s; edited %s, deleted %s orders; %s stock documents, "
                    "edited %s, deleted %s; refused: closed period %s (waited %.1f s), conflicts %s, lock time-outs %s, "
                    "other %s; inside its saves the server counted %s update conflicts (each run again by the "
                    "program) and %s waits for rows held elsewhere\n",
                    names[i].toUtf8().constData(), s[QStringLiteral("orders")].toUtf8().constData(), secs,
                    secs > 0 ? s[QStringLiteral("orders")].toDouble() / secs : 0.0,
                    s[QStringLiteral("orders_edited")].toUtf8().constData(),
                    s[QStringLiteral("orders_deleted")].toUtf8().constData(),
                    s[QStringLiteral("stockdocs")].toUtf8().constData(),
                    s[QStringLiteral("docs_edited")].toUtf8().constData(),
                    s[QStringLiteral("docs_deleted")].toUtf8().constData(),
                    s[QStringLiteral("closed")].toUtf8().constData(), s[QStringLiteral("waited_ms")].toDouble() / 1000.0,
                    s[QStringLiteral("conflicts")].toUtf8().constData(),
                    s[QStringLiteral("locktimeouts")].toUtf8().constData(),
                    s[QStringLiteral("other")].toUtf8().constData(),
                    s[QStringLiteral("engine_conflicts")].toUtf8().constData(),
                    s[QStringLiteral("engine_waits")].toUtf8().constData());
    }
    {
        auto& s = told.stats[kClients];
        std::printf("  %s: closed and reopened the period twice in %.1f s; update conflicts met %s (pressed again), "
                    "the server counted %s conflicts and %s waits\n",
                    names[kClients].toUtf8().constData(), s[QStringLiteral("ms")].toDouble() / 1000.0,
                    s[QStringLiteral("conflicts")].toUtf8().constData(),
                    s[QStringLiteral("engine_conflicts")].toUtf8().constData(),
                    s[QStringLiteral("engine_waits")].toUtf8().constData());
    }
    std::map<QString, int> byKind;
    for (const Refusal& r : told.refusals)
        ++byKind[(r.workstation.startsWith(QStringLiteral("рабочее")) ? QStringLiteral("рабочие места") : r.workstation) +
                 QStringLiteral(" | ") + r.operation +
                 QStringLiteral(" | ") + r.explanation + QStringLiteral(" -> ") + r.resolution];
    std::printf("  refusals met (%zu), by operation, explanation shown and what was done:\n", told.refusals.size());
    for (const auto& [k, n] : byKind) std::printf("    %5d  %s\n", n, k.toUtf8().constData());
    std::printf("  period: %s\n", told.periodEvents.join(QStringLiteral(", ")).toUtf8().constData());

    // --- the run itself -------------------------------------------------------
    EXPECT_EQ(told.periodEvents,
              QStringList({QStringLiteral("closed"), QStringLiteral("reopened"), QStringLiteral("closed"),
                           QStringLiteral("reopened")}));
    int closedMet = 0;
    const QString generic = genericExplanation().explanation;
    for (const Refusal& r : told.refusals) {
        SCOPED_TRACE((r.workstation + QStringLiteral(": ") + r.operation + QStringLiteral(": ") + r.message).toStdString());
        EXPECT_NE(r.explanation, generic) << "an engine message without the program's explanation";
        EXPECT_NE(r.resolution, QStringLiteral("изменения отменены")) << "a change was dropped";
        if (r.explanation == explainApplyError(QStringLiteral("E_PERIOD_CLOSED")).explanation) ++closedMet;
    }
    EXPECT_GT(closedMet, 0) << "no workstation worked while the period was closed";
    // A save that waited the whole lock time-out means rows held too long, or
    // saves waiting for each other in a circle.
    int lockTimeouts = 0;
    for (auto& s : told.stats) lockTimeouts += s[QStringLiteral("locktimeouts")].toInt();
    EXPECT_EQ(lockTimeouts, 0);
    for (int i = 0; i < kClients; ++i) EXPECT_EQ(told.stats[i][QStringLiteral("orders")].toInt(), orders);

    // --- orders: count, numbers, totals, debts ---------------------------------
    std::map<int, OrderRec> inDb;
    for (const auto& r : rows(QStringLiteral("SELECT ID, NUMBER, TOTAL_WOTKL, DEBT FROM DOCU")))
        inDb[int(r[0].toInt())] = {r[1].toInt(), r[2].toDecimal(), r[3].toDecimal(), {}};
    EXPECT_EQ(inDb.size(), told.orders.size());
    int orderMismatches = 0;
    for (const auto& [id, rec] : told.orders) {
        const auto it = inDb.find(id);
        if (it == inDb.end() || !(it->second == rec)) {
            if (++orderMismatches <= 5)
                ADD_FAILURE() << "order " << id << " told number " << rec.number << " total "
                              << rec.totalWotkl.toString().toStdString() << " debt " << rec.debt.toString().toStdString()
                              << (it == inDb.end() ? " is missing" : " differs in the database");
        }
    }
    EXPECT_EQ(orderMismatches, 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(DISTINCT NUMBER) FROM DOCU")), scalar(QStringLiteral("SELECT COUNT(*) FROM DOCU")));
    // Every stored order keeps its own rules: total of its lines, deviation, debt.
    EXPECT_EQ(scalar(QStringLiteral(
                  "SELECT COUNT(*) FROM DOCU D WHERE D.TOTAL <> (SELECT COALESCE(SUM(U.SUMMA), 0) FROM UMOVES U "
                  "WHERE U.DOC_ID = D.ID) OR D.TOTAL_WOTKL <> D.TOTAL + IIF(D.OTKLTYPE = 1, -1, IIF(D.OTKLTYPE = 2, 1, 0)) "
                  "* D.OTKLSUM OR D.DEBT <> D.TOTAL_WOTKL - D.RECEIVED")),
              0);

    // --- stock documents ----------------------------------------------------------
    std::map<int, DocsRec> docsInDb;
    for (const auto& r : rows(QStringLiteral("SELECT ID, KINDDOC_ID, NUMBER, SUMMA FROM DOCS WHERE DOCU_ID IS NULL")))
        docsInDb[int(r[0].toInt())] = {int(r[1].toInt()), r[2].toString(), r[3].toDecimal(), {}};
    EXPECT_EQ(docsInDb.size(), told.docs.size());
    int docsMismatches = 0;
    for (const auto& [id, rec] : told.docs) {
        const auto it = docsInDb.find(id);
        if (it == docsInDb.end() || !(it->second == rec))
            if (++docsMismatches <= 5) ADD_FAILURE() << "stock document " << id << " differs from what was told";
    }
    EXPECT_EQ(docsMismatches, 0);
    std::set<int> kinds;
    for (const auto& [id, rec] : told.docs) kinds.insert(rec.kind);
    EXPECT_EQ(kinds, (std::set<int>{101, 102, 103, 107, 108}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT KINDDOC_ID FROM DOCS GROUP BY KINDDOC_ID "
                                    "HAVING COUNT(*) <> COUNT(DISTINCT NUMBER))")),
              0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(DISTINCT NUMBER) FROM DOCS")), scalar(QStringLiteral("SELECT COUNT(*) FROM DOCS")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM DOCS D WHERE D.SUMMA <> "
                                    "(SELECT COALESCE(SUM(M.SUMMA), 0) FROM MOVES M WHERE M.DOC_ID = D.ID)")),
              0);

    // --- write-offs: one per order that consumes goods, exactly what it consumes ---
    std::map<int, Goods> writeOffs;
    for (const auto& r : rows(QStringLiteral("SELECT D.DOCU_ID, M.TOVAR_ID, SUM(M.KOLVO) FROM DOCS D JOIN MOVES M "
                                             "ON M.DOC_ID = D.ID WHERE D.DOCU_ID IS NOT NULL GROUP BY 1, 2")))
        writeOffs[int(r[0].toInt())][int(r[1].toInt())] = -r[2].toDecimal();
    std::map<int, Goods> consumedTold;
    for (const auto& [id, rec] : told.orders)
        if (!nonZero(rec.consumed).empty()) consumedTold[id] = nonZero(rec.consumed);
    EXPECT_TRUE(writeOffs == consumedTold) << writeOffs.size() << " write-offs, " << consumedTold.size()
                                           << " orders that consume goods";
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT DOCU_ID FROM DOCS WHERE DOCU_ID IS NOT NULL "
                                    "GROUP BY DOCU_ID HAVING COUNT(*) > 1)")),
              0);

    // --- stock on hand per goods ----------------------------------------------------
    std::map<int, Decimal> stock;
    for (const auto& [id, rec] : told.docs)
        for (const auto& [tovar, kolvo] : rec.goods) stock[tovar] += kolvo;
    for (const auto& [id, rec] : told.orders)
        for (const auto& [tovar, kolvo] : rec.consumed) stock[tovar] += kolvo;
    stock = nonZero(stock);
    std::map<int, Decimal> onHand;
    for (const auto& r : rows(QStringLiteral("SELECT TOVAR_ID, KOLVO FROM P_NALICHALL(1)")))
        onHand[int(r[0].toInt())] += r[1].toDecimal();
    EXPECT_TRUE(nonZero(onHand) == stock);
    for (const auto& [tovar, kolvo] : stock)
        EXPECT_EQ(onHand[tovar].toString(3).toStdString(), kolvo.toString(3).toStdString()) << "goods " << tovar;

    // --- the period's counters, and the close carries exactly that stock forward -------
    EXPECT_EQ(scalar(QStringLiteral("SELECT DOCU_CNT FROM RPERIOD WHERE ID = 1")), qint64(told.orders.size()));
    EXPECT_EQ(scalar(QStringLiteral("SELECT DOCS_CNT FROM RPERIOD WHERE ID = 1")),
              scalar(QStringLiteral("SELECT COUNT(*) FROM DOCS WHERE RPERIOD_ID = 1")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM RPERIOD WHERE ID = 1 AND ACT = '*'")), 1);
    {
        fb::Transaction tra(*att);
        fb::exec(tra, QStringLiteral("EXECUTE PROCEDURE P_PERIOD_CLOSE(1, ?)"),
                 {QDate::currentDate().addMonths(2)});
        tra.commit();
    }
    std::map<int, Decimal> carried;
    for (const auto& r : rows(QStringLiteral("SELECT O.TOVAR_ID, O.KOLVO FROM OSTATKI O WHERE O.RPERIOD_ID = "
                                             "(SELECT MIN(ID) FROM RPERIOD WHERE ID > 1)")))
        carried[int(r[0].toInt())] = r[1].toDecimal();
    EXPECT_TRUE(nonZero(carried) == stock) << "the stock carried into the next period";

    // --- the file itself ---------------------------------------------------------------
    att->close();
    att.reset();
    QProcess gfix;
    gfix.setProcessChannelMode(QProcess::MergedChannels);
    gfix.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-full"), QStringLiteral("-user"),
                                        QStringLiteral("SYSDBA"), QStringLiteral("-password"), fb::defaultPassword(), db});
    ASSERT_TRUE(gfix.waitForFinished(300000));
    const QString report = QString::fromLocal8Bit(gfix.readAll()).trimmed();
    EXPECT_EQ(gfix.exitCode(), 0) << report.toStdString();
    EXPECT_TRUE(report.isEmpty()) << report.toStdString();
    std::printf("  gfix -v -full: %s\n", report.isEmpty() ? "nothing found" : report.toUtf8().constData());
}
