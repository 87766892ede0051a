// CSV exchange of the reference books on real databases: the file format, the
// refusals of bad files (nothing stored), the tree books' two files with their
// generators, and the export that leaves an old file whole when it fails.
#include "BooksFixture.h"

#include "books/core/CsvExchange.h"
#include "books/ui/ExchangeWindows.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>

// Readable failures for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << QString::fromUtf8(b.toPercentEncoding(" ;,")).toStdString() << '"'; }

using namespace bookstest;
using namespace books::csv;

namespace {

QByteArray cp1251(const QString& s) { return fb::encodeWin1251(s); }

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// The import dialog answered with a file and a separator.
auto fillImport(const QString& file, const QString& sep = QStringLiteral(";")) {
    return [file, sep](QDialog* d) {
        d->findChild<QLineEdit*>(QStringLiteral("edFilename"))->setText(file);
        d->findChild<QLineEdit*>(QStringLiteral("edSeparator"))->setText(sep);
        d->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    };
}

auto fillExport(const QString& file, const QString& sep = QStringLiteral(";")) { return fillImport(file, sep); }

auto fillTree(const QString& groups, const QString& records) {
    return [groups, records](QDialog* d) {
        d->findChild<QLineEdit*>(QStringLiteral("edFilenameGroups"))->setText(groups);
        d->findChild<QLineEdit*>(QStringLiteral("edFilenameRecords"))->setText(records);
        d->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    };
}

}  // namespace

class CsvTest : public BooksTest {
protected:
    void SetUp() override {
        BooksTest::SetUp();
        exec(QStringLiteral("DELETE FROM ZAKAZCH"));
        exec(QStringLiteral("DELETE FROM COLOR"));
    }
    QString file(const char* name) const { return QFileInfo(path).dir().filePath(QString::fromUtf8(name)); }
};

// Every column type of the customers: integer, Cyrillic text, NULL text, a date.
TEST_F(CsvTest, CustomersExportExactBytesAndReadBackWholeAfterClearing) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, ADRES, PHONE, DTR) VALUES (1, 'Ёлкин Пётр', NULL, '+7 (495) 1', '1980-03-07')"));
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, ADRES, PHONE, DTR) VALUES (2, 'Щукина', 'ул. Мира, 5', NULL, NULL)"));
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookZakazch"));
    const QString out = file("СПР_ЗАКАЗЧИКОВ.csv");
    {
        ModalScript script;
        script.onDialog(QStringLiteral("frmExport"), fillExport(out)).answerOk();
        action(b, "acExport")->trigger();
        EXPECT_EQ(script.messageTexts(),
                  QStringList{QStringLiteral("Экспорт содержимого справочника закончен.\rСохранено строк: 2")});
    }
    const QByteArray expected =
        cp1251(QStringLiteral("1;Ёлкин Пётр;;+7 (495) 1;07.03.1980\r\n2;Щукина;ул. Мира, 5;;\r\n"));
    EXPECT_EQ(readAll(out), expected);

    exec(QStringLiteral("DELETE FROM ZAKAZCH"));
    {
        ModalScript script;
        script.onDialog(QStringLiteral("frmImport"), fillImport(out)).answerOk();
        action(b, "acImport")->trigger();
        EXPECT_EQ(script.messageTexts(),
                  QStringList{QStringLiteral("Импорт в справочник закончен.\rДобавлено строк: 2")});
        EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(',').toStdString();
    }
    EXPECT_EQ(status(b), QStringLiteral("Записей в справочнике: 2"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT DTR FROM ZAKAZCH WHERE ID=1")).toDate(), QDate(1980, 3, 7));
    EXPECT_TRUE(scalar(QStringLiteral("SELECT DTR FROM ZAKAZCH WHERE ID=2")).isNull());
    EXPECT_EQ(scalar(QStringLiteral("SELECT ADRES FROM ZAKAZCH WHERE ID=2")).toString(), QStringLiteral("ул. Мира, 5"));
    // A second export of what was read gives the same bytes.
    QFile::remove(out);
    {
        ModalScript script;
        script.onDialog(QStringLiteral("frmExport"), fillExport(out)).answerOk();
        action(b, "acExport")->trigger();
    }
    EXPECT_EQ(readAll(out), expected);
}

TEST_F(CsvTest, ValueHoldingTheSeparatorAsksAndNoLeavesTheOldFile) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, ADRES) VALUES (1, 'А', 'Мира; 5')"));
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookZakazch"));
    const QString out = file("z.csv");
    writeAll(out, "old");
    {
        ModalScript script;
        script.onDialog(QStringLiteral("frmExport"), fillExport(out)).answerYes().answerNo();
        action(b, "acExport")->trigger();
        ASSERT_EQ(script.messageTexts().size(), 2);
        EXPECT_EQ(script.messageTexts().at(1),
                  QStringLiteral("В строке с порядковым номером 1, в поле \"Мира; 5\"содержится симол, совпадающий с "
                                 "выбранным символом-разделителем.\rЭто может привести впоследствии к ошибкам при "
                                 "импорте.\rПродолжить экспорт?"));
    }
    EXPECT_EQ(readAll(out), QByteArray("old"));
    {
        ModalScript script;  // another separator: no question, the value as it is
        script.onDialog(QStringLiteral("frmExport"), fillExport(out, QStringLiteral("|"))).answerYes().answerOk();
        action(b, "acExport")->trigger();
    }
    EXPECT_EQ(readAll(out), cp1251(QStringLiteral("1|А|Мира; 5||\r\n")));
}

TEST_F(CsvTest, ExportThatCannotWriteReportsFileAndReasonAndKeepsOldFile) {
    exec(QStringLiteral("INSERT INTO COLOR (ID, NAME) VALUES (1, 'Чёрный')"));
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookColor"));
    // The folder of the file is a file: nothing can be written there.
    const QString blocker = file("blocker");
    writeAll(blocker, "x");
    const QString out = blocker + QStringLiteral("/c.csv");
    ModalScript script;
    script.onDialog(QStringLiteral("frmExport"), fillExport(out)).answerOk();
    action(b, "acExport")->trigger();
    ASSERT_EQ(script.messageTexts().size(), 1);
    EXPECT_TRUE(script.messageTexts().at(0).startsWith(QStringLiteral("Не удалось записать файл ") + out))
        << script.messageTexts().at(0).toStdString();
    EXPECT_EQ(readAll(blocker), QByteArray("x"));

    // WriteFileAtomically on an existing file: replaced whole.
    const QString f = file("w.csv");
    writeAll(f, "old contents");
    WriteFileAtomically(f, "new\r\n");
    EXPECT_EQ(readAll(f), QByteArray("new\r\n"));
}

struct LineCase {
    const char* name;
    QByteArray bytes;
    QStringList lines;
};

TEST(CsvLines, LineBreaksOfAnyKind) {
    const LineCase cases[] = {
        {"crlf", "1;a\r\n2;b\r\n", {"1;a", "2;b"}},
        {"no final break", "1;a\r\n2;b", {"1;a", "2;b"}},
        {"lf only", "1;a\n2;b\n", {"1;a", "2;b"}},
        {"cr only", "1;a\r2;b\r", {"1;a", "2;b"}},
        {"empty line kept", "1;a\r\n\r\n2;b\r\n", {"1;a", "", "2;b"}},
        {"cyrillic", cp1251(QStringLiteral("1;Жёлтый\r\n")), {QStringLiteral("1;Жёлтый")}},
        {"empty file", "", {}},
    };
    for (const LineCase& c : cases) EXPECT_EQ(DecodeLines(c.bytes, QStringLiteral("f.csv")), c.lines) << c.name;
    EXPECT_EQ(SplitValues(QStringLiteral("a;;b;"), QStringLiteral(";")),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b"), QString()}));
    EXPECT_THROW(SplitValues(QStringLiteral("a"), QString()), ECsvError);
}

struct BadFile {
    const char* name;
    QByteArray bytes;
    QString message;  // the start of the message shown
};

// Each bad file stops the import with a message naming the line and the
// column, and leaves the book as it was.
TEST_F(CsvTest, BadCustomerFilesAreRefusedAndNothingIsStored) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME) VALUES (5, 'Был')"));
    const QString f = file("bad.csv");
    const QString good = QStringLiteral("1;Иванов;;;01.02.1990\r\n");
    const BadFile cases[] = {
        {"date", cp1251(good + QStringLiteral("2;Петров;;;31.02.1990\r\n")),
         QStringLiteral("Файл bad.csv, строка 2, поле DTR: ")},
        {"integer", cp1251(good + QStringLiteral("x2;Петров;;;\r\n")), QStringLiteral("Файл bad.csv, строка 2, поле ID: ")},
        {"too long", cp1251(good + QStringLiteral("2;") + QString(61, QChar(u'Я')) + QStringLiteral(";;;\r\n")),
         QStringLiteral("Файл bad.csv, строка 2, поле NAME: ")},
        {"no id", cp1251(good + QStringLiteral(";Петров;;;\r\n")), QStringLiteral("Файл bad.csv, строка 2, поле ID: ")},
        {"too few", cp1251(good + QStringLiteral("2;Петров\r\n")),
         QStringLiteral("Файл bad.csv, строка 2, поле ADRES: значений в строке 2, а выбрано полей 5.")},
        {"too many", cp1251(good + QStringLiteral("2;Петров;;;;\r\n")),
         QStringLiteral("Файл bad.csv, строка 2: значений в строке 6, а выбрано полей 5.")},
        {"utf-8", (good + QStringLiteral("2;Петров;;;\r\n")).toUtf8(), QStringLiteral("Файл bad.csv записан не в кодировке")},
        {"binary", QByteArray("1;a\r\n2;\x01\x00\x02", 9), QStringLiteral("Файл bad.csv, строка 2: файл не является")},
    };
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookZakazch"));
    for (const BadFile& c : cases) {
        writeAll(f, c.bytes);
        ModalScript script;
        script.answerYes().onDialog(QStringLiteral("frmImport"), fillImport(f)).answerOk();
        action(b, "acImport")->trigger();
        ASSERT_EQ(script.messageTexts().size(), 2) << c.name;
        EXPECT_TRUE(script.messageTexts().at(1).startsWith(c.message))
            << c.name << ": " << script.messageTexts().at(1).toStdString();
        EXPECT_EQ(count(QStringLiteral("ZAKAZCH")), 1) << c.name;
    }
    // A key that already exists (line 2 of 3): the database refuses, nothing is added.
    writeAll(f, cp1251(good + QStringLiteral("5;Дубль;;;\r\n3;Сидоров;;;\r\n")));
    ModalScript script;
    script.answerYes().onDialog(QStringLiteral("frmImport"), fillImport(f)).acceptDialog(QStringLiteral("frmErrorDB"));
    script.answerOk();
    action(b, "acImport")->trigger();
    EXPECT_EQ(script.messageTexts().last(), QStringLiteral("При импорте произошли ошибки.\rДобавление строк отменено."));
    EXPECT_EQ(count(QStringLiteral("ZAKAZCH")), 1);
    EXPECT_EQ(status(b), QStringLiteral("Записей в справочнике: 1"));
}

TEST_F(CsvTest, ImportDialogRefusesEmptyNameMissingFileAndEmptySeparator) {
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookColor"));
    const QString f = file("c.csv");
    writeAll(f, "1;a\r\n");
    ModalScript script;
    script.onDialog(QStringLiteral("frmImport"), [&](QDialog* d) {
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("edFilename"));
        auto* sep = d->findChild<QLineEdit*>(QStringLiteral("edSeparator"));
        auto* ok = d->findChild<QPushButton*>(QStringLiteral("btnOk"));
        EXPECT_EQ(d->findChild<QPlainTextEdit*>(QStringLiteral("MemoSF"))->toPlainText(), QStringLiteral("ID; NAME; "));
        name->setText(QStringLiteral("  "));
        ok->click();
        name->setText(f + QStringLiteral(".none"));
        ok->click();
        name->setText(f);
        sep->clear();
        ok->click();
        EXPECT_TRUE(d->isVisible());
        sep->setText(QStringLiteral(";"));
        d->reject();
    });
    script.answerOk().answerOk().answerOk();
    action(b, "acImport")->trigger();
    EXPECT_EQ(script.messageTexts(),
              (QStringList{QStringLiteral("Введите имя файла для импорта"),
                           QStringLiteral("Файл ") + f + QStringLiteral(".none не найден."),
                           QStringLiteral("Введите символ-разделитель")}));
    EXPECT_EQ(count(QStringLiteral("COLOR WHERE NAME='a'")), 0);
}

// Goods: groups and records as two files, decimals with the locale's comma,
// generators moved past the imported keys.
TEST_F(CsvTest, GoodsTwoFilesRoundTripAndGeneratorsMovePastImportedKeys) {
    exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (57, 0, 'Клеи', 1)"));
    exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (900, 57, 'Клей; момент', 12.5)"));
    auto* b = open<TfrmBookTT>(QStringLiteral("frmBookTovar"));
    const QString g = file("g.csv"), r = file("r.csv");
    {
        ModalScript script;
        script.onDialog(QStringLiteral("frmEximTT"), fillTree(g, r)).answerYes().answerOk();
        action(b, "acExport")->trigger();
        EXPECT_EQ(script.messageTexts().last(),
                  QStringLiteral("Экспорт содержимого справочника закончен.\rСохранено групп: 1\rСохранено записей: 1"));
    }
    EXPECT_EQ(readAll(g), cp1251(QStringLiteral("57;0;Клеи;1\r\n")));
    EXPECT_EQ(readAll(r), cp1251(QStringLiteral("900;57;;;Клей; момент;;12,5;\r\n")));

    exec(QStringLiteral("DELETE FROM TOVAR"));
    exec(QStringLiteral("DELETE FROM TOVARGR WHERE ID<>0"));
    // The name's separator shifts later values; the records file is rewritten without it.
    writeAll(r, cp1251(QStringLiteral("900;57;;;Клей момент;;12,5;\n901;57;;;Скотч;;;\n")));
    {
        ModalScript script;
        script.onDialog(QStringLiteral("frmEximTT"), fillTree(g, r)).answerOk();
        action(b, "acImport")->trigger();
        EXPECT_EQ(script.messageTexts(),
                  QStringList{QStringLiteral("Импорт в справочник закончен.\rДобавлено групп: 1\rДобавлено записей: 2")});
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT CENA FROM TOVAR WHERE ID=900")).toDecimal().toString(), QStringLiteral("12.50"));
    EXPECT_TRUE(scalar(QStringLiteral("SELECT CENA FROM TOVAR WHERE ID=901")).isNull());
    // The next keys lie above the imported ones.
    EXPECT_GT(scalar(QStringLiteral("SELECT ID FROM GET_TOVARGR_ID")).toInt(), 57);
    EXPECT_GT(scalar(QStringLiteral("SELECT ID FROM GET_TOVAR_ID")).toInt(), 901);
}

TEST_F(CsvTest, TreeImportWithARecordOfAMissingGroupStoresNothing) {
    auto* b = open<TfrmBookTT>(QStringLiteral("frmBookTovar"));
    const QString g = file("g.csv"), r = file("r.csv");
    writeAll(g, cp1251(QStringLiteral("10;0;Группа;1\r\n")));
    writeAll(r, cp1251(QStringLiteral("1;10;;;Хороший;;;\r\n2;99;;;Сирота;;;\r\n")));
    // The error is shown once the progress window is gone, and no wait cursor stays behind.
    const auto progressShown = [] {
        for (QWidget* w : QApplication::allWidgets())
            if (w->objectName() == QLatin1String("frmProgress") && w->isVisible()) return true;
        return false;
    };
    bool progressAtError = true;
    ModalScript script;
    script.onDialog(QStringLiteral("frmEximTT"), fillTree(g, r))
        .onDialog(QStringLiteral("frmErrorDB"), [&](QDialog* d) {
            progressAtError = progressShown();
            d->accept();
        })
        .answerOk();
    action(b, "acImport")->trigger();
    EXPECT_FALSE(progressAtError);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(script.messageTexts().last(), QStringLiteral("При импорте произошли ошибки.\rДобавление отменено."));
    EXPECT_EQ(count(QStringLiteral("TOVAR")), 0);
    EXPECT_EQ(count(QStringLiteral("TOVARGR WHERE ID<>0")), 0);
}

TEST_F(CsvTest, GeneratorTakesTheLargerOfDrawnAndImported) {
    exec(QStringLiteral("SET GENERATOR GEN_TOVARGR_ID TO 11"));
    EXPECT_EQ(MoveGeneratorPast(DM().connection(), QStringLiteral("GET_TOVARGR_ID"), QStringLiteral("GEN_TOVARGR_ID"), 57), 57);
    exec(QStringLiteral("SET GENERATOR GEN_TOVARGR_ID TO 79"));
    EXPECT_EQ(MoveGeneratorPast(DM().connection(), QStringLiteral("GET_TOVARGR_ID"), QStringLiteral("GEN_TOVARGR_ID"), 57), 80);
    EXPECT_EQ(GeneratorStatement(QStringLiteral("GEN_X"), 57), QStringLiteral("SET GENERATOR GEN_X TO 57;"));
}

namespace {

struct RoundTrip {
    const char* window;
    QStringList tables;  // the book's tables, groups first
    QStringList setup;   // rows added before the export
    bool tree;
};

}  // namespace

// Every book: export, clear, import, and every column of every row is back.
TEST_F(CsvTest, EveryBookReadsBackWhatItExported) {
    const RoundTrip books[] = {
        {"frmBookColor", {"COLOR"}, {"INSERT INTO COLOR (ID, NAME) VALUES (1, 'Чёрный')"}, false},
        {"frmBookMaterial", {"MATERIAL"}, {}, false},
        {"frmBookComment", {"COMMENT"}, {}, false},
        {"frmBookZakazch", {"ZAKAZCH"},
         {"INSERT INTO ZAKAZCH (ID, NAME, ADRES, DTR) VALUES (7, 'Ёжиков', 'Тверская, 1', '2001-12-31')"}, false},
        {"frmBookOperator", {"PRIEMSCHIK"}, {}, false},
        {"frmBookTovar", {"TOVARGR", "TOVAR"},
         {"INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (500, 0, 'Верх', 1)",
          "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (501, 500, 'Низ', 2)",
          "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA, CENA_PROD) VALUES (700, 501, 'A-1', 'Щётка', 'шт', 1234.56, 0.05)"},
         true},
        {"frmBookUsluga", {"USLUGAGR", "USLUGA"},
         {"INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI) VALUES (500, 0, 'Ремонт', 1)",
          "INSERT INTO USLUGA (ID, GR_ID, NAME, NUMPR, SUMMA) VALUES (700, 500, 'Набойки', 3, 150.5)"},
         true},
        {"frmBookProduct", {"PRODUCTGR", "PRODUCT"},
         {"INSERT INTO PRODUCTGR (ID, PARENT_ID, NAME, LEVELI) VALUES (500, 0, 'Обувь', 1)",
          "INSERT INTO PRODUCT (ID, GR_ID, NAME) VALUES (700, 500, 'Сапоги')"},
         true},
    };
    const auto snapshot = [this](const QString& table) {
        QStringList rows;
        fb::Transaction tra(DM().connection());
        fb::Statement s(tra, QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table));
        s.execute();
        while (s.fetch()) {
            QStringList v;
            // An empty value reads back as empty text in a text column and NULL
            // in a number or date column; a number or date never reads as empty text.
            for (int i = 0; i < s.columnCount(); ++i) v << (s.value(i).isNull() ? QString() : s.value(i).toString());
            rows << v.join(u'|');
        }
        return rows;
    };
    exec(QStringLiteral("DELETE FROM USLTOV"));
    for (const RoundTrip& c : books) {
        for (const QString& sql : c.setup) exec(sql);
        QList<QStringList> before;
        for (const QString& t : c.tables) before << snapshot(t);
        const QString window = QString::fromLatin1(c.window);
        const QString f1 = file("one.csv"), f2 = file("two.csv");
        QFile::remove(f1);
        QFile::remove(f2);
        auto* b = open<TBookBase>(window);
        {
            ModalScript script;
            if (c.tree) script.onDialog(QStringLiteral("frmEximTT"), fillTree(f1, f2)).answerOk();
            else script.onDialog(QStringLiteral("frmExport"), fillExport(f1)).answerOk();
            action(b, "acExport")->trigger();
            ASSERT_EQ(script.messageTexts().size(), 1) << c.window;
            EXPECT_TRUE(script.messageTexts().at(0).startsWith(QStringLiteral("Экспорт содержимого справочника закончен.")))
                << c.window;
        }
        for (int i = int(c.tables.size()) - 1; i >= 0; --i)
            exec(c.tree && i == 0 ? QStringLiteral("DELETE FROM %1 WHERE ID<>0 ORDER BY LEVELI DESC").arg(c.tables[i])
                                  : QStringLiteral("DELETE FROM %1").arg(c.tables[i]));
        {
            ModalScript script;
            if (c.tree) script.onDialog(QStringLiteral("frmEximTT"), fillTree(f1, f2)).answerOk();
            else script.onDialog(QStringLiteral("frmImport"), fillImport(f1)).answerOk();
            action(b, "acImport")->trigger();
            ASSERT_EQ(script.messageTexts().size(), 1) << c.window;
            EXPECT_TRUE(script.messageTexts().at(0).startsWith(QStringLiteral("Импорт в справочник закончен.")))
                << c.window << ": " << script.messageTexts().at(0).toStdString();
        }
        for (int i = 0; i < c.tables.size(); ++i)
            EXPECT_EQ(snapshot(c.tables[i]), before[i]) << c.window << " " << c.tables[i].toStdString();
        b->reject();
    }
}

// The column chooser edits the selection; the file then holds those columns in that order.
TEST_F(CsvTest, ChosenColumnsInChosenOrder) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, PHONE) VALUES (3, 'Кот', '22-33')"));
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookZakazch"));
    const QString out = file("sel.csv");
    ModalScript script;
    script.onDialog(QStringLiteral("frmExport"), [&](QDialog* d) {
        d->findChild<QLineEdit*>(QStringLiteral("edFilename"))->setText(out);
        // Cancel leaves the selection as it was.
        script.onDialog(QStringLiteral("frmSelFields"), [](QDialog* s) {
            s->findChild<QToolButton*>(QStringLiteral("sbLL"))->click();
            s->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
        });
        d->findChild<QPushButton*>(QStringLiteral("btnSelFields"))->click();
        EXPECT_EQ(d->findChild<QPlainTextEdit*>(QStringLiteral("MemoSF"))->toPlainText(),
                  QStringLiteral("ID; NAME; ADRES; PHONE; DTR; "));
        // Everything back, then PHONE and NAME chosen, PHONE moved above NAME.
        script.onDialog(QStringLiteral("frmSelFields"), [](QDialog* s) {
            auto* av = s->findChild<QListWidget*>(QStringLiteral("lbAv"));
            auto* sel = s->findChild<QListWidget*>(QStringLiteral("lbSel"));
            const auto press = [s](const char* n) { s->findChild<QToolButton*>(QString::fromLatin1(n))->click(); };
            press("sbLL");
            EXPECT_EQ(sel->count(), 0);
            av->setCurrentRow(1);  // NAME
            press("sbRight");
            av->setCurrentRow(2);  // PHONE (after NAME left)
            press("sbRight");
            press("sbDown");  // PHONE is last: nothing
            sel->setCurrentRow(1);
            press("sbUp");
            s->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        });
        d->findChild<QPushButton*>(QStringLiteral("btnSelFields"))->click();
        EXPECT_EQ(d->findChild<QPlainTextEdit*>(QStringLiteral("MemoSF"))->toPlainText(), QStringLiteral("PHONE; NAME; "));
        d->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    });
    script.answerOk();
    action(b, "acExport")->trigger();
    EXPECT_EQ(readAll(out), cp1251(QStringLiteral("22-33;Кот\r\n")));
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(',').toStdString();
}
