#pragma once
#include "StockCoreFixture.h"
// The windows' tests: the core fixture with the global records reset before
// each test and a stand-in main window.
#include "session/Global.h"
#include "ui/JournalHost.h"

#include <QDialog>

namespace stocktest {

// The main window as the period windows see it: counts status bar refreshes.
class FakeHost : public QDialog, public IJournalHost {
public:
    static int statusBarUpdates;
    TClientDataSet* journalDocu() override { return nullptr; }
    TClientDataSet* journalDocs() override { return nullptr; }
    void UpdateStatusBar() override { ++statusBarUpdates; }
    void ReopenJournals() override {}
};

class StockTest : public StockCoreTest {
protected:
    void SetUp() override {
        StockCoreTest::SetUp();
        FakeHost::statusBarUpdates = 0;
    }
    void beforeConnect() override {
        ResetGlobalState();
        GL.RPeriodID = -1;
        GL.HelpFile = inTestDir(QStringLiteral("missing.chm"));
    }
};

}  // namespace stocktest
