// The organisation's details window over the cached UCHINFO row.
#include "ShellFixture.h"
#include "ui/ErrorDB.h"
#include "shell/OptionsUchet.h"
#include "session/UchetVariables.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace shelltest;

namespace {
class OptionsUchet : public ShellTest {
protected:
    void connectAndLoad() {
        DM().connectDatabase(dbPath);
        DM().cdsUchInfo->open();
        UpdateUchetOptions();
    }
    static void retype(QDialog* d, const char* name, const QString& text) {
        auto* e = child<QLineEdit>(d, name);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        typeText(e, text);
    }
    // Types any text (QTest's own typing knows ASCII only).
    static void typeText(QWidget* w, const QString& text) {
        for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_A, QString(c), Qt::NoModifier);
    }
    QDialog* window() { return Window<QDialog>("frmOptionsUchet"); }
};
}  // namespace

TEST_F(OptionsUchet, ShowsTheRowOnTwoTabs) {
    connectAndLoad();
    ModalScript script;
    script.onDialog("frmOptionsUchet", [](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Настройки учета"));
        auto* tabs = child<QTabWidget>(d, "PageControl1");
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("Сведения"));
        EXPECT_EQ(tabs->tabText(1), QStringLiteral("Параметры"));
        EXPECT_EQ(child<QLineEdit>(d, "edNameOrg")->text(), QStringLiteral("Мастерская"));
        EXPECT_TRUE(child<QLineEdit>(d, "edNameOrg")->isReadOnly());
        EXPECT_EQ(child<QLineEdit>(d, "edSerdef")->text(), QStringLiteral("АА"));
        EXPECT_EQ(child<QLineEdit>(d, "edDVDelta")->text(), QStringLiteral("3"));
        EXPECT_EQ(child<QLineEdit>(d, "edVremdef")->text(), QStringLiteral("10:00-19:00"));
        EXPECT_TRUE(child<QCheckBox>(d, "chbAutoSklad")->isChecked());
        for (const char* n : {"edRukovod", "edGlavbuh", "edAdresOrg", "edPhoneOrg", "edINN", "edKPP", "edOGRN",
                              "edBankname", "edBankBik", "edSchet", "edKorSchet", "edDened"})
            EXPECT_FALSE(child<QLineEdit>(d, n)->isReadOnly()) << n;
        // Only digits and a sign go into the term.
        auto* dv = child<QLineEdit>(d, "edDVDelta");
        dv->setFocus();
        dv->selectAll();
        typeText(dv, QStringLiteral("1a2.ы"));
        EXPECT_EQ(dv->text(), QStringLiteral("12"));
        child<QPushButton>(d, "btnCancel")->click();
    });
    EXPECT_EQ(execModal(window()), QDialog::Rejected);
    EXPECT_FALSE(DM().cdsUchInfo->updatesPending());
}

TEST_F(OptionsUchet, OkStoresAndUpdatesTheOptions) {
    connectAndLoad();
    ModalScript script;
    script.onDialog("frmOptionsUchet", [](QDialog* d) {
        retype(d, "edSerdef", QStringLiteral("БВ"));
        retype(d, "edDVDelta", QStringLiteral("0"));
        retype(d, "edRukovod", QStringLiteral("Сидоров И.П."));
        child<QCheckBox>(d, "chbAutoSklad")->click();
        child<QPushButton>(d, "btnOk")->click();
    });
    EXPECT_EQ(execModal(window()), QDialog::Accepted);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_EQ(UchetOptions.SerDef, QStringLiteral("БВ"));
    EXPECT_EQ(UchetOptions.DVDelta, 0);
    EXPECT_FALSE(UchetOptions.AutoSklad);
    EXPECT_FALSE(DM().cdsUchInfo->updatesPending());
    EXPECT_EQ(scalar("SELECT SERDEF FROM UCHINFO").toString(), QStringLiteral("БВ"));
    EXPECT_EQ(scalar("SELECT DVDELTA FROM UCHINFO").toInt(), 0);
    EXPECT_EQ(scalar("SELECT AUTOSKLAD FROM UCHINFO").toString(), QStringLiteral("F"));
    EXPECT_EQ(scalar("SELECT RUKOVOD FROM UCHINFO").toString(), QStringLiteral("Сидоров И.П."));
}

TEST_F(OptionsUchet, CancelStoresNothing) {
    connectAndLoad();
    const TMyUchetOptions before = UchetOptions;
    ModalScript script;
    script.onDialog("frmOptionsUchet", [](QDialog* d) {
        retype(d, "edSerdef", QStringLiteral("ЯЯ"));
        retype(d, "edGlavbuh", QStringLiteral("Кузнецова"));
        child<QCheckBox>(d, "chbAutoSklad")->click();
        child<QPushButton>(d, "btnCancel")->click();
    });
    EXPECT_EQ(execModal(window()), QDialog::Rejected);
    EXPECT_EQ(UchetOptions.SerDef, before.SerDef);
    EXPECT_EQ(UchetOptions.AutoSklad, before.AutoSklad);
    EXPECT_FALSE(DM().cdsUchInfo->updatesPending());
    EXPECT_FALSE(DM().cdsUchInfo->isEditing());
    EXPECT_EQ(DM().cdsUchInfo->fieldByName("SERDEF").asString(), QStringLiteral("АА"));
    EXPECT_EQ(scalar("SELECT SERDEF FROM UCHINFO").toString(), QStringLiteral("АА"));
    EXPECT_TRUE(scalar("SELECT GLAVBUH FROM UCHINFO").isNull());

    // The next showing shows the old values; Escape cancels the same way.
    ModalScript again;
    again.onDialog("frmOptionsUchet", [](QDialog* d) {
        EXPECT_EQ(child<QLineEdit>(d, "edSerdef")->text(), QStringLiteral("АА"));
        EXPECT_TRUE(child<QLineEdit>(d, "edGlavbuh")->text().isEmpty());
        EXPECT_TRUE(child<QCheckBox>(d, "chbAutoSklad")->isChecked());
        retype(d, "edSerdef", QStringLiteral("ЮЮ"));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(execModal(window()), QDialog::Rejected);
    EXPECT_FALSE(DM().cdsUchInfo->updatesPending());
    EXPECT_EQ(DM().cdsUchInfo->fieldByName("SERDEF").asString(), QStringLiteral("АА"));
}

TEST_F(OptionsUchet, ClearedTermShowsTheErrorAndKeepsTheWindow) {
    connectAndLoad();
    QString explanation, original;
    bool stayedOpen = false;
    ModalScript script;
    script.onDialog("frmOptionsUchet", [&](QDialog* d) {
        retype(d, "edSerdef", QStringLiteral("ВВ"));
        retype(d, "edDVDelta", QString());
        child<QPushButton>(d, "btnOk")->click();
        stayedOpen = d->isVisible() && d->result() != QDialog::Accepted;
        EXPECT_EQ(child<QLineEdit>(d, "edSerdef")->text(), QStringLiteral("ВВ")) << "the changes stay";
        child<QPushButton>(d, "btnCancel")->click();
    });
    script.onDialog("frmErrorDB", [&](QDialog* d) {
        auto* w = static_cast<TfrmErrorDB*>(d);
        explanation = w->explanationText();
        original = w->originalText();
        d->accept();
    });
    execModal(window());
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(original.endsWith(QStringLiteral("Field 'Срок выполн., дней (умолч.)' must have a value")))
        << original.toStdString();
    EXPECT_FALSE(explanation.isEmpty());
    EXPECT_EQ(UchetOptions.DVDelta, 3);
    EXPECT_EQ(UchetOptions.SerDef, QStringLiteral("АА"));
    EXPECT_EQ(scalar("SELECT DVDELTA FROM UCHINFO").toInt(), 3);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(OptionsUchet, RefusedApplyKeepsTheOldOptions) {
    prepare({QStringLiteral("ALTER TABLE UCHINFO ADD CONSTRAINT CHK_UCHINFO_DV CHECK (DVDELTA < 1000)")});
    connectAndLoad();
    QString original;
    ModalScript script;
    script.onDialog("frmOptionsUchet", [&](QDialog* d) {
        retype(d, "edSerdef", QStringLiteral("ГГ"));
        retype(d, "edDVDelta", QStringLiteral("2000"));
        child<QPushButton>(d, "btnOk")->click();
        EXPECT_TRUE(d->isVisible());
        EXPECT_TRUE(DM().cdsUchInfo->updatesPending()) << "the change waits in memory";
        child<QPushButton>(d, "btnCancel")->click();
    });
    script.onDialog("frmErrorDB", [&](QDialog* d) {
        original = static_cast<TfrmErrorDB*>(d)->originalText();
        d->accept();
    });
    execModal(window());
    EXPECT_TRUE(original.contains(QStringLiteral("CHK_UCHINFO_DV"))) << original.toStdString();
    EXPECT_EQ(UchetOptions.SerDef, QStringLiteral("АА"));
    EXPECT_EQ(UchetOptions.DVDelta, 3);
    EXPECT_FALSE(DM().cdsUchInfo->updatesPending());
    EXPECT_EQ(scalar("SELECT SERDEF FROM UCHINFO").toString(), QStringLiteral("АА"));
}

TEST_F(OptionsUchet, HelpButtonFollowsTheVisibleTab) {
    connectAndLoad();
    GL.HelpFile = QStringLiteral("/nonexistent/obrix.chm");
    ModalScript script;
    script.answerOk().answerOk();
    script.onDialog("frmOptionsUchet", [](QDialog* d) {
        child<QPushButton>(d, "BitBtn1")->click();
        child<QTabWidget>(d, "PageControl1")->setCurrentIndex(1);
        child<QPushButton>(d, "BitBtn1")->click();
        child<QPushButton>(d, "btnCancel")->click();
    });
    execModal(window());
    // Without the help file both say where it was looked for.
    EXPECT_EQ(script.messageTexts(),
              QStringList(2, QStringLiteral("Не найден файл справки /nonexistent/obrix.chm")));
}
