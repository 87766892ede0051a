// What the exchange windows ask and say, without a window: the checks of the
// files and separator typed, the overwrite questions in order, how outcomes
// are shown, the dialog's choice put into a session, and the order in which
// a command asks and runs.
#include "TestDatabase.h"

#include "books/core/BookRules.h"
#include "books/core/CsvQuestions.h"
#include "books/core/CsvSteps.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

using namespace books::csv;

TEST(CsvQuestions, FilesAndSeparatorTypedAreCheckedInTheDialogsOrder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString there = dir.filePath(QStringLiteral("there.csv"));
    const QString also = dir.filePath(QStringLiteral("also.csv"));
    const QString missing = dir.filePath(QStringLiteral("missing.csv"));
    for (const QString& p : {there, also}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const auto overwrite = [](const QString& p) { return QStringLiteral("Файл %1 существует. Перезаписать его?").arg(p); };
    struct Case { QStringList names; QString separator; bool import; QString warning; bool separatorMissing; QStringList questions; };
    const Case cases[] = {
        {{QString()}, {}, false, QStringLiteral("Введите имя файла для экспорта"), false, {}},
        {{QString()}, QStringLiteral(";"), true, QStringLiteral("Введите имя файла для импорта"), false, {}},
        {{there, QString()}, QStringLiteral(";"), false, QStringLiteral("Введите имена файлов для экспорта"), false, {}},
        {{QString(), there}, QStringLiteral(";"), true, QStringLiteral("Введите имена файлов для импорта"), false, {}},
        {{missing}, {}, true, QStringLiteral("Введите символ-разделитель"), true, {}},
        {{there, missing}, QStringLiteral(";"), true, QStringLiteral("Файл %1 не найден.").arg(missing), false, {}},
        {{missing, there}, QStringLiteral(";"), true, QStringLiteral("Файл %1 не найден.").arg(missing), false, {}},
        {{dir.path()}, QStringLiteral(";"), true, QStringLiteral("Файл %1 не найден.").arg(dir.path()), false, {}},
        {{there, also}, QStringLiteral(";"), true, {}, false, {}},
        {{missing}, QStringLiteral(";"), false, {}, false, {}},
        {{also, missing, there}, QStringLiteral("|"), false, {}, false, {overwrite(also), overwrite(there)}},
    };
    for (const Case& c : cases) {
        const FilesCheck check = CheckFiles(c.names, c.separator, c.import);
        EXPECT_EQ(check.warning, c.warning) << c.names.join(u',').toStdString();
        EXPECT_EQ(check.separatorMissing, c.separatorMissing);
        EXPECT_EQ(check.overwriteQuestions, c.questions);
    }
}

TEST(CsvQuestions, OutcomesShownAndWhetherTheTreeBookRereads) {
    struct Case { CsvOutcome::Kind kind; OutcomeBox exported, imported; bool rereads; };
    const Case cases[] = {
        {CsvOutcome::Done, OutcomeBox::Info, OutcomeBox::Info, true},
        {CsvOutcome::Stopped, OutcomeBox::None, OutcomeBox::Info, true},
        {CsvOutcome::Refused, OutcomeBox::Stop, OutcomeBox::Stop, true},
        {CsvOutcome::NotStored, OutcomeBox::None, OutcomeBox::Info, false},
    };
    for (const Case& c : cases) {
        CsvOutcome out;
        out.kind = c.kind;
        EXPECT_EQ(ExportOutcomeBox(out), c.exported) << c.kind;
        EXPECT_EQ(ImportOutcomeBox(out), c.imported) << c.kind;
        EXPECT_EQ(TreeBookRereads(out), c.rereads) << c.kind;
    }
    EXPECT_EQ(SeparatorQuestionText(3, QStringLiteral("a;b")),
              QStringLiteral("В строке с порядковым номером 3, в поле \"a;b\"содержится симол, совпадающий с выбранным "
                             "символом-разделителем.\rЭто может привести впоследствии к ошибкам при импорте.\r"
                             "Продолжить экспорт?"));
    EXPECT_EQ(FileLabel(true, QStringLiteral("группы")), QStringLiteral("Файл-источник - группы"));
    EXPECT_EQ(FileLabel(false), QStringLiteral("Выходной файл"));
}

TEST(CsvQuestions, TheDialogsChoiceGoesToEachFileInOrder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    fb::Attachment att(testdb::freshCopy(dir));
    CsvExportSession session(att, *books::TreeBookByWindow(QStringLiteral("frmBookTovar")));
    const QList<int> all = AllColumns(*session.records().rows);
    ASSERT_GE(all.size(), 3);
    EXPECT_EQ(AvailableColumns(*session.records().rows, {all[2], all[0]}), all.mid(1, 1) + all.mid(3));
    session.choose(QStringLiteral("|"), {QStringLiteral(" g.csv "), QStringLiteral("r.csv\t")}, {{1}, {all[2], all[0]}});
    EXPECT_EQ(session.separator, QStringLiteral("|"));
    EXPECT_EQ(session.groups().path, QStringLiteral("g.csv"));
    EXPECT_EQ(session.records().path, QStringLiteral("r.csv"));
    EXPECT_EQ(session.groups().columns, QList<int>{1});
    EXPECT_EQ(session.records().columns, (QList<int>{all[2], all[0]}));
}

TEST(CsvQuestions, ACommandAsksAboutRowsThenShowsTheDialogThenRuns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    fb::Attachment att(testdb::freshCopy(dir));
    const QString sql = books::SimpleBookByWindow(QStringLiteral("frmBookColor"))->sql;
    const QString path = dir.filePath(QStringLiteral("colors.csv"));
    testdb::exec(att, QStringLiteral("DELETE FROM COLOR"));
    struct Case { bool rows, import, yes, accept; QStringList asked; bool runs; };
    const Case cases[] = {
        {true, true, false, true, {"rows"}, false},
        {true, true, true, false, {"rows", "dialog"}, false},
        {false, true, false, false, {"dialog"}, false},
        {true, false, false, false, {"dialog"}, false},
        {true, false, false, true, {"dialog"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked.join(',').toStdString() + (c.import ? " import" : " export"));
        if (c.rows) testdb::exec(att, QStringLiteral("UPDATE OR INSERT INTO COLOR (ID, NAME) VALUES (1, 'Чёрный') MATCHING (ID)"));
        else testdb::exec(att, QStringLiteral("DELETE FROM COLOR"));
        QStringList asked;
        const ExchangeSteps steps{[&] { asked << QStringLiteral("rows"); return c.yes; },
                                  [&](CsvSession& s) {
                                      asked << QStringLiteral("dialog");
                                      s.choose(QStringLiteral(";"), {path}, {s.records().columns});
                                      return c.accept;
                                  },
                                  [](int, const QString&) { return true; },
                                  {}};
        std::optional<CsvOutcome> out;
        if (c.import) {
            CsvImportSession session(att, sql);
            out = RunImport(session, steps);
        } else {
            CsvExportSession session(att, sql);
            out = RunExport(session, steps);
        }
        EXPECT_EQ(asked, c.asked);
        ASSERT_EQ(out.has_value(), c.runs);
        if (c.runs) { EXPECT_EQ(out->kind, CsvOutcome::Done) << out->message.toStdString(); }
        EXPECT_EQ(QFile::exists(path), c.runs);
    }
}
