#include "reports/engine/PreviewState.h"

#include <algorithm>
#include <iterator>

namespace {
const int kPercents[] = {50, 75, 100, 150, 200};
}  // namespace

QStringList frPreviewZooms() {
    QStringList zooms{QStringLiteral("По ширине"), QStringLiteral("Страница целиком")};
    for (int pc : kPercents) zooms << QStringLiteral("%1%").arg(pc);
    return zooms;
}

bool frPreviewZoomFits(int zoomIndex) { return zoomIndex <= 1; }

double frPreviewScale(int zoomIndex, const QSizeF& pageMm, const QSizeF& viewportPx, double screenPxPerMm) {
    const double availW = std::max(50.0, viewportPx.width() - 2 * kfrPreviewGap - 2);
    const double availH = std::max(50.0, viewportPx.height() - 2 * kfrPreviewGap - 2);
    if (zoomIndex == 0) return availW / pageMm.width();
    if (zoomIndex == 1) return std::min(availW / pageMm.width(), availH / pageMm.height());
    return screenPxPerMm * kPercents[std::clamp(zoomIndex - 2, 0, int(std::size(kPercents)) - 1)] / 100.0;
}

TfrPageTurns frPageTurns(int page, int count) { return {count > 0 && page > 0, count > 0 && page < count - 1}; }

std::optional<int> frPageForKey(int key, Qt::KeyboardModifiers modifiers, int page, int count) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (key) {
    case Qt::Key_PageDown: return page + 1;
    case Qt::Key_PageUp: return page - 1;
    case Qt::Key_Home: return ctrl ? std::optional<int>(0) : std::nullopt;
    case Qt::Key_End: return ctrl ? std::optional<int>(count - 1) : std::nullopt;
    default: return std::nullopt;
    }
}

std::pair<int, int> frPrintedPages(int from, int to, int count) {
    const int first = from > 0 ? from - 1 : 0;
    const int last = to > 0 ? std::min(to, count) - 1 : count - 1;
    return {first, last};
}
