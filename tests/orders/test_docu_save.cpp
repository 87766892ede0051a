// Saving an order is all or nothing: a refusal part-way leaves the database
// and the change logs as they were, and a corrected save goes through.
#include "OrdersFixture.h"

#include "orders/core/DocuSave.h"

using namespace orderstest;

namespace {

class DocuSaveTest : public OrdersTest {
protected:
    // An order with a changed header, a new product line and two new service
    // lines (services 1 and 3), nothing saved yet.
    void prepareOrder() {
        openOrder();
        set("RECEIVED", dec("100"));
        docu->post();
        addProduct();
        addService(1, "150");
        addService(3, "250.5");
        CalcTotal(*docu, *umoves);
    }
    struct Snapshot {
        fb::Decimal received, total;
        qint64 pmoves, umoves, docs, moves;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot database() {
        return {scalar(QStringLiteral("SELECT RECEIVED FROM DOCU WHERE ID=1")).toDecimal(),
                scalar(QStringLiteral("SELECT TOTAL FROM DOCU WHERE ID=1")).toDecimal(),
                count(QStringLiteral("PMOVES")), count(QStringLiteral("UMOVES")), count(QStringLiteral("DOCS")),
                count(QStringLiteral("MOVES"))};
    }
    std::vector<int> logs() { return {docu->changeCount(), pmoves->changeCount(), umoves->changeCount()}; }
};

}  // namespace

TEST_F(DocuSaveTest, SavesOrderLinesAndWriteOffTogether) {
    prepareOrder();
    SaveDocu(*docu, *pmoves, *umoves, saveInput(false));
    EXPECT_EQ(database(), (Snapshot{dec("100"), dec("400.5"), 1, 2, 2, 3}));
    EXPECT_EQ(logs(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT DEBT FROM DOCU WHERE ID=1")).toDecimal(), dec("300.5"));
}

TEST_F(DocuSaveTest, RefusedLineLeavesEverythingAsItWas) {
    prepareOrder();
    const Snapshot before = database();
    const std::vector<int> logsBefore = logs();
    ASSERT_EQ(logsBefore, (std::vector<int>{1, 1, 2}));

    // Another workstation deletes service 3 meanwhile.
    {
        fb::Attachment other(path);
        fb::Transaction tra(other);
        fb::exec(tra, QStringLiteral("DELETE FROM USLUGA WHERE ID=3"));
        tra.commit();
    }
    try {
        SaveDocu(*docu, *pmoves, *umoves, saveInput(false));
        FAIL() << "the save went through";
    } catch (const fb::DbError& e) {
        EXPECT_EQ(e.constraintName(), QStringLiteral("FK_UMOVES_2"));
        EXPECT_TRUE(isDatabaseError(e));
    }
    EXPECT_EQ(database(), before);
    EXPECT_EQ(logs(), logsBefore);
    EXPECT_EQ(umoves->recordCount(), 2);

    // The user picks another service and saves again.
    ASSERT_TRUE(umoves->locate(QStringLiteral("USLUGA_ID"), 3));
    umoves->edit();
    umoves->fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(2);
    umoves->post();
    SaveDocu(*docu, *pmoves, *umoves, saveInput(false));
    EXPECT_EQ(database(), (Snapshot{dec("100"), dec("400.5"), 1, 2, 2, 2}));
    EXPECT_EQ(logs(), (std::vector<int>{0, 0, 0}));
}

TEST_F(DocuSaveTest, RefusedWriteOffUndoesTheOrderToo) {
    att->executeImmediate(QStringLiteral("CREATE EXCEPTION E_TEST_REFUSE 'refused for the test'"));
    att->executeImmediate(QStringLiteral(
        "CREATE TRIGGER MOVES_TEST_REFUSE FOR MOVES BEFORE INSERT AS BEGIN "
        "IF (NEW.TOVAR_ID = 3) THEN EXCEPTION E_TEST_REFUSE; END"));
    prepareOrder();
    const Snapshot before = database();
    const std::vector<int> logsBefore = logs();
    EXPECT_THROW(SaveDocu(*docu, *pmoves, *umoves, saveInput(false)), fb::DbError);
    EXPECT_EQ(database(), before);
    EXPECT_EQ(logs(), logsBefore);

    // Without the write-off of goods 3 the same changes are stored.
    ASSERT_TRUE(umoves->locate(QStringLiteral("USLUGA_ID"), 3));
    umoves->deleteRecord();
    CalcTotal(*docu, *umoves);
    SaveDocu(*docu, *pmoves, *umoves, saveInput(false));
    EXPECT_EQ(database(), (Snapshot{dec("100"), dec("150"), 1, 1, 2, 2}));
}

TEST_F(DocuSaveTest, RequiredFieldMissingIsRefusedBeforeAnythingIsSent) {
    openOrder();
    umoves->append();
    umoves->fieldByName(QStringLiteral("ID")).setAsInteger(500);
    umoves->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(1);
    umoves->fieldByName(QStringLiteral("NPP")).setAsInteger(500);
    umoves->fieldByName(QStringLiteral("SUMMA")).setAsDecimal(dec("1"));
    set("RECEIVED", dec("5"));  // USLUGA_ID left empty
    EXPECT_THROW(SaveDocu(*docu, *pmoves, *umoves, saveInput(false)), EDatabaseError);
    EXPECT_EQ(count(QStringLiteral("UMOVES")), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT RECEIVED FROM DOCU WHERE ID=1")).toDecimal(), dec("0"));
}
