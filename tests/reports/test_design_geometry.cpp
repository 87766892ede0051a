// The designer's page in millimetres without a scene: where bands stand and
// what lies under a point, what a dragged handle makes of a box, where a
// dropped object lands, the arrow keys' steps, the pick order of a selection.
#include "ReportFixture.h"

#include "reports/engine/DesignGeometry.h"
#include "reports/engine/DesignSample.h"

using namespace reporttest;

namespace {

// Margins 15 left, 12 top; bands of 14.5, 0 and 25 mm.
TfrPage page() {
    return templ(QStringLiteral("<Page left=\"15\" top=\"12\"><Band name=\"T\" type=\"ReportTitle\" height=\"14.5\"/>"
                                "<Band name=\"E\" type=\"PageHeader\" height=\"0\"/>"
                                "<Band name=\"D\" type=\"MasterData\" height=\"25\"/></Page>"))
        .pages[0];
}

TEST(DesignGeometryTest, BandsStackFromTheTopMarginAndArePickedInMillimetres) {
    const TfrPage p = page();
    EXPECT_DOUBLE_EQ(frBandTop(p, 0), 12);
    EXPECT_DOUBLE_EQ(frBandTop(p, 2), 26.5);
    EXPECT_DOUBLE_EQ(frBandTop(p, 3), 51.5);
    EXPECT_DOUBLE_EQ(frDesignPageHeight(p), 297);
    TfrPage tall = p;
    tall.bands[2].height = 280;
    EXPECT_DOUBLE_EQ(frDesignPageHeight(tall), 12 + 14.5 + 280 + 10) << "the paper grows under bands past its margin";
    const struct {
        double y;
        int band;
    } under[] = {{11.99, -1}, {12, 0}, {26.49, 0}, {26.5, 1}, {26.99, 1}, {27, 2}, {51.49, 2}, {51.5, -1}};
    for (const auto& c : under) EXPECT_EQ(frBandAtY(p, c.y), c.band) << c.y;
    const struct {
        QPointF at;
        int band;
    } edges[] = {{{100, 26.5}, 0},  // the title's edge wins over the empty header's at the same height
                 {{100, 27.2}, 0}, {{100, 27.4}, -1}, {{100, 51.5}, 2}, {{14.9, 51.5}, -1}, {{200, 51.5}, 2},
                 {{200.1, 51.5}, -1}};
    for (const auto& c : edges) EXPECT_EQ(frBandEdgeAt(p, c.at, 0.8), c.band) << c.at.x() << " " << c.at.y();
    EXPECT_EQ(frPointOnBand(p, 2, {40.26, 27.1}, TfrDesignGrid{}), QPointF(25.5, 0.5));
    EXPECT_EQ(frPointOnBand(p, 2, {40.26, 27.1}, TfrDesignGrid{0.5, false}), QPointF(25.26, 0.6));
    EXPECT_EQ(frPointOnBand(p, 2, {10, 26}, TfrDesignGrid{}), QPointF(0, 0)) << "never left of or above the band";
}

TEST(DesignGeometryTest, HandlesResizeOnTheGridAndKeepTheSmallestSize) {
    const QRectF box(10, 5, 20, 8);
    EXPECT_EQ(frObjectHandles(TfrObjectKind::Memo, box).size(), 8u);
    EXPECT_EQ(frObjectHandles(TfrObjectKind::Line, box), (std::vector<QPointF>{{0, 0}, {20, 8}}));
    EXPECT_EQ(frHandleAt(TfrObjectKind::Memo, box, {20.9, 8.9}, 1.12), 4);
    EXPECT_EQ(frHandleAt(TfrObjectKind::Memo, box, {10.5, 0.5}, 1.12), 1);
    EXPECT_EQ(frHandleAt(TfrObjectKind::Memo, box, {10, 4}, 1.12), -1);
    EXPECT_EQ(frHandleAt(TfrObjectKind::Line, box, {10, 0}, 1.12), -1);
    const TfrDesignGrid grid{0.5, true}, free{0.5, false};
    const struct {
        const char* what;
        TfrObjectKind kind;
        int handle;
        QPointF delta;
        TfrDesignGrid grid;
        QRectF expected;
    } cases[] = {
        {"bottom right onto the grid", TfrObjectKind::Memo, 4, {10.1, 0.3}, grid, {10, 5, 30, 8.5}},
        {"top left, the opposite corner stays", TfrObjectKind::Rect, 0, {-2.2, 1.1}, grid, {8, 6, 22, 7}},
        {"left edge past the right one", TfrObjectKind::Memo, 7, {40, 3}, grid, {29, 5, 1, 8}},
        {"bottom edge above the top", TfrObjectKind::Memo, 5, {0, -30}, grid, {10, 5, 20, 1}},
        {"middle of the right side without snapping", TfrObjectKind::Memo, 3, {0.13, 9}, free, {10, 5, 20.13, 8}},
        {"a line's start, the end stays", TfrObjectKind::Line, 0, {25, 10}, grid, {35, 15, -5, -2}},
        {"a line's end crosses its start", TfrObjectKind::Line, 1, {-30.2, 0}, grid, {10, 5, -10, 8}},
    };
    for (const auto& c : cases) EXPECT_EQ(frResizeByHandle(c.kind, c.handle, box, c.delta, c.grid), c.expected) << c.what;
    EXPECT_EQ(frGridDrag({3.7, 1.2}, {8.9, 0.1}, 2), QPointF(9.7, -0.8)) << "whole steps, the offset from the grid kept";
}

TEST(DesignGeometryTest, ADroppedObjectGoesToTheBandUnderItsMiddle) {
    const TfrPage p = page();
    TfrObject o;
    o.width = 30;
    o.height = 6;
    const TfrObjRef ref{0, 0, 3};
    const TfrObjPlacement onData = frDropPlacement(p, ref, o, {45, 30}, 33);
    EXPECT_EQ(onData.ref, ref);
    EXPECT_EQ(onData.band, 2);
    EXPECT_EQ(onData.geometry, QRectF(30, 3.5, 30, 6));
    const TfrObjPlacement below = frDropPlacement(p, ref, o, {45, 60}, 63);
    EXPECT_EQ(below.band, 0) << "outside every band it stays on its own";
    EXPECT_EQ(below.geometry, QRectF(30, 48, 30, 6));
}

TEST(DesignGeometryTest, ArrowKeysStepByTheGridAndPicksKeepTheirOrder) {
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
        std::optional<TfrNudge> nudge;
    } keys[] = {{Qt::Key_Left, Qt::NoModifier, TfrNudge{false, -2.5, 0}},
                {Qt::Key_Down, Qt::ShiftModifier, TfrNudge{true, 0, 2.5}},
                {Qt::Key_Up, Qt::ControlModifier, TfrNudge{false, 0, -0.1}},
                {Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier, TfrNudge{true, 0.1, 0}},
                {Qt::Key_Delete, Qt::NoModifier, std::nullopt}};
    for (const auto& c : keys) {
        const std::optional<TfrNudge> n = frArrowNudge(c.key, c.mods, 2.5);
        ASSERT_EQ(n.has_value(), c.nudge.has_value()) << c.key;
        if (!n) continue;
        EXPECT_EQ(n->resize, c.nudge->resize) << c.key;
        EXPECT_DOUBLE_EQ(n->dx, c.nudge->dx) << c.key;
        EXPECT_DOUBLE_EQ(n->dy, c.nudge->dy) << c.key;
    }
    EXPECT_EQ(frKeepPickOrder({{0, 2, 1}, {0, 0, 4}, {0, 1, 0}}, {{0, 0, 1}, {0, 0, 4}, {0, 2, 1}, {0, 0, 0}}),
              (TfrObjRefs{{0, 2, 1}, {0, 0, 4}, {0, 0, 0}, {0, 0, 1}}));
    EXPECT_DOUBLE_EQ(frDesignZoom(10), 25);
    EXPECT_DOUBLE_EQ(frDesignZoom(1000), 400);
}

TEST(DesignGeometryTest, ABarcodeShowsItsDataOrASampleOfItsType) {
    TfrObject o;
    o.kind = TfrObjectKind::Barcode;
    const struct {
        TfrBarcodeType type;
        QString text, shown;
    } cases[] = {{TfrBarcodeType::EAN13, QStringLiteral("[NumDoc]"), QStringLiteral("460123456789")},
                 {TfrBarcodeType::Code128, QStringLiteral("x[a]"), QStringLiteral("12345678")},
                 {TfrBarcodeType::QR, QStringLiteral("[Адрес]"), QStringLiteral("OBRIX")},
                 {TfrBarcodeType::Code128, QStringLiteral("OBRIX-0042"), QStringLiteral("OBRIX-0042")},
                 {TfrBarcodeType::Code128, QStringLiteral("a]b["), QStringLiteral("a]b[")}};
    for (const auto& c : cases) {
        o.barcode = c.type;
        o.text = c.text;
        EXPECT_EQ(frDesignShownValue(o), c.shown) << c.text.toStdString();
    }
    o.kind = TfrObjectKind::Memo;
    EXPECT_EQ(frDesignShownValue(o), o.text) << "a memo shows its expressions unexpanded";
}

}  // namespace
