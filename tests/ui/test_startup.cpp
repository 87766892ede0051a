// The main window's first showing and its closing run their steps in order.
#include "session/Global.h"
#include "ui/Startup.h"
#include "ui/WindowRegistry.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Hooks that write their names into one log, as a main window would run them.
struct Recorder {
    QStringList log;
    bool connectSucceeds = true;
    bool loginAnswer = true;

    StartupHooks hooks() {
        StartupHooks h;
        h.clearCaption = [this] { log << "clearCaption"; };
        h.restorePlacement = [this] { log << "restorePlacement"; };
        h.setGridIndicators = [this](bool show) {
            log << QStringLiteral("setGridIndicators(%1)").arg(show ? "true" : "false");
        };
        h.connect = [this] {
            log << QStringLiteral("connect(Connected=%1)").arg(GL.Connected);
            GL.Connected = connectSucceeds;
        };
        h.updateStatusBar = [this] { log << "updateStatusBar"; };
        h.setIdleHandler = [this] { log << "setIdleHandler"; };
        h.hideHintPanel = [this] { log << "hideHintPanel"; };
        h.suspendCommands = [this] { log << "suspendCommands"; };
        h.login = [this] { log << "login"; return loginAnswer; };
        h.closeMainWindow = [this] {
            log << "closeMainWindow";
            RunStop(hooks());  // the window's close runs the stop order
        };
        h.resumeCommands = [this] { log << "resumeCommands"; };
        h.closeConnection = [this] { log << "closeConnection"; GL.Connected = false; };
        h.savePlacement = [this] { log << "savePlacement"; };
        return h;
    }
};

struct StartCase {
    const char* name;
    bool connected;
    bool loginOk;
    bool showHint;
    bool connectedBefore;
    StartupResult result;
    QStringList steps;
};
void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

const QStringList kHead = {"clearCaption", "restorePlacement", "setGridIndicators(false)",
                           "connect(Connected=0)", "updateStatusBar", "setIdleHandler"};

QStringList with(QStringList head, const QStringList& tail) { return head << tail; }

class FirstShow : public ::testing::TestWithParam<StartCase> {
protected:
    void SetUp() override { ResetGlobalState(); }
    void TearDown() override { ResetGlobalState(); }
};

TEST_P(FirstShow, StepsRunInOrder) {
    const auto& c = GetParam();
    Recorder r;
    r.connectSucceeds = c.connected;
    r.loginAnswer = c.loginOk;
    AppOptions.ShowHintMes = c.showHint;
    GL.Connected = c.connectedBefore;
    EXPECT_EQ(RunFirstShow(r.hooks()), c.result);
    EXPECT_EQ(r.log, c.steps);
}

INSTANTIATE_TEST_SUITE_P(Cases, FirstShow, ::testing::Values(
    StartCase{"Working", true, true, true, false, StartupResult::Working,
              with(kHead, {"suspendCommands", "login", "updateStatusBar", "resumeCommands"})},
    StartCase{"HintHidden", true, true, false, false, StartupResult::Working,
              with(kHead, {"hideHintPanel", "suspendCommands", "login", "updateStatusBar",
                           "resumeCommands"})},
    // No connection: no login is asked, the program stays up.
    StartCase{"NotConnected", false, true, true, false, StartupResult::NotConnected,
              with(kHead, {"suspendCommands", "updateStatusBar", "resumeCommands"})},
    // A stale flag is cleared before connecting.
    StartCase{"StaleFlag", false, true, true, true, StartupResult::NotConnected,
              with(kHead, {"suspendCommands", "updateStatusBar", "resumeCommands"})},
    // A refused login closes the main window: connection closed, placement saved.
    StartCase{"LoginRefused", true, false, true, false, StartupResult::LoginRefused,
              with(kHead, {"suspendCommands", "login", "closeMainWindow", "closeConnection",
                           "savePlacement", "updateStatusBar", "resumeCommands"})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Stop, ConnectionThenPlacement) {
    Recorder r;
    RunStop(r.hooks());
    EXPECT_EQ(r.log, QStringList({"closeConnection", "savePlacement"}));
}

TEST(FirstShowDefaults, UnsetHooksAreSkippedAndLoginCountsAsOk) {
    ResetGlobalState();
    StartupHooks h;
    h.connect = [] { GL.Connected = true; };
    EXPECT_EQ(RunFirstShow(h), StartupResult::Working);
    EXPECT_TRUE(GL.Connected);
    ResetGlobalState();
}

// A window with a grid, as every journal and book has.
struct GridWindow {
    QWidget window;
    QTableView* grid = new QTableView;
    QTableView* nested = new QTableView;
    GridWindow() {
        auto* inner = new QWidget;
        auto* l = new QVBoxLayout(&window);
        l->addWidget(grid);
        l->addWidget(inner);
        auto* il = new QVBoxLayout(inner);
        il->addWidget(nested);
    }
};

TEST(GridIndicators, HiddenAndShownInEveryWindow) {
    GridWindow a, b;
    QTableView lone;  // a grid that is a window itself
    SetGridIndicators(false);
    for (QTableView* v : {a.grid, a.nested, b.grid, b.nested, &lone})
        EXPECT_TRUE(v->verticalHeader()->isHidden());
    SetGridIndicators(true);
    for (QTableView* v : {a.grid, a.nested, b.grid, b.nested, &lone})
        EXPECT_FALSE(v->verticalHeader()->isHidden());
}

TEST(GridIndicators, FirstShowHidesThemWithoutAHook) {
    ResetGlobalState();
    GridWindow a;
    a.grid->verticalHeader()->show();
    RunFirstShow(StartupHooks{});
    EXPECT_TRUE(a.grid->verticalHeader()->isHidden());
    EXPECT_TRUE(a.nested->verticalHeader()->isHidden());
}

TEST(RunProgram, CreatesShowsMainRunsLoopAndDestroys) {
    auto& reg = WindowRegistry::instance();
    reg.destroyAll();
    reg.clearFactories();
    bool mainShown = false;
    QStringList atShow;
    reg.registerFactory("frmMain", [&] {
        auto* w = new QWidget;
        QTimer::singleShot(0, w, [&, w] {
            mainShown = w->isVisible();
            atShow = reg.createdNames();
            QCoreApplication::exit(3);
        });
        return w;
    });
    EXPECT_EQ(RunProgram(), 3);
    EXPECT_TRUE(mainShown);
    EXPECT_EQ(atShow, WindowRegistry::creationOrder());  // every window before the first showing
    EXPECT_FALSE(reg.isCreated());
    reg.clearFactories();
}

}  // namespace
