// One instance per window, created in the fixed start-up order, reached by
// name, destroyed in reverse.
#include "ui/WindowRegistry.h"

#include <QDialog>
#include <QPointer>
#include <QSet>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        auto& r = WindowRegistry::instance();
        r.destroyAll();
        r.clearFactories();
    }
    WindowRegistry& reg = WindowRegistry::instance();
    QStringList log;  // destructor calls of probe windows; outlives TearDown
};

class TfrmProbe : public QDialog {
public:
    explicit TfrmProbe(QStringList* log) : m_log(log) {}
    ~TfrmProbe() override { *m_log << "~" + objectName(); }
private:
    QStringList* m_log;
};

TEST_F(RegistryTest, TheFixedOrder) {
    const QStringList& order = WindowRegistry::creationOrder();
    ASSERT_EQ(order.size(), 53);
    EXPECT_EQ(order.first(), "frmMain");
    EXPECT_EQ(order.at(1), "DM");
    EXPECT_EQ(order.at(2), "frmAbout");
    EXPECT_EQ(order.at(3), "frmDocu");
    EXPECT_EQ(order.at(6), "frmOptions");
    EXPECT_LT(order.indexOf("frmErrorDB"), order.indexOf("frmErrorMes"));
    EXPECT_EQ(order.indexOf("frmConnectDB"), 18);
    EXPECT_EQ(order.last(), "frmZakazchInfo");
    EXPECT_EQ(QSet<QString>(order.begin(), order.end()).size(), order.size());
}

TEST_F(RegistryTest, ShellsForWindowsWithoutFactory) {
    reg.createAll();
    EXPECT_TRUE(reg.isCreated());
    EXPECT_EQ(reg.createdNames(), WindowRegistry::creationOrder());
    auto* docu = reg.get<QDialog>("frmDocu");
    ASSERT_NE(docu, nullptr);
    EXPECT_EQ(docu->objectName(), "frmDocu");
    EXPECT_TRUE(docu->windowTitle().isEmpty());
    EXPECT_FALSE(docu->isVisible());
    // The data module is an object, not a window.
    ASSERT_NE(reg.object("DM"), nullptr);
    EXPECT_EQ(reg.object("DM")->objectName(), "DM");
    EXPECT_EQ(reg.get<QWidget>("DM"), nullptr);
    EXPECT_EQ(reg.object("frmNothing"), nullptr);
    EXPECT_EQ(Window<QDialog>("frmErrorMes"), reg.get<QDialog>("frmErrorMes"));
}

TEST_F(RegistryTest, FactoriesRunInTheFixedOrderWhateverTheRegistrationOrder) {
    QStringList calls;
    const QStringList some = {"frmZakazchInfo", "frmOptions", "DM", "frmMain", "frmDocu"};
    for (const QString& name : some)
        reg.registerFactory(name, [&calls, name]() -> QObject* {
            calls << name;
            return name == "DM" ? new QObject : new QDialog;
        });
    reg.createAll();
    EXPECT_EQ(calls, QStringList({"frmMain", "DM", "frmDocu", "frmOptions", "frmZakazchInfo"}));
    EXPECT_EQ(reg.createdNames(), WindowRegistry::creationOrder());
}

TEST_F(RegistryTest, RealWindowReachableByItsType) {
    reg.registerFactory("frmAbout", [this] { return new TfrmProbe(&log); });
    reg.createAll();
    auto* about = reg.get<TfrmProbe>("frmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->objectName(), "frmAbout");  // the instance name is given by the registry
    EXPECT_EQ(reg.get<TfrmProbe>("frmDocu"), nullptr);  // a shell, not that class
}

TEST_F(RegistryTest, CreateAllTwiceKeepsTheInstances) {
    reg.createAll();
    QObject* first = reg.object("frmDocs");
    reg.createAll();
    EXPECT_EQ(reg.object("frmDocs"), first);
}

TEST_F(RegistryTest, DestroyAllInReverse) {
    for (const char* n : {"frmMain", "frmAbout", "frmZakazchInfo"})
        reg.registerFactory(n, [this] { return new TfrmProbe(&log); });
    reg.createAll();
    QPointer<QObject> dm = reg.object("DM");
    reg.destroyAll();
    EXPECT_FALSE(reg.isCreated());
    EXPECT_TRUE(dm.isNull());
    EXPECT_EQ(log, QStringList({"~frmZakazchInfo", "~frmAbout", "~frmMain"}));
    QStringList reversed = WindowRegistry::creationOrder();
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(reg.destroyedNames(), reversed);
    EXPECT_EQ(reg.object("frmMain"), nullptr);
}

TEST_F(RegistryTest, WindowDeletedElsewhereIsSkipped) {
    reg.createAll();
    delete reg.object("frmDocu");
    EXPECT_EQ(reg.object("frmDocu"), nullptr);
    reg.destroyAll();  // must not delete it twice
    EXPECT_FALSE(reg.isCreated());
}

TEST_F(RegistryTest, UnknownNameIsRefused) {
    EXPECT_THROW(reg.registerFactory("frmDocuX", [] { return new QDialog; }), std::invalid_argument);
    EXPECT_FALSE(WindowRegistry::isKnownName("frmDocuX"));
    EXPECT_TRUE(WindowRegistry::isKnownName("frmSelTovar"));
}

TEST_F(RegistryTest, RecreatedAfterDestroy) {
    reg.createAll();
    reg.destroyAll();
    reg.createAll();
    EXPECT_NE(reg.object("frmMain"), nullptr);
    EXPECT_EQ(reg.createdNames().size(), 53);
}

}  // namespace
