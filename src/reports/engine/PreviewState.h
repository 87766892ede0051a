#pragma once
// The preview's computations without a window: the zoom entries and the
// scale each gives for a page in a viewport, which way the pages can turn,
// the page a navigation key asks for, the pages a print range covers.
#include <QSizeF>
#include <QStringList>
#include <QtCore/qnamespace.h>
#include <optional>
#include <utility>

// Device pixels of grey around the page shown.
inline constexpr double kfrPreviewGap = 8;

// The zoom entries: "По ширине", "Страница целиком", then the percentages.
QStringList frPreviewZooms();
// Whether the zoom entry fits the page to the window, so a resize changes it.
bool frPreviewZoomFits(int zoomIndex);
// Pixels per mm of the page (`pageMm`) shown in a viewport of `viewportPx`
// at zoom entry `zoomIndex`; a percentage is of the real size on a screen of
// `screenPxPerMm`.
double frPreviewScale(int zoomIndex, const QSizeF& pageMm, const QSizeF& viewportPx, double screenPxPerMm);

// Whether page `page` (0-based) of `count` can turn back (first, prior) and forward (next, last).
struct TfrPageTurns {
    bool back = false, forward = false;
};
TfrPageTurns frPageTurns(int page, int count);
// The page (0-based, not yet clamped) a key asks for: Page Down and Page Up
// the next and the previous, Ctrl+Home and Ctrl+End the first and the last.
std::optional<int> frPageForKey(int key, Qt::KeyboardModifiers modifiers, int page, int count);

// The first and last page (0-based) printed of `count` for a range of
// `from`..`to` (1-based; 0: from the first, to the last). `count` > 0.
std::pair<int, int> frPrintedPages(int from, int to, int count);
