#pragma once
// The designer's page in millimetres, without a scene: the bands stacked from
// the top margin, what lies under a point, the grid that gestures land on,
// the selection handles of an object and what dragging one makes of its box,
// the band a dragged object lands on, the steps of the arrow keys. The scene
// multiplies by its scale, draws and takes the mouse; the rules are here.
#include "reports/engine/DesignCommands.h"

#include <QPointF>
#include <QRectF>
#include <QtCore/qnamespace.h>
#include <optional>
#include <vector>

// The zoom percentages and grid steps (mm) the designer offers, and the zoom's bounds.
inline constexpr double kfrDesignZooms[] = {50, 75, 100, 150, 200};
inline constexpr double kfrDesignGrids[] = {0.5, 1, 2.5, 5};
double frDesignZoom(double percent);

// The grid objects land on while they are dragged and resized.
struct TfrDesignGrid {
    double step = 0.5;  // mm
    bool snap = true;
    // A length on the grid when snapping is on, always to a hundredth of a mm.
    double snapped(double mm) const;
};

// A drag from `from` to `to` moving in whole steps of `step` (any unit):
// the dragged thing keeps its offset from the grid.
QPointF frGridDrag(const QPointF& from, const QPointF& to, double step);

// Top of band `band` in mm from the paper's top edge (band = the number of
// bands: the bottom of the last).
double frBandTop(const TfrPage& p, int band);
// The band whose strip holds `y` mm from the paper's top (a strip is at least
// half a millimetre high, so an empty band can still be clicked); -1 when none.
int frBandAtY(const TfrPage& p, double y);
// The band whose bottom edge passes within `grip` mm of `at` (mm on the
// paper) across the printable width; -1 when none. The first from the top wins.
int frBandEdgeAt(const TfrPage& p, const QPointF& at, double grip);
// The length of paper the designer shows: the page, longer when the bands run
// past its bottom margin.
double frDesignPageHeight(const TfrPage& p);
// A point clicked on the paper as a place on `band` (mm on the band, on the
// grid, never left of or above the band).
QPointF frPointOnBand(const TfrPage& p, int band, const QPointF& paperMm, const TfrDesignGrid& grid);

// The selection handles of an object of `kind` whose box is `geo`, in mm from
// the box's top left corner: a line's two ends; a box's corners and the
// middles of its sides, clockwise from the top left.
std::vector<QPointF> frObjectHandles(TfrObjectKind kind, const QRectF& geo);
// The handle within `radius` mm of `at` (mm from the box's top left corner); -1 when none.
int frHandleAt(TfrObjectKind kind, const QRectF& geo, const QPointF& at, double radius);
// The box after handle `handle` was dragged by `delta` mm from `pressed`: the
// edges the handle holds go onto the grid, a box keeps at least the smallest
// size, a line's end goes anywhere. Rounded to a hundredth of a mm.
QRectF frResizeByHandle(TfrObjectKind kind, int handle, const QRectF& pressed, const QPointF& delta,
                        const TfrDesignGrid& grid);

// Where an object of `ref` dropped with its origin at `origin` (mm on the
// paper) goes: onto the band under the dropped box's middle (`middleY` mm
// from the paper's top), its own band when that is outside every band.
TfrObjPlacement frDropPlacement(const TfrPage& p, const TfrObjRef& ref, const TfrObject& o, const QPointF& origin,
                                double middleY);

// An arrow key's step on the selection: a move, or with Shift a resize, by a
// grid step (with Ctrl by a tenth of a mm). Nothing for other keys.
struct TfrNudge {
    bool resize = false;
    double dx = 0, dy = 0;  // mm
};
std::optional<TfrNudge> frArrowNudge(int key, Qt::KeyboardModifiers modifiers, double gridStep);
