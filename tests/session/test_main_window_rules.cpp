// The main window's journal choice and how its status panels share the
// width, without a window.
#include "session/CommandRules.h"
#include "session/StatusText.h"

#include <gtest/gtest.h>

namespace {

TEST(MainWindowRules, EachTabHasItsJournalEditorKindListAndWideColumn) {
    struct Case { int index; TJournalTab tab; const char* editor; int typeDoc; const char* stretch; };
    const Case cases[] = {
        {0, TJournalTab::Docu, "frmDocu", 1, "ZAKAZCH_NAMEAP"},
        {1, TJournalTab::Docs, "frmDocs", 2, "DOCU_TITLE"},
        {-1, TJournalTab::Docu, "frmDocu", 1, "ZAKAZCH_NAMEAP"},  // no tab selected
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(JournalTabOfIndex(c.index), c.tab);
        EXPECT_EQ(DocumentEditorWindow(c.tab), QString::fromLatin1(c.editor));
        EXPECT_EQ(NewDocumentTypeDoc(c.tab), c.typeDoc);
        EXPECT_EQ(JournalStretchField(c.tab), QString::fromLatin1(c.stretch));
    }
}

TEST(MainWindowRules, TheRoleGivesWayFirstAndTheCountTakesWhatIsLeft) {
    using W = std::array<int, 6>;
    struct Case { const char* what; W text; int available; W widths; };
    const Case cases[] = {
        {"room to spare", {100, 120, 150, 10, 10, 10}, 1000, {502, 170, 210, 34, 34, 50}},
        {"long texts keep their widths", {300, 250, 260, 40, 40, 60}, 1000, {350, 250, 260, 40, 40, 60}},
        {"narrow: the role shrinks", {100, 120, 150, 10, 10, 10}, 500, {100, 72, 210, 34, 34, 50}},
        {"narrower still: the role goes", {100, 120, 150, 10, 10, 10}, 300, {100, 0, 210, 34, 34, 50}},
    };
    for (const Case& c : cases) EXPECT_EQ(StatusPanelWidths(c.text, c.available), c.widths) << c.what;
}

}  // namespace
