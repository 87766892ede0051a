// The preview's computations without a window: the scale of each zoom entry,
// turning pages by buttons and keys, the pages a print range covers, the
// export files offered and written.
#include "ReportFixture.h"

#include "reports/engine/PreviewState.h"
#include "reports/engine/ReportExportFiles.h"

using namespace reporttest;

namespace {

TEST(PreviewStateTest, ZoomEntriesScaleThePageToTheViewportOrTheRealSize) {
    EXPECT_EQ(frPreviewZooms(), (QStringList{QStringLiteral("По ширине"), QStringLiteral("Страница целиком"),
                                             QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                                             QStringLiteral("150%"), QStringLiteral("200%")}));
    const double screen = 96 / 25.4;
    const struct {
        int zoom;
        QSizeF page, viewport;
        double pxPerMm;
        bool fits;
    } cases[] = {
        {0, {100, 60}, {800, 600}, 782.0 / 100, true},   // the width, less the grey around the page
        {1, {100, 60}, {800, 600}, 782.0 / 100, true},   // the width is the tighter
        {1, {210, 297}, {800, 600}, 582.0 / 297, true},  // the height is
        {0, {210, 297}, {40, 30}, 50.0 / 210, true},     // never narrower than 50 px
        {4, {210, 297}, {800, 600}, screen, false},
        {2, {210, 297}, {800, 600}, screen / 2, false},
        {6, {210, 297}, {10, 10}, screen * 2, false},
        {9, {210, 297}, {10, 10}, screen * 2, false},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(frPreviewScale(c.zoom, c.page, c.viewport, screen), c.pxPerMm) << c.zoom;
        EXPECT_EQ(frPreviewZoomFits(c.zoom), c.fits) << c.zoom;
    }
}

TEST(PreviewStateTest, PagesTurnWithinTheReportAndPrintRangesKeepToIt) {
    const struct {
        int page, count;
        bool back, forward;
    } turns[] = {{0, 0, false, false}, {0, 1, false, false}, {0, 3, false, true}, {1, 3, true, true}, {2, 3, true, false}};
    for (const auto& c : turns) {
        EXPECT_EQ(frPageTurns(c.page, c.count).back, c.back) << c.page << "/" << c.count;
        EXPECT_EQ(frPageTurns(c.page, c.count).forward, c.forward) << c.page << "/" << c.count;
    }
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
        std::optional<int> page;
    } keys[] = {{Qt::Key_PageDown, Qt::NoModifier, 2}, {Qt::Key_PageUp, Qt::NoModifier, 0},
                {Qt::Key_Home, Qt::ControlModifier, 0}, {Qt::Key_End, Qt::ControlModifier, 4},
                {Qt::Key_Home, Qt::NoModifier, std::nullopt}, {Qt::Key_End, Qt::ShiftModifier, std::nullopt},
                {Qt::Key_Right, Qt::NoModifier, std::nullopt}};
    for (const auto& c : keys) EXPECT_EQ(frPageForKey(c.key, c.mods, 1, 5), c.page) << c.key;
    const struct {
        int from, to;
        std::pair<int, int> pages;
    } ranges[] = {{0, 0, {0, 4}}, {2, 3, {1, 2}}, {4, 9, {3, 4}}, {5, 5, {4, 4}}, {3, 0, {2, 4}}};
    for (const auto& c : ranges) EXPECT_EQ(frPrintedPages(c.from, c.to, 5), c.pages) << c.from << ".." << c.to;
}

TEST(ReportExportFilesTest, OfferedNamesExtensionsAndTheFilesWritten) {
    EXPECT_EQ(frExportSuggestedName(QString(), TfrExportKind::Pdf), QStringLiteral("Отчет.pdf"));
    EXPECT_EQ(frExportSuggestedName(QStringLiteral("Rep_Test"), TfrExportKind::Csv), QStringLiteral("Rep_Test.csv"));
    EXPECT_EQ(frExportPath(QStringLiteral("/tmp/a.d/out"), TfrExportKind::Rtf), QStringLiteral("/tmp/a.d/out.rtf"));
    EXPECT_EQ(frExportPath(QStringLiteral("/tmp/out.txt"), TfrExportKind::Rtf), QStringLiteral("/tmp/out.txt"));
    const std::vector<TfrCsvSeparator> seps = frCsvSeparators();
    ASSERT_EQ(seps.size(), 3u);
    EXPECT_EQ(seps[0].separator + seps[1].separator + seps[2].separator, QStringLiteral(";,\t"));

    TfrReport rep;
    TfrDBDataSet ds{QStringLiteral("frdsReport")};
    rep.addDataSet(&ds);
    rep.setTemplate(templ(QStringLiteral("<Page width=\"100\" height=\"60\"><Band name=\"D\" type=\"MasterData\" "
                                         "dataset=\"frdsReport\" height=\"10\"><Memo width=\"40\" height=\"10\">Итого</Memo>"
                                         "<Memo x=\"40\" width=\"40\" height=\"10\">1 234,50</Memo></Band></Page>")));
    ds.setSource(rows({QStringLiteral("N")}, {{fb::Value(1)}}));
    const TfrPreparedReport prepared = rep.prepare();
    QTemporaryDir dir;
    const struct {
        TfrExportKind kind;
        const char* filter;
        QByteArray start;
    } kinds[] = {{TfrExportKind::Pdf, "Документ PDF (*.pdf)", "%PDF"},
                 {TfrExportKind::Csv, "Файл CSV (*.csv)", "\xEF\xBB\xBF\xD0\x98\xD1\x82\xD0\xBE\xD0\xB3\xD0\xBE,\"1 234,50\""},
                 {TfrExportKind::Rtf, "Документ RTF (*.rtf)", "{\\rtf1"}};
    for (const auto& c : kinds) {
        const TfrExportChoice choice = frExportChoice(c.kind);
        EXPECT_EQ(choice.filter, QString::fromUtf8(c.filter));
        EXPECT_TRUE(choice.caption.endsWith(choice.suffix.toUpper())) << choice.caption.toStdString();
        const QString path = frExportPath(dir.filePath(QStringLiteral("out")), c.kind);
        frExportReport(prepared, c.kind, path, QLatin1Char(','));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.startsWith(c.start)) << c.filter << " " << bytes.left(40).toStdString();
    }
    EXPECT_THROW(frExportReport(prepared, TfrExportKind::Rtf, dir.filePath(QStringLiteral("no/such/dir/out.rtf"))),
                 EfrFileError);
}

}  // namespace
