#include "reports/engine/PrintJob.h"

#include "reports/engine/ReportShared.h"

TfrPrintRelease::~TfrPrintRelease() {
    m_rep.clearOnGetValue();
    frdsReport().unbind();
    frdsReportP().unbind();
    frdsReportU().unbind();
}

std::optional<QString> frLoadPrintJob(TfrReport& rep, const TfrPrintJob& job) {
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
