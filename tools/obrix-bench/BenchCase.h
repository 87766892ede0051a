#pragma once
// One measured figure of obrix-bench: a name to ask for it by, what it
// measures, and the work itself, run on a fresh copy of the bench database.
// A case returns the milliseconds of the part it measures (preparation such
// as finding the period is not counted).
#include <QString>
#include <functional>
#include <vector>

namespace fb { class Attachment; }

struct BenchCase {
    QString name;
    QString what;
    std::function<qint64(fb::Attachment&)> run;
    qint64 targetMs = 1000;   // the figure it must stay under
    bool printsOwnLine = false;  // the case prints its own detailed result line
};

// The cases of each area, in the order they run.
std::vector<BenchCase> periodBenchCases();
std::vector<BenchCase> orderBenchCases();
std::vector<BenchCase> reportBenchCases();
std::vector<BenchCase> dataSetBenchCases();
std::vector<BenchCase> stockDocBenchCases();
std::vector<BenchCase> bookBenchCases();
std::vector<BenchCase> csvBenchCases();
