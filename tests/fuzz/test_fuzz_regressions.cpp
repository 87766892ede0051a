// Every input the fuzzing of the file readers kept: the inputs that once
// crashed, hung or broke a reader (regressions/<reader>/) and the seeds
// (corpus/<reader>/). Each must be refused cleanly or loaded and behave.
#include "FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cctype>
#include <gtest/gtest.h>

namespace {

struct Input {
    std::string reader;  // settings, report, csv
    std::string path;
};

// The test's listing names the file, not the bytes of the record.
void PrintTo(const Input& input, std::ostream* os) { *os << input.path; }

std::vector<Input> inputs() {
    std::vector<Input> all;
    for (const char* reader : {"settings", "report", "csv"})
        for (const char* folder : {"regressions", "corpus"}) {
            const QDir dir(QStringLiteral(OBRIX_FUZZ_DIR "/%1/%2").arg(QLatin1String(folder), QLatin1String(reader)));
            for (const QString& f : dir.entryList(QDir::Files, QDir::Name))
                all.push_back({reader, dir.filePath(f).toStdString()});
        }
    return all;
}

class KeptInput : public ::testing::TestWithParam<Input> {};

TEST_P(KeptInput, IsRefusedOrLoadedCleanly) {
    QFile f(QString::fromStdString(GetParam().path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << GetParam().path;
    const QByteArray data = f.readAll();
    const std::string& r = GetParam().reader;
    const QString problem = r == "settings" ? fuzz::CheckSettingsFile(data)
                            : r == "report" ? fuzz::CheckReportTemplate(data)
                                            : fuzz::CheckCsvFile(data);
    EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
}

std::string nameOf(const ::testing::TestParamInfo<Input>& info) {
    std::string s = info.param.reader + "_" + QFileInfo(QString::fromStdString(info.param.path)).fileName().toStdString();
    for (char& c : s)
        if (!std::isalnum(uchar(c))) c = '_';
    return s + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Fuzz, KeptInput, ::testing::ValuesIn(inputs()), nameOf);

}  // namespace

int main(int argc, char** argv) {
    fuzz::InitQt();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
