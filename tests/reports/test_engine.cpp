// The report engine's calls and its layout: names found ignoring case, bands
// bound or refused, page breaks with repeated headers and a footer at the
// bottom, page and report sums, growing texts, bar codes.
#include "ReportFixture.h"

#include "reports/engine/ReportText.h"

#include <QPainter>

using namespace reporttest;

namespace {

// All texts of a page, in order.
QStringList texts(const TfrPreparedPage& pg, TfrBandType type) {
    QStringList out;
    for (const TfrPrim& p : pg.prims)
        if (p.kind == TfrPrim::Kind::Text && p.bandType == type) out << p.lines.join(QLatin1Char('|'));
    return out;
}

const TfrPrim* findText(const TfrPreparedPage& pg, const QString& name) {
    for (const TfrPrim& p : pg.prims)
        if (p.objectName == name) return &p;
    return nullptr;
}

class EngineTest : public ::testing::Test {
protected:
    TfrReport rep;
    TfrDBDataSet dsU{QStringLiteral("frdsReportU")};
    TfrDBDataSet dsP{QStringLiteral("frdsReportP")};
    void SetUp() override {
        rep.addDataSet(&dsU);
        rep.addDataSet(&dsP);
        rep.setToday(QDate(2009, 3, 5));
    }
    // n service lines: NUM, USLUGA_NAME, SUMMA = 10.50 * NUM
    void serviceLines(int n) {
        std::vector<std::vector<fb::Value>> data;
        for (int i = 1; i <= n; ++i)
            data.push_back({fb::Value(i), fb::Value(QStringLiteral("Услуга %1").arg(i)),
                            fb::Value(dec("10.50") * fb::Decimal(i))});
        dsU.setSource(rows({QStringLiteral("NUM"), QStringLiteral("USLUGA_NAME"), QStringLiteral("SUMMA")}, data));
    }
};

TEST_F(EngineTest, NamesAreFoundIgnoringLetterCase) {
    rep.setTemplate(templ(QStringLiteral(
                        "<Page><Band name=\"MasterData2\" type=\"MasterData\" height=\"5\">"
                        "<Memo name=\"MemoSumma\" width=\"20\" height=\"5\">[Itogo]</Memo></Band></Page>")),
                    QStringLiteral("Reports/Form.frf"));
    ASSERT_NE(rep.findObject(QStringLiteral("memosumma")), nullptr);
    EXPECT_EQ(rep.findObject(QStringLiteral("MEMOSUMMA"))->name, QStringLiteral("MemoSumma"));
    ASSERT_NE(rep.findBand(QStringLiteral("masterDATA2")), nullptr);
    EXPECT_EQ(rep.findObject(QStringLiteral("Memo")), nullptr);
    EXPECT_EQ(rep.findDataSet(QStringLiteral("FRDSREPORTU")), &dsU);

    rep.setBandDataSet(QStringLiteral("MASTERDATA2"), QStringLiteral("frdsReportU"));
    EXPECT_EQ(rep.findBand(QStringLiteral("MasterData2"))->dataSet, QStringLiteral("frdsReportU"));

    rep.setVariable(QStringLiteral("ITOGO"), QStringLiteral("1"));
    rep.setVariable(QStringLiteral("itogo"), QStringLiteral("2"));  // the same variable
    EXPECT_EQ(rep.variable(QStringLiteral("Itogo")), QStringLiteral("2"));
    serviceLines(1);
    const TfrPreparedReport out = rep.prepare();
    EXPECT_EQ(texts(out.pages[0], TfrBandType::MasterData), QStringList{QStringLiteral("2")});
}

TEST_F(EngineTest, AMissingBandIsRefusedNamingTheBandAndTheFile) {
    rep.setTemplate(templ(QStringLiteral("<Page><Band name=\"MasterData2\" type=\"MasterData\"/></Page>")),
                    QStringLiteral("/opt/obrix/Reports/Rep_Kvit_obuv.frf"));
    try {
        rep.setBandDataSet(QStringLiteral("MasterData1"), QStringLiteral("frdsReportP"));
        FAIL() << "bound";
    } catch (const EfrBindError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("MasterData1"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("/opt/obrix/Reports/Rep_Kvit_obuv.frf"))) << e.what();
    }
}

TEST_F(EngineTest, CallbackAnswersFirstAndUnknownNamesFallThrough) {
    rep.setTemplate(templ(QStringLiteral(
        "<Page><Band name=\"T\" type=\"ReportTitle\" height=\"5\">"
        "<Memo name=\"a\" width=\"50\" height=\"5\">[NameOrg]/[Dened]</Memo></Band></Page>")));
    rep.setVariable(QStringLiteral("NameOrg"), QStringLiteral("из отчета"));
    rep.setVariable(QStringLiteral("Dened"), QStringLiteral("руб."));
    rep.setOnGetValue([](const QString& name, QVariant& v) {
        if (name == QLatin1String("NameOrg")) v = QStringLiteral("Мастерская");
    });
    EXPECT_EQ(findText(rep.prepare().pages[0], QStringLiteral("a"))->lines.join(QString()), QStringLiteral("Мастерская/руб."));
    rep.clearOnGetValue();
    EXPECT_EQ(findText(rep.prepare().pages[0], QStringLiteral("a"))->lines.join(QString()), QStringLiteral("из отчета/руб."));
}

TEST_F(EngineTest, UnknownNamesStopThePreparationWithTheObjectNamed) {
    const struct {
        const char* text;
        const char* fault;
    } cases[] = {{"[Nothing]", "неизвестную переменную «Nothing»"},
                 {"[frdsReportU.\"NO_SUCH\"]", "поле «NO_SUCH»"},
                 {"[frdsNone.\"SUMMA\"]", "неизвестную переменную"},
                 {"[SUM(frdsReportU.\"NOPE\")]", "поле «NOPE»"},
                 {"[]", "пустое выражение"}};
    serviceLines(2);
    for (const auto& c : cases) {
        rep.setTemplate(templ(QStringLiteral("<Page><Band name=\"D\" type=\"MasterData\" dataset=\"frdsReportU\" height=\"5\">"
                                             "<Memo name=\"Memo7\" width=\"50\" height=\"5\">%1</Memo></Band></Page>")
                                  .arg(QString::fromUtf8(c.text).toHtmlEscaped())),
                        QStringLiteral("Form.frf"));
        try {
            rep.prepare();
            ADD_FAILURE() << c.text << ": prepared";
        } catch (const EfrPrepareError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("«Memo7»"))) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.fault))) << c.text << ": " << e.what();
        }
    }
    rep.setTemplate(templ(QStringLiteral("<Page><Band name=\"D\" type=\"MasterData\" dataset=\"frdsOther\"/></Page>")));
    EXPECT_THROW(rep.prepare(), EfrPrepareError);
}

// A page of 100 mm: 10 mm margins, a title of 10, a repeated header of 5, rows
// of 10, a page footer of 10 with the page's sum and "page N of M", a summary
// with the report's sum.
const char* kPagedForm =
    "<Page width=\"100\" height=\"100\" left=\"10\" top=\"10\" right=\"10\" bottom=\"10\">"
    "<Band name=\"Title\" type=\"ReportTitle\" height=\"10\"><Memo name=\"title\" width=\"80\" height=\"10\">Отчет</Memo></Band>"
    "<Band name=\"Foot\" type=\"PageFooter\" height=\"10\">"
    " <Memo name=\"pagesum\" width=\"40\" height=\"5\">[SUM(frdsReportU.\"SUMMA\") #m]</Memo>"
    " <Memo name=\"pagecount\" x=\"40\" width=\"40\" height=\"5\">[COUNT(frdsReportU)]</Memo>"
    " <Memo name=\"pageno\" y=\"5\" width=\"80\" height=\"5\">Стр. [PAGE#] из [TOTALPAGES]</Memo></Band>"
    "<Band name=\"Head\" type=\"MasterHeader\" height=\"5\"><Memo name=\"head\" width=\"80\" height=\"5\">Шапка</Memo></Band>"
    "<Band name=\"MasterData2\" type=\"MasterData\" dataset=\"frdsReportU\" height=\"10\">"
    " <Memo name=\"row\" width=\"40\" height=\"10\">[LINE#]: [\"USLUGA_NAME\"]</Memo>"
    " <Memo name=\"sum\" x=\"40\" width=\"20\" height=\"10\">[frdsReportU.\"SUMMA\" #m]</Memo>"
    " <Memo name=\"running\" x=\"60\" width=\"20\" height=\"10\">[RSUM(\"SUMMA\") #m]</Memo></Band>"
    "<Band name=\"DataFoot\" type=\"MasterFooter\" height=\"5\">"
    " <Memo name=\"total\" width=\"80\" height=\"5\">[SUM(\"SUMMA\") #m] за [COUNT()] строк</Memo></Band>"
    "<Band name=\"Sum\" type=\"ReportSummary\" height=\"5\">"
    " <Memo name=\"grand\" width=\"80\" height=\"5\">Всего [SUM(frdsReportU.\"SUMMA\") #m]</Memo></Band>"
    "</Page>";

TEST_F(EngineTest, RowsBreakIntoPagesWithRepeatedHeadersAndFootersAtTheBottom) {
    rep.setTemplate(templ(QString::fromUtf8(kPagedForm)));
    serviceLines(12);
    const TfrPreparedReport out = rep.prepare();
    // body of page 1: 10..80 = 70 mm: title 10 + header 5 + 5 rows (50) = 65; later pages: header + 6 rows
    ASSERT_EQ(out.pages.size(), 3u);
    const QStringList expectedRows[] = {
        {QStringLiteral("1: Услуга 1"), QStringLiteral("1,05"), QStringLiteral("2: Услуга 2")},
    };
    (void)expectedRows;
    std::vector<int> rowsPerPage;
    for (size_t i = 0; i < out.pages.size(); ++i) {
        const TfrPreparedPage& pg = out.pages[i];
        EXPECT_EQ(texts(pg, TfrBandType::MasterHeader), QStringList{QStringLiteral("Шапка")}) << "page " << i + 1;
        int n = 0;
        double headBottom = 0;
        for (const TfrPrim& p : pg.prims) {
            if (p.bandType == TfrBandType::MasterHeader) headBottom = p.box.bottom();
            if (p.bandType == TfrBandType::MasterData || p.bandType == TfrBandType::MasterFooter ||
                p.bandType == TfrBandType::ReportSummary) {
                EXPECT_LE(p.box.bottom(), 80.001) << "page " << i + 1 << " overlaps the page footer";
                EXPECT_GE(p.box.top(), headBottom - 0.001);
            }
            if (p.objectName == QLatin1String("row")) ++n;
            if (p.bandType == TfrBandType::PageFooter) {
                EXPECT_GE(p.box.top(), 80 - 0.001);
                EXPECT_LE(p.box.bottom(), 90.001);
            }
        }
        rowsPerPage.push_back(n);
        EXPECT_EQ(findText(pg, QStringLiteral("pageno"))->lines.join(QString()),
                  QStringLiteral("Стр. %1 из 3").arg(i + 1));
    }
    EXPECT_EQ(rowsPerPage, (std::vector<int>{5, 6, 1}));
    EXPECT_EQ(texts(out.pages[0], TfrBandType::ReportTitle), QStringList{QStringLiteral("Отчет")});
    EXPECT_TRUE(texts(out.pages[1], TfrBandType::ReportTitle).isEmpty());
    // the page footer's sum is the page's: rows 1-5, 6-11, 12
    EXPECT_EQ(findText(out.pages[0], QStringLiteral("pagesum"))->lines.join(QString()), QStringLiteral("157,50"));
    EXPECT_EQ(findText(out.pages[1], QStringLiteral("pagesum"))->lines.join(QString()), QStringLiteral("535,50"));
    EXPECT_EQ(findText(out.pages[2], QStringLiteral("pagesum"))->lines.join(QString()), QStringLiteral("126,00"));
    EXPECT_EQ(findText(out.pages[1], QStringLiteral("pagecount"))->lines.join(QString()), QStringLiteral("6"));
    // the data footer's and the summary's sums are the whole report's
    EXPECT_EQ(findText(out.pages[2], QStringLiteral("total"))->lines.join(QString()),
              QStringLiteral("819,00 за 12 строк"));
    EXPECT_EQ(findText(out.pages[2], QStringLiteral("grand"))->lines.join(QString()), QStringLiteral("Всего 819,00"));
    EXPECT_EQ(findText(out.pages[2], QStringLiteral("row"))->lines.join(QString()), QStringLiteral("12: Услуга 12"));
    // the running total goes on across pages: 10.50 * (1 + ... + 6) on the first row of page 2
    std::vector<const TfrPrim*> running;
    for (const TfrPrim& p : out.pages[1].prims)
        if (p.objectName == QLatin1String("running")) running.push_back(&p);
    ASSERT_EQ(running.size(), 6u);
    EXPECT_EQ(running.front()->lines.join(QString()), QStringLiteral("220,50"));
    EXPECT_EQ(findText(out.pages[2], QStringLiteral("running"))->lines.join(QString()), QStringLiteral("819,00"));
}

TEST_F(EngineTest, AFooterSitsAtTheBottomOfAnAlmostEmptyPage) {
    rep.setTemplate(templ(QString::fromUtf8(kPagedForm)));
    serviceLines(1);
    const TfrPreparedReport out = rep.prepare();
    ASSERT_EQ(out.pages.size(), 1u);
    EXPECT_DOUBLE_EQ(findText(out.pages[0], QStringLiteral("pagesum"))->box.top(), 80.0);
    EXPECT_EQ(findText(out.pages[0], QStringLiteral("pageno"))->lines.join(QString()), QStringLiteral("Стр. 1 из 1"));
}

TEST_F(EngineTest, NoRowsPrintsNeitherHeaderNorFooterOfTheBand) {
    rep.setTemplate(templ(QString::fromUtf8(kPagedForm)));
    serviceLines(0);
    const TfrPreparedReport out = rep.prepare();
    ASSERT_EQ(out.pages.size(), 1u);
    EXPECT_TRUE(texts(out.pages[0], TfrBandType::MasterHeader).isEmpty());
    EXPECT_EQ(findText(out.pages[0], QStringLiteral("grand"))->lines.join(QString()), QStringLiteral("Всего 0,00"));
}

TEST_F(EngineTest, AGrowingTextStretchesItsBandAndPushesWhatFollows) {
    rep.setTemplate(templ(QStringLiteral(
        "<Page width=\"100\" height=\"200\" left=\"10\" top=\"10\" right=\"10\" bottom=\"10\">"
        "<Band name=\"D\" type=\"MasterData\" dataset=\"frdsReportU\" height=\"6\">"
        " <Memo name=\"name\" width=\"30\" height=\"6\" stretch=\"1\">[\"USLUGA_NAME\"]</Memo>"
        " <Memo name=\"below\" y=\"6\" width=\"30\" height=\"0\"/>"
        " <Memo name=\"fixed\" x=\"30\" width=\"30\" height=\"6\">[\"USLUGA_NAME\"]</Memo></Band>"
        "<Band name=\"S\" type=\"ReportSummary\" height=\"5\"><Memo name=\"after\" width=\"80\" height=\"5\">конец</Memo></Band>"
        "</Page>")));
    const QString longName = QStringLiteral("Замена подошвы с прошивкой по всему периметру и обработкой урезов");
    dsU.setSource(rows({QStringLiteral("USLUGA_NAME")}, {{fb::Value(longName)}}));
    const TfrPreparedPage pg = rep.prepare().pages.at(0);
    const TfrPrim* name = findText(pg, QStringLiteral("name"));
    const TfrPrim* fixed = findText(pg, QStringLiteral("fixed"));
    ASSERT_GT(name->lines.size(), 3);
    EXPECT_EQ(name->lines.join(QLatin1Char(' ')), longName);
    for (const QString& l : name->lines) EXPECT_LE(frTextWidth(TfrFont{}, l), 30 - 1.6 + 0.001) << l.toStdString();
    EXPECT_GT(name->box.height(), 6 + 5.0);
    // the fixed box keeps its height and shows only what fits
    EXPECT_DOUBLE_EQ(fixed->box.height(), 6.0);
    EXPECT_EQ(fixed->lines.size(), 1);
    EXPECT_NEAR(findText(pg, QStringLiteral("below"))->box.top(), name->box.bottom(), 0.001);
    EXPECT_NEAR(findText(pg, QStringLiteral("after"))->box.top(), name->box.bottom(), 0.001);
}

TEST_F(EngineTest, ABandThatDoesNotFitMovesWholeToTheNextPage) {
    rep.setTemplate(templ(QStringLiteral(
        "<Page width=\"100\" height=\"60\" left=\"10\" top=\"10\" right=\"10\" bottom=\"10\">"
        "<Band name=\"D\" type=\"MasterData\" dataset=\"frdsReportU\" height=\"15\">"
        " <Memo name=\"row\" width=\"80\" height=\"15\">[\"NUM\"]</Memo></Band></Page>")));
    serviceLines(4);  // 40 mm of body: two rows of 15 fit, the third does not
    const TfrPreparedReport out = rep.prepare();
    ASSERT_EQ(out.pages.size(), 2u);
    EXPECT_EQ(texts(out.pages[0], TfrBandType::MasterData), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(texts(out.pages[1], TfrBandType::MasterData), (QStringList{QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_DOUBLE_EQ(findText(out.pages[1], QStringLiteral("row"))->box.top(), 10.0);
}

TEST_F(EngineTest, SeveralMasterBandsFollowOneAnotherEachOnItsDataset) {
    rep.setTemplate(templ(QStringLiteral(
        "<Page><Band name=\"MasterData1\" type=\"MasterData\" dataset=\"frdsReportP\" height=\"5\">"
        " <Memo width=\"50\" height=\"5\">P[\"PRODUCT_NAME\"]</Memo></Band>"
        "<Band name=\"MasterData2\" type=\"MasterData\" dataset=\"frdsReportU\" height=\"5\">"
        " <Memo width=\"50\" height=\"5\">U[\"NUM\"] [\"SUMMA\" #n3] [\"SUMMA\" #i]</Memo></Band></Page>")));
    dsP.setSource(rows({QStringLiteral("PRODUCT_NAME")}, {{fb::Value(QStringLiteral("Сапоги"))}, {fb::Value()}}));
    serviceLines(2);
    EXPECT_EQ(texts(rep.prepare().pages[0], TfrBandType::MasterData),
              (QStringList{QStringLiteral("PСапоги"), QStringLiteral("P"), QStringLiteral("U1 10,500 11"),
                           QStringLiteral("U2 21,000 21")}));
}

TEST_F(EngineTest, ValuesAreFormattedAsMoneyDatesAndPlainNumbers) {
    rep.setTemplate(templ(QStringLiteral(
        "<Page><Band name=\"D\" type=\"MasterData\" dataset=\"frdsReport\" height=\"5\">"
        " <Memo width=\"190\" height=\"5\" size=\"8\">[\"D\"]|[\"D\" #d]|[\"M\"]|[\"M\" #m]|[\"Q\"]|[\"T\"]|[\"N\"]|[Total #m]|[DATE]</Memo>"
        "</Band></Page>")));
    TfrDBDataSet ds(QStringLiteral("frdsReport"));
    rep.setDataSet(&ds);  // the main dataset, found by the band's name
    ds.setSource(rows({QStringLiteral("D"), QStringLiteral("M"), QStringLiteral("Q"), QStringLiteral("T"), QStringLiteral("N")},
                      {{fb::Value(QDate(2009, 3, 1)), fb::Value(dec("1234567.5")), fb::Value(dec("0.125")),
                        fb::Value(QStringLiteral("текст")), fb::Value()}}));
    rep.setVariable(QStringLiteral("Total"), QStringLiteral("1500.5"));
    const QString nbsp = QString(QChar(160));
    EXPECT_EQ(texts(rep.prepare().pages[0], TfrBandType::MasterData).join(QString()).toStdString(),
              (QStringLiteral("01.03.2009|01.03.2009|1234567,5|1") + nbsp + QStringLiteral("234") + nbsp +
                  QStringLiteral("567,50|0,125|текст||1") + nbsp + QStringLiteral("500,50|05.03.2009")).toStdString());
}

TEST_F(EngineTest, GroupsPrintTheirHeaderAndTheirOwnSums) {
    rep.setTemplate(templ(QStringLiteral(
        "<Page width=\"100\" height=\"70\" left=\"10\" top=\"10\" right=\"10\" bottom=\"10\">"
        "<Band name=\"GH\" type=\"GroupHeader\" height=\"5\" condition=\"[frdsReportU.&quot;GR&quot;]\">"
        " <Memo name=\"gh\" width=\"80\" height=\"5\">Группа [\"GR\"]</Memo></Band>"
        "<Band name=\"D\" type=\"MasterData\" dataset=\"frdsReportU\" height=\"5\">"
        " <Memo name=\"row\" width=\"80\" height=\"5\">[\"NUM\"]</Memo></Band>"
        "<Band name=\"GF\" type=\"GroupFooter\" height=\"5\">"
        " <Memo name=\"gf\" width=\"80\" height=\"5\">[\"GR\"]: [SUM(\"SUMMA\") #m] ([COUNT()])</Memo></Band>"
        "<Band name=\"S\" type=\"ReportSummary\" height=\"5\">"
        " <Memo name=\"total\" width=\"80\" height=\"5\">[SUM(frdsReportU.\"SUMMA\") #m]</Memo></Band>"
        "</Page>")));
    std::vector<std::vector<fb::Value>> data;
    const char* groups[] = {"А", "А", "Б", "Б", "Б", "В"};
    for (int i = 0; i < 6; ++i)
        data.push_back({fb::Value(i + 1), fb::Value(QString::fromUtf8(groups[i])), fb::Value(fb::Decimal(i + 1))});
    dsU.setSource(rows({QStringLiteral("NUM"), QStringLiteral("GR"), QStringLiteral("SUMMA")}, data));
    const TfrPreparedReport out = rep.prepare();
    // 50 mm of body: 10 bands of 5 mm; the third group header would be last on page 1, so it moves with its row
    QStringList all;
    for (const TfrPreparedPage& pg : out.pages) {
        QStringList page;
        for (const TfrPrim& p : pg.prims) page << p.lines.join(QString());
        all << page.join(QLatin1Char(','));
    }
    EXPECT_EQ(all, (QStringList{QStringLiteral("Группа А,1,2,А: 3,00 (2),Группа Б,3,4,5,Б: 12,00 (3)"),
                                QStringLiteral("Группа В,6,В: 6,00 (1),21,00")}));
}

TEST_F(EngineTest, AGroupGoingOnToTheNextPageRepeatsItsHeader) {
    rep.setTemplate(templ(QStringLiteral(
        "<Page width=\"100\" height=\"70\" left=\"10\" top=\"10\" right=\"10\" bottom=\"10\">"
        "<Band name=\"GH\" type=\"GroupHeader\" height=\"5\" condition=\"[&quot;GR&quot;]\">"
        " <Memo width=\"80\" height=\"5\">Группа [\"GR\"]</Memo></Band>"
        "<Band name=\"D\" type=\"MasterData\" dataset=\"frdsReportU\" height=\"5\">"
        " <Memo width=\"80\" height=\"5\">[\"NUM\"]</Memo></Band>"
        "<Band name=\"GF\" type=\"GroupFooter\" height=\"5\">"
        " <Memo width=\"80\" height=\"5\">[SUM(\"SUMMA\") #i]</Memo></Band>"
        "</Page>")));
    std::vector<std::vector<fb::Value>> data;
    for (int i = 1; i <= 13; ++i)
        data.push_back({fb::Value(i), fb::Value(QString::fromUtf8(i == 1 ? "А" : "Б")), fb::Value(fb::Decimal(1))});
    dsU.setSource(rows({QStringLiteral("NUM"), QStringLiteral("GR"), QStringLiteral("SUMMA")}, data));
    const TfrPreparedReport out = rep.prepare();
    ASSERT_EQ(out.pages.size(), 2u);
    QStringList second;
    for (const TfrPrim& p : out.pages[1].prims) second << p.lines.join(QString());
    EXPECT_EQ(second.join(QLatin1Char(',')), QStringLiteral("Группа Б,8,9,10,11,12,13,12"));
}

TEST_F(EngineTest, BarCodesAreDrawnByLibzint) {
    rep.setTemplate(templ(QStringLiteral(
        "<Page><Band name=\"T\" type=\"ReportTitle\" height=\"40\">"
        " <Barcode name=\"ean\" type=\"EAN13\" width=\"40\" height=\"15\">[Ean]</Barcode>"
        " <Barcode name=\"code\" type=\"CODE128\" x=\"50\" width=\"40\" height=\"15\">AA[Number]</Barcode>"
        " <Barcode name=\"qr\" type=\"QR\" x=\"100\" width=\"30\" height=\"30\">Квитанция АА [Number]</Barcode></Band></Page>")));
    rep.setVariable(QStringLiteral("Ean"), QStringLiteral("460123456789"));
    rep.setVariable(QStringLiteral("Number"), QStringLiteral("000042"));
    const TfrPreparedReport out = rep.prepare();
    const TfrPreparedPage& pg = out.pages[0];
    const TfrPrim* ean = findText(pg, QStringLiteral("ean"));
    ASSERT_NE(ean, nullptr);
    // EAN-13: 3 guard bars at each end and in the middle, 2 bars per digit for 12 digits
    EXPECT_EQ(ean->bars.size(), 30u);
    for (const QRectF& b : ean->bars) EXPECT_TRUE(QRectF(10, 10, 40.01, 15.01).contains(b)) << b.x();
    EXPECT_EQ(findText(pg, QStringLiteral("code"))->data, QStringLiteral("AA000042"));
    EXPECT_GT(findText(pg, QStringLiteral("code"))->bars.size(), 10u);
    const TfrPrim* qr = findText(pg, QStringLiteral("qr"));
    // a square symbol; Cyrillic text goes into it as it is
    EXPECT_GT(qr->bars.size(), 50u);
    double minX = 1e9, maxX = 0, minY = 1e9, maxY = 0;
    for (const QRectF& b : qr->bars) {
        minX = std::min(minX, b.left()), maxX = std::max(maxX, b.right());
        minY = std::min(minY, b.top()), maxY = std::max(maxY, b.bottom());
    }
    EXPECT_NEAR(maxX - minX, maxY - minY, 0.01);

    // rendered: the bars are black on the paper
    QImage img(int(210 * 4), int(297 * 4), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    frRenderPage(p, pg, 4);
    p.end();
    const QRectF b0 = ean->bars.front();
    EXPECT_EQ(img.pixelColor(int((b0.center().x()) * 4), int(b0.center().y() * 4)), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(int(ean->box.left() * 4) - 4, int(ean->box.center().y() * 4)), QColor(Qt::white));

    rep.setVariable(QStringLiteral("Ean"), QStringLiteral("46012345678X"));
    try {
        rep.prepare();
        FAIL() << "a letter in an EAN-13 was drawn";
    } catch (const EfrPrepareError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("«ean»"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("EAN13"))) << e.what();
    }
}

}  // namespace
