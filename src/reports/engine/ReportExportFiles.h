#pragma once
// The files a prepared report is exported to: for each kind its dialog
// caption, filter and extension, the name offered (the form's name), the
// extension added to a name chosen without one, the CSV field separators
// offered, and the export itself.
#include "reports/engine/ReportEngine.h"

#include <QString>
#include <vector>

enum class TfrExportKind { Pdf, Csv, Rtf };

struct TfrExportChoice {
    QString caption;  // "Сохранить в PDF"
    QString filter;   // "Документ PDF (*.pdf)"
    QString suffix;   // "pdf"
};
TfrExportChoice frExportChoice(TfrExportKind kind);
// The file name offered: the report's title ("Отчет" without one) with the kind's extension.
QString frExportSuggestedName(const QString& title, TfrExportKind kind);
// The path chosen, with the kind's extension when it has none.
QString frExportPath(const QString& chosen, TfrExportKind kind);

// The CSV field separators offered, the first one preselected.
struct TfrCsvSeparator {
    QString caption;    // "Точка с запятой ( ; )"
    QString separator;  // ";"
};
std::vector<TfrCsvSeparator> frCsvSeparators();

// Writes the report to `path` as `kind` (a CSV's fields separated by
// `csvSeparator`); EfrFileError on failure, the file left as it was.
void frExportReport(const TfrPreparedReport& rep, TfrExportKind kind, const QString& path,
                    QChar csvSeparator = QLatin1Char(';'));
