#pragma once
// A print of a form through the shared report (frReport), without its
// window: what the window gives (the form, its variables, how its rows are
// bound), loading and binding it, and the release that, however the print
// ends, unbinds the report datasets and removes the value callback, so the
// report keeps nothing of the window's rows or values.
#include "reports/engine/ReportEngine.h"

#include <QString>
#include <functional>
#include <optional>

struct TfrPrintJob {
    QString formPath;              // the form's file without ".frf"
    TfrReport::GetValue getValue;  // the form's variables asked by name; empty: the report asks no callback
    // After the form is loaded: binds the report datasets (frdsReport, frdsReportP,
    // frdsReportU) to the window's rows, chooses the bands' datasets, sets the
    // report's own variables. EfrBindError for a form without a band it needs.
    std::function<void(TfrReport&)> bind;
    // A form that is broken or lacks a band the print binds is refused with a
    // stop box naming the file. The report dialogs pass it on instead: they
    // hand every failure of a report to the application's error handler.
    bool refuseBrokenForm = true;
};

// The end of every print: nothing of the caller stays in the shared report.
class TfrPrintRelease {
public:
    explicit TfrPrintRelease(TfrReport& rep) : m_rep(rep) {}
    ~TfrPrintRelease();
    TfrPrintRelease(const TfrPrintRelease&) = delete;
    TfrPrintRelease& operator=(const TfrPrintRelease&) = delete;

private:
    TfrReport& m_rep;
};

// Loads the job's form into `rep` and binds it. A missing file throws its
// EfrFileError on; a broken form or a missing band is the text of its refusal
// when the job refuses broken forms, else thrown on.
std::optional<QString> frLoadPrintJob(TfrReport& rep, const TfrPrintJob& job);
