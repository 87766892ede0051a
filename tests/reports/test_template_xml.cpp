// Reading templates: whatever a file holds, it is refused with a message naming
// the file and the fault, never a crash or a hang; good templates read back as written.
#include "ReportFixture.h"

#include "reports/engine/ReportXml.h"

using namespace reporttest;

namespace {

struct BrokenCase {
    const char* label;
    QByteArray content;
    const char* fault;  // expected in the message
};

QByteArray page(const char* bands) {
    return QByteArray("<?xml version=\"1.0\"?><Report><Page>") + bands + "</Page></Report>";
}

std::vector<BrokenCase> brokenCases() {
    const QByteArray good = page("<Band name=\"MasterData1\" type=\"MasterData\" height=\"5\">"
                                 "<Memo x=\"0\" y=\"0\" width=\"10\" height=\"5\">a</Memo></Band>");
    std::vector<BrokenCase> c = {
        {"empty", "", "файл пуст"},
        {"blanks only", "   \n\t ", "файл пуст"},
        {"not xml", "PK\x03\x04 this is a zip file", "не является XML"},
        {"binary", QByteArray(300, '\0'), "не является XML"},
        {"truncated", good.left(good.size() / 2), "не является XML"},
        {"wrong root", "<?xml version=\"1.0\"?><html><body/></html>", "корневой элемент <html>"},
        {"unclosed tag", page("<Band name=\"B\" type=\"MasterData\" height=\"5\">"), "не является XML"},
        {"wrong nesting", "<Report><Page><Band name=\"B\" type=\"MasterData\"></Page></Band></Report>", "не является XML"},
        {"memo outside a band", page("<Memo x=\"0\">a</Memo>"), "<Memo> стоит не на своем месте"},
        {"band inside a band", page("<Band name=\"A\" type=\"MasterData\"><Band name=\"B\" type=\"MasterData\"/></Band>"),
         "<Band> стоит не на своем месте"},
        {"unknown band type", page("<Band name=\"X\" type=\"CrossTab\"/>"), "неизвестный вид полосы «CrossTab»"},
        {"group without condition", page("<Band name=\"G\" type=\"GroupHeader\"/>"), "у группы «G» нет условия"},
        {"band without name", page("<Band type=\"MasterData\"/>"), "нет имени"},
        {"unknown object", page("<Band name=\"B\" type=\"MasterData\"><Chart x=\"0\"/></Band>"),
         "неизвестный объект <Chart>"},
        {"unknown element", "<Report><Style/></Report>", "неизвестный элемент <Style>"},
        {"element inside memo", page("<Band name=\"B\" type=\"MasterData\"><Memo><b>x</b></Memo></Band>"),
         "не может быть элемента <b>"},
        {"no pages", "<Report/>", "нет ни одной страницы"},
        {"not a number", page("<Band name=\"B\" type=\"MasterData\" height=\"abc\"/>"), "не число «abc»"},
        {"infinite", page("<Band name=\"B\" type=\"MasterData\" height=\"inf\"/>"), "не число"},
        {"huge paper", "<Report><Page width=\"100000\"/></Report>", "атрибут width у страницы 1: недопустимое значение"},
        {"tiny paper", "<Report><Page height=\"1\"/></Report>", "недопустимое значение"},
        {"negative band", page("<Band name=\"B\" type=\"MasterData\" height=\"-5\"/>"), "недопустимое значение -5"},
        {"band taller than a page", page("<Band name=\"B\" type=\"MasterData\" height=\"500\"/>"), "недопустимое значение 500"},
        {"absurd object", page("<Band name=\"B\" type=\"MasterData\"><Memo width=\"1e9\"/></Band>"), "недопустимое значение"},
        {"absurd font", page("<Band name=\"B\" type=\"MasterData\"><Memo size=\"5000\"/></Band>"), "атрибут size"},
        {"margins eat the page", "<Report><Page width=\"100\" left=\"50\" right=\"50\"/></Report>", "поля не оставляют места"},
        {"unknown barcode", page("<Band name=\"B\" type=\"MasterData\"><Barcode type=\"PDF417\"/></Band>"),
         "неизвестный вид штрихкода «PDF417»"},
        {"broken picture", page("<Band name=\"B\" type=\"MasterData\"><Picture>bm90IGFuIGltYWdl</Picture></Band>"),
         "рисунок"},
        {"unknown colour", page("<Band name=\"B\" type=\"MasterData\"><Rect fill=\"nocolour\"/></Band>"), "неизвестный цвет"},
        {"entity bomb",
         "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
         "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
         "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
         "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">]><Report><Page><Band name=\"B\" type=\"MasterData\">"
         "<Memo>&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;</Memo></Band></Page></Report>",
         "не является XML"},
    };
    // too many of everything
    QByteArray pages = "<Report>";
    for (int i = 0; i < frlimits::kMaxPages + 1; ++i) pages += "<Page/>";
    c.push_back({"too many pages", pages + "</Report>", "слишком много страниц"});
    QByteArray bands;
    for (int i = 0; i < frlimits::kMaxBands + 1; ++i) bands += "<Band name=\"B\" type=\"MasterData\" height=\"1\"/>";
    c.push_back({"too many bands", page(bands.constData()), "слишком много полос"});
    QByteArray objects = "<Band name=\"B\" type=\"MasterData\">";
    for (int i = 0; i < frlimits::kMaxObjects + 1; ++i) objects += "<Line/>";
    c.push_back({"too many objects", page((objects + "</Band>").constData()), "слишком много объектов"});
    c.push_back({"huge file", QByteArray(frlimits::kMaxFileBytes + 10, ' ') + good, "слишком велик"});
    return c;
}

TEST(TemplateFile, BrokenFilesAreRefusedWithTheFileAndTheFault) {
    QTemporaryDir dir;
    for (const BrokenCase& c : brokenCases()) {
        const QString path = dir.filePath(QStringLiteral("broken.frf"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.content);
        f.close();
        try {
            frReadTemplateFile(path);
            ADD_FAILURE() << c.label << ": accepted";
        } catch (const EfrTemplateError& e) {
            EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path))) << c.label << ": " << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.fault))) << c.label << ": " << e.what();
        }
    }
}

TEST(TemplateFile, MissingFileIsAFileError) {
    TfrReport rep;
    try {
        rep.loadFromFile(QStringLiteral("/nonexistent/Reports/Rep_Kvit_obuv"));
        FAIL() << "loaded";
    } catch (const EfrFileError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("/nonexistent/Reports/Rep_Kvit_obuv.frf"))) << e.what();
    }
    EXPECT_TRUE(rep.fileName().isEmpty());
}

TEST(TemplateFile, FormNamesWithBackslashesAndWithoutExtension) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Reports"));
    QFile::copy(formPath(QStringLiteral("Rep_Kvit_obuv")), dir.filePath(QStringLiteral("Reports/Rep_Kvit_obuv.frf")));
    TfrReport rep;
    rep.loadFromFile(dir.path() + QStringLiteral("/Reports\\Rep_Kvit_obuv"));
    EXPECT_EQ(rep.fileName(), dir.filePath(QStringLiteral("Reports/Rep_Kvit_obuv.frf")));
    EXPECT_NE(rep.findBand(QStringLiteral("MasterData2")), nullptr);
}

TEST(TemplateFile, WrittenTemplateReadsBackTheSame) {
    TfrTemplate t = templ(QStringLiteral(
        "<Page width=\"80\" height=\"200\" left=\"4\" top=\"3\" right=\"4\" bottom=\"3\">"
        "<Band name=\"Title\" type=\"ReportTitle\" height=\"12.5\">"
        "<Memo name=\"m1\" x=\"1\" y=\"2\" width=\"30\" height=\"5\" size=\"8\" bold=\"1\" align=\"right\" valign=\"center\" "
        "frame=\"lb\" stretch=\"1\">Итого: [SUM(frdsReportU.\"SUMMA\") #m] &amp; &lt;x&gt;</Memo>"
        "<Line x=\"0\" y=\"10\" width=\"72\" height=\"0\" lineWidth=\"0.5\"/>"
        "<Rect x=\"0\" y=\"0\" width=\"5\" height=\"5\" fill=\"#ff0000\"/>"
        "<Barcode name=\"bc\" type=\"EAN13\" x=\"40\" y=\"0\" width=\"30\" height=\"10\">[Number]</Barcode>"
        "</Band>"
        "<Band name=\"MasterHeader2\" type=\"MasterHeader\" height=\"4\" repeat=\"0\"/>"
        "<Band name=\"Group\" type=\"GroupHeader\" height=\"4\" condition=\"[frdsReportU.&quot;GR&quot;]\"/>"
        "<Band name=\"MasterData2\" type=\"MasterData\" height=\"4\" dataset=\"frdsReportU\"/>"
        "</Page>"));
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::blue);
    TfrObject pic;
    pic.kind = TfrObjectKind::Picture;
    pic.name = QStringLiteral("logo");
    pic.width = 10;
    pic.height = 7.5;
    pic.picture = img;
    t.pages[0].bands[0].objects.push_back(pic);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.frf"));
    frWriteTemplateFile(t, path);
    const TfrTemplate back = frReadTemplateFile(path);
    EXPECT_EQ(frTemplateToXml(back), frTemplateToXml(t));
    const TfrObject& m = back.pages[0].bands[0].objects[0];
    EXPECT_EQ(m.text, QStringLiteral("Итого: [SUM(frdsReportU.\"SUMMA\") #m] & <x>"));
    EXPECT_TRUE(m.font.bold);
    EXPECT_EQ(m.align, TfrHAlign::Right);
    EXPECT_TRUE(m.frame.left && m.frame.bottom && !m.frame.top);
    EXPECT_EQ(back.pages[0].bands[0].objects[3].barcode, TfrBarcodeType::EAN13);
    EXPECT_FALSE(back.pages[0].bands[1].repeatHeader);
    EXPECT_EQ(back.pages[0].bands[2].condition, QStringLiteral("[frdsReportU.\"GR\"]"));
    EXPECT_EQ(back.pages[0].bands[3].dataSet, QStringLiteral("frdsReportU"));
    EXPECT_EQ(back.pages[0].bands[0].objects[4].picture.size(), QSize(4, 3));
    EXPECT_EQ(back.pages[0].bands[0].objects[4].picture.pixelColor(1, 1), QColor(Qt::blue));
}

}  // namespace
