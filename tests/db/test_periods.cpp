// Work periods: closing, reopening and deleting, and the stock carried between them.
#include "DbFixture.h"

#include <map>

using namespace dbtest;
using fb::Decimal;
using fb::Value;

namespace {

struct Stock {
    Decimal kolvo, summa;
    friend bool operator==(const Stock&, const Stock&) = default;
};
using StockMap = std::map<qint64, Stock>;

[[maybe_unused]] std::ostream& operator<<(std::ostream& os, const StockMap& m) {
    for (const auto& [id, s] : m)
        os << "{" << id << ": " << s.kolvo.toString(3).toStdString() << " / " << s.summa.toString(2).toStdString() << "} ";
    return os;
}

struct Line { int tovar; const char* kolvo; const char* cena; };

}  // namespace

class PeriodTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Клей', 1)");
        exec("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA) VALUES (1, 1, 'К-1', 'Клей Наирит', 'л', 450)");
        exec("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA) VALUES (2, 1, 'К-2', 'Клей секундный', 'шт', 35)");
        exec("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA) VALUES (3, 0, 'Н-1', 'Набойки', 'пара', 40)");
    }

    int period(const char* d1, const char* d2, Value sumOst = Value()) {
        const int id = int(scalar("EXECUTE PROCEDURE GET_RPERIOD_ID").toInt());
        exec("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST, SUM_OST1) "
             "VALUES (?, ?, ?, '*', 0, 0, ?, NULL)",
             {id, QDate::fromString(d1, Qt::ISODate), QDate::fromString(d2, Qt::ISODate), sumOst});
        return id;
    }
    int doc(int periodId, int kind, const char* date, std::initializer_list<Line> lines) {
        const int id = int(scalar("EXECUTE PROCEDURE GET_DOCS_ID").toInt());
        exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (?, ?, ?, ?, ?, 0)",
             {id, kind, periodId, QDate::fromString(date, Qt::ISODate), QString::number(id)});
        for (const Line& l : lines) {
            const Decimal k = dec(l.kolvo), c = dec(l.cena);
            exec("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (?, ?, ?, ?, ?)",
                 {id, l.tovar, k, c, (k * c).kopecks()});
        }
        return id;
    }
    void close(int id, const char* date2) {
        exec("EXECUTE PROCEDURE P_PERIOD_CLOSE(?, ?)", {id, QDate::fromString(date2, Qt::ISODate)});
    }
    void reopen(int id) { exec("EXECUTE PROCEDURE P_PERIOD_OPEN(?)", {id}); }
    int latest() { return int(scalar("SELECT MAX(ID) FROM RPERIOD").toInt()); }
    Value sumOst(int id) { return scalar("SELECT SUM_OST FROM RPERIOD WHERE ID = ?", {id}); }
    Value sumOst1(int id) { return scalar("SELECT SUM_OST1 FROM RPERIOD WHERE ID = ?", {id}); }
    QString act(int id) { return scalar("SELECT ACT FROM RPERIOD WHERE ID = ?", {id}).toString(); }

    static StockMap toMap(const Rows& rs, int idCol, int kolvoCol, int summaCol) {
        StockMap m;
        for (const Row& r : rs) {
            Stock& s = m[r[idCol].toInt()];
            s.kolvo += r[kolvoCol].toDecimal();
            s.summa += r[summaCol].toDecimal();
        }
        std::erase_if(m, [](const auto& p) { return p.second.kolvo.isZero() && p.second.summa.isZero(); });
        return m;
    }
    StockMap nalichAll(int id) { return toMap(rows("SELECT TOVAR_ID, KOLVO, SUMMA FROM P_NALICHALL(?)", {id}), 0, 1, 2); }
    StockMap nalichD(const char* date) {
        return toMap(rows("SELECT TOVAR_ID, KOLVO, SUMMA FROM P_NALICHD(?)", {QDate::fromString(date, Qt::ISODate)}), 0, 1, 2);
    }
    StockMap openingRows(int id) { return toMap(rows("SELECT TOVAR_ID, KOLVO, SUMMA FROM OSTATKI WHERE RPERIOD_ID = ?", {id}), 0, 1, 2); }
    // Every movement of the periods up to `id`, signed by the kind: what the stock must be
    // when nothing was ever deleted.
    StockMap allMovesUpTo(int id, const char* date = nullptr) {
        QString sql = "SELECT M.TOVAR_ID, M.KOLVO * K.OPER, M.SUMMA * K.OPER FROM MOVES M "
                      "JOIN DOCS D ON D.ID = M.DOC_ID JOIN KINDDOC K ON K.ID = D.KINDDOC_ID "
                      "WHERE D.RPERIOD_ID < ? OR (D.RPERIOD_ID = ? AND D.DATEDOC <= ?)";
        const QDate until = date ? QDate::fromString(date, Qt::ISODate) : QDate(9999, 12, 31);
        return toMap(rows(sql, {id, id, until}), 0, 1, 2);
    }
    static Decimal total(const StockMap& m) {
        Decimal t;
        for (const auto& [id, s] : m) t += s.summa;
        return t;
    }

    // January with documents of every kind; closing it makes February.
    int jan = 0, feb = 0, mar = 0;
    void january() {
        jan = period("2026-01-01", "2026-01-31", Decimal());
        doc(jan, 101, "2026-01-05", {{1, "10", "450"}, {2, "20", "35"}, {3, "5", "40"}});
        doc(jan, 102, "2026-01-10", {{1, "0.25", "450"}});
        doc(jan, 103, "2026-01-12", {{2, "3", "35"}});
        doc(jan, 107, "2026-01-15", {{2, "1", "35"}});
        doc(jan, 108, "2026-01-20", {{3, "2", "40"}});
    }
    void february() {
        doc(feb, 101, "2026-02-02", {{1, "2", "460"}, {3, "10", "41.50"}});
        doc(feb, 102, "2026-02-03", {{3, "1", "41.50"}, {1, "0.5", "450"}});
        doc(feb, 103, "2026-02-14", {{2, "18", "35"}});
        doc(feb, 107, "2026-02-20", {{2, "0.5", "35"}});
        doc(feb, 108, "2026-02-27", {{1, "1", "450"}});
    }
    void march() {
        doc(mar, 101, "2026-03-01", {{2, "10", "36"}});
        doc(mar, 103, "2026-03-09", {{3, "4", "40"}});
        doc(mar, 102, "2026-03-30", {{1, "0.125", "460"}});
    }
    void threeMonths() {
        january();
        close(jan, "2026-02-28");
        feb = latest();
        february();
        close(feb, "2026-03-31");
        mar = latest();
        march();
    }
};

TEST_F(PeriodTest, ClosingTheLatestPeriodMakesTheNextAndCarriesTheStock) {
    january();
    close(jan, "2026-02-28");
    feb = latest();
    ASSERT_GT(feb, jan);
    const Rows r = rows("SELECT DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT FROM RPERIOD WHERE ID = ?", {feb});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][0].toDate(), QDate(2026, 2, 1));
    EXPECT_EQ(r[0][1].toDate(), QDate(2026, 2, 28));
    EXPECT_EQ(r[0][2].toString(), "*");
    EXPECT_EQ(r[0][3].toInt(), 0);
    EXPECT_EQ(r[0][4].toInt(), 0);
    EXPECT_EQ(act(jan), "#");

    // 10 - 0.25 of goods 1; 20 - 3 + 1 of goods 2; 5 - 2 of goods 3.
    const StockMap expected = {{1, {dec("9.75"), dec("4387.50")}},
                               {2, {dec("18"), dec("630")}},
                               {3, {dec("3"), dec("120")}}};
    EXPECT_EQ(openingRows(feb), expected);
    EXPECT_EQ(sumOst1(jan).toDecimal(), dec("5137.50"));
    EXPECT_EQ(sumOst(feb).toDecimal(), dec("5137.50"));
    EXPECT_TRUE(sumOst1(feb).isNull());
    EXPECT_EQ(nalichAll(jan), expected);
    EXPECT_EQ(nalichAll(feb), expected);
    // A generator key drawn later is above the period the database made.
    EXPECT_GT(scalar("EXECUTE PROCEDURE GET_RPERIOD_ID").toInt(), feb);
}

TEST_F(PeriodTest, StockFollowsEveryKindAcrossThreePeriods) {
    threeMonths();
    EXPECT_EQ(count("RPERIOD"), 3);
    for (int id : {jan, feb, mar}) EXPECT_EQ(nalichAll(id), allMovesUpTo(id)) << id;
    EXPECT_EQ(sumOst(feb).toDecimal(), sumOst1(jan).toDecimal());
    EXPECT_EQ(sumOst(mar).toDecimal(), sumOst1(feb).toDecimal());
    EXPECT_EQ(sumOst1(feb).toDecimal(), total(allMovesUpTo(feb)));
    EXPECT_EQ(openingRows(mar), allMovesUpTo(feb));
    // Goods 2 is sold out in February and leaves the balances.
    EXPECT_EQ(allMovesUpTo(feb).count(2), 1u);  // 0.5 returned after selling 18
    EXPECT_EQ(nalichAll(feb).at(2).kolvo, dec("0.5"));
    EXPECT_EQ(act(jan), "#");
    EXPECT_EQ(act(feb), "#");
    EXPECT_EQ(act(mar), "*");
}

TEST_F(PeriodTest, ReopeningChangingAndClosingAgainKeepsLaterBalancesRight) {
    threeMonths();
    reopen(jan);
    EXPECT_EQ(act(jan), "*");
    EXPECT_TRUE(sumOst1(jan).isNull());
    EXPECT_FALSE(sumOst(jan).isNull());  // the first period still opens with nothing
    EXPECT_TRUE(sumOst(feb).isNull());
    EXPECT_TRUE(sumOst(mar).isNull());
    EXPECT_EQ(act(feb), "#");

    // A correction in January shows at once in the later stock.
    doc(jan, 101, "2026-01-31", {{3, "7", "40"}, {1, "1", "455"}});
    exec("UPDATE MOVES SET KOLVO = 12, SUMMA = 5400 WHERE TOVAR_ID = 1 AND KOLVO = 10");
    for (int id : {jan, feb, mar}) EXPECT_EQ(nalichAll(id), allMovesUpTo(id)) << id;

    close(jan, "2026-02-28");
    EXPECT_EQ(count("RPERIOD"), 3);  // not the latest: no new period
    EXPECT_EQ(act(jan), "#");
    EXPECT_EQ(openingRows(feb), allMovesUpTo(jan));
    EXPECT_EQ(openingRows(mar), allMovesUpTo(feb));  // carried through closed February
    EXPECT_EQ(sumOst(mar).toDecimal(), total(allMovesUpTo(feb)));
    EXPECT_EQ(sumOst1(feb).toDecimal(), sumOst(mar).toDecimal());
    for (int id : {jan, feb, mar}) EXPECT_EQ(nalichAll(id), allMovesUpTo(id)) << id;
}

TEST_F(PeriodTest, ClosingWhileAnEarlierPeriodIsOpenWaitsForIt) {
    january();
    feb = period("2026-02-01", "2026-02-28");  // made while January is still open
    EXPECT_TRUE(sumOst(feb).isNull());
    february();
    EXPECT_EQ(nalichAll(feb), allMovesUpTo(feb));

    close(feb, "2026-03-31");
    mar = latest();
    ASSERT_GT(mar, feb);
    EXPECT_EQ(act(feb), "#");
    EXPECT_TRUE(sumOst1(feb).isNull());  // not worked out while January is open
    EXPECT_TRUE(sumOst(mar).isNull());
    march();
    EXPECT_EQ(nalichAll(mar), allMovesUpTo(mar));

    close(jan, "2026-02-28");
    EXPECT_EQ(count("RPERIOD"), 3);
    EXPECT_EQ(sumOst(feb).toDecimal(), total(allMovesUpTo(jan)));
    EXPECT_EQ(sumOst1(feb).toDecimal(), total(allMovesUpTo(feb)));
    EXPECT_EQ(openingRows(mar), allMovesUpTo(feb));
    EXPECT_EQ(nalichAll(mar), allMovesUpTo(mar));
}

TEST_F(PeriodTest, StockOnADayAgreesWithStockOfThePeriod) {
    threeMonths();
    EXPECT_EQ(nalichD("2026-01-31"), nalichAll(jan));
    EXPECT_EQ(nalichD("2026-02-28"), nalichAll(feb));
    EXPECT_EQ(nalichD("2026-03-31"), nalichAll(mar));
    EXPECT_EQ(nalichD("2027-05-01"), nalichAll(mar));
    struct Day { const char* date; int period; };
    for (const Day d : {Day{"2026-01-04", 0}, Day{"2026-01-05", 0}, Day{"2026-01-11", 0}, Day{"2026-02-01", 1},
                        Day{"2026-02-03", 1}, Day{"2026-02-20", 1}, Day{"2026-03-08", 2}, Day{"2026-03-09", 2}}) {
        const int id = (d.period == 0 ? jan : d.period == 1 ? feb : mar);
        EXPECT_EQ(nalichD(d.date), allMovesUpTo(id, d.date)) << d.date;
    }
    EXPECT_TRUE(nalichD("2026-01-04").empty());
    EXPECT_TRUE(rows("SELECT * FROM P_NALICHD(?)", {QDate(2025, 12, 31)}).empty());

    // The goods columns come from the goods book, one row per goods.
    const Rows r = rows("SELECT TOVARGR_ID, TOVAR_ID, TOVAR_ARTIKUL, TOVAR_NAME, TOVAR_EDIZM, KOLVO, SUMMA "
                        "FROM P_NALICHD(?) WHERE TOVAR_ID = 3", {QDate(2026, 1, 31)});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][0].toInt(), 0);
    EXPECT_EQ(r[0][2].toString(), QStringLiteral("Н-1"));
    EXPECT_EQ(r[0][3].toString(), QStringLiteral("Набойки"));
    EXPECT_EQ(r[0][4].toString(), QStringLiteral("пара"));
    EXPECT_EQ(r[0][5].toDecimal(), dec("3"));
    EXPECT_EQ(r[0][6].toDecimal(), dec("120"));

    // The stock report statement runs as the report window builds it.
    const Rows rep = rows("SELECT N.TOVARGR_ID, TG.NAME AS TOVARGR_NAME, (SELECT FP FROM P_FULLPATH(N.TOVARGR_ID)) AS FULLPATH, "
                          "N.TOVAR_ARTIKUL, N.TOVAR_NAME, N.TOVAR_EDIZM, SUM(N.KOLVO) AS KOLVO, SUM(N.SUMMA) AS SUMMA "
                          "FROM P_NALICHD(:DATENAL) N JOIN TOVARGR TG ON N.TOVARGR_ID=TG.ID JOIN TOVAR T ON N.TOVAR_ID=T.ID "
                          "WHERE N.TOVAR_ID=N.TOVAR_ID AND (TG.ID=1 OR (SELECT RES FROM ISCHILDGR(1,T.GR_ID))=1)  "
                          "GROUP BY N.TOVARGR_ID, TG.NAME, N.TOVAR_ARTIKUL, N.TOVAR_NAME, N.TOVAR_EDIZM "
                          "ORDER BY FULLPATH, TOVAR_NAME",
                          {QDate(2026, 1, 31)});
    ASSERT_EQ(rep.size(), 2u);
    EXPECT_EQ(rep[0][2].toString(), QStringLiteral("Товары/Клей"));
    EXPECT_EQ(rep[0][4].toString(), QStringLiteral("Клей Наирит"));
}

TEST_F(PeriodTest, ClosingOrOpeningAnUnknownPeriodChangesNothing) {
    close(0, "2026-02-28");
    reopen(0);
    EXPECT_EQ(count("RPERIOD"), 0);
    EXPECT_TRUE(rows("SELECT * FROM P_NALICHALL(0)").empty());
    january();
    close(999, "2026-02-28");
    EXPECT_EQ(count("RPERIOD"), 1);
    EXPECT_EQ(act(jan), "*");
}

TEST_F(PeriodTest, DeletingAMiddlePeriodDropsItsMovementsFromLaterStock) {
    threeMonths();
    exec("DELETE FROM RPERIOD WHERE ID = ?", {feb});
    EXPECT_EQ(count("DOCS", "RPERIOD_ID = ?", {feb}), 0);
    // January's closing stock is March's opening now.
    EXPECT_EQ(openingRows(mar), allMovesUpTo(jan));
    EXPECT_EQ(sumOst(mar).toDecimal(), sumOst1(jan).toDecimal());
    EXPECT_EQ(nalichAll(mar), allMovesUpTo(mar));
}

TEST_F(PeriodTest, DeletingTheFirstPeriodKeepsTheStockItCarriedForward) {
    threeMonths();
    const StockMap before = nalichAll(mar);
    const Value febOpening = sumOst(feb);
    exec("DELETE FROM RPERIOD WHERE ID = ?", {jan});
    EXPECT_EQ(sumOst(feb), febOpening);
    EXPECT_EQ(nalichAll(mar), before);
    // Closing February again still starts from what January left.
    reopen(feb);
    close(feb, "2026-03-31");
    EXPECT_EQ(nalichAll(mar), before);
    EXPECT_EQ(count("RPERIOD"), 2);
}

TEST_F(PeriodTest, APeriodAppendedByHandIsWorkedOutAtTheNextClose) {
    january();
    close(jan, "2026-02-28");
    exec("DELETE FROM RPERIOD WHERE ID = ?", {latest()});
    // As the period window appends it: the row stays as written (the window finds it
    // again by all its values), the opening is not worked out yet.
    feb = period("2026-02-01", "2026-02-28");
    EXPECT_TRUE(sumOst(feb).isNull());
    february();
    EXPECT_EQ(nalichAll(feb), allMovesUpTo(feb));
    EXPECT_EQ(nalichD("2026-02-10"), allMovesUpTo(feb, "2026-02-10"));
    close(jan, "2026-02-28");
    EXPECT_EQ(count("RPERIOD"), 2);
    EXPECT_EQ(sumOst(feb).toDecimal(), sumOst1(jan).toDecimal());
    EXPECT_EQ(openingRows(feb), allMovesUpTo(jan));
    EXPECT_EQ(nalichAll(feb), allMovesUpTo(feb));
}
