// The data module: its connection, the shared lookups with their SQL, the
// procedure callers, direct statements and the report query.
#include "DataFixture.h"

#include "data/DataModule.h"

using namespace datatest;

namespace {

class DataModuleTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        dm = std::make_unique<TDM>();
        dm->connectDatabase(path);
    }
    void TearDown() override {
        dm.reset();
        DataTest::TearDown();
    }
    std::unique_ptr<TDM> dm;
};

TEST_F(DataModuleTest, IsTheOneInstanceWithTheConnection) {
    EXPECT_EQ(dm->objectName(), QStringLiteral("DM"));
    EXPECT_TRUE(DMExists());
    EXPECT_EQ(&DM(), dm.get());
    EXPECT_TRUE(dm->isConnected());
    EXPECT_EQ(dm->xConnection->database(), path);
    EXPECT_EQ(dm->databaseVersion(), QStringLiteral("1.1.6"));
    EXPECT_EQ(dm->xpDBVersion->storedProcName(), QStringLiteral("P_VERSION"));
}

TEST_F(DataModuleTest, OpensTheLookupsInTheirFixedOrder) {
    QStringList names;
    for (TClientDataSet* ds : dm->lookupsInOpenOrder()) names << ds->objectName();
    EXPECT_EQ(names.join(' '), QStringLiteral("cdsTovarLU cdsTovarGrLU cdsUslugaLU cdsProductLU cdsColorLU "
                                              "cdsMaterialLU cdsPparaLU cdsGarantLU cdsCommentLU cdsZakazchLU "
                                              "cdsPriemschikLU cdsKindDoc cdsUchInfo cdsRPeriod"));
    QStringList opened;
    for (TClientDataSet* ds : dm->lookupsInOpenOrder())
        QObject::connect(ds, &TClientDataSet::stateChanged, [&opened, ds] {
            if (ds->isActive()) opened << ds->objectName();
        });
    dm->openLookups();
    EXPECT_EQ(opened, names);
    EXPECT_FALSE(dm->cdsDocuLU->isActive());
    EXPECT_EQ(dm->cdsKindDoc->recordCount(), 8);
    EXPECT_EQ(dm->cdsUchInfo->recordCount(), 1);
    EXPECT_EQ(dm->cdsUchInfo->fieldByName(QStringLiteral("NAMEORG")).asString(), QStringLiteral("Мастерская"));
    EXPECT_EQ(dm->cdsPriemschikLU->fieldByName(QStringLiteral("ROLE_NAME")).asString(), QStringLiteral("Администратор"));
    EXPECT_EQ(dm->cdsGarantLU->query().objectName(), QStringLiteral("xqGarantLU"));
    dm->closeLookups();
    for (TClientDataSet* ds : dm->lookupsInOpenOrder()) EXPECT_FALSE(ds->isActive()) << ds->objectName().toStdString();
}

TEST_F(DataModuleTest, CustomersCarryNameAddressAndPhoneJoined) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, ADRES, PHONE) VALUES (2, 'Иванов И.И.', 'ул. Ленина, 1', '123-45')"));
    dm->openLookups();
    TClientDataSet* z = dm->cdsZakazchLU;
    ASSERT_TRUE(z->locate(QStringLiteral("ID"), 2));
    EXPECT_EQ(z->fieldByName(QStringLiteral("NAMEAP")).asString(), QStringLiteral("Иванов И.И., ул. Ленина, 1, т. 123-45"));
    ASSERT_TRUE(z->locate(QStringLiteral("ID"), 1));
    EXPECT_EQ(z->fieldByName(QStringLiteral("NAMEAP")).asString(), QStringLiteral("Частное лицо, , т. "));
    EXPECT_EQ(z->sortFields(), QStringList{QStringLiteral("NAME")});
    EXPECT_EQ(column(*z, QStringLiteral("ID")), (QStringList{"2", "1"}));  // Иванов before Частное
}

TEST_F(DataModuleTest, OrderTitleJoinsKindDateSeriesAndNumber) {
    seedOrder();
    // The lookup holds the orders that the period's stock documents name, nothing else.
    exec(QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA, DOCU_ID) "
                        "VALUES (1, 102, 1, '2009-03-05', '1', 0, 1)"));
    dm->openDocuLU(2);
    EXPECT_EQ(dm->cdsDocuLU->recordCount(), 0);
    dm->openDocuLU(1);
    ASSERT_EQ(dm->cdsDocuLU->recordCount(), 1);
    ASSERT_TRUE(dm->cdsDocuLU->locate(QStringLiteral("ID"), 1));
    TField& title = dm->cdsDocuLU->fieldByName(QStringLiteral("DOCTITLE"));
    EXPECT_EQ(title.kind(), TFieldKind::Calculated);
    EXPECT_EQ(title.size(), 60);
    const QString date = QLocale().toString(QDate(2009, 3, 5), QLocale::ShortFormat);
    EXPECT_EQ(date, QStringLiteral("05.03.2009"));
    EXPECT_EQ(title.asString(), QStringLiteral("Ремонт обуви от ") + date + QStringLiteral(" № АА 17"));
}

TEST_F(DataModuleTest, KindsFilterByTypedoc) {
    dm->openLookups();
    dm->cdsKindDoc->setFilter(QStringLiteral("TYPEDOC=2"));
    dm->cdsKindDoc->setFiltered(true);
    EXPECT_EQ(dm->cdsKindDoc->recordCount(), 5);
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(dm->cdsKindDoc->valueAt(r, dm->cdsKindDoc->fieldByName(QStringLiteral("TYPEDOC")).index()).toInt(), 2);
    dm->cdsKindDoc->setFiltered(false);
    EXPECT_EQ(dm->cdsKindDoc->recordCount(), 8);
}

TEST_F(DataModuleTest, ProcedureCallersTakeTheirNameBeforeEachUse) {
    const int id1 = dm->getMovesId(QStringLiteral("GET_PMOVES"));
    const int id2 = dm->getMovesId(QStringLiteral("GET_PMOVES"));
    EXPECT_GT(id2, id1);
    EXPECT_EQ(dm->xpGetMovesId->storedProcName(), QStringLiteral("GET_PMOVES_ID"));
    dm->getMovesId(QStringLiteral("GET_MOVES"));
    EXPECT_EQ(dm->xpGetMovesId->storedProcName(), QStringLiteral("GET_MOVES_ID"));
    const int npp1 = dm->getMovesNpp(QStringLiteral("GET_UMOVES"));
    EXPECT_GT(dm->getMovesNpp(QStringLiteral("GET_UMOVES")), npp1);
    EXPECT_EQ(dm->xpGetMovesNpp->storedProcName(), QStringLiteral("GET_UMOVES_NPP"));
    EXPECT_EQ(dm->xpGetMovesNpp->paramByName(QStringLiteral("NPP")).toInt(), npp1 + 1);
}

TEST_F(DataModuleTest, ProceduresRunWithInputsByNameAndReturnOutputsByName) {
    EXPECT_TRUE(dm->execProc(QStringLiteral("GET_MAX_DOCU_NUMBER")).value(QStringLiteral("MAXNUM")).isNull());
    seedOrder();
    EXPECT_EQ(dm->execProc(QStringLiteral("GET_MAX_DOCU_NUMBER")).value(QStringLiteral("MAXNUM")).toInt(), 17);
    EXPECT_THROW(dm->execProc(QStringLiteral("GET_MAX_DOCU_NUMBER")).value(QStringLiteral("NOPE")), EDatabaseError);

    exec(QStringLiteral("UPDATE RPERIOD SET ACT = '#' WHERE ID = 1"));
    dm->execProc(QStringLiteral("P_PERIOD_OPEN"), {{QStringLiteral("rp_id"), 1}});
    EXPECT_EQ(scalar(QStringLiteral("SELECT ACT FROM RPERIOD WHERE ID = 1")).toString(), QStringLiteral("*"));

    TStoredProc close(nullptr, QStringLiteral("xpPeriodClose"));
    close.setStoredProcName(QStringLiteral("P_PERIOD_CLOSE"));
    close.setParam(QStringLiteral("DATE_2"), QDate(2009, 3, 31));  // set out of order on purpose
    close.setParam(QStringLiteral("RP_ID"), 1);
    close.execute();
    EXPECT_EQ(scalar(QStringLiteral("SELECT ACT FROM RPERIOD WHERE ID = 1")).toString(), QStringLiteral("#"));
    EXPECT_EQ(close.paramByName(QStringLiteral("RP_ID")).toInt(), 1);
}

TEST_F(DataModuleTest, DirectStatementsRunInTheirOwnOrTheCallersTransaction) {
    dm->execSQL(QStringLiteral("UPDATE COLOR SET NAME = ? WHERE ID = ?"), {QStringLiteral("Смоляной"), 1});
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM COLOR WHERE ID = 1")).toString(), QStringLiteral("Смоляной"));
    {
        fb::Transaction tra(dm->connection());
        dm->execSQL(tra, QStringLiteral("DELETE FROM COLOR WHERE ID = 1"));
        tra.rollback();
    }
    EXPECT_EQ(count(QStringLiteral("COLOR"), QStringLiteral("ID = 1")), 1);
    EXPECT_THROW(dm->execSQL(QStringLiteral("DELETE FROM NO_SUCH_TABLE")), fb::DbError);
}

TEST_F(DataModuleTest, TheReportQueryIsReadOnlyAndKeepsTheServersOrder) {
    TClientDataSet* q = dm->xqReportCom;
    EXPECT_EQ(q->objectName(), QStringLiteral("xqReportCom"));
    q->query().setSql(QStringLiteral("SELECT ID, NAME FROM COLOR WHERE ID <= :MAXID ORDER BY NAME DESC"));
    q->query().setParam(QStringLiteral("MAXID"), 3);
    q->open();
    EXPECT_EQ(column(*q, QStringLiteral("NAME")),
              (QStringList{QStringLiteral("Черный"), QStringLiteral("Коричневый"), QStringLiteral("Белый")}));
    EXPECT_THROW(q->edit(), EDatabaseError);
    q->close();
}

TEST_F(DataModuleTest, WithoutAConnectionEverythingSaysSo) {
    dm->openLookups();
    dm->disconnectDatabase();
    EXPECT_FALSE(dm->isConnected());
    EXPECT_FALSE(dm->cdsKindDoc->isActive());
    try {
        dm->connection();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Нет соединения с базой данных"));
    }
    EXPECT_THROW(dm->cdsKindDoc->open(), EDatabaseError);
    EXPECT_THROW(dm->databaseVersion(), EDatabaseError);
    EXPECT_THROW(dm->connectDatabase(path + QStringLiteral(".missing")), fb::DbError);
    EXPECT_FALSE(dm->isConnected());
    dm->connectDatabase(path);
    EXPECT_NO_THROW(dm->openLookups());
}

}  // namespace
