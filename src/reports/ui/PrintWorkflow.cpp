#include "reports/ui/PrintWorkflow.h"

#include "data/ClientDataSet.h"
#include "reports/engine/QueryReport.h"
#include "reports/engine/ReportShared.h"
#include "reports/ui/Preview.h"
#include "ui/MessageBoxes.h"

#include <optional>

namespace {

// The end of every print: nothing of the caller stays in the shared report.
struct TPrintRelease {
    TfrReport& rep;
    ~TPrintRelease() {
        rep.clearOnGetValue();
        frdsReport().unbind();
        frdsReportP().unbind();
        frdsReportU().unbind();
    }
};

// Loads the form and binds it; the text of a broken form's refusal, if any.
std::optional<QString> loadAndBind(TfrReport& rep, const TfrPrintJob& job) {
    try {
        rep.loadFromFile(job.formPath + QStringLiteral(".frf"));
        if (job.getValue) rep.setOnGetValue(job.getValue);
        else rep.clearOnGetValue();
        if (job.bind) job.bind(rep);
    } catch (const EfrTemplateError& e) {
        if (!job.refuseBrokenForm) throw;
        return e.message();
    } catch (const EfrBindError& e) {
        if (!job.refuseBrokenForm) throw;
        return e.message();
    }
    return std::nullopt;
}

}  // namespace

bool PrintReport(const TfrPrintJob& job, QWidget* parent) {
    frCreateReportObjects();
    std::optional<QString> refusal;
    {
        TfrReport& rep = frReport();
        const TPrintRelease release{rep};
        refusal = loadAndBind(rep, job);
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
