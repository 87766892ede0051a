// The period service alone: what it writes, what it leaves to the database,
// and the current period in GL.
#include "StockFixture.h"

#include "stock/PeriodList.h"
#include "stock/PeriodService.h"

#include <memory>

using namespace stocktest;

namespace {

class PeriodServiceTest : public StockTest {
protected:
    void SetUp() override {
        StockTest::SetUp();
        list.reset(MakePeriodManList(nullptr));
        service = std::make_unique<PeriodService>(*list);
    }
    void TearDown() override {
        service.reset();
        list.reset();
        StockTest::TearDown();
    }
    static PeriodService::AskDates dates(const char* d1, const char* d2) {
        return [=] { return std::optional<TPeriodDates>(TPeriodDates{d(d1), d(d2)}); };
    }
    std::unique_ptr<TClientDataSet> list;
    std::unique_ptr<PeriodService> service;
};

}  // namespace

TEST_F(PeriodServiceTest, DeletingAfterTheDatabaseReworkedLaterRowsStillFindsThem) {
    ASSERT_TRUE(service->create(dates("2009-01-01", "2009-01-31")).ok());
    const int jan = lastId();
    list->locate("ID", jan);
    ASSERT_TRUE(service->closeSelected().ok());
    const int feb = lastId();
    list->locate("ID", feb);
    ASSERT_TRUE(service->closeSelected().ok());
    const int mar = lastId();
    EXPECT_EQ(datesOf(mar), "2009-03-01-2009-03-31");

    // Deleting February makes the database work March out again...
    ASSERT_TRUE(list->locate("ID", feb));
    TPeriodOutcome r = service->deleteSelected();
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    // ...and March can still be deleted: the list shows the database's figures.
    ASSERT_TRUE(list->locate("ID", mar));
    r = service->deleteSelected();
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(periodCount(), 1);
    EXPECT_EQ(list->recordCount(), 1);
}

TEST_F(PeriodServiceTest, CloseAndReopenOfTheCurrentPeriodMoveItsOpenFlag) {
    const int jan = period("2009-01-01", "2009-01-31", "*", fb::Decimal());
    const int other = period("2009-02-01", "2009-02-28");
    GL.RPeriodID = jan;
    GL.RPeriodOpen = true;
    list->open();
    ASSERT_TRUE(list->locate("ID", other));
    ASSERT_TRUE(service->closeSelected().ok());
    EXPECT_TRUE(GL.RPeriodOpen);  // another period: the current one stays open
    ASSERT_TRUE(list->locate("ID", jan));
    ASSERT_TRUE(service->closeSelected().ok());
    EXPECT_FALSE(GL.RPeriodOpen);
    EXPECT_EQ(list->fieldByName("ID").asInteger(), jan);
    ASSERT_TRUE(service->reopenSelected().ok());
    EXPECT_TRUE(GL.RPeriodOpen);
    EXPECT_EQ(act(jan), "*");
    EXPECT_EQ(GL.RPeriodID, jan);
}
