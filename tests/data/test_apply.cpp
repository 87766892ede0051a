// Applying the change log to the database: statements in the order of the
// changes, rows found by their loaded values, one transaction, nothing
// applied when one change fails, reconcile handling, and the caller's
// transaction for a document saved with its lines.
#include "DataFixture.h"

using namespace datatest;

namespace {

class ApplyTest : public DataTest {
protected:
    std::unique_ptr<TClientDataSet> colors() {
        auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"), QStringLiteral("cdsBook"));
        ds->open();
        return ds;
    }
    QString colorName(int id) {
        return scalar(QStringLiteral("SELECT NAME FROM COLOR WHERE ID = ?"), {id}).toString();
    }
    void rename(TClientDataSet& ds, int id, const QString& name) {
        ASSERT_TRUE(ds.locate(QStringLiteral("ID"), id));
        ds.edit();
        ds.fieldByName(QStringLiteral("NAME")).setAsString(name);
        ds.post();
    }
    void addColor(TClientDataSet& ds, int id, const QString& name) {
        ds.append();
        ds.fieldByName(QStringLiteral("ID")).setAsInteger(id);
        ds.fieldByName(QStringLiteral("NAME")).setAsString(name);
        ds.post();
    }
};

TEST_F(ApplyTest, AnEmptyLogSendsNothingAndReturnsZero) {
    auto ds = colors();
    att->close();  // any statement would now fail
    EXPECT_EQ(ds->applyUpdates(), 0);
    EXPECT_TRUE(ds->lastApplyError().isEmpty());
    ds->edit();  // an untouched edit is no change either
    EXPECT_EQ(ds->applyUpdates(), 0);
    EXPECT_EQ(ds->state(), TDataSetState::Browse);
}

TEST_F(ApplyTest, InsertUpdateDeleteRoundTrip) {
    auto ds = colors();
    addColor(*ds, 11, QStringLiteral("Изумрудный"));
    rename(*ds, 2, QStringLiteral("Каштановый"));
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 3));
    ds->deleteRecord();
    EXPECT_EQ(ds->changeCount(), 3);
    EXPECT_TRUE(ds->updatesPending());
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_EQ(ds->changeCount(), 0);
    EXPECT_EQ(colorName(11), QStringLiteral("Изумрудный"));
    EXPECT_EQ(colorName(2), QStringLiteral("Каштановый"));
    EXPECT_EQ(count(QStringLiteral("COLOR"), QStringLiteral("ID = 3")), 0);
    EXPECT_EQ(count(QStringLiteral("COLOR")), 10);

    // the applied values are the row's new loaded values: a second edit finds it
    rename(*ds, 2, QStringLiteral("Ореховый"));
    rename(*ds, 11, QStringLiteral("Малахитовый"));
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_EQ(colorName(2), QStringLiteral("Ореховый"));
    EXPECT_EQ(colorName(11), QStringLiteral("Малахитовый"));
}

TEST_F(ApplyTest, ChangesOfOneRowMergeIntoOneStatement) {
    auto ds = colors();
    addColor(*ds, 12, QStringLiteral("Первый"));
    rename(*ds, 12, QStringLiteral("Второй"));
    EXPECT_EQ(ds->changeCount(), 1);
    addColor(*ds, 13, QStringLiteral("Лишний"));
    ds->deleteRecord();  // inserted and deleted: nothing to send
    rename(*ds, 4, QStringLiteral("Песочный"));
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 4));
    ds->deleteRecord();  // changed, then deleted: a delete of the loaded row
    EXPECT_EQ(ds->changeCount(), 2);
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_EQ(colorName(12), QStringLiteral("Второй"));
    EXPECT_EQ(count(QStringLiteral("COLOR"), QStringLiteral("ID IN (4, 13)")), 0);
}

TEST_F(ApplyTest, OldNullValuesAreMatchedAsNull) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, ADRES, PHONE) VALUES (2, 'Иванов', NULL, '123')"));
    auto ds = dataSet(QStringLiteral("SELECT ID, NAME, ADRES, PHONE, DTR FROM ZAKAZCH ORDER BY ID"));
    ds->open();
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 2));
    ds->edit();
    ds->fieldByName(QStringLiteral("PHONE")).clear();
    ds->fieldByName(QStringLiteral("DTR")).setAsDate(QDate(1970, 5, 1));
    ds->post();
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_TRUE(scalar(QStringLiteral("SELECT PHONE FROM ZAKAZCH WHERE ID = 2")).isNull());
    EXPECT_EQ(scalar(QStringLiteral("SELECT DTR FROM ZAKAZCH WHERE ID = 2")).toDate(), QDate(1970, 5, 1));
    // now PHONE is null in the loaded values too
    ds->edit();
    ds->fieldByName(QStringLiteral("ADRES")).setAsString(QStringLiteral("ул. Ленина, 1"));
    ds->post();
    ds->deleteRecord();
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_EQ(count(QStringLiteral("ZAKAZCH"), QStringLiteral("ID = 2")), 0);
}

TEST_F(ApplyTest, ARowChangedByAnotherWorkstationIsNotFound) {
    auto ds = colors();
    fb::Attachment other(path);
    exec(other, QStringLiteral("UPDATE COLOR SET NAME = 'Угольный' WHERE ID = 1"));
    rename(*ds, 1, QStringLiteral("Антрацит"));
    EXPECT_EQ(ds->applyUpdates(), 1);
    EXPECT_EQ(ds->lastApplyError(), QStringLiteral("Record not found or changed by another user"));
    EXPECT_TRUE(isDatabaseError(ds->lastApplyException()));
    // without a reconcile handler the change stays pending
    EXPECT_EQ(ds->changeCount(), 1);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Антрацит"));
    EXPECT_EQ(colorName(1), QStringLiteral("Угольный"));
    // a row deleted meanwhile, likewise
    exec(other, QStringLiteral("DELETE FROM COLOR WHERE ID = 5"));
    ds->cancelUpdates();
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 5));
    ds->deleteRecord();
    EXPECT_EQ(ds->applyUpdates(), 1);
    EXPECT_EQ(ds->lastApplyError(), ERecordChanged::text());
    other.close();
}

TEST_F(ApplyTest, AReconcileHandlerSeesTheFailureAndUndoesTheChangeInMemory) {
    auto ds = colors();
    fb::Attachment other(path);
    exec(other, QStringLiteral("UPDATE COLOR SET NAME = 'Угольный' WHERE ID = 1"));
    exec(other, QStringLiteral("DELETE FROM COLOR WHERE ID = 5"));
    other.close();
    std::vector<TApplyFailure> seen;
    ds->setOnReconcileError([&](TClientDataSet&, const TApplyFailure& f) {
        seen.push_back(f);
        return TReconcileAction::Cancel;
    });

    // a failed edit gets its loaded values back
    rename(*ds, 1, QStringLiteral("Антрацит"));
    EXPECT_EQ(ds->applyUpdates(), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, TChangeKind::Modify);
    EXPECT_EQ(seen[0].key.toInt(), 1);
    EXPECT_EQ(seen[0].message, QStringLiteral("Record not found or changed by another user"));
    EXPECT_TRUE(seen[0].sql.startsWith(QStringLiteral("UPDATE COLOR SET NAME = ?")));
    EXPECT_EQ(ds->changeCount(), 0);
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 1));
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Черный"));

    // a failed delete brings the row back
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 5));
    ds->deleteRecord();
    EXPECT_EQ(ds->recordCount(), 9);
    EXPECT_EQ(ds->applyUpdates(), 1);
    EXPECT_EQ(seen.back().kind, TChangeKind::Delete);
    EXPECT_EQ(ds->recordCount(), 10);
    EXPECT_TRUE(ds->locate(QStringLiteral("ID"), 5));

    // a failed insert is removed (key violation reported by the server)
    addColor(*ds, 2, QStringLiteral("Двойник"));
    EXPECT_EQ(ds->recordCount(), 11);
    EXPECT_EQ(ds->applyUpdates(), 1);
    EXPECT_EQ(seen.back().kind, TChangeKind::Insert);
    EXPECT_TRUE(seen.back().message.startsWith(
        QStringLiteral("Database Server Error: violation of PRIMARY or UNIQUE KEY constraint \"PK_COLOR\"")))
        << seen.back().message.toStdString();
    EXPECT_EQ(ds->recordCount(), 10);
    EXPECT_EQ(ds->changeCount(), 0);
}

TEST_F(ApplyTest, AFailureInTheMiddleRollsBackEverything) {
    auto ds = colors();
    addColor(*ds, 20, QStringLiteral("Первый"));
    rename(*ds, 3, QStringLiteral("Молочный"));
    addColor(*ds, 1, QStringLiteral("Дубликат"));  // PK_COLOR
    addColor(*ds, 21, QStringLiteral("После ошибки"));
    EXPECT_EQ(ds->applyUpdates(), 1);
    EXPECT_TRUE(ds->lastApplyError().contains(QStringLiteral("PK_COLOR")));
    EXPECT_EQ(count(QStringLiteral("COLOR"), QStringLiteral("ID IN (20, 21)")), 0);
    EXPECT_EQ(colorName(3), QStringLiteral("Белый"));
    EXPECT_EQ(ds->changeCount(), 4);
    // once the cause is removed the same log goes through
    ASSERT_TRUE(ds->locate(QStringLiteral("NAME"), QStringLiteral("Дубликат")));
    ds->edit();
    ds->fieldByName(QStringLiteral("ID")).setAsInteger(22);
    ds->post();
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_EQ(count(QStringLiteral("COLOR"), QStringLiteral("ID IN (20, 21, 22)")), 3);
    EXPECT_EQ(colorName(3), QStringLiteral("Молочный"));
}

TEST_F(ApplyTest, InACallersTransactionTheLogIsClearedOnlyOnCommit) {
    seedOrder();
    auto order = dataSet(QStringLiteral("SELECT * FROM DOCU WHERE ID = 1"), QStringLiteral("cdsDocu"));
    order->setTableName(QStringLiteral("DOCU"));
    order->setQuoteIdentifiers(true);
    auto ls = lines();
    order->open();
    ls->open();
    order->edit();
    order->fieldByName(QStringLiteral("COMMENT")).setAsString(QStringLiteral("Срочно"));
    order->post();
    ls->setRecNo(0);
    ls->deleteRecord();

    {  // rolled back: both logs stay for the next save
        fb::Transaction tra(*att);
        order->applyUpdates(tra);
        ls->applyUpdates(tra);
        EXPECT_EQ(order->changeCount(), 1);
        tra.rollback();
    }
    EXPECT_EQ(order->changeCount(), 1);
    EXPECT_EQ(ls->changeCount(), 1);
    EXPECT_TRUE(scalar(QStringLiteral("SELECT COMMENT FROM DOCU WHERE ID = 1")).isNull());
    EXPECT_EQ(count(QStringLiteral("UMOVES")), 3);

    {  // a failure of the lines throws; the caller's transaction is abandoned
        fb::Attachment other(path);
        exec(other, QStringLiteral("UPDATE UMOVES SET SUMMA = 151 WHERE ID = 1"));
        other.close();
        fb::Transaction tra(*att);
        order->applyUpdates(tra);
        EXPECT_THROW(ls->applyUpdates(tra), ERecordChanged);
        EXPECT_EQ(ls->lastApplyError(), ERecordChanged::text());
    }
    EXPECT_EQ(order->changeCount(), 1);
    EXPECT_TRUE(scalar(QStringLiteral("SELECT COMMENT FROM DOCU WHERE ID = 1")).isNull());

    ls->cancelUpdates();
    ls->close();
    ls->open();
    ls->setRecNo(0);
    ls->deleteRecord();
    {  // committed: both logs are cleared
        fb::Transaction tra(*att);
        order->applyUpdates(tra);
        ls->applyUpdates(tra);
        tra.commit();
    }
    EXPECT_EQ(order->changeCount(), 0);
    EXPECT_EQ(ls->changeCount(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COMMENT FROM DOCU WHERE ID = 1")).toString(), QStringLiteral("Срочно"));
    EXPECT_EQ(count(QStringLiteral("UMOVES")), 2);

    // the saved values are the new loaded ones
    order->edit();
    order->fieldByName(QStringLiteral("COMMENT")).setAsString(QStringLiteral("Не срочно"));
    order->post();
    EXPECT_EQ(order->applyUpdates(), 0) << order->lastApplyError().toStdString();
}

TEST_F(ApplyTest, CancelUpdatesRestoresTheRowsAsLoaded) {
    auto ds = colors();
    addColor(*ds, 30, QStringLiteral("Новый"));
    rename(*ds, 2, QStringLiteral("Другой"));
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 7));
    ds->deleteRecord();
    ds->cancelUpdates();
    EXPECT_EQ(ds->changeCount(), 0);
    EXPECT_EQ(column(*ds, QStringLiteral("ID")),
              (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 2));
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Коричневый"));
    // revertRecord undoes only the current row's change
    rename(*ds, 2, QStringLiteral("Другой"));
    rename(*ds, 3, QStringLiteral("Третий"));
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 2));
    EXPECT_TRUE(ds->revertRecord());
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Коричневый"));
    EXPECT_EQ(ds->changeCount(), 1);
}

TEST_F(ApplyTest, CalculatedLookupAndForeignColumnsAreNeverSent) {
    exec(QStringLiteral("INSERT INTO PRODUCTGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)"));
    exec(QStringLiteral("INSERT INTO PRODUCT (ID, GR_ID, NAME) VALUES (1, 1, 'Сапоги')"));
    auto kinds = dataSet(QStringLiteral("SELECT * FROM KINDDOC ORDER BY ID"));
    kinds->open();
    auto ds = dataSet(QStringLiteral("SELECT P.ID, P.GR_ID, P.NAME, PG.KINDDOC_ID, P.NAME || '!' AS LOUD "
                                     "FROM PRODUCT P JOIN PRODUCTGR PG ON PG.ID=P.GR_ID ORDER BY NAME"));
    ds->addCalcField(QStringLiteral("TITLE"), TFieldType::Text, 50);
    ds->addLookupField(QStringLiteral("KIND_NAME"), TFieldType::Text, 40, QStringLiteral("KINDDOC_ID"), kinds.get(),
                       QStringLiteral("ID"), QStringLiteral("NAME"));
    ds->setOnCalcFields([](TClientDataSet& d) {
        d.fieldByName(QStringLiteral("TITLE")).setAsString(QStringLiteral("№") + d.fieldByName(QStringLiteral("ID")).asString());
    });
    ds->open();
    EXPECT_EQ(ds->tableName(), QStringLiteral("PRODUCT"));
    EXPECT_EQ(ds->fieldByName(QStringLiteral("KIND_NAME")).asString(), QStringLiteral("Ремонт обуви"));
    ds->edit();
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Ботинки"));
    ds->post();
    ds->append();
    ds->fieldByName(QStringLiteral("ID")).setAsInteger(2);
    ds->fieldByName(QStringLiteral("GR_ID")).setAsInteger(1);
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Туфли"));
    ds->fieldByName(QStringLiteral("KINDDOC_ID")).setAsInteger(1);
    ds->post();
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM PRODUCT WHERE ID = 1")).toString(), QStringLiteral("Ботинки"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM PRODUCT WHERE ID = 2")).toString(), QStringLiteral("Туфли"));
}

TEST_F(ApplyTest, MoneyAndQuantitiesRoundTripExactly) {
    exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Клеи', 1)"));
    exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (1, 1, 'Клей')"));
    exec(QStringLiteral("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (1, '2009-03-01', '2009-03-31', '*')"));
    exec(QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) "
                        "VALUES (1, 101, 1, '2009-03-05', '1', 0)"));
    auto ds = dataSet(QStringLiteral("SELECT * FROM MOVES WHERE DOC_ID=:CURDOC_ID ORDER BY NPP"), QStringLiteral("cdsMoves"));
    ds->setTableName(QStringLiteral("MOVES"));
    ds->query().setParam(QStringLiteral("CURDOC_ID"), 1);
    ds->open();
    struct Line {
        const char* kolvo;
        const char* cena;
        const char* summa;
    };
    const std::vector<Line> cases{{"1.15", "1.15", "1.32"}, {"0.001", "999999999999.99", "0.01"},
                                  {"-2.5", "0.1", "-0.25"}, {"1234567.125", "0.07", "86419.70"}};
    int id = 1;
    for (const auto& c : cases) {
        ds->append();
        ds->fieldByName(QStringLiteral("ID")).setAsInteger(id);
        ds->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(1);
        ds->fieldByName(QStringLiteral("TOVAR_ID")).setAsInteger(1);
        ds->fieldByName(QStringLiteral("KOLVO")).setAsDecimal(dec(c.kolvo));
        ds->fieldByName(QStringLiteral("CENA")).setAsDecimal(dec(c.cena));
        ds->fieldByName(QStringLiteral("SUMMA")).setAsDecimal(dec(c.summa));
        ds->fieldByName(QStringLiteral("NPP")).setAsInteger(id);
        ds->post();
        ++id;
    }
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    ds->close();
    ds->open();
    ASSERT_EQ(ds->recordCount(), int(cases.size()));
    for (size_t i = 0; i < cases.size(); ++i) {
        ds->setRecNo(int(i));
        EXPECT_EQ(ds->fieldByName(QStringLiteral("KOLVO")).asDecimal(), dec(cases[i].kolvo)) << i;
        EXPECT_EQ(ds->fieldByName(QStringLiteral("CENA")).asDecimal(), dec(cases[i].cena)) << i;
        EXPECT_EQ(ds->fieldByName(QStringLiteral("SUMMA")).asDecimal().toString(2), QString::fromLatin1(cases[i].summa));
    }
    // an amount computed with four decimals is stored with two, and the row is found again afterwards
    ds->first();
    ds->edit();
    ds->fieldByName(QStringLiteral("SUMMA")).setAsDecimal(dec("7.007"));
    ds->post();
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUMMA FROM MOVES WHERE ID = 1")).toDecimal(), dec("7.01"));
    ds->edit();
    ds->fieldByName(QStringLiteral("CENA")).setAsDecimal(dec("2"));
    ds->post();
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT CENA FROM MOVES WHERE ID = 1")).toDecimal(), dec("2"));
}

TEST_F(ApplyTest, CyrillicTextRoundTripsThroughWin1251) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COMMENT ORDER BY NAME"));
    ds->open();
    const QString text = QStringLiteral("Царапины на носке, «срочно» — №5; ёЁ ъЪ іІ");
    ds->append();
    ds->fieldByName(QStringLiteral("ID")).setAsInteger(1000);
    ds->fieldByName(QStringLiteral("NAME")).setAsString(text);
    ds->post();
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    ds->close();
    ds->open();
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), 1000));
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), text);
    EXPECT_EQ(scalar(QStringLiteral("SELECT CHAR_LENGTH(NAME) FROM COMMENT WHERE ID = 1000")).toInt(), text.size());
}

TEST_F(ApplyTest, WithoutATableNameApplyFailsClearly) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM (SELECT ID, NAME FROM COLOR)"));
    ds->open();
    ds->edit();
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("x"));
    ds->post();
    EXPECT_EQ(ds->applyUpdates(), 1);
    EXPECT_TRUE(ds->lastApplyError().startsWith(QStringLiteral("Не задана таблица"))) << ds->lastApplyError().toStdString();
    EXPECT_EQ(ds->changeCount(), 1);
}

}  // namespace
