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
