// The stock reports on a real database: a closed January and an open
// February with receipts, write-offs, sales and a return; goods in a group
// tree three levels deep. Each report's rows and signs, every filter choice,
// the variables handed to the form and the form prepared in the preview.
#include "StockFixture.h"

#include "ui/DataRoutines.h"
#include "session/Global.h"
#include "ui/ModalScript.h"
#include "ui/WindowRegistry.h"
#include "data/DataModule.h"
#include "reports/ui/Preview.h"
#include "reports/engine/ReportShared.h"
#include "ui/FrameNomenk.h"
#include "ui/FramePeriod.h"
#include "stock/ui/RpStock.h"
#include "stock/ui/SelTovar.h"
#include "ui/DBTreeView.h"
#include "stock/core/StockReports.h"
#include "reports/engine/QueryReport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

using stocktest::d;

struct Row {
    QString name;
    QString kolvo;
    QString summa;
    bool operator==(const Row& o) const = default;
};
std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << r.name.toStdString() << " " << r.kolvo.toStdString() << " " << r.summa.toStdString();
}

// "12.500" -> "12.5", "60.00" -> "60".
QString plain(const fb::Value& v) {
    QString t = v.toDecimal().toString(4);
    while (t.endsWith(u'0')) t.chop(1);
    if (t.endsWith(u'.')) t.chop(1);
    return t;
}

class StockReportsTest : public stocktest::StockTest {
protected:
    void SetUp() override {
        StockTest::SetUp();
        const char* seed[] = {
            "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Материалы', 1)",
            "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (2, 1, 'Кожи', 2)",
            "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (3, 2, 'Натуральные', 3)",
            "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (4, 0, 'Фурнитура', 1)",
            "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (1, 3, 'A1', 'Кожа', 'дм2')",
            "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (2, 2, 'A2', 'КОЖЗАМ', 'м')",
            "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (3, 1, 'A3', 'Накожник', 'шт')",
            "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (4, 4, 'A4', 'Клей 100%', 'шт')",
            "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (5, 4, 'A5', 'Крем O''Neil', 'шт')",
            "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (6, 4, 'A6', 'Шнурки_черные', 'пар')",
            "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (7, 4, 'A7', 'Шнуркичерные', 'пар')",
            "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (8, 4, 'A8', 'Клей 1000', 'шт')",
            "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST) "
            "VALUES (1, '2009-01-01', '2009-01-31', '*', 0, 0, 0)",
        };
        for (const char* s : seed) exec(QString::fromUtf8(s));
        doc(1, 101, 1, "2009-01-10", {{1, "10", "5"}, {2, "4", "2.5"}, {4, "3", "10"}});
        doc(2, 101, 1, "2009-01-31", {{1, "2", "5"}});
        doc(3, 102, 1, "2009-01-15", {{1, "3", "5"}});
        doc(4, 103, 1, "2009-01-20", {{4, "2", "10"}}, "15");
        doc(5, 107, 1, "2009-01-25", {{3, "1", "4"}});
        exec(QStringLiteral("EXECUTE PROCEDURE P_PERIOD_CLOSE(1, '2009-02-28')"));
        const int feb = int(scalar(QStringLiteral("SELECT MAX(ID) FROM RPERIOD")).toInt());
        doc(6, 101, feb, "2009-02-01", {{1, "1", "5"}, {5, "1", "7"}, {6, "1", "1"}, {7, "1", "1"}, {8, "1", "1"}});
        doc(7, 102, feb, "2009-02-10", {{2, "1", "2.5"}});
        DM().openLookups();
        UchetOptions.NameOrg = QStringLiteral("Мастерская");
        UchetOptions.DenEd = QStringLiteral("руб.");
    }

    struct Line { int tovar; const char* kolvo; const char* cena; };
    void doc(int id, int kind, int period, const char* date, std::vector<Line> lines, const char* cenaRealiz = nullptr) {
        exec(QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (?, ?, ?, ?, ?, 0)"),
             {id, kind, period, d(date), QString::number(id)});
        int npp = 0;
        for (const Line& l : lines) {
            const fb::Decimal k = testdb::dec(l.kolvo), c = testdb::dec(l.cena);
            fb::Value cr, sr;
            if (cenaRealiz) {
                cr = testdb::dec(cenaRealiz);
                sr = k * testdb::dec(cenaRealiz);
            }
            exec(QStringLiteral("INSERT INTO MOVES (ID, DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA, NPP, CENA_REALIZ, SUMMA_REALIZ) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {id * 100 + npp, id, l.tovar, k, c, k * c, ++npp, cr, sr});
        }
    }

    std::vector<Row> rows(TStockReport r, const TNomenkFilter& f, const char* d1, const char* d2 = nullptr) {
        TClientDataSet& q = *DM().xqReportCom;
        OpenStockReport(q, r, f, d(d1), d2 ? d(d2) : QDate());
        std::vector<Row> out;
        for (q.first(); !q.eof(); q.next())
            out.push_back({q.fieldByName(QStringLiteral("TOVAR_NAME")).asString(),
                           plain(q.fieldByName(QStringLiteral("KOLVO")).value()),
                           plain(q.fieldByName(QStringLiteral("SUMMA")).value())});
        q.close();
        return out;
    }
    QStringList names(const TNomenkFilter& f) {
        QStringList out;
        for (const Row& r : rows(TStockReport::Nalich, f, "2009-02-15")) out << r.name;
        out.sort();
        return out;
    }
};

TNomenkFilter all() { return {}; }

TEST_F(StockReportsTest, MovementReportsShowPositiveSignedSumsWithinInclusiveDates) {
    // Receipts: the document of 31.01 counts, the one of 01.02 does not; two receipts of Кожа add up.
    EXPECT_EQ(rows(TStockReport::Prihod, all(), "2009-01-01", "2009-01-31"),
              (std::vector<Row>{{"КОЖЗАМ", "4", "10"}, {"Кожа", "12", "60"}, {"Клей 100%", "3", "30"}}));
    EXPECT_EQ(rows(TStockReport::Prihod, all(), "2009-01-11", "2009-01-30"), std::vector<Row>{});
    EXPECT_EQ(rows(TStockReport::Prihod, all(), "2009-02-01", "2009-02-01").size(), 5u);
    // Write-offs and sales come out positive; the sale sums quantity x price, not the sale price.
    EXPECT_EQ(rows(TStockReport::Rashod, all(), "2009-01-01", "2009-02-28"),
              (std::vector<Row>{{"КОЖЗАМ", "1", "2.5"}, {"Кожа", "3", "15"}}));
    EXPECT_EQ(rows(TStockReport::Realiz, all(), "2009-01-01", "2009-02-28"),
              (std::vector<Row>{{"Клей 100%", "2", "20"}}));
}

TEST_F(StockReportsTest, StockOnHandInsideClosedAndOpenPeriods) {
    EXPECT_EQ(rows(TStockReport::Nalich, all(), "2009-01-20"),
              (std::vector<Row>{{"КОЖЗАМ", "4", "10"}, {"Кожа", "7", "35"}, {"Клей 100%", "1", "10"}}));
    const auto feb = rows(TStockReport::Nalich, all(), "2009-02-15");
    ASSERT_EQ(feb.size(), 8u);
    EXPECT_EQ(feb[0], (Row{"Накожник", "1", "4"}));  // Товары/Материалы
    EXPECT_EQ(feb[1], (Row{"КОЖЗАМ", "3", "7.5"}));  // Товары/Материалы/Кожи
    EXPECT_EQ(feb[2], (Row{"Кожа", "10", "50"}));    // Товары/Материалы/Кожи/Натуральные
}

TEST_F(StockReportsTest, EveryFilterChoice) {
    using C = TNomenkChoice;
    const struct { TNomenkFilter f; QStringList expect; } cases[] = {
        {{C::All}, {"КОЖЗАМ", "Клей 100%", "Клей 1000", "Кожа", "Крем O'Neil", "Накожник", "Шнурки_черные", "Шнуркичерные"}},
        {{C::Name, 2}, {"КОЖЗАМ"}},
        {{C::Group, -1, 1, false}, {"Накожник"}},
        {{C::Group, -1, 1, true}, {"КОЖЗАМ", "Кожа", "Накожник"}},
        {{C::Group, -1, 2, true}, {"КОЖЗАМ", "Кожа"}},
        {{C::Group, -1, 3, true}, {"Кожа"}},
        {{C::Group, -1, 0, false}, {}},
        {{C::Word, -1, -1, false, "кож", false}, {"КОЖЗАМ", "Кожа", "Накожник"}},
        {{C::Word, -1, -1, false, "кож", true}, {"Накожник"}},
        {{C::Word, -1, -1, false, "o'neil", false}, {"Крем O'Neil"}},
        {{C::Word, -1, -1, false, "0%", false}, {"Клей 100%"}},
        {{C::Word, -1, -1, false, "и_ч", false}, {"Шнурки_черные"}},
        {{C::Word, -1, -1, false, "%' OR 1=1 --", false}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(names(c.f), c.expect) << NomenkFilterSQL(c.f).sql.toStdString();
    // The same filters on a movement report.
    EXPECT_EQ(rows(TStockReport::Prihod, {C::Group, -1, 2, true}, "2009-01-01", "2009-01-31").size(), 2u);
    EXPECT_EQ(rows(TStockReport::Prihod, {C::Word, -1, -1, false, "ЖЗ", true}, "2009-01-01", "2009-01-31"),
              (std::vector<Row>{{"КОЖЗАМ", "4", "10"}}));
}

TEST_F(StockReportsTest, FilterTextAndTheWordNeverInTheStatement) {
    using C = TNomenkChoice;
    EXPECT_EQ(NomenkFilterText({C::All}, "x", "y"), "Вся номенклатура");
    EXPECT_EQ(NomenkFilterText({C::Name, 2}, "КОЖЗАМ", "y"), "Наименование КОЖЗАМ");
    EXPECT_EQ(NomenkFilterText({C::Group, -1, 2, false}, "x", "Кожи"), "Группа Кожи");
    EXPECT_EQ(NomenkFilterText({C::Group, -1, 2, true}, "x", "Кожи"), "Группа Кожи (включая подгруппы)");
    EXPECT_EQ(NomenkFilterText({C::Word, -1, -1, false, "O'Neil"}, "x", "y"), "Наименования содержащие \"O'Neil\"");
    EXPECT_EQ(NomenkFilterSQL({C::All}).sql, " ");
    EXPECT_EQ(NomenkFilterSQL({C::Name, 7}).sql, "AND (T.ID=7)  ");
    EXPECT_EQ(NomenkFilterSQL({C::Group, -1, 5, true}).sql,
              "AND (TG.ID=5 OR (SELECT RES FROM ISCHILDGR(5,T.GR_ID))=1)  ");
    const TSqlCondition w = NomenkFilterSQL({C::Word, -1, -1, false, "a'b%c_d\\", false});
    EXPECT_FALSE(w.sql.contains(u'\'' + QStringLiteral("b")));
    ASSERT_EQ(w.params.size(), 1u);
    EXPECT_EQ(w.params[0].second.toString(), "%A'B\\%C\\_D\\\\%");
    EXPECT_EQ(NomenkFilterRefusal({C::Name, -1}), "Выберите товар");
    EXPECT_THROW(NomenkFilterSQL({C::Group, -1, -1}), std::invalid_argument);
}

// The dialog as the main window opens it: the preview it shows is answered
// through the modal seam and its pages kept.
class StockReportDialogTest : public StockReportsTest {
protected:
    TfrmRpStock* dialog(const char* name) {
        auto* dlg = Window<TfrmRpStock>(QString::fromLatin1(name));
        EXPECT_NE(dlg, nullptr);
        return dlg;
    }
    // Shows the dialog, lets `setup` fill it, presses Ok; returns the preview's text.
    QString run(TfrmRpStock* dlg, const std::function<void(TfrmRpStock*)>& setup, ModalScript& script) {
        QString text;
        script.onDialog(QStringLiteral("frmPreview"), [&](QDialog* p) {
            for (const auto& page : static_cast<TfrmPreview*>(p)->report().pages)
                for (const auto& prim : page.prims) text += prim.lines.join(u' ') + u'\n';
            return int(QDialog::Rejected);
        });
        dlg->show();
        setup(dlg);
        dlg->btnOk->click();
        EXPECT_TRUE(dlg->isVisible()) << "the dialog stays open for a further report";
        dlg->hide();
        return text;
    }
};

TEST_F(StockReportDialogTest, ReceiptsOfAGroupWithSubgroupsInThePreview) {
    ModalScript script;
    TfrmRpStock* dlg = dialog("frmRpPrihod");
    const QString text = run(dlg, [](TfrmRpStock* w) {
        w->framePeriod->setChoice(TFrameChoice::Custom);
        w->framePeriod->dtpCustom1->setDate(d("2009-01-01"));
        w->framePeriod->dtpCustom2->setDate(d("2009-01-31"));
        w->frameNomenk->RadioButton3->setChecked(true);
        w->frameNomenk->cbGroup->setCurrentIndex(ComboIndexOfID(w->frameNomenk->cbGroup, 1));
        w->frameNomenk->chbIncludeSub->setChecked(true);
    }, script);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(", ").toStdString();
    EXPECT_EQ(script.dialogsShown(), QStringList{"frmPreview"});
    EXPECT_TRUE(text.contains("Приход на склад"));
    EXPECT_TRUE(text.contains("Группа Материалы (включая подгруппы)"));
    EXPECT_TRUE(text.contains("КОЖЗАМ"));
    EXPECT_FALSE(text.contains("Клей 100%"));
    EXPECT_EQ(frReport().variable("Date_1"), QLocale().toString(d("2009-01-01"), QLocale::ShortFormat));
    EXPECT_EQ(frReport().variable("Date_2"), QLocale().toString(d("2009-01-31"), QLocale::ShortFormat));
    EXPECT_EQ(frReport().variable("NameOrg"), "Мастерская");
    EXPECT_EQ(frReport().variable("Dened"), "руб.");
    EXPECT_FALSE(DM().xqReportCom->isActive()) << "the report query is closed after the preview";
}

TEST_F(StockReportDialogTest, StockOnHandAtADateWithAWordHoldingAnApostrophe) {
    ModalScript script;
    const QString text = run(dialog("frmRpNalich"), [](TfrmRpStock* w) {
        w->dtpDate->setDate(d("2009-02-15"));
        w->frameNomenk->RadioButton4->setChecked(true);
        w->frameNomenk->edWord->setText("o'neil");
    }, script);
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_TRUE(text.contains("Крем O'Neil"));
    EXPECT_FALSE(text.contains("Кожа"));
    EXPECT_EQ(frReport().variable("NOMENK_TEXT"), "Наименования содержащие \"o'neil\"");
    EXPECT_EQ(frReport().variable("Date_1"), QLocale().toString(d("2009-02-15"), QLocale::ShortFormat));
}

TEST_F(StockReportDialogTest, AnEmptyResultSaysSoAndSeveralReportsInARow) {
    ModalScript script;
    TfrmRpStock* dlg = dialog("frmRpRashod");
    const auto range = [](const char* d1, const char* d2) {
        return [=](TfrmRpStock* w) {
            w->framePeriod->setChoice(TFrameChoice::Custom);
            w->framePeriod->dtpCustom1->setDate(d(d1));
            w->framePeriod->dtpCustom2->setDate(d(d2));
            w->frameNomenk->setChoice(TNomenkChoice::All);
        };
    };
    const QString empty = run(dlg, range("2010-01-01", "2010-12-31"), script);
    const QString full = run(dlg, range("2009-01-01", "2009-12-31"), script);
    EXPECT_TRUE(empty.contains(kNoDataText)) << empty.toStdString();
    EXPECT_TRUE(empty.contains("Расход со склада"));
    EXPECT_FALSE(full.contains(kNoDataText));
    EXPECT_TRUE(full.contains("КОЖЗАМ"));
}

TEST_F(StockReportDialogTest, NoGoodsChosenIsRefusedWithAMessage) {
    ModalScript script;
    script.answerOk().answerOk();
    TfrmRpStock* dlg = dialog("frmRpRealiz");
    // An empty goods book leaves the box empty; a typed name that is no goods chooses none either.
    QString text = run(dlg, [](TfrmRpStock* w) {
        w->frameNomenk->RadioButton2->setChecked(true);
        w->frameNomenk->cbName->clear();
    }, script);
    text += run(dlg, [](TfrmRpStock* w) { w->frameNomenk->cbName->setEditText("Кож"); }, script);
    EXPECT_EQ(script.messageTexts(), (QStringList{"Выберите товар", "Выберите товар"}));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(script.pendingDialogs(), 2) << "no preview was shown";
}

// The "..." buttons of the frame open the selection windows on its choice and take their answer.
class SelectionTest : public StockReportDialogTest {
protected:
    TFrameNomenk* frame() {
        TfrmRpStock* dlg = dialog("frmRpPrihod");
        dlg->show();
        return dlg->frameNomenk;
    }
    void TearDown() override {
        dialog("frmRpPrihod")->hide();
        StockReportDialogTest::TearDown();
    }
    static int currentId(TClientDataSet* ds) {
        return ds->isActive() && !ds->isEmpty() ? int(ds->fieldByName("ID").asInteger()) : -1;
    }
    static QStringList goods(TfrmSelTovar* w) {
        QStringList out;
        for (int r = 0; r < w->cdsTovar->recordCount(); ++r) out << w->cdsTovar->valueAt(r, w->cdsTovar->fieldByName("NAME").index()).toString();
        return out;
    }
};

TEST_F(SelectionTest, GoodsWindowOpensOnTheChosenGoodsAndReturnsTheOnePicked) {
    TFrameNomenk* f = frame();
    f->setChoice(TNomenkChoice::Name);
    f->cbName->setCurrentIndex(ComboIndexOfID(f->cbName, 2));
    ModalScript script;
    script.onDialog("frmSelTovar", [](QDialog* d) {
        auto* w = static_cast<TfrmSelTovar*>(d);
        w->show();
        EXPECT_EQ(w->SelGroupID, 2);
        EXPECT_EQ(currentId(w->cdsTovarGr), 2);
        EXPECT_EQ(TDBTreeView::nodeId(w->DBTreeView->currentItem()), 2);
        EXPECT_EQ(goods(w), QStringList{"КОЖЗАМ"});
        EXPECT_EQ(currentId(w->cdsTovar), 2);
        w->DBTreeView->setCurrentItem(w->DBTreeView->nodeOfId(3));
        EXPECT_EQ(goods(w), QStringList{"Кожа"});
        w->btnOk->click();
    });
    f->btnSelTovar->click();
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(", ").toStdString();
    EXPECT_EQ(f->cbName->currentText(), "Кожа");
    EXPECT_EQ(f->filter().tovarId, 1);

    // A group without goods returns 0 and leaves the choice; Cancel leaves it too.
    script.onDialog("frmSelTovar", [](QDialog* d) {
        auto* w = static_cast<TfrmSelTovar*>(d);
        w->show();
        w->DBTreeView->setCurrentItem(w->DBTreeView->nodeOfId(0));
        EXPECT_TRUE(goods(w).isEmpty());
        w->btnOk->click();
    });
    f->btnSelTovar->click();
    EXPECT_EQ(Window<TfrmSelTovar>("frmSelTovar")->SelTovarID, 0);
    EXPECT_EQ(f->cbName->currentText(), "Кожа");
    script.onDialog("frmSelTovar", [](QDialog* d) {
        auto* w = static_cast<TfrmSelTovar*>(d);
        w->show();
        w->DBTreeView->setCurrentItem(w->DBTreeView->nodeOfId(2));
        w->btnCancel->click();
    });
    f->btnSelTovar->click();
    EXPECT_EQ(f->cbName->currentText(), "Кожа");
}

TEST_F(SelectionTest, GroupWindowOpensOnTheChosenGroupAndAnUnknownOneFallsToTheFirst) {
    TFrameNomenk* f = frame();
    f->setChoice(TNomenkChoice::Group);
    f->cbGroup->setCurrentIndex(ComboIndexOfID(f->cbGroup, 2));
    ModalScript script;
    script.onDialog("frmSelGroup", [](QDialog* d) {
        auto* w = static_cast<TfrmSelGroup*>(d);
        w->show();
        EXPECT_EQ(currentId(w->cdsGroup), 2);
        w->DBTreeView->setCurrentItem(w->DBTreeView->nodeOfId(4));
        w->btnOk->click();
    });
    f->btnSelGroup->click();
    EXPECT_EQ(f->cbGroup->currentText(), "Фурнитура");
    EXPECT_EQ(f->filter().groupId, 4);

    auto* sel = Window<TfrmSelGroup>("frmSelGroup");
    sel->SelGroupID = 99;
    sel->show();
    EXPECT_EQ(currentId(sel->cdsGroup), 0);
    sel->reject();
}
}  // namespace
