#pragma once
// The one way the program prints a form, whichever window asks: the form is
// loaded into the shared report (frReport), the window's rows are bound to
// the report datasets and its variables handed over, the report is laid out
// and shown in the preview. When the print ends, however it ends (the preview
// closed, a refusal, an exception), the report datasets are unbound and the
// value callback removed, so the report keeps nothing of the window's rows or
// values.
#include "reports/engine/PrintJob.h"

#include <QList>
#include <QPair>
#include <QString>

class QWidget;
class TClientDataSet;

// Runs the print; whether the preview was shown. A missing form file throws
// its EfrFileError on; a report that cannot be laid out is told in a message
// box and nothing is shown.
bool PrintReport(const TfrPrintJob& job, QWidget* parent = nullptr);

// A report over one query (the service and stock reports): `query`'s rows as
// the main dataset frdsReport, `vars` as the report's variables, the line
// "Нет данных для отчета" when the query has no rows. Every failure passes on
// to the caller. The job reads `query` itself: run it while the query is open.
TfrPrintJob QueryReportJob(const QString& formPath, const TClientDataSet& query,
                           const QList<QPair<QString, QString>>& vars);
