#include "reports/engine/ReportShared.h"

#include <QFileInfo>
#include <memory>
#include <stdexcept>

namespace {

struct Shared {
    TfrReport report;
    TfrDBDataSet ds{QStringLiteral("frdsReport")};
    TfrDBDataSet dsP{QStringLiteral("frdsReportP")};
    TfrDBDataSet dsU{QStringLiteral("frdsReportU")};
};

std::unique_ptr<Shared>& shared() {
    static std::unique_ptr<Shared> s;
    return s;
}

Shared& get() {
    if (!shared()) throw std::logic_error("report objects are not created");
    return *shared();
}

}  // namespace

void frCreateReportObjects() {
    if (shared()) return;
    shared() = std::make_unique<Shared>();
    Shared& s = *shared();
    s.report.addDataSet(&s.ds);
    s.report.addDataSet(&s.dsP);
    s.report.addDataSet(&s.dsU);
}

bool frReportObjectsCreated() { return shared() != nullptr; }
TfrReport& frReport() { return get().report; }
TfrDBDataSet& frdsReport() { return get().ds; }
TfrDBDataSet& frdsReportP() { return get().dsP; }
TfrDBDataSet& frdsReportU() { return get().dsU; }

void frReloadSharedReport(const QString& templatePath) {
    if (!frReportObjectsCreated() ||
        QFileInfo(frReport().fileName()).absoluteFilePath() != QFileInfo(templatePath).absoluteFilePath())
        return;
    try {
        frReport().loadFromFile(templatePath);
    } catch (const std::exception&) {
        // the next print loads the file again and reports what is wrong
    }
}
