#pragma once
// Drawing and exporting laid-out pages: the preview, the printer and PDF draw
// them with QPainter; CSV and RTF are written from the same primitives.
#include "reports/engine/ReportEngine.h"

#include <QByteArray>

class QPagedPaintDevice;
class QPainter;

// Draws a page with its top left corner at the painter's origin, `pxPerMm`
// device pixels per millimetre.
void frRenderPage(QPainter& p, const TfrPreparedPage& page, double pxPerMm);

// Gives a paged device (a printer, a PDF writer) the paper of `page`, without margins.
void frSetPaper(QPagedPaintDevice& device, const TfrPreparedPage& page);
// Draws pages `first`..`last` (0-based) of `rep` through `p`, active on
// `device` whose paper is already the first page's; every further page gets
// its own paper.
void frPaintPages(QPainter& p, QPagedPaintDevice& device, const TfrPreparedReport& rep, int first, int last,
                  double pxPerMm);

// Writes a PDF file with every page at its paper size; EfrFileError on failure.
void frExportPdf(const TfrPreparedReport& rep, const QString& fileName);

// A text dump of the primitives, one line each, for golden comparisons.
QString frDumpPages(const TfrPreparedReport& rep);

// One line per data row: the texts of the row's memos from left to right,
// separated by `separator`, quoted when needed. UTF-8 with a byte-order mark.
QByteArray frCsv(const TfrPreparedReport& rep, QChar separator = QLatin1Char(';'));
// A document with the report's texts, tables (a row of memos side by side)
// and horizontal lines, a page break between pages.
QByteArray frRtf(const TfrPreparedReport& rep);
// Writes bytes to a file atomically; EfrFileError on failure.
void frWriteFile(const QByteArray& bytes, const QString& fileName);
