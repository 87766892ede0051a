// Apply never touches rows it did not mean: an UPDATE or DELETE must find
// exactly its one row, a statement without a condition is never sent, and a
// refusal at commit belongs to the whole batch.
#include "DataFixture.h"

using namespace datatest;

namespace {

class ApplyLimitsTest : public DataTest {
protected:
    qint64 colors() { return scalar(QStringLiteral("SELECT COUNT(*) FROM COLOR")).toInt(); }
};

}  // namespace

TEST_F(ApplyLimitsTest, ADataSetOverAViewWritesItsOneRow) {
    att->executeImmediate(QStringLiteral("CREATE VIEW V_COLOR (ID, NAME) AS SELECT ID, NAME FROM COLOR"));
    const qint64 before = colors();
    ASSERT_GE(before, 3);
    auto ds = dataSet(QStringLiteral("SELECT * FROM V_COLOR ORDER BY ID"));
    ds->setTableName(QStringLiteral("COLOR"));
    ds->open();
    const int firstId = ds->fieldByName(QStringLiteral("ID")).asInteger();
    ds->deleteRecord();
    ds->edit();
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Бордовый"));
    ds->post();
    const int editedId = ds->fieldByName(QStringLiteral("ID")).asInteger();
    ASSERT_EQ(ds->applyUpdates(), 0) << ds->lastApplyError().toStdString();
    EXPECT_EQ(colors(), before - 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM COLOR WHERE ID = ?"), {firstId}).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM COLOR WHERE ID = ?"), {editedId}).toString(), "Бордовый");
}

TEST_F(ApplyLimitsTest, NoStatementWithoutAConditionAndNoneThatHitsTwoRows) {
    att->executeImmediate(QStringLiteral("CREATE TABLE NOKEY (A INTEGER, B VARCHAR(10))"));
    exec(QStringLiteral("INSERT INTO NOKEY (A, B) VALUES (1, 'x')"));
    exec(QStringLiteral("INSERT INTO NOKEY (A, B) VALUES (1, 'x')"));
    const struct {
        const char* what;
        bool fieldsOut;  // every field forced out of the statements
        const char* message;
    } cases[] = {
        {"no condition", true, "Изменение не сохранено: у набора данных нет полей таблицы NOKEY"},
        {"two equal rows", false, "Изменение не сохранено: в таблице найдено 2 одинаковых записей"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto ds = dataSet(QStringLiteral("SELECT A, B FROM NOKEY"));
        ds->open();
        if (c.fieldsOut)
            for (TField* f : ds->fields()) f->setInUpdate(false);
        ds->deleteRecord();
        bool reconciled = false;
        ds->setOnReconcileError([&](TClientDataSet&, const TApplyFailure& f) {
            reconciled = f.message.startsWith(QString::fromUtf8(c.message));
            return TReconcileAction::Keep;
        });
        EXPECT_EQ(ds->applyUpdates(), 1);
        EXPECT_TRUE(reconciled) << ds->lastApplyError().toStdString();
        EXPECT_EQ(ds->changeCount(), 1) << "the change waits in the log";
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM NOKEY")).toInt(), 2);
    }
}

TEST_F(ApplyLimitsTest, ARefusalAtCommitBelongsToTheWholeBatch) {
    att->executeImmediate(QStringLiteral("CREATE EXCEPTION E_AT_COMMIT 'refused at commit'"));
    att->executeImmediate(QStringLiteral(
        "CREATE TRIGGER T_AT_COMMIT ACTIVE ON TRANSACTION COMMIT AS BEGIN "
        "IF (EXISTS (SELECT 1 FROM COLOR WHERE NAME = 'Отказ')) THEN EXCEPTION E_AT_COMMIT; END"));
    const qint64 before = colors();
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"));
    ds->open();
    const QString firstName = ds->fieldByName(QStringLiteral("NAME")).asString();
    ds->edit();
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Первый"));
    ds->post();
    ds->append();
    ds->fieldByName(QStringLiteral("ID")).setAsInteger(9001);
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Отказ"));
    ds->post();
    TApplyFailure seen;
    ds->setOnReconcileError([&](TClientDataSet&, const TApplyFailure& f) {
        seen = f;
        return TReconcileAction::Cancel;
    });
    EXPECT_EQ(ds->applyUpdates(), 1);
    EXPECT_TRUE(seen.wholeBatch);
    EXPECT_TRUE(seen.message.contains(QStringLiteral("E_AT_COMMIT")));
    EXPECT_EQ(ds->changeCount(), 0) << "cancel undid every change, not only the first";
    EXPECT_EQ(ds->recordCount(), int(before));
    EXPECT_EQ(colors(), before);
    ASSERT_TRUE(ds->locate(QStringLiteral("NAME"), firstName));
}
