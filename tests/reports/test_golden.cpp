// Every shipped print form, filled with fixed data and variables, lays out into
// the stored pages; the receipt's PDF carries its values as text; CSV and RTF
// of a small report match stored files.
#include "ReportFixture.h"

#include "forms/DocVar.h"

using namespace reporttest;

namespace {

using V = fb::Value;

// The receipt's variables as MakeDOCVAR gives them for a realistic order.
TDocuVars orderVariables() {
    TDocuVars v;
    v.NameOrg = QStringLiteral("ООО «Мастерская на Лесной»");
    v.Rukovod = QStringLiteral("Петров П.П.");
    v.Glavbuh = QStringLiteral("Сидорова А.В.");
    v.AdresOrg = QStringLiteral("г. Тверь, ул. Лесная, д. 5");
    v.PhoneOrg = QStringLiteral("(4822) 55-12-34");
    v.INN = QStringLiteral("6901234567");
    v.KPP = QStringLiteral("690101001");
    v.OGRN = QStringLiteral("1026900123456");
    v.Bankname = QStringLiteral("ПАО Сбербанк");
    v.BankBik = QStringLiteral("042809679");
    v.Schet = QStringLiteral("40702810863000001234");
    v.KorSchet = QStringLiteral("30101810700000000679");
    v.Dened = QStringLiteral("руб.");
    v.Series = QStringLiteral("АА");
    v.Number = QStringLiteral("000042");
    v.DateP = QStringLiteral("05.03.2009");
    v.DateV = QStringLiteral("12.03.2009");
    v.VremVyd = QStringLiteral("после 15:00");
    v.Zakazch_Name = QStringLiteral("Иванова Мария Сергеевна");
    v.Zakazch_Adres = QStringLiteral("ул. Советская, 12-4");
    v.Zakazch_Phone = QStringLiteral("+7 910 123-45-67");
    v.Priemschik_Fio = QStringLiteral("Кузнецова О.Н.");
    v.TOTAL = QStringLiteral("1") + QChar(160) + QStringLiteral("650,50");
    v.OTKL = QStringLiteral("10");
    v.TOTAL_WOTKL = QStringLiteral("1") + QChar(160) + QStringLiteral("485,45");
    v.Received = QStringLiteral("1") + QChar(160) + QStringLiteral("000,00");
    v.Debt = QStringLiteral("485,45");
    v.Comment = QStringLiteral("Потертости на носках");
    v.g_2 = QStringLiteral("*");
    v.GarantName = QStringLiteral("7 дней");
    v.SumPolProp = QStringLiteral("Тысяча руб. 00 коп. ");
    return v;
}

class GoldenTest : public ::testing::Test {
protected:
    TfrReport rep;
    TfrDBDataSet ds{QStringLiteral("frdsReport")}, dsP{QStringLiteral("frdsReportP")}, dsU{QStringLiteral("frdsReportU")};
    TDocuVars vars = orderVariables();

    void SetUp() override {
        rep.addDataSet(&ds);
        rep.addDataSet(&dsP);
        rep.addDataSet(&dsU);
        rep.setToday(QDate(2009, 3, 31));
        dsP.setSource(rows({"NUM", "PRODUCT_NAME", "COLOR_NAME", "MATERIAL_NAME", "PPARA_NAME", "PROCIZN"},
                           {{V(1), V("Сапоги женские"), V("черный"), V("кожа"), V("пара"), V(30)},
                            {V(2), V("Туфли"), V("бежевый"), V("замша"), V("левая"), V()}}));
        dsU.setSource(rows({"NUM", "USLUGA_NAME", "USLUGA_NUMPR", "USLUGA_EAN13", "SUMMA"},
                           {{V(1), V("Замена набоек"), V("12"), V(), V(dec("350"))},
                            {V(2), V("Замена молнии на голенище с подгонкой длины и обработкой краев"), V("31"), V(),
                             V(dec("1100.5"))},
                            {V(3), V("Чистка и покраска"), V("7"), V(), V(dec("200"))}}));
    }

    // A document form as its editor prints it.
    void printLikeReceipt(const QString& name, int kind) {
        rep.loadFromFile(formPath(name));
        rep.setOnGetValue([this](const QString& n, QVariant& value) {
            QString t;
            if (vars.find(n, t)) value = t;
        });
        rep.setDataSet(nullptr);
        if (kind == 1 || kind == 3) rep.setBandDataSet(QStringLiteral("MasterData1"), QStringLiteral("frdsReportP"));
        rep.setBandDataSet(QStringLiteral("MasterData2"), QStringLiteral("frdsReportU"));
    }

    void stockDocument(const QString& name) {
        rep.loadFromFile(formPath(name));
        const std::map<QString, QString> v = {
            {"DocCaption", "Приход на склад от 02.03.2009 № 41"}, {"NameOrg", vars.NameOrg}, {"Rukovod", vars.Rukovod},
            {"Glavbuh", vars.Glavbuh}, {"AdresOrg", vars.AdresOrg}, {"PhoneOrg", vars.PhoneOrg}, {"INN", vars.INN},
            {"KPP", vars.KPP}, {"OGRN", vars.OGRN}, {"Bankname", vars.Bankname}, {"BankBik", vars.BankBik},
            {"Schet", vars.Schet}, {"KorSchet", vars.KorSchet}, {"Dened", "руб."}, {"Number", "000041"},
            {"Datedoc", "02.03.2009"}, {"DocuTitle", "Поставщик: ООО «Кожснаб»"}, {"Comment", "по счету 118"}};
        rep.setOnGetValue([v](const QString& n, QVariant& value) {
            auto it = v.find(n);
            if (it != v.end()) value = it->second;
        });
        rep.setDataSet(nullptr);
        ds.setSource(rows({"TOVAR_ARTIKUL", "TOVAR_NAME", "TOVAR_EDIZM", "KOLVO", "CENA", "SUMMA", "CENA_REALIZ", "SUMMA_REALIZ"},
                          {{V("К-01"), V("Клей «Момент»"), V("шт"), V(dec("2")), V(dec("120")), V(dec("240")),
                            V(dec("150")), V(dec("300"))},
                           {V("Н-17"), V("Нитки капроновые"), V("м"), V(dec("12.5")), V(dec("3.2")), V(dec("40")), V(),
                            V()}}));
        rep.setBandDataSet(QStringLiteral("MasterData1"), QStringLiteral("frdsReport"));
    }

    void report(const QString& name, QStringList fields, std::vector<std::vector<fb::Value>> data) {
        rep.loadFromFile(formPath(name));
        rep.clearOnGetValue();
        rep.setDataSet(&ds);
        ds.setSource(rows(std::move(fields), std::move(data)));
        rep.setVariable(QStringLiteral("NameOrg"), vars.NameOrg);
        rep.setVariable(QStringLiteral("Dened"), QStringLiteral("руб."));
        rep.setVariable(QStringLiteral("Date_1"), QStringLiteral("01.03.2009"));
        rep.setVariable(QStringLiteral("Date_2"), QStringLiteral("31.03.2009"));
        rep.setVariable(QStringLiteral("ZakazchName"), vars.Zakazch_Name);
        rep.setVariable(QStringLiteral("NOMENK_TEXT"), QStringLiteral("Группа Клеи (включая подгруппы)"));
    }

    void stockReport(const QString& name) {
        report(name, {"GR_ID", "TOVARGR_NAME", "FULLPATH", "TOVAR_ARTIKUL", "TOVAR_NAME", "TOVAR_EDIZM", "KOLVO", "SUMMA"},
               {{V(3), V("Клеи"), V("Материалы/Клеи"), V("К-01"), V("Клей «Момент»"), V("шт"), V(dec("14")), V(dec("1680"))},
                {V(3), V("Клеи"), V("Материалы/Клеи"), V("К-02"), V("Клей полиуретановый"), V("л"), V(dec("0.75")),
                 V(dec("562.5"))}});
    }

    // OBRIX_FORMS_PDF=<folder>: every form is also written there as PDF, to look at after changing it.
    void expectPages(const QString& name) {
        const TfrPreparedReport out = rep.prepare();
        expectGolden(name + QStringLiteral(".txt"), frDumpPages(out).toUtf8());
        if (qEnvironmentVariableIsSet("OBRIX_FORMS_PDF"))
            frExportPdf(out, QDir(qEnvironmentVariable("OBRIX_FORMS_PDF")).filePath(name + QStringLiteral(".pdf")));
    }
};

TEST_F(GoldenTest, Receipts) {
    const struct {
        const char* name;
        int kind;
    } forms[] = {{"Rep_Kvit_obuv", 1},  {"Rep_Kvit_kluchi", 2},  {"Rep_Kvit_grav", 3},
                 {"Rep_Kvituz_obuv", 1}, {"Rep_Kvituz_kluchi", 2}, {"Rep_Kvituz_grav", 3}};
    for (const auto& f : forms) {
        SCOPED_TRACE(f.name);
        printLikeReceipt(QString::fromLatin1(f.name), f.kind);
        expectPages(QString::fromLatin1(f.name));
    }
}

TEST_F(GoldenTest, KeyReceiptsHaveNoProductBand) {
    for (const char* name : {"Rep_Kvit_kluchi", "Rep_Kvituz_kluchi"}) {
        rep.loadFromFile(formPath(QString::fromLatin1(name)));
        EXPECT_EQ(rep.findBand(QStringLiteral("MasterData1")), nullptr) << name;
        EXPECT_NE(rep.findBand(QStringLiteral("MasterData2")), nullptr) << name;
    }
}

TEST_F(GoldenTest, StockDocumentForms) {
    for (const char* name : {"RepDoc", "RepDoc_Realiz"}) {
        SCOPED_TRACE(name);
        stockDocument(QString::fromLatin1(name));
        expectPages(QString::fromLatin1(name));
    }
}

TEST_F(GoldenTest, ServiceReports) {
    report(QStringLiteral("Rep_SummaKvit"), {"DATEP", "KOLVO", "SUMMA_WOTKL"},
           {{V(QDate(2009, 3, 2)), V(3), V(dec("1250"))}, {V(QDate(2009, 3, 5)), V(1), V(dec("1485.45"))}});
    expectPages(QStringLiteral("Rep_SummaKvit"));
    report(QStringLiteral("Rep_UslugaKind"), {"USLUGA_ID", "USLUGA_NAME", "USLUGA_NUMPR", "KOLVO", "SUMMA"},
           {{V(1), V("Замена набоек"), V("12"), V(4), V(dec("1400"))}, {V(3), V("Чистка"), V("7"), V(1), V(dec("200"))}});
    expectPages(QStringLiteral("Rep_UslugaKind"));
    report(QStringLiteral("RepKartaZak"),
           {"DATEP", "DATEV", "SERIES", "NUMBER", "KINDDOC_ID", "KINDDOC_NAME", "TOTAL", "TOTAL_WOTKL", "RECEIVED", "DEBT",
            "COMMENT"},
           {{V(QDate(2009, 2, 10)), V(QDate(2009, 2, 17)), V("АА"), V(17), V(1), V("Ремонт обуви"), V(dec("400")),
             V(dec("400")), V(dec("400")), V(dec("0")), V()},
            {V(QDate(2009, 3, 5)), V(), V("АА"), V(42), V(2), V("Ключи"), V(dec("1650.5")), V(dec("1485.45")),
             V(dec("1000")), V(dec("485.45")), V("срочно")}});
    expectPages(QStringLiteral("RepKartaZak"));
}

TEST_F(GoldenTest, StockReports) {
    for (const char* name : {"RepPrihod", "RepRashod", "RepRealiz", "RepNalich"}) {
        SCOPED_TRACE(name);
        stockReport(QString::fromLatin1(name));
        expectPages(QString::fromLatin1(name));
    }
}

TEST_F(GoldenTest, ReceiptPdfCarriesItsValuesAsText) {
    printLikeReceipt(QStringLiteral("Rep_Kvit_obuv"), 1);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("kvit.pdf"));
    frExportPdf(rep.prepare(), pdf);
    // OBRIX_KEEP_PDF=<file>: keep a copy (the picture in the README is made from it)
    if (qEnvironmentVariableIsSet("OBRIX_KEEP_PDF")) {
        QFile::remove(qEnvironmentVariable("OBRIX_KEEP_PDF"));
        QFile::copy(pdf, qEnvironmentVariable("OBRIX_KEEP_PDF"));
    }
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
    const QString text = pdfText(pdf);
    for (const char* expected : {"КВИТАНЦИЯ-ДОГОВОР № АА 000042", "Иванова Мария Сергеевна", "Сапоги женские", "Замена набоек",
                                 "1 100,50", "Тысяча руб. 00 коп.", "Кузнецова О.Н.", "ИНН 6901234567"})
        EXPECT_TRUE(text.simplified().replace(QChar(160), QLatin1Char(' ')).contains(QString::fromUtf8(expected)))
            << expected << "\n" << text.toStdString();
}

TEST_F(GoldenTest, CsvAndRtfOfASmallReport) {
    report(QStringLiteral("Rep_UslugaKind"), {"USLUGA_ID", "USLUGA_NAME", "USLUGA_NUMPR", "KOLVO", "SUMMA"},
           {{V(1), V("Набойки; \"профилактика\""), V("12"), V(4), V(dec("1400"))},
            {V(3), V("Чистка"), V("7"), V(1), V(dec("200"))}});
    const TfrPreparedReport out = rep.prepare();
    expectGolden(QStringLiteral("Rep_UslugaKind.csv"), frCsv(out, QLatin1Char(';')));
    expectGolden(QStringLiteral("Rep_UslugaKind_tab.csv"), frCsv(out, QLatin1Char('\t')));
    expectGolden(QStringLiteral("Rep_UslugaKind.rtf"), frRtf(out));
}

}  // namespace
