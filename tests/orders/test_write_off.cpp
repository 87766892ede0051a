// The automatic write-off: one document per order, kept up to date on every save.
#include "OrdersFixture.h"

#include "orders/core/DocuSave.h"
#include "orders/core/WriteOff.h"
#include "fb/DbError.h"

using namespace orderstest;

namespace {

struct Line {
    qint64 tovar;
    fb::Decimal kolvo, cena, summa;
    bool operator==(const Line&) const = default;
};

}  // namespace

TEST(LineAmountTest, RoundsOnceToKopecksHalfAwayFromZero) {
    struct Row {
        const char *cena, *kolvo, *summa;
    };
    for (const Row& r : std::vector<Row>{{"10", "2", "20"},
                                         {"3", "0.5", "1.5"},
                                         {"0.03", "0.165", "0"},       // 0.00495: no rounding through 0.0050
                                         {"0.01", "0.5", "0.01"},      // half a kopeck goes up
                                         {"-0.01", "0.5", "-0.01"},    // and away from zero
                                         {"7.50", "1.333", "10"},      // 9.9975
                                         {"123456.78", "1000.001", "123456903.46"}}) {
        EXPECT_EQ(LineAmount(dec(r.cena), dec(r.kolvo)), dec(r.summa)) << r.cena << " x " << r.kolvo;
    }
}

class WriteOffTest : public OrdersTest {
protected:
    TDocuSaveResult save(bool headerOnly = false) { return SaveDocu(*docu, *pmoves, *umoves, saveInput(headerOnly)); }
    qint64 writeOffs() { return count(QStringLiteral("DOCS"), QStringLiteral("DOCU_ID=1 AND KINDDOC_ID=102")); }
    fb::Value writeOff(const char* column) {
        return scalar(QStringLiteral("SELECT ") + QString::fromLatin1(column) +
                      QStringLiteral(" FROM DOCS WHERE DOCU_ID=1 AND KINDDOC_ID=102"));
    }
    std::vector<Line> lines() {
        std::vector<Line> out;
        fb::Transaction tra(*att);
        fb::Statement st(tra, QStringLiteral("SELECT M.TOVAR_ID, M.KOLVO, M.CENA, M.SUMMA FROM MOVES M "
                                             "JOIN DOCS D ON D.ID = M.DOC_ID WHERE D.DOCU_ID = 1 ORDER BY M.NPP"));
        st.execute();
        while (st.fetch())
            out.push_back({st.value(0).toInt(), st.value(1).toDecimal(), st.value(2).toDecimal(), st.value(3).toDecimal()});
        return out;
    }
};

TEST_F(WriteOffTest, ConsumedGoodsOfEveryServiceLine) {
    openOrder();
    addService(1, "150");  // goods 1: 2 at 10.00, goods 2: 0.5 at 3.00
    addService(2, "400");  // nothing
    save();
    ASSERT_EQ(writeOffs(), 1);
    EXPECT_EQ(lines(), (std::vector<Line>{{1, dec("2"), dec("10"), dec("20")}, {2, dec("0.5"), dec("3"), dec("1.5")}}));
    EXPECT_EQ(writeOff("SUMMA").toDecimal(), dec("21.5"));
    EXPECT_EQ(writeOff("RPERIOD_ID").toInt(), 2);
    EXPECT_EQ(writeOff("DATEDOC").toDate(), QDate(2009, 3, 5));
    EXPECT_EQ(writeOff("NUMBER").toString(), QStringLiteral("42"));
    EXPECT_EQ(writeOff("COMMENT").toString(), QString());
    EXPECT_EQ(umoves->changeCount(), 0);
}

TEST_F(WriteOffTest, SecondSaveRewritesTheSameDocument) {
    openOrder();
    addService(1, "150");
    save();
    const qint64 id = writeOff("ID").toInt();
    addService(3, "250.5");  // goods 3: 1 at 7.50
    addService(1, "150");    // the same service twice: written off twice
    set("DATEP", QDate(2009, 3, 9));
    save();
    ASSERT_EQ(writeOffs(), 1);
    EXPECT_EQ(writeOff("ID").toInt(), id);
    EXPECT_EQ(writeOff("NUMBER").toString(), QStringLiteral("42"));
    EXPECT_EQ(writeOff("DATEDOC").toDate(), QDate(2009, 3, 9));
    EXPECT_EQ(writeOff("SUMMA").toDecimal(), dec("50.5"));
    EXPECT_EQ(lines().size(), 5u);
    EXPECT_EQ(lines()[2], (Line{3, dec("1"), dec("7.5"), dec("7.5")}));
    // Saving without changes leaves the figures as they are.
    save();
    EXPECT_EQ(writeOffs(), 1);
    EXPECT_EQ(writeOff("SUMMA").toDecimal(), dec("50.5"));
    EXPECT_EQ(count(QStringLiteral("MOVES")), 5);
}

TEST_F(WriteOffTest, NothingConsumedMeansNoDocument) {
    openOrder();
    addService(2, "400");
    save();
    EXPECT_EQ(writeOffs(), 0);

    addService(1, "150");
    save();
    ASSERT_EQ(writeOffs(), 1);
    // The consuming line goes: so does the document with its lines.
    ASSERT_TRUE(umoves->locate(QStringLiteral("USLUGA_ID"), 1));
    umoves->deleteRecord();
    save();
    EXPECT_EQ(writeOffs(), 0);
    EXPECT_EQ(count(QStringLiteral("MOVES")), 0);
    EXPECT_EQ(count(QStringLiteral("DOCS")), 1);  // the ordinary stock document stays
}

TEST_F(WriteOffTest, WriteOffInClosedPeriodIsLeftAlone) {
    // Written while the period was open, then the period was closed.
    exec(QStringLiteral("UPDATE RPERIOD SET ACT='*' WHERE ID=1"));
    exec(QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA, DOCU_ID) "
                        "VALUES (50, 102, 1, '2009-02-27', '7', 30, 1)"));
    exec(QStringLiteral("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (50, 3, 4, 7.5, 30)"));
    exec(QStringLiteral("UPDATE RPERIOD SET ACT='#' WHERE ID=1"));
    openOrder();
    addService(1, "150");
    const TDocuSaveResult result = save();
    EXPECT_EQ(result.writeOff, TWriteOffResult::Frozen);
    EXPECT_TRUE(result.note().contains(QStringLiteral("закрытому рабочему периоду"))) << "said, not swallowed";
    EXPECT_EQ(writeOffs(), 1);
    EXPECT_EQ(writeOff("ID").toInt(), 50);
    EXPECT_EQ(writeOff("SUMMA").toDecimal(), dec("30"));
    EXPECT_EQ(lines(), (std::vector<Line>{{3, dec("4"), dec("7.5"), dec("30")}}));
    // Nothing consumed any more: still untouched.
    umoves->deleteRecord();
    save();
    EXPECT_EQ(writeOffs(), 1);
    EXPECT_EQ(count(QStringLiteral("UMOVES")), 0);  // the order itself was saved
}

TEST_F(WriteOffTest, SaveIntoAPeriodClosedMeanwhileIsRefusedAndKeptOnScreen) {
    openOrder();
    addService(1, "150");
    // Another workstation closes the period while the order is open here.
    exec(QStringLiteral("UPDATE RPERIOD SET ACT='#' WHERE ID=2"));
    try {
        save();
        FAIL() << "saved into a closed period";
    } catch (const fb::DbError& e) {
        EXPECT_EQ(e.exceptionName(), QStringLiteral("E_PERIOD_CLOSED"));
    }
    EXPECT_EQ(writeOffs(), 0);
    EXPECT_EQ(count(QStringLiteral("UMOVES")), 0);
    EXPECT_TRUE(umoves->updatesPending());  // the user's line is still there to save later
    exec(QStringLiteral("UPDATE RPERIOD SET ACT='*' WHERE ID=2"));
    save();
    EXPECT_EQ(count(QStringLiteral("UMOVES")), 1);
    EXPECT_EQ(writeOffs(), 1);
}

TEST_F(WriteOffTest, WriteOffOfOpenEarlierPeriodMovesToCurrentAndDuplicatesGo) {
    exec(QStringLiteral("UPDATE RPERIOD SET ACT='*' WHERE ID=1"));
    exec(QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA, DOCU_ID) "
                        "VALUES (50, 102, 1, '2009-02-27', '7', 30, 1)"));
    exec(QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA, DOCU_ID) "
                        "VALUES (51, 102, 2, '2009-03-05', '8', 30, 1)"));
    exec(QStringLiteral("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (51, 3, 4, 7.5, 30)"));
    openOrder();
    addService(3, "250.5");
    save();
    ASSERT_EQ(writeOffs(), 1);
    EXPECT_EQ(writeOff("ID").toInt(), 50);
    EXPECT_EQ(writeOff("RPERIOD_ID").toInt(), 2);
    EXPECT_EQ(writeOff("NUMBER").toString(), QStringLiteral("7"));
    EXPECT_EQ(lines(), (std::vector<Line>{{3, dec("1"), dec("7.5"), dec("7.5")}}));
}

TEST_F(WriteOffTest, HeaderOnlyAndAutoSkladOffMakeNone) {
    struct Row {
        const char* name;
        bool autoSklad, headerOnly;
    };
    for (const Row& r : std::vector<Row>{{"header only", true, true}, {"auto off", false, false}}) {
        SCOPED_TRACE(r.name);
        exec(QStringLiteral("DELETE FROM UMOVES"));
        UchetOptions.AutoSklad = r.autoSklad;
        openOrder();
        addService(1, "150");
        set("RECEIVED", dec("10"));
        save(r.headerOnly);
        EXPECT_EQ(writeOffs(), 0);
        EXPECT_EQ(count(QStringLiteral("UMOVES")), 1);
        EXPECT_EQ(scalar(QStringLiteral("SELECT DEBT FROM DOCU WHERE ID=1")).toDecimal(), dec("-10"));
    }
    // A header-only save leaves an existing write-off as it was.
    UchetOptions.AutoSklad = true;
    save();
    ASSERT_EQ(writeOffs(), 1);
    umoves->deleteRecord();
    save(true);
    EXPECT_EQ(writeOffs(), 1);
}

TEST_F(WriteOffTest, ClosedLineListLeavesTheWriteOff) {
    openOrder();
    addService(1, "150");
    save();
    ASSERT_EQ(writeOffs(), 1);
    umoves->close();
    set("RECEIVED", dec("20"));
    save();
    EXPECT_EQ(writeOffs(), 1);
    EXPECT_EQ(writeOff("SUMMA").toDecimal(), dec("21.5"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT RECEIVED FROM DOCU WHERE ID=1")).toDecimal(), dec("20"));
}

TEST_F(WriteOffTest, DeletingTheOrderTakesItsWriteOff) {
    openOrder();
    addService(1, "150");
    save();
    ASSERT_EQ(writeOffs(), 1);
    exec(QStringLiteral("DELETE FROM DOCU WHERE ID=1"));
    EXPECT_EQ(count(QStringLiteral("DOCS"), QStringLiteral("KINDDOC_ID=102")), 0);
    EXPECT_EQ(count(QStringLiteral("MOVES")), 0);
}
