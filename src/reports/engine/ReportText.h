#pragma once
// Fonts and text measured in millimetres, the same on every device.
#include "reports/engine/ReportModel.h"

#include <QFont>
#include <QStringList>

// The Qt font of a template font at its size in points.
QFont frQtFont(const TfrFont& f);
// Width of a text and height of one line, in mm.
double frTextWidth(const TfrFont& f, const QString& text);
double frLineHeight(const TfrFont& f);
// The text broken into lines that fit `width` mm: at line breaks, then
// (with wrap) between words, a word longer than a line between characters.
QStringList frWrapText(const TfrFont& f, const QString& text, double width, bool wrap);

// Dark modules of a bar code in mm, relative to a box of the given size; the
// data are checked by libzint (EfrPrepareError-worthy text in `error`).
struct TfrBarcodeBars {
    std::vector<QRectF> bars;
    QString error;
};
TfrBarcodeBars frBarcodeBars(TfrBarcodeType type, const QString& data, double width, double height);
