// Saving an order while other workstations work on the same database: a
// period row held too long, a simultaneous save that made the first attempt
// conflict, and a connection that was lost. Nothing the user typed is lost.
#include "OrdersFixture.h"

#include "data/SaveRetry.h"
#include "fb/DbError.h"
#include "orders/core/DocuSave.h"

#include <QElapsedTimer>
#include <thread>

using namespace orderstest;

namespace {

class SaveBesideOthersTest : public OrdersTest {
protected:
    void SetUp() override {
        OrdersTest::SetUp();
        other = std::make_unique<fb::Attachment>(path);  // a second workstation
    }
    void TearDown() override {
        otherTra.reset();
        if (other) other->close();
        fb::setDefaultLockTimeout(fb::kLockTimeoutSeconds);
        OrdersTest::TearDown();
    }
    // The other workstation writes into the period and keeps its transaction open.
    void otherHoldsThePeriod() {
        otherTra = std::make_unique<fb::Transaction>(*other);
        fb::exec(*otherTra, QStringLiteral("UPDATE RPERIOD SET DOCU_CNT = DOCU_CNT WHERE ID = 2"));
    }
    void prepare() {
        openOrder();
        addService(1, "150");
    }
    std::unique_ptr<fb::Attachment> other;
    std::unique_ptr<fb::Transaction> otherTra;
};

}  // namespace

TEST_F(SaveBesideOthersTest, ARowHeldTooLongEndsInALockTimeoutAndTheChangesStay) {
    fb::setDefaultLockTimeout(1);
    prepare();
    otherHoldsThePeriod();
    QElapsedTimer t;
    t.start();
    try {
        SaveDocu(*docu, *pmoves, *umoves, saveInput(false));
        FAIL() << "saved past a held lock";
    } catch (const fb::DbError& e) {
        EXPECT_TRUE(e.isLockTimeout()) << e.message().toStdString();
        EXPECT_FALSE(e.isUpdateConflict());
    }
    EXPECT_LT(t.elapsed(), 4000) << "the wait is bounded";
    EXPECT_TRUE(umoves->updatesPending());
    otherTra->rollback();
    SaveDocu(*docu, *pmoves, *umoves, saveInput(false));  // once the other is done, the same changes save
    EXPECT_EQ(count(QStringLiteral("UMOVES")), 1);
}

TEST_F(SaveBesideOthersTest, AConflictWithAnotherSaveIsRetriedInAFreshTransaction) {
    prepare();
    otherHoldsThePeriod();
    // The other workstation commits while this save waits for the period row:
    // the first attempt then meets an update conflict.
    std::thread committer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        otherTra->commit();
    });
    EXPECT_NO_THROW(SaveDocu(*docu, *pmoves, *umoves, saveInput(false)));
    committer.join();
    EXPECT_EQ(count(QStringLiteral("UMOVES")), 1);
    EXPECT_FALSE(umoves->updatesPending());
}

TEST_F(SaveBesideOthersTest, ALostConnectionIsRecognisedAndTheSaveGoesThroughOnANewOne) {
    prepare();
    const qint64 mine = fb::scalar(*std::make_unique<fb::Transaction>(*att),
                                   QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE"))
                            .toInt();
    {
        fb::Transaction tra(*other);  // the server drops this workstation's connection
        fb::exec(tra, QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = ?"), {mine});
        tra.commit();
    }
    try {
        SaveDocu(*docu, *pmoves, *umoves, saveInput(false));
        FAIL() << "saved over a dropped connection";
    } catch (...) {
        EXPECT_TRUE(isConnectionLost(std::current_exception()));
    }
    EXPECT_TRUE(umoves->updatesPending());
    auto fresh = std::make_unique<fb::Attachment>(path);
    for (TClientDataSet* ds : {docu.get(), pmoves.get(), umoves.get()}) ds->setAttachment(fresh.get());
    SaveDocu(*docu, *pmoves, *umoves, saveInput(false));
    att->close();
    att = std::move(fresh);
    EXPECT_EQ(count(QStringLiteral("UMOVES")), 1);
}
