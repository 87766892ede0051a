#include "reports/ui/PrintWorkflow.h"

#include "data/ClientDataSet.h"
#include "reports/engine/QueryReport.h"
#include "reports/engine/ReportShared.h"
#include "reports/ui/Preview.h"
#include "ui/MessageBoxes.h"

bool PrintReport(const TfrPrintJob& job, QWidget* parent) {
    frCreateReportObjects();
    std::optional<QString> refusal;
    {
        TfrReport& rep = frReport();
        const TfrPrintRelease release{rep};
        refusal = frLoadPrintJob(rep, job);
        if (!refusal) return ShowReport(rep, parent);
    }
    // Told once nothing is bound any more.
    TitledMessageBox(*refusal, mbStopOk);
    return false;
}

TfrPrintJob QueryReportJob(const QString& formPath, const TClientDataSet& query,
                           const QList<QPair<QString, QString>>& vars) {
    TfrPrintJob job;
    job.formPath = formPath;
    job.bind = [&query, vars](TfrReport& rep) { BindQueryDataSet(rep, frdsReport(), query, vars); };
    job.refuseBrokenForm = false;
    return job;
}
