// The enabling table of the main window's commands and the status bar texts.
#include "session/CommandRules.h"
#include "session/StatusText.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

TGL rights(const char* zak, const char* skl, bool book, bool bookUser) {
    // zak / skl: letters V, I, E, D for view, insert, edit, delete.
    TGL gl;
    const QString z = QString::fromLatin1(zak), s = QString::fromLatin1(skl);
    gl.ZakView = z.contains('V'); gl.ZakInsert = z.contains('I'); gl.ZakEdit = z.contains('E'); gl.ZakDelete = z.contains('D');
    gl.SklView = s.contains('V'); gl.SklInsert = s.contains('I'); gl.SklEdit = s.contains('E'); gl.SklDelete = s.contains('D');
    gl.DostupBook = book;
    gl.DostupBookUser = bookUser;
    return gl;
}

struct Case {
    const char* what;
    TGL gl;
    bool connected;
    TJournalTab tab;
    bool empty;
    bool docsNew, docsEdit, docsDelete, reload, books, operators, connect, reports;
};

class CommandRulesTable : public ::testing::TestWithParam<Case> {};

TEST_P(CommandRulesTable, FollowsConnectionTabRowsAndRights) {
    const Case& c = GetParam();
    const auto on = CommandEnabling(c.connected, c.tab, c.empty, c.gl);
    EXPECT_EQ(on.value("acDocsNew"), c.docsNew) << c.what;
    EXPECT_EQ(on.value("acDocsEdit"), c.docsEdit) << c.what;
    EXPECT_EQ(on.value("acDocsDelete"), c.docsDelete) << c.what;
    EXPECT_EQ(on.value("acDocsReload"), c.reload) << c.what;
    for (const char* b : {"acBookTovar", "acBookUsluga", "acBookProduct", "acBookColor", "acBookMaterial",
                          "acBookComment", "acBookZakazch"})
        EXPECT_EQ(on.value(QString::fromLatin1(b)), c.books) << c.what << " " << b;
    EXPECT_EQ(on.value("acBookOperator"), c.operators) << c.what;
    EXPECT_EQ(on.value("acDBConnect"), c.connect) << c.what;
    for (const char* r : {"acRepSummaKvit", "acRepUslugaKind", "acRepKartaZak", "acRepPrihod", "acRepRashod",
                          "acRepRealiz", "acRepNalich", "acOptionsUchet"})
        EXPECT_EQ(on.value(QString::fromLatin1(r)), c.reports) << c.what << " " << r;
    for (const QString& always : AlwaysEnabledCommands()) EXPECT_TRUE(on.value(always)) << c.what;
}

const TGL kAdmin = rights("VIED", "VIED", true, true);
const TGL kViewer = rights("V", "", false, false);
const TGL kStockClerk = rights("", "VIE", true, false);
const TGL kDeleter = rights("D", "D", false, true);

INSTANTIATE_TEST_SUITE_P(
    Operators, CommandRulesTable,
    ::testing::Values(
        //    what                             gl           conn   tab                 empty  new    edit   del    reload books  oper   conn   reps
        Case{"admin, orders with rows",        kAdmin,      true,  TJournalTab::Docu, false, true,  true,  true,  true,  true,  true,  false, true},
        Case{"admin, orders empty",            kAdmin,      true,  TJournalTab::Docu, true,  true,  false, false, true,  true,  true,  false, true},
        Case{"admin, not connected",           kAdmin,      false, TJournalTab::Docu, false, false, false, false, false, false, false, true,  false},
        Case{"viewer opens orders only",       kViewer,     true,  TJournalTab::Docu, false, false, true,  false, true,  false, false, false, true},
        Case{"viewer, stock tab",              kViewer,     true,  TJournalTab::Docs, false, false, false, false, true,  false, false, false, true},
        Case{"stock clerk, stock tab",         kStockClerk, true,  TJournalTab::Docs, false, true,  true,  false, true,  true,  false, false, true},
        Case{"stock clerk, orders tab",        kStockClerk, true,  TJournalTab::Docu, false, false, false, false, true,  true,  false, false, true},
        Case{"delete right without view",      kDeleter,    true,  TJournalTab::Docs, false, false, false, true,  true,  false, true,  false, true},
        Case{"nobody, not connected",          TGL{},       false, TJournalTab::Docs, true,  false, false, false, false, false, false, true,  false}));

TEST(StatusText, CountFollowsConnection) {
    EXPECT_EQ(StatusCountText(false, 12), QStringLiteral("<Соединения нет>"));
    EXPECT_EQ(StatusCountText(true, 0), QStringLiteral("Документов в списке: 0"));
    EXPECT_EQ(StatusCountText(true, 37), QStringLiteral("Документов в списке: 37"));
}

TEST(StatusText, RoleAndPeriod) {
    TGL gl;
    gl.RoleName = QStringLiteral("Приемщик");
    EXPECT_EQ(StatusRoleText(gl), QStringLiteral("Роль: Приемщик"));
    gl.RPeriodID = -1;
    EXPECT_EQ(StatusPeriodText(gl), QStringLiteral("РП: < не выбран >"));
    gl.RPeriodID = 4;
    gl.RPeriodDate1 = QDate(2009, 3, 1);
    gl.RPeriodDate2 = QDate(2009, 3, 31);
    gl.RPeriodOpen = true;
    EXPECT_EQ(StatusPeriodText(gl), QStringLiteral("РП: 01.03.2009 - 31.03.2009 (Открыт)"));
    gl.RPeriodOpen = false;
    EXPECT_EQ(StatusPeriodText(gl), QStringLiteral("РП: 01.03.2009 - 31.03.2009 (Закрыт)"));
}

}  // namespace
