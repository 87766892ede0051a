// The CSV export and import sessions of the books core on real databases,
// without a window: a whole round trip of a flat and of tree books, and
// refused imports that store nothing and leave the generators alone.
#include "TestDatabase.h"

#include "books/core/BookRules.h"
#include "books/core/CsvSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

// Readable failures for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

using namespace books::csv;

namespace {

QByteArray cp1251(const char* s) { return fb::encodeWin1251(QString::fromUtf8(s)); }

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// The progress as a window sees it: each pass's start, the store, the end.
struct SeenProgress {
    QStringList seen;
    CsvProgress callbacks() {
        return {[this](int count) { seen << QStringLiteral("start %1").arg(count); }, {},
                [this] { seen << QStringLiteral("storing"); }, [this] { seen << QStringLiteral("done"); }};
    }
};

// A book as the windows open it: a flat book by its window's query, a tree book by its configuration.
const books::TreeBookConfig* treeBook(const char* window) { return books::TreeBookByWindow(QString::fromLatin1(window)); }

template <class Session>
std::unique_ptr<Session> sessionOf(fb::Attachment& att, const char* window) {
    if (const auto* tree = treeBook(window)) return std::make_unique<Session>(att, *tree);
    return std::make_unique<Session>(att, books::SimpleBookByWindow(QString::fromLatin1(window))->sql);
}

}  // namespace

class CsvSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        att = std::make_unique<fb::Attachment>(testdb::freshCopy(m_dir));
        for (const char* sql : {"DELETE FROM USLTOV", "DELETE FROM ZAKAZCH"}) exec(sql);
    }
    void exec(const QString& sql) { testdb::exec(*att, sql); }
    void exec(const char* sql) { exec(QString::fromUtf8(sql)); }
    fb::Value scalar(const QString& sql) { return testdb::scalar(*att, sql); }
    QString file(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    // Every row of a table, every column, by ID. A file cannot tell NULL text
    // from empty text: both read back as empty text, a number or date as NULL.
    QStringList snapshot(const QString& table) {
        QStringList rows;
        fb::Transaction tra(*att);
        fb::Statement s(tra, QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table));
        s.execute();
        while (s.fetch()) {
            QStringList v;
            for (int i = 0; i < s.columnCount(); ++i) v << (s.value(i).isNull() ? QString() : s.value(i).toString());
            rows << v.join(u'|');
        }
        return rows;
    }
    qint64 generator(const QString& name) {
        return scalar(QStringLiteral("SELECT GEN_ID(%1, 0) FROM RDB$DATABASE").arg(name)).toInt();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<fb::Attachment> att;
};

namespace {

struct RoundTrip {
    const char* window;
    QStringList tables;  // groups first
    QStringList setup;
    QString separator;
    QString exported;  // the export's message
    QString imported;  // the import's message
};

}  // namespace

// Export, clear the book, import the same files: every column of every row is
// back and the next keys lie above the imported ones.
TEST_F(CsvSessionTest, ExportThenImportGivesEveryRowBack) {
    const RoundTrip cases[] = {
        {"frmBookZakazch",
         {"ZAKAZCH"},
         {"INSERT INTO ZAKAZCH (ID, NAME, ADRES, PHONE, DTR) VALUES (1, 'Ёлкин Пётр', NULL, '+7 (495) 1', '1980-03-07')",
          "INSERT INTO ZAKAZCH (ID, NAME, ADRES, PHONE, DTR) VALUES (2, 'Щукина', 'ул. Мира, 5', NULL, NULL)"},
         ";",
         "Экспорт содержимого справочника закончен.\rСохранено строк: 2",
         "Импорт в справочник закончен.\rДобавлено строк: 2"},
        {"frmBookTovar",
         {"TOVARGR", "TOVAR"},
         {"INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (500, 0, 'Верх', 1)",
          "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (501, 500, 'Низ', 2)",
          "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA, CENA_PROD) VALUES (700, 501, 'A-1', 'Клей; момент', 'шт', 1234.56, 0.05)",
          "INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (701, 500, 'Скотч')"},
         "|",
         "Экспорт содержимого справочника закончен.\rСохранено групп: 2\rСохранено записей: 2",
         "Импорт в справочник закончен.\rДобавлено групп: 2\rДобавлено записей: 2"},
        {"frmBookUsluga",
         {"USLUGAGR", "USLUGA"},
         {"INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI) VALUES (500, 0, 'Ремонт', 1)",
          "INSERT INTO USLUGA (ID, GR_ID, NAME, NUMPR, SUMMA) VALUES (700, 500, 'Набойки', 3, 150.5)"},
         ";",
         "Экспорт содержимого справочника закончен.\rСохранено групп: 1\rСохранено записей: 1",
         "Импорт в справочник закончен.\rДобавлено групп: 1\rДобавлено записей: 1"},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.window);
        for (const QString& sql : c.setup) exec(sql);
        QList<QStringList> before;
        for (const QString& t : c.tables) before << snapshot(t);
        const QStringList paths{file("one.csv"), file("two.csv")};
        for (const QString& p : paths) QFile::remove(p);
        {
            auto session = sessionOf<CsvExportSession>(*att, c.window);
            session->separator = c.separator;
            for (size_t i = 0; i < session->files().size(); ++i) session->files()[i].path = paths[int(i)];
            int asked = 0;
            const CsvOutcome out = session->run([&](int, const QString&) { return ++asked, true; });
            EXPECT_EQ(asked, 0);
            EXPECT_EQ(out.kind, CsvOutcome::Done);
            EXPECT_EQ(out.message, c.exported);
        }
        for (int i = int(c.tables.size()) - 1; i >= 0; --i)
            exec(c.tables.size() == 2 && i == 0 ? QStringLiteral("DELETE FROM %1 WHERE ID<>0 ORDER BY LEVELI DESC").arg(c.tables[i])
                                                : QStringLiteral("DELETE FROM %1").arg(c.tables[i]));
        auto session = sessionOf<CsvImportSession>(*att, c.window);
        EXPECT_FALSE(session->bookHoldsRows());
        session->separator = c.separator;
        for (size_t i = 0; i < session->files().size(); ++i) session->files()[i].path = paths[int(i)];
        SeenProgress progress;
        const CsvOutcome out = session->run(progress.callbacks());
        EXPECT_EQ(out.kind, CsvOutcome::Done);
        EXPECT_EQ(out.message, c.imported);
        EXPECT_EQ(progress.seen.last(), QStringLiteral("done"));
        for (int i = 0; i < c.tables.size(); ++i) EXPECT_EQ(snapshot(c.tables[i]), before[i]) << c.tables[i].toStdString();
        for (size_t i = 0; i < session->files().size(); ++i) {
            const CsvFile& f = session->files()[i];
            if (f.generator.isEmpty()) continue;
            const QString table = c.tables[int(i)];
            EXPECT_GT(scalar(QStringLiteral("SELECT ID FROM %1").arg(f.idProc)).toInt(),
                      scalar(QStringLiteral("SELECT MAX(ID) FROM %1").arg(table)).toInt())
                << table.toStdString();
        }
    }
}

namespace {

struct RefusedImport {
    const char* name;
    const char* window;
    std::optional<QByteArray> groups;  // a tree book's groups file
    std::optional<QByteArray> records;  // nullopt: no such file
    CsvOutcome::Kind kind;
    QString message;  // the start of the message shown
    QStringList progress;
};

}  // namespace

// A refused import stores nothing, keeps no appended rows, leaves the
// generators where they were and has closed its progress when it returns.
TEST_F(CsvSessionTest, RefusedImportStoresNothingAndLeavesTheGenerators) {
    exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (57, 0, 'Клеи', 1)");
    exec("INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (5, 57, 'Был')");
    exec("INSERT INTO ZAKAZCH (ID, NAME) VALUES (5, 'Был')");
    exec("SET GENERATOR GEN_TOVARGR_ID TO 1000");
    exec("SET GENERATOR GEN_TOVAR_ID TO 1000");
    const QByteArray group = cp1251("10;0;Группа;1\r\n");
    const RefusedImport cases[] = {
        {"bad price", "frmBookTovar", group, cp1251("1;10;;;Клей;;12,5;\r\n2;10;;;Скотч;;дорого;\r\n"),
         CsvOutcome::Refused, "Файл r.csv, строка 2, поле CENA: ", {"start 1", "start 2", "done"}},
        {"too few values", "frmBookTovar", group, cp1251("1;10;;;Клей\r\n"), CsvOutcome::Refused,
         "Файл r.csv, строка 1, поле EDIZM: значений в строке 5, а выбрано полей 8.", {"start 1", "start 1", "done"}},
        {"bad group", "frmBookTovar", cp1251("x;0;Группа;1\r\n"), cp1251("1;10;;;Клей;;;\r\n"), CsvOutcome::Refused,
         "Файл g.csv, строка 1, поле ID: ", {"start 1", "done"}},
        {"utf-8 groups", "frmBookTovar", QString::fromUtf8("10;0;Группа;1\r\n").toUtf8(), cp1251("1;10;;;Клей;;;\r\n"),
         CsvOutcome::Refused, "Файл g.csv записан не в кодировке Windows-1251", {}},
        {"no records file", "frmBookTovar", group, std::nullopt, CsvOutcome::Refused, "Не удалось прочитать файл ", {}},
        {"record of a missing group", "frmBookTovar", group, cp1251("1;10;;;Хороший;;;\r\n2;99;;;Сирота;;;\r\n"),
         CsvOutcome::NotStored, "При импорте произошли ошибки.\rДобавление отменено.",
         {"start 1", "start 2", "storing", "done"}},
        {"goods key taken", "frmBookTovar", group, cp1251("5;10;;;Дубль;;;\r\n"), CsvOutcome::NotStored,
         "При импорте произошли ошибки.\rДобавление отменено.", {"start 1", "start 1", "storing", "done"}},
        {"customer key taken", "frmBookZakazch", std::nullopt, cp1251("1;Новый;;;\r\n5;Дубль;;;\r\n"),
         CsvOutcome::NotStored, "При импорте произошли ошибки.\rДобавление строк отменено.",
         {"start 2", "storing", "done"}},
    };
    const QStringList tables{"TOVARGR", "TOVAR", "ZAKAZCH"};
    QList<QStringList> before;
    for (const QString& t : tables) before << snapshot(t);
    for (const RefusedImport& c : cases) {
        SCOPED_TRACE(c.name);
        const QString g = file("g.csv"), r = file("r.csv");
        QFile::remove(g);
        QFile::remove(r);
        if (c.groups) writeAll(g, *c.groups);
        if (c.records) writeAll(r, *c.records);
        auto session = sessionOf<CsvImportSession>(*att, c.window);
        EXPECT_TRUE(session->bookHoldsRows());
        if (session->isTree()) session->groups().path = g;
        session->records().path = r;
        SeenProgress progress;
        const CsvOutcome out = session->run(progress.callbacks());
        EXPECT_EQ(out.kind, c.kind);
        EXPECT_TRUE(out.message.startsWith(c.message)) << out.message.toStdString();
        EXPECT_EQ(bool(out.error), c.kind == CsvOutcome::NotStored);
        EXPECT_EQ(progress.seen, c.progress);
        for (const CsvFile& f : session->files()) EXPECT_FALSE(f.rows->updatesPending());
        for (int i = 0; i < tables.size(); ++i) EXPECT_EQ(snapshot(tables[i]), before[i]) << tables[i].toStdString();
        EXPECT_EQ(generator(QStringLiteral("GEN_TOVARGR_ID")), 1000);
        EXPECT_EQ(generator(QStringLiteral("GEN_TOVAR_ID")), 1000);
    }
}
