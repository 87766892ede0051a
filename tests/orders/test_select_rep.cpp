// "Управление печатными формами" on a program folder of its own: the list with
// the files' dates, replacing a form by a file, saving a copy, and the
// refusals that leave every file as it was.
#include "ui/ModalScript.h"
#include "orders/core/PrintForms.h"
#include "orders/ui/SelectRep.h"
#include "reports/ui/Designer.h"
#include "reports/engine/ReportShared.h"
#include "reports/engine/ReportXml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// A template the engine loads; the page width tells one from another.
QByteArray templateXml(double pageWidth) {
    TfrTemplate t;
    TfrPage page;
    page.width = pageWidth;
    TfrBand band;
    band.name = QStringLiteral("ReportTitle1");
    band.type = TfrBandType::ReportTitle;
    page.bands.push_back(band);
    t.pages.push_back(page);
    return frTemplateToXml(t);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& data, const QDateTime& modified = QDateTime()) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
    f.flush();
    if (modified.isValid()) f.setFileTime(modified, QFileDevice::FileModificationTime);
}

QString shortDate(const QDate& d) { return QLocale().toString(d, QLocale::ShortFormat); }

const QDateTime kOld(QDate(2021, 3, 4), QTime(10, 0));

class SelectRepTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.filePath(QStringLiteral("prog"));
        writeFile(form(QStringLiteral("Rep_Kvit_obuv.frf")), templateXml(210), kOld);
        writeFile(form(QStringLiteral("RepKartaZak.frf")), templateXml(210), kOld);
        writeFile(m_dir.filePath(QStringLiteral("new.frf")), templateXml(148));
        w.setProgramFolder(m_folder);
    }

    QString form(const QString& name) const { return m_folder + QStringLiteral("/Reports/") + name; }
    QString outside(const QString& name) const { return m_dir.filePath(name); }

    // Selects a row of the reports tab ("Отчет - Карточка заказчика" is its third).
    void selectReport(int row) {
        w.PageControl1->setCurrentWidget(w.tshReports);
        w.lwReports->setCurrentItem(w.lwReports->topLevelItem(row));
    }
    static QString column(QTreeWidget* lw, int row, int col) { return lw->topLevelItem(row)->text(col); }

    QTemporaryDir m_dir;
    QString m_folder;
    TfrmSelectRep w;
};

TEST_F(SelectRepTest, ListsEveryFormInItsGroupWithTheDateOfItsFile) {
    // The built-in list is real Windows-1251 ("Д" is byte 0xC4) and says so.
    const QByteArray xml = PrintFormsXml();
    EXPECT_TRUE(xml.startsWith("<?xml version=\"1.0\" encoding=\"windows-1251\"?>"));
    EXPECT_TRUE(xml.contains("Caption=\"\xC4\xEE\xEA\xF3\xEC\xE5\xED\xF2 - "));

    ASSERT_EQ(w.lwDocs->topLevelItemCount(), 8);
    ASSERT_EQ(w.lwReports->topLevelItemCount(), 7);
    EXPECT_EQ(w.lwDocs->headerItem()->text(0), QStringLiteral("Печатная форма"));
    EXPECT_EQ(w.lwDocs->headerItem()->text(1), QStringLiteral("Посл.изменение"));
    struct Row { QTreeWidget* list; int row; QString caption; QString file; QString date; };
    const Row rows[] = {
        {w.lwDocs, 0, QStringLiteral("Документ - квитанция-договор (обувь)"), QStringLiteral("Reports\\Rep_Kvit_obuv.frf"),
         shortDate(kOld.date())},
        {w.lwDocs, 7, QStringLiteral("Документ - Склад - Документ реализация"), QStringLiteral("Reports\\RepDoc_Realiz.frf"),
         QString()},
        {w.lwReports, 2, QStringLiteral("Отчет - Карточка заказчика"), QStringLiteral("Reports\\RepKartaZak.frf"),
         shortDate(kOld.date())},
        {w.lwReports, 6, QStringLiteral("Отчет - Склад - Наличие"), QStringLiteral("Reports\\RepNalich.frf"), QString()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.caption.toStdString());
        EXPECT_EQ(column(r.list, r.row, 0), r.caption);
        EXPECT_EQ(column(r.list, r.row, 1), r.date);
        const tXmlDataArray& entries = r.list == w.lwDocs ? XmlDocs : XmlReports;
        EXPECT_EQ(entries[size_t(r.row)].Filename, r.file);
    }
    EXPECT_EQ(w.lwDocs->currentItem(), w.lwDocs->topLevelItem(0));
    EXPECT_EQ(w.lwReports->currentItem(), w.lwReports->topLevelItem(0));
}

TEST_F(SelectRepTest, ReplacesTheSelectedFormOnlyWhenTheAnswerIsYes) {
    const QString target = form(QStringLiteral("RepKartaZak.frf"));
    const QByteArray before = readAll(target);
    const QByteArray chosen = readAll(outside(QStringLiteral("new.frf")));
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        selectReport(2);
        ModalScript ms;
        ms.answerFile(outside(QStringLiteral("new.frf"))).answer(yes ? 6 : 7);
        if (yes) ms.answerOk();
        w.btnLoad->click();
        EXPECT_TRUE(ms.unexpected().isEmpty()) << ms.unexpected().join('|').toStdString();
        ASSERT_GE(ms.messages().size(), 1);
        EXPECT_EQ(ms.messages()[0].text, QStringLiteral("Заменить печатную форму \"Отчет - Карточка заказчика\" на новую?"));
        EXPECT_EQ(ms.messages()[0].flags, 4);
        if (!yes) {
            EXPECT_EQ(ms.messages().size(), 1);
            EXPECT_EQ(readAll(target), before);
            EXPECT_EQ(QFileInfo(target).lastModified(), kOld);
            continue;
        }
        ASSERT_EQ(ms.messages().size(), 2);
        EXPECT_EQ(ms.messages()[1].text, QStringLiteral("В печатную форму \"Отчет - Карточка заказчика\" успешно загружены "
                                                        "данные из файла ") +
                                             QDir::toNativeSeparators(outside(QStringLiteral("new.frf"))) +
                                             QStringLiteral("."));
        EXPECT_EQ(ms.messages()[1].flags, 0);
        EXPECT_EQ(readAll(target), chosen);
        EXPECT_EQ(column(w.lwReports, 2, 1), shortDate(QDate::currentDate()));
        EXPECT_EQ(w.lwReports->currentItem(), w.lwReports->topLevelItem(0));
        // The next print loads the new form.
        frCreateReportObjects();
        frReport().loadFromFile(target);
        ASSERT_EQ(frReport().templ().pages.size(), 1u);
        EXPECT_EQ(frReport().templ().pages[0].width, 148);
    }
}

TEST_F(SelectRepTest, SavesACopyAskingBeforeOverwritingAFile) {
    const QByteArray formBytes = readAll(form(QStringLiteral("Rep_Kvit_obuv.frf")));
    struct Case { const char* name; const char* typed; bool exists; int answer; bool written; };
    const Case cases[] = {
        {"new file, extension added", "copy", false, 0, true},
        {"existing, Yes", "exists.frf", true, 6, true},
        {"existing, No", "kept.frf", true, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString typed = outside(QString::fromLatin1(c.typed));
        const QString saved = WithFrfExtension(typed);
        if (c.exists) writeFile(saved, "old contents");
        ModalScript ms;
        ms.answerFile(typed);
        if (c.exists) ms.answer(c.answer);
        w.PageControl1->setCurrentWidget(w.tshDocs);
        w.btnSave->click();
        EXPECT_TRUE(ms.unexpected().isEmpty()) << ms.unexpected().join('|').toStdString();
        ASSERT_EQ(ms.fileRequests().size(), 1);
        EXPECT_EQ(ms.fileRequests()[0].filter, QStringLiteral("frf (*.frf)"));
        if (c.exists) {
            ASSERT_EQ(ms.messages().size(), 1);
            EXPECT_EQ(ms.messages()[0].caption, QStringLiteral("Предупреждение"));
            EXPECT_EQ(ms.messages()[0].text, QStringLiteral("Файл ") + QDir::toNativeSeparators(saved) +
                                                 QStringLiteral(" существует. Перезаписать?"));
        } else {
            EXPECT_TRUE(ms.messages().isEmpty());
        }
        EXPECT_EQ(readAll(saved), c.written ? formBytes : QByteArray("old contents"));
    }
    EXPECT_TRUE(QFileInfo::exists(outside(QStringLiteral("copy.frf"))));
}

// What cannot be copied is said, naming the file and the reason, and changes nothing.
TEST_F(SelectRepTest, RefusedCopiesSayWhyAndLeaveTheFilesAsTheyWere) {
    const QString obuv = form(QStringLiteral("Rep_Kvit_obuv.frf"));
    const QByteArray before = readAll(obuv);
    writeFile(outside(QStringLiteral("page.frf")), "<html><body/></html>");
    writeFile(outside(QStringLiteral("plainfile")), "x");
    QDir().mkpath(outside(QStringLiteral("dir.frf")));
    QDir().mkpath(form(QStringLiteral("Rep_Kvit_kluchi.frf")) + QStringLiteral("/inside"));

    struct Case {
        const char* name;
        bool replace;       // btnLoad, else btnSave
        int docsRow;
        QString file;       // chosen in the file dialog
        bool askOverwrite;  // the save asks about an existing target first
        QString named;      // the file the message must name
        QString says;
    };
    const Case cases[] = {
        {"another XML as a form", true, 0, outside(QStringLiteral("page.frf")), false, outside(QStringLiteral("page.frf")),
         QStringLiteral("не является печатной формой")},
        {"chosen file gone", true, 0, outside(QStringLiteral("gone.frf")), false, outside(QStringLiteral("gone.frf")),
         QStringLiteral("не удается прочитать файл")},
        {"folder in the form's place", true, 1, outside(QStringLiteral("new.frf")), false,
         form(QStringLiteral("Rep_Kvit_kluchi.frf")), QStringLiteral("не удается записать файл")},
        {"copy into a file's place as a folder", false, 0, outside(QStringLiteral("plainfile/copy.frf")), false,
         outside(QStringLiteral("plainfile/copy.frf")), QStringLiteral("не удается записать файл")},
        {"copy over a folder", false, 0, outside(QStringLiteral("dir.frf")), true, outside(QStringLiteral("dir.frf")),
         QStringLiteral("не удается записать файл")},
        {"copy of a missing form", false, 2, outside(QStringLiteral("c.frf")), false,
         form(QStringLiteral("Rep_Kvit_grav.frf")), QStringLiteral("не удается прочитать файл")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.PageControl1->setCurrentWidget(w.tshDocs);
        w.lwDocs->setCurrentItem(w.lwDocs->topLevelItem(c.docsRow));
        ModalScript ms;
        ms.answerFile(c.file);
        if (c.replace || c.askOverwrite) ms.answerYes();
        ms.answerOk();
        (c.replace ? w.btnLoad : w.btnSave)->click();
        EXPECT_TRUE(ms.unexpected().isEmpty()) << ms.unexpected().join('|').toStdString();
        ASSERT_FALSE(ms.messages().isEmpty());
        const MessageRequest& m = ms.messages().last();
        EXPECT_EQ(m.flags, 16);
        EXPECT_TRUE(m.text.contains(QStringLiteral("«") + QDir::toNativeSeparators(c.named) + QStringLiteral("»")))
            << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(c.says)) << m.text.toStdString();
        EXPECT_FALSE(m.text.contains(QStringLiteral("успешно")));
    }
    EXPECT_EQ(readAll(obuv), before);
    EXPECT_EQ(QFileInfo(obuv).lastModified(), kOld);
    EXPECT_TRUE(QFileInfo(form(QStringLiteral("Rep_Kvit_kluchi.frf")) + QStringLiteral("/inside")).isDir());
    EXPECT_TRUE(QFileInfo(outside(QStringLiteral("dir.frf"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(outside(QStringLiteral("c.frf"))));
}

// A write that breaks off halfway (the file size limit stops it, as a full
// disk would) leaves the old form whole, not a truncated one.
TEST_F(SelectRepTest, AReplacementThatBreaksOffKeepsTheOldForm) {
    const QString target = form(QStringLiteral("RepKartaZak.frf"));
    const QByteArray before = readAll(target);
    ASSERT_GT(readAll(outside(QStringLiteral("new.frf"))).size(), 64);
    selectReport(2);
    ModalScript ms;
    ms.answerFile(outside(QStringLiteral("new.frf"))).answerYes().answerOk();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    w.btnLoad->click();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(ms.messages().size(), 2);
    EXPECT_EQ(ms.messages()[1].flags, 16);
    EXPECT_TRUE(ms.messages()[1].text.contains(QDir::toNativeSeparators(target))) << ms.messages()[1].text.toStdString();
    EXPECT_EQ(readAll(target), before);
    // Nothing is left behind beside the forms.
    EXPECT_EQ(QDir(QFileInfo(target).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(column(w.lwReports, 2, 1), shortDate(kOld.date()));
}

TEST_F(SelectRepTest, OpensTheFormInTheDesignerAndListsItsNewDateAfterwards) {
    const QString obuv = form(QStringLiteral("Rep_Kvit_obuv.frf"));
    w.PageControl1->setCurrentWidget(w.tshDocs);
    w.lwDocs->setCurrentItem(w.lwDocs->topLevelItem(0));
    ModalScript ms;
    ms.onDialog(QStringLiteral("frmDesigner"), [&](QDialog* d) {
        // The shared report holds the form while the designer is open.
        EXPECT_EQ(QFileInfo(frReport().fileName()).absoluteFilePath(), QFileInfo(obuv).absoluteFilePath());
        EXPECT_TRUE(static_cast<TfrmDesigner*>(d)->acDesignSaveExecute());
        d->reject();
    });
    w.btnOpen->click();
    EXPECT_TRUE(ms.unexpected().isEmpty()) << ms.unexpected().join('|').toStdString();
    EXPECT_EQ(ms.dialogsShown(), QStringList{QStringLiteral("frmDesigner")});
    EXPECT_EQ(column(w.lwDocs, 0, 1), shortDate(QDate::currentDate()));
}

TEST_F(SelectRepTest, OpeningAMissingFormNamesItAndNoRowMeansNothing) {
    w.PageControl1->setCurrentWidget(w.tshDocs);
    w.lwDocs->setCurrentItem(w.lwDocs->topLevelItem(3));
    {
        ModalScript ms;
        ms.answerOk();
        w.btnOpen->click();
        ASSERT_EQ(ms.messages().size(), 1);
        EXPECT_EQ(ms.messages()[0].flags, 16);
        EXPECT_TRUE(ms.messages()[0].text.contains(QDir::toNativeSeparators(form(QStringLiteral("Rep_Kvituz_obuv.frf")))));
        EXPECT_TRUE(ms.dialogsShown().isEmpty());
    }
    w.lwDocs->clearSelection();
    ModalScript ms;
    for (QPushButton* b : {w.btnLoad, w.btnSave, w.btnOpen}) b->click();
    EXPECT_TRUE(ms.messages().isEmpty());
    EXPECT_TRUE(ms.fileRequests().isEmpty());
}

}  // namespace
