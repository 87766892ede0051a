#include "reports/engine/ReportExportFiles.h"

#include "reports/engine/ReportRender.h"

#include <QFileInfo>

TfrExportChoice frExportChoice(TfrExportKind kind) {
    switch (kind) {
    case TfrExportKind::Pdf:
        return {QStringLiteral("Сохранить в PDF"), QStringLiteral("Документ PDF (*.pdf)"), QStringLiteral("pdf")};
    case TfrExportKind::Csv:
        return {QStringLiteral("Сохранить в CSV"), QStringLiteral("Файл CSV (*.csv)"), QStringLiteral("csv")};
    case TfrExportKind::Rtf:
        return {QStringLiteral("Сохранить в RTF"), QStringLiteral("Документ RTF (*.rtf)"), QStringLiteral("rtf")};
    }
    return {};
}

QString frExportSuggestedName(const QString& title, TfrExportKind kind) {
    return (title.isEmpty() ? QStringLiteral("Отчет") : title) + QLatin1Char('.') + frExportChoice(kind).suffix;
}

QString frExportPath(const QString& chosen, TfrExportKind kind) {
    if (QFileInfo(chosen).suffix().isEmpty()) return chosen + QLatin1Char('.') + frExportChoice(kind).suffix;
    return chosen;
}

std::vector<TfrCsvSeparator> frCsvSeparators() {
    return {{QStringLiteral("Точка с запятой ( ; )"), QStringLiteral(";")},
            {QStringLiteral("Запятая ( , )"), QStringLiteral(",")},
            {QStringLiteral("Табуляция"), QStringLiteral("\t")}};
}

void frExportReport(const TfrPreparedReport& rep, TfrExportKind kind, const QString& path, QChar csvSeparator) {
    switch (kind) {
    case TfrExportKind::Pdf: frExportPdf(rep, path); return;
    case TfrExportKind::Csv: frWriteFile(frCsv(rep, csvSeparator), path); return;
    case TfrExportKind::Rtf: frWriteFile(frRtf(rep), path); return;
    }
}
