// The global records start zero-filled with the documented defaults.
#include "session/Global.h"

#include <gtest/gtest.h>

namespace {

TEST(GlobalState, StartsZeroFilled) {
    ResetGlobalState();
    EXPECT_FALSE(GL.Connected);
    EXPECT_TRUE(GL.HelpFile.isEmpty());
    EXPECT_FALSE(GL.LineAppendMode);
    EXPECT_EQ(GL.OperatorID, 0);
    EXPECT_TRUE(GL.RoleName.isEmpty());
    for (bool right : {GL.ZakView, GL.ZakInsert, GL.ZakEdit, GL.ZakDelete, GL.SklView,
                       GL.SklInsert, GL.SklEdit, GL.SklDelete, GL.DostupBook, GL.DostupBookUser})
        EXPECT_FALSE(right);
    EXPECT_EQ(GL.RPeriodID, 0);
    EXPECT_TRUE(GL.RPeriodDate1.isNull());
    EXPECT_TRUE(GL.RPeriodDate2.isNull());
    EXPECT_FALSE(GL.RPeriodOpen);
}

TEST(GlobalState, OptionDefaults) {
    ResetGlobalState();
    EXPECT_EQ(AppOptions.ConnectKind, 0);
    EXPECT_EQ(AppOptions.Port, "3052");
    EXPECT_TRUE(AppOptions.ShowHintMes);
    EXPECT_TRUE(AppOptions.LocalDBName.isEmpty());
    EXPECT_FALSE(UchetOptions.AutoSklad);
    EXPECT_EQ(UchetOptions.DVDelta, 0);
}

TEST(GlobalState, ResetUndoesChanges) {
    GL.Connected = true;
    GL.RPeriodID = 17;
    GL.SklEdit = true;
    AppOptions.Port = "3050";
    AppOptions.ShowHintMes = false;
    UchetOptions.NameOrg = "Мастерская";
    ResetGlobalState();
    EXPECT_FALSE(GL.Connected);
    EXPECT_EQ(GL.RPeriodID, 0);
    EXPECT_FALSE(GL.SklEdit);
    EXPECT_EQ(AppOptions.Port, "3052");
    EXPECT_TRUE(AppOptions.ShowHintMes);
    EXPECT_TRUE(UchetOptions.NameOrg.isEmpty());
}

struct FlagCase { const char* text; bool value; };
void PrintTo(const FlagCase& c, std::ostream* os) { *os << "\"" << c.text << "\""; }

class FlagText : public ::testing::TestWithParam<FlagCase> {};

TEST_P(FlagText, TrueOnlyForTAndY) {
    const QString t = QString::fromUtf8(GetParam().text);
    EXPECT_EQ(FlagFromText(t), GetParam().value) << GetParam().text;
    EXPECT_EQ(AutoSkladFromText(t), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, FlagText, ::testing::Values(
    FlagCase{"T", true}, FlagCase{"t", true}, FlagCase{"Y", true}, FlagCase{"y", true},
    FlagCase{"True", true}, FlagCase{"yes", true},
    FlagCase{"F", false}, FlagCase{"N", false}, FlagCase{"", false}, FlagCase{"1", false},
    FlagCase{" T", false}, FlagCase{"Д", false}, FlagCase{"f", false}));

}  // namespace
