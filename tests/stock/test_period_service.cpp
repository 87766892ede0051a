// The period service alone: what it writes, what it leaves to the database,
// and the current period it hands back.
#include "StockCoreFixture.h"

#include "stock/core/PeriodList.h"
#include "stock/core/PeriodService.h"

#include <memory>

using namespace stocktest;

namespace {

class PeriodServiceTest : public StockCoreTest {
protected:
    void SetUp() override {
        StockCoreTest::SetUp();
        list.reset(MakePeriodManList(nullptr));
        service = std::make_unique<PeriodService>(*list);
    }
    void TearDown() override {
        service.reset();
        list.reset();
        StockCoreTest::TearDown();
    }
    static PeriodService::AskDates dates(const char* d1, const char* d2) {
        return [=] { return std::optional<TPeriodDates>(TPeriodDates{d(d1), d(d2)}); };
    }
    std::unique_ptr<TClientDataSet> list;
    std::unique_ptr<PeriodService> service;
};

}  // namespace

TEST_F(PeriodServiceTest, DeletingAfterTheDatabaseReworkedLaterRowsStillFindsThem) {
    ASSERT_TRUE(service->create(dates("2009-01-01", "2009-01-31"), {}).ok());
    const int jan = lastId();
    list->locate("ID", jan);
    ASSERT_TRUE(service->closeSelected({}).ok());
    const int feb = lastId();
    list->locate("ID", feb);
    ASSERT_TRUE(service->closeSelected({}).ok());
    const int mar = lastId();
    EXPECT_EQ(datesOf(mar), "2009-03-01-2009-03-31");

    // Deleting February makes the database work March out again...
    ASSERT_TRUE(list->locate("ID", feb));
    TPeriodOutcome r = service->deleteSelected({});
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    // ...and March can still be deleted: the list shows the database's figures.
    ASSERT_TRUE(list->locate("ID", mar));
    r = service->deleteSelected({});
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(periodCount(), 1);
    EXPECT_EQ(list->recordCount(), 1);
}

TEST_F(PeriodServiceTest, CloseAndReopenOfTheCurrentPeriodMoveItsOpenFlag) {
    const int jan = period("2009-01-01", "2009-01-31", "*", fb::Decimal());
    const int other = period("2009-02-01", "2009-02-28");
    TCurrentPeriod current{jan, true};
    list->open();
    ASSERT_TRUE(list->locate("ID", other));
    TPeriodOutcome r = service->closeSelected(current);
    ASSERT_TRUE(r.ok());
    current = r.current;
    EXPECT_TRUE(current.open);  // another period: the current one stays open
    ASSERT_TRUE(list->locate("ID", jan));
    r = service->closeSelected(current);
    ASSERT_TRUE(r.ok());
    current = r.current;
    EXPECT_FALSE(current.open);
    EXPECT_EQ(list->fieldByName("ID").asInteger(), jan);
    r = service->reopenSelected(current);
    ASSERT_TRUE(r.ok());
    current = r.current;
    EXPECT_TRUE(current.open);
    EXPECT_EQ(act(jan), "*");
    EXPECT_EQ(current.id, jan);
}

namespace {

// Where the period windows start, what the choice hands back, and the refusal
// of a command that needs a period.
TEST_F(PeriodServiceTest, ListsStandOnTheCurrentPeriodOrFallBackAndTellTheChosenOne) {
    EXPECT_EQ(ChosenPeriod(*list), std::nullopt);  // closed
    ASSERT_TRUE(service->missingPeriods({7, true}).has_value());
    EXPECT_EQ(service->missingPeriods({7, true})->kind, TPeriodOutcome::NoPeriods);
    EXPECT_EQ(service->missingPeriods({7, true})->current.id, 7);
    EXPECT_EQ(ChosenPeriod(*list), std::nullopt);  // open and empty

    const int first = period("2009-01-01", "2009-01-31", "#");
    const int second = period("2009-02-01", "2009-02-28", "*");
    struct Row {
        int asked;
        TPeriodFallback fallback;
        int stands;
        bool open;
    };
    const Row rows[] = {{first, TPeriodFallback::Last, first, false},
                        {second, TPeriodFallback::First, second, true},
                        {-1, TPeriodFallback::First, first, false},
                        {-1, TPeriodFallback::Last, second, true}};
    for (const Row& r : rows) {
        ReopenPeriodList(*list, r.asked, r.fallback);
        const std::optional<TChosenPeriod> p = ChosenPeriod(*list);
        ASSERT_TRUE(p.has_value()) << r.asked;
        EXPECT_EQ(p->id, r.stands) << r.asked;
        EXPECT_EQ(p->open, r.open) << r.asked;
    }
    EXPECT_EQ(ChosenPeriod(*list)->date1, d("2009-02-01"));
    EXPECT_EQ(ChosenPeriod(*list)->date2, d("2009-02-28"));
    EXPECT_EQ(service->missingPeriods({7, true}), std::nullopt);
}

}  // namespace
