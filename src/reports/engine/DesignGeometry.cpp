#include "reports/engine/DesignGeometry.h"

#include <algorithm>
#include <cmath>

double frDesignZoom(double percent) { return std::clamp(percent, 25.0, 400.0); }

double TfrDesignGrid::snapped(double mm) const {
    return snap && step > 0 ? frRoundMm(std::round(mm / step) * step) : frRoundMm(mm);
}

QPointF frGridDrag(const QPointF& from, const QPointF& to, double step) {
    const QPointF d = to - from;
    return from + QPointF(std::round(d.x() / step) * step, std::round(d.y() / step) * step);
}

double frBandTop(const TfrPage& p, int band) {
    double y = p.marginTop;
    for (int i = 0; i < band && i < int(p.bands.size()); ++i) y += p.bands[size_t(i)].height;
    return y;
}

int frBandAtY(const TfrPage& p, double y) {
    double top = p.marginTop;
    for (int i = 0; i < int(p.bands.size()); ++i) {
        const double h = p.bands[size_t(i)].height;
        if (y >= top && y < top + std::max(h, 0.5)) return i;
        top += h;
    }
    return -1;
}

int frBandEdgeAt(const TfrPage& p, const QPointF& at, double grip) {
    if (at.x() < p.marginLeft || at.x() > p.marginLeft + p.contentWidth()) return -1;
    for (int i = 0; i < int(p.bands.size()); ++i)
        if (std::abs(at.y() - frBandTop(p, i) - p.bands[size_t(i)].height) <= grip) return i;
    return -1;
}

double frDesignPageHeight(const TfrPage& p) {
    return std::max(p.height, frBandTop(p, int(p.bands.size())) + p.marginBottom);
}

QPointF frPointOnBand(const TfrPage& p, int band, const QPointF& paperMm, const TfrDesignGrid& grid) {
    return QPointF(std::max(0.0, grid.snapped(paperMm.x() - p.marginLeft)),
                   std::max(0.0, grid.snapped(paperMm.y() - frBandTop(p, band))));
}

std::vector<QPointF> frObjectHandles(TfrObjectKind kind, const QRectF& geo) {
    const double w = geo.width(), h = geo.height();
    if (kind == TfrObjectKind::Line) return {QPointF(0, 0), QPointF(w, h)};
    return {QPointF(0, 0), QPointF(w / 2, 0), QPointF(w, 0), QPointF(w, h / 2),
            QPointF(w, h), QPointF(w / 2, h), QPointF(0, h), QPointF(0, h / 2)};
}

int frHandleAt(TfrObjectKind kind, const QRectF& geo, const QPointF& at, double radius) {
    const auto hs = frObjectHandles(kind, geo);
    for (int i = 0; i < int(hs.size()); ++i)
        if (std::abs(at.x() - hs[size_t(i)].x()) <= radius && std::abs(at.y() - hs[size_t(i)].y()) <= radius) return i;
    return -1;
}

QRectF frResizeByHandle(TfrObjectKind kind, int handle, const QRectF& pressed, const QPointF& d,
                        const TfrDesignGrid& grid) {
    double x = pressed.x(), y = pressed.y(), w = pressed.width(), h = pressed.height();
    const double minSize = kfrMinObjectSize;
    if (kind == TfrObjectKind::Line) {
        if (handle == 0) {
            const double nx = grid.snapped(x + d.x()), ny = grid.snapped(y + d.y());
            w -= nx - x;
            h -= ny - y;
            x = nx;
            y = ny;
        } else {
            w = grid.snapped(x + w + d.x()) - x;
            h = grid.snapped(y + h + d.y()) - y;
        }
    } else {
        const bool left = handle == 0 || handle == 6 || handle == 7;
        const bool right = handle == 2 || handle == 3 || handle == 4;
        const bool top = handle == 0 || handle == 1 || handle == 2;
        const bool bottom = handle == 4 || handle == 5 || handle == 6;
        if (left) {
            const double nx = std::min(grid.snapped(x + d.x()), x + w - minSize);
            w += x - nx;
            x = nx;
        }
        if (right) w = std::max(grid.snapped(x + w + d.x()) - x, minSize);
        if (top) {
            const double ny = std::min(grid.snapped(y + d.y()), y + h - minSize);
            h += y - ny;
            y = ny;
        }
        if (bottom) h = std::max(grid.snapped(y + h + d.y()) - y, minSize);
    }
    return QRectF(frRoundMm(x), frRoundMm(y), frRoundMm(w), frRoundMm(h));
}

TfrObjPlacement frDropPlacement(const TfrPage& p, const TfrObjRef& ref, const TfrObject& o, const QPointF& origin,
                                double middleY) {
    int band = frBandAtY(p, middleY);
    if (band < 0) band = ref.band;
    return {ref, band, QRectF(origin.x() - p.marginLeft, origin.y() - frBandTop(p, band), o.width, o.height)};
}

std::optional<TfrNudge> frArrowNudge(int key, Qt::KeyboardModifiers modifiers, double gridStep) {
    double dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: return std::nullopt;
    }
    const double step = modifiers & Qt::ControlModifier ? 0.1 : gridStep;
    return TfrNudge{bool(modifiers & Qt::ShiftModifier), dx * step, dy * step};
}
