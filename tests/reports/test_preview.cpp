// The preview window: pages at their paper size, zoom, navigation, printing
// and exports through the modal seam; a failed preparation shows a message and no preview.
#include "ReportFixture.h"

#include "ui/ModalScript.h"
#include "reports/ui/Preview.h"

#include <QAction>
#include <QComboBox>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>

using namespace reporttest;

namespace {

class PreviewTest : public ::testing::Test {
protected:
    TfrReport rep;
    TfrDBDataSet ds{QStringLiteral("frdsReport")};
    void SetUp() override {
        rep.addDataSet(&ds);
        rep.setTemplate(templ(QStringLiteral(
                            "<Page width=\"100\" height=\"60\" left=\"10\" top=\"10\" right=\"10\" bottom=\"10\">"
                            "<Band name=\"D\" type=\"MasterData\" dataset=\"frdsReport\" height=\"10\">"
                            " <Memo width=\"40\" height=\"10\">[\"NAME\"]</Memo>"
                            " <Memo x=\"40\" width=\"40\" height=\"10\" align=\"right\">[\"SUMMA\" #m]</Memo></Band></Page>")),
                        QStringLiteral("/tmp/Reports/Rep_Test.frf"));
        std::vector<std::vector<fb::Value>> data;
        for (int i = 1; i <= 10; ++i)
            data.push_back({fb::Value(QStringLiteral("Строка %1").arg(i)), fb::Value(fb::Decimal(i * 100))});
        ds.setSource(rows({QStringLiteral("NAME"), QStringLiteral("SUMMA")}, data));
    }
};

TEST_F(PreviewTest, NavigatesAndZoomsThePages) {
    ModalScript script;
    bool shown = false;
    script.onDialog(QStringLiteral("frmPreview"), [&](QDialog* d) {
        shown = true;
        auto* pv = static_cast<TfrmPreview*>(d);
        d->resize(800, 600);
        EXPECT_EQ(pv->pageCount(), 3);  // 4 rows of 10 mm on a page
        EXPECT_EQ(pv->windowTitle(), QStringLiteral("Предварительный просмотр - Rep_Test"));
        EXPECT_FALSE(pv->acPrior->isEnabled());
        pv->acNext->trigger();
        EXPECT_EQ(pv->pageIndex(), 1);
        EXPECT_EQ(pv->edPage->value(), 2);
        pv->acLast->trigger();
        EXPECT_EQ(pv->pageIndex(), 2);
        EXPECT_FALSE(pv->acNext->isEnabled());
        pv->edPage->setValue(1);
        EXPECT_EQ(pv->pageIndex(), 0);
        pv->setZoomIndex(4);  // 100 %: the paper at its real size
        EXPECT_NEAR(pv->zoomPercent(), 100.0, 0.01);
        const double realWidth = 100 * pv->PageView->logicalDpiX() / 25.4;
        EXPECT_NEAR(pv->PageView->width(), realWidth + 16, 2);
        pv->setZoomIndex(6);  // 200 %
        EXPECT_NEAR(pv->PageView->width(), 2 * realWidth + 16, 2);
        pv->setZoomIndex(1);  // the whole page fits the window
        EXPECT_LE(pv->PageView->height(), pv->sbxPages->viewport()->height());
        pv->setZoomIndex(0);  // the width fits the window
        EXPECT_LE(pv->PageView->width(), pv->sbxPages->viewport()->width());
        EXPECT_GT(pv->PageView->width(), pv->sbxPages->viewport()->width() - 10);
        pv->acClose->trigger();
    });
    EXPECT_TRUE(ShowReport(rep));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(PreviewTest, ExportsWhatItShows) {
    QTemporaryDir dir;
    ModalScript script;
    script.onDialog(QStringLiteral("frmPreview"), [&](QDialog* d) {
        auto* pv = static_cast<TfrmPreview*>(d);
        pv->acExportPdf->trigger();
        pv->acExportCsv->trigger();
        pv->acExportRtf->trigger();
        // printing goes to a printer set up by the print dialog; here a PDF printer
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        pv->printTo(printer, 2, 3);
        d->reject();
    });
    script.answerFile(dir.filePath(QStringLiteral("out")));  // the extension is added
    script.onDialog(QStringLiteral("dlgCsvSeparator"), [](QDialog* d) {
        auto* cb = d->findChild<QComboBox*>(QStringLiteral("cbSeparator"));
        cb->setCurrentIndex(1);  // comma
        d->accept();
    });
    script.answerFile(dir.filePath(QStringLiteral("out.csv")));
    script.answerFile(dir.filePath(QStringLiteral("out.rtf")));
    ShowReport(rep);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();

    const QString pdf = pdfText(dir.filePath(QStringLiteral("out.pdf")));
    EXPECT_TRUE(pdf.contains(QStringLiteral("Строка 1"))) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains(QStringLiteral("Строка 10")));
    EXPECT_EQ(pdf.count(QChar(12)), 3);  // three pages
    QFile csv(dir.filePath(QStringLiteral("out.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray csvBytes = csv.readAll();
    EXPECT_TRUE(csvBytes.startsWith("\xEF\xBB\xBF"));  // a byte-order mark, so spreadsheets read UTF-8
    const QString csvText = QString::fromUtf8(csvBytes.mid(3));
    EXPECT_TRUE(csvText.startsWith(QStringLiteral("Строка 1,\"100,00\"\r\n"))) << csvText.toStdString();
    EXPECT_EQ(csvText.count(QStringLiteral("\r\n")), 10);
    QFile rtf(dir.filePath(QStringLiteral("out.rtf")));
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    const QByteArray rtfText = rtf.readAll();
    EXPECT_TRUE(rtfText.startsWith("{\\rtf1"));
    EXPECT_EQ(rtfText.count("\\row"), 10);
    EXPECT_EQ(rtfText.count("\\page"), 2);
    const QString printed = pdfText(dir.filePath(QStringLiteral("printed.pdf")));
    EXPECT_FALSE(printed.contains(QStringLiteral("Строка 4\n"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Строка 5")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Строка 10")));
}

TEST_F(PreviewTest, AFailedPreparationShowsAMessageAndNoPreview) {
    rep.findObject(QString());  // nothing named: no effect
    rep.templ().pages[0].bands[0].objects[0].text = QStringLiteral("[NoSuchVariable]");
    ModalScript script;
    script.answerOk();
    EXPECT_FALSE(ShowReport(rep));
    EXPECT_TRUE(script.dialogsShown().isEmpty());
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages()[0].text.contains(QStringLiteral("NoSuchVariable")));
    EXPECT_EQ(script.messages()[0].flags, 16);
}

}  // namespace
