#pragma once
// The report object and the three report datasets that every print of the
// program shares. The main window creates them once (frCreateReportObjects) at
// start-up; they live until the program ends.
#include "reports/engine/ReportEngine.h"

void frCreateReportObjects();
bool frReportObjectsCreated();
TfrReport& frReport();
TfrDBDataSet& frdsReport();
TfrDBDataSet& frdsReportP();
TfrDBDataSet& frdsReportU();

// Reads `templatePath` again when the shared report holds that file (a form
// just saved in the designer), so the next print uses the new form; a file
// that cannot be read now is left for the next print to report.
void frReloadSharedReport(const QString& templatePath);
