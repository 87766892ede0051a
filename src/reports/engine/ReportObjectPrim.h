#pragma once
// What one object of a template becomes on a page: the primitive the layout
// puts there and the renderer draws. The layout and the designer both make an
// object's primitive here, and the renderer insets a memo's text by the same
// paddings, so the designer shows an object as it prints.
#include "reports/engine/ReportEngine.h"

#include <QPointF>

// mm between a memo's box and its text: left and right, top and bottom.
constexpr double kfrMemoPadH = 0.8;
constexpr double kfrMemoPadV = 0.3;

// A memo's text broken into the lines its width holds, inside the paddings.
struct TfrMemoText {
    QStringList lines;
    double lineHeight = 0;  // mm
    // The height of a box showing every line.
    double height() const { return lines.size() * lineHeight + 2 * kfrMemoPadV; }
};
TfrMemoText frMemoText(const TfrObject& memo, const QString& text);

// The primitive of `o` in `box`, mm on the paper: the object's box where the
// layout put it, taller when it stretches. A memo shows the lines of `text`
// that its box holds; a line starts at the box's top left corner and a bar
// code's symbol stands there, both in the object's own size; a bar code
// encodes `data`, and when the data cannot be drawn it has no bars and
// `error` (if given) gets the reason.
TfrPrim frObjectPrim(const TfrObject& o, const QRectF& box, const TfrMemoText& text, const QString& data,
                     QString* error = nullptr);

// The primitive of `o` standing where it stands in its own size on a band
// whose top left corner is at `bandOrigin` (mm on the paper), showing `value`:
// a memo's text, a bar code's data.
TfrPrim frObjectPrim(const TfrObject& o, const QPointF& bandOrigin, const QString& value, QString* error = nullptr);
