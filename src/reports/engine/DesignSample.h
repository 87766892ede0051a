#pragma once
// A template filled with sample data for the designer's preview: every
// variable shows its own name, every report dataset the template names gets
// a few rows whose fields show their names (numbers where the form sums or
// formats them as numbers), so a form is seen laid out without the program's data.
#include "reports/engine/ReportEngine.h"

#include <memory>
#include <vector>

struct TfrSampleReport {
    TfrReport report;
    std::vector<std::unique_ptr<TfrDBDataSet>> dataSets;
};

// The report over `t` with sample data, ready for prepare(); `fileName` for messages.
std::unique_ptr<TfrSampleReport> frSampleReport(const TfrTemplate& t, const QString& fileName, int rows = 3);

// What an object shows on the designer's page: a memo its text with the
// expressions unexpanded, a bar code its data when they are written out, else
// a sample of its type.
QString frDesignShownValue(const TfrObject& o);
