// A print job on the shared report without a window: the form is loaded and
// bound, a broken one refused or passed on as the job says, and the release
// leaves nothing of the caller bound; a form saved in the designer is read
// again when the shared report holds it.
#include "ReportFixture.h"

#include "reports/engine/PrintJob.h"
#include "reports/engine/ReportShared.h"

using namespace reporttest;

namespace {

const char* kForm = "<?xml version=\"1.0\"?><Report><Page><Band name=\"D\" type=\"MasterData\" dataset=\"frdsReport\" "
                    "height=\"10\"><Memo width=\"40\" height=\"10\">[Caption] [\"NAME\"]</Memo></Band></Page></Report>";

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(PrintJobTest, LoadsBindsRefusesAndReleases) {
    QTemporaryDir dir;
    write(dir.filePath(QStringLiteral("Good.frf")), kForm);
    write(dir.filePath(QStringLiteral("Broken.frf")), "<Report><Page width=\"oops\"/></Report>");
    frCreateReportObjects();
    TfrReport& rep = frReport();
    const auto source = rows({QStringLiteral("NAME")}, {{fb::Value(QStringLiteral("Набойки"))}});
    auto bindRows = [&](TfrReport&) { frdsReport().setSource(source); };
    auto bindFails = [](TfrReport&) { throw EfrBindError(QStringLiteral("В форме нет полосы изделий.")); };
    const struct {
        const char* what;
        QString form;
        std::function<void(TfrReport&)> bind;
        bool refuse;
        const char* refusal;  // nullptr: loaded
        bool throws;
    } cases[] = {
        {"a good form", QStringLiteral("Good"), bindRows, true, nullptr, false},
        {"a broken form refused", QStringLiteral("Broken"), bindRows, true, "не может быть загружена", false},
        {"a broken form passed on", QStringLiteral("Broken"), bindRows, false, nullptr, true},
        {"a missing band refused", QStringLiteral("Good"), bindFails, true, "В форме нет полосы изделий.", false},
        {"a missing band passed on", QStringLiteral("Good"), bindFails, false, nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TfrPrintJob job;
        job.formPath = dir.filePath(c.form);
        job.getValue = [](const QString& name, QVariant& v) {
            if (name == QStringLiteral("Caption")) v = QStringLiteral("Квитанция");
        };
        job.bind = c.bind;
        job.refuseBrokenForm = c.refuse;
        {
            const TfrPrintRelease release{rep};
            if (c.throws) {
                EXPECT_ANY_THROW(frLoadPrintJob(rep, job));
                continue;
            }
            const std::optional<QString> refusal = frLoadPrintJob(rep, job);
            ASSERT_EQ(refusal.has_value(), c.refusal != nullptr);
            if (refusal) {
                EXPECT_TRUE(refusal->contains(QString::fromUtf8(c.refusal))) << refusal->toStdString();
                continue;
            }
            const TfrPreparedReport printed = rep.prepare();
            ASSERT_EQ(printed.pages.size(), 1u);
            EXPECT_EQ(printed.pages[0].prims.at(0).lines.join(' '), QStringLiteral("Квитанция Набойки"));
        }
        EXPECT_FALSE(frdsReport().isBound()) << "the release unbinds the rows";
        frdsReport().setSource(source);
        EXPECT_THROW(rep.prepare(), EfrPrepareError) << "the variables' callback goes with the print";
        frdsReport().unbind();
    }
    TfrPrintJob missing;
    missing.formPath = dir.filePath(QStringLiteral("Missing"));
    EXPECT_THROW(frLoadPrintJob(rep, missing), EfrFileError);

    // a form saved in the designer is read again only when it is the one the shared report holds
    rep.loadFromFile(dir.filePath(QStringLiteral("Good.frf")));
    write(dir.filePath(QStringLiteral("Good.frf")), QByteArray(kForm).replace("height=\"10\"><Memo", "height=\"12\"><Memo"));
    frReloadSharedReport(dir.filePath(QStringLiteral("Other.frf")));
    EXPECT_DOUBLE_EQ(rep.templ().pages[0].bands[0].height, 10);
    frReloadSharedReport(dir.filePath(QStringLiteral("./Good.frf")));
    EXPECT_DOUBLE_EQ(rep.templ().pages[0].bands[0].height, 12);
    write(dir.filePath(QStringLiteral("Good.frf")), "<Report><Page width=\"oops\"/></Report>");
    EXPECT_NO_THROW(frReloadSharedReport(dir.filePath(QStringLiteral("Good.frf"))));
    EXPECT_DOUBLE_EQ(rep.templ().pages[0].bands[0].height, 12) << "a broken file is left for the next print";
}

}  // namespace
