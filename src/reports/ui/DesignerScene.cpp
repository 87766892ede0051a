#include "reports/ui/DesignerScene.h"

#include "reports/engine/DesignSample.h"
#include "reports/engine/ReportObjectPrim.h"
#include "reports/engine/ReportRender.h"

#include <QCursor>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <algorithm>
#include <cmath>

namespace {

constexpr double k = kfrScenePerMm;
constexpr double kHandle = 1.4;      // mm, the side of a selection handle
constexpr double kEdgeGrip = 0.8;    // mm around a band's bottom edge that drags its height

}  // namespace

// --- the scene ------------------------------------------------------------------

TfrDesignScene::TfrDesignScene(TfrDesignDocument* doc, QObject* parent) : QGraphicsScene(parent), m_doc(doc) {
    connect(doc, &TfrDesignDocument::changed, this, &TfrDesignScene::rebuild);
    connect(doc, &TfrDesignDocument::selectionChanged, this, &TfrDesignScene::syncSelection);
    connect(this, &QGraphicsScene::selectionChanged, this, &TfrDesignScene::onSceneSelectionChanged);
    rebuild();
}

TfrDesignScene::~TfrDesignScene() {
    // the items going away must not report an empty selection to the document
    m_rebuilding = true;
    disconnect(this, nullptr, this, nullptr);
    clear();
}

void TfrDesignScene::setGridStep(double mm) {
    if (mm > 0) m_grid.step = mm;
    update();
}

void TfrDesignScene::setSnapToGrid(bool on) {
    m_grid.snap = on;
    update();
}

QPointF TfrDesignScene::scenePoint(int band, const QPointF& mm) const {
    const TfrPage* p = m_doc->page();
    const double left = p ? p->marginLeft : 0;
    return QPointF((left + mm.x()) * k, ((p ? frBandTop(*p, band) : 0) + mm.y()) * k);
}

TfrObjectItem* TfrDesignScene::itemOf(const TfrObjRef& ref) const {
    auto it = m_items.find(ref);
    return it == m_items.end() ? nullptr : it->second;
}

QPointF TfrDesignScene::insertPoint() const {
    return m_clickBand >= 0 && m_clickBand == m_doc->currentBand() ? m_clickMm : QPointF();
}

void TfrDesignScene::rebuild() {
    m_rebuilding = true;
    m_pressPos.clear();
    m_items.clear();
    m_bands.clear();
    m_bandDrag = nullptr;
    clear();
    const TfrPage* p = m_doc->page();
    if (p) {
        for (int i = 0; i < int(p->bands.size()); ++i) {
            const TfrBand& b = p->bands[size_t(i)];
            auto* bi = new TfrBandItem(this, i, b, p->width);
            bi->setPos(-kfrCaptionWidth * k, frBandTop(*p, i) * k);
            addItem(bi);
            m_bands.push_back(bi);
            for (int j = 0; j < int(b.objects.size()); ++j) {
                const TfrObjRef ref{m_doc->currentPage(), i, j};
                auto* oi = new TfrObjectItem(this, ref, b.objects[size_t(j)]);
                oi->setPos(scenePoint(i, QPointF(b.objects[size_t(j)].x, b.objects[size_t(j)].y)));
                addItem(oi);
                m_items[ref] = oi;
            }
        }
        const double height = frDesignPageHeight(*p);
        setSceneRect(QRectF(-(kfrCaptionWidth + 4) * k, -6 * k, (p->width + kfrCaptionWidth + 10) * k, (height + 12) * k));
    }
    for (const TfrObjRef& r : m_doc->selection())
        if (auto* it = itemOf(r)) it->setSelected(true);
    m_rebuilding = false;
    update();
}

void TfrDesignScene::syncSelection() {
    m_rebuilding = true;
    const TfrObjRefs& sel = m_doc->selection();
    for (auto& [ref, item] : m_items) item->setSelected(std::find(sel.begin(), sel.end(), ref) != sel.end());
    for (TfrBandItem* b : m_bands) b->update();
    m_rebuilding = false;
}

void TfrDesignScene::onSceneSelectionChanged() {
    if (m_rebuilding) return;
    TfrObjRefs chosen;
    for (QGraphicsItem* it : selectedItems())
        if (auto* oi = dynamic_cast<TfrObjectItem*>(it)) chosen.push_back(oi->ref());
    m_doc->setSelection(frKeepPickOrder(m_doc->selection(), std::move(chosen)));
}

TfrBandItem* TfrDesignScene::bandEdgeAt(const QPointF& pos) const {
    // a handle of a selected object wins over the edge it sits on
    for (QGraphicsItem* it : items(pos))
        if (auto* oi = dynamic_cast<TfrObjectItem*>(it); oi && oi->handleAt(oi->mapFromScene(pos)) >= 0) return nullptr;
    const TfrPage* p = m_doc->page();
    const int band = p ? frBandEdgeAt(*p, pos / k, kEdgeGrip) : -1;
    return band >= 0 && band < int(m_bands.size()) ? m_bands[size_t(band)] : nullptr;
}

void TfrDesignScene::setViewCursor(Qt::CursorShape shape) {
    for (QGraphicsView* v : views()) v->viewport()->setCursor(shape);
}

void TfrDesignScene::mousePressEvent(QGraphicsSceneMouseEvent* e) {
    m_bandDrag = nullptr;
    if (e->button() == Qt::LeftButton && e->modifiers() == Qt::NoModifier) {
        if (TfrBandItem* b = bandEdgeAt(e->scenePos())) {
            m_bandDrag = b;
            m_doc->setCurrentBand(b->band());
            e->accept();
            return;
        }
    }
    QGraphicsScene::mousePressEvent(e);
    m_pressPos.clear();
    for (auto& [ref, item] : m_items) m_pressPos[item] = item->pos();
    if (e->button() == Qt::LeftButton) {
        const TfrPage* p = m_doc->page();
        const int band = p ? frBandAtY(*p, e->scenePos().y() / k) : -1;
        bool onObject = false;
        for (QGraphicsItem* it : items(e->scenePos()))
            if (dynamic_cast<TfrObjectItem*>(it)) onObject = true;
        if (band >= 0 && !onObject) {
            m_doc->setCurrentBand(band);
            m_clickBand = band;
            m_clickMm = frPointOnBand(*p, band, e->scenePos() / k, m_grid);
        }
    }
}

void TfrDesignScene::mouseMoveEvent(QGraphicsSceneMouseEvent* e) {
    if (m_bandDrag) {
        m_bandDrag->setLiveHeight(m_grid.snapped(m_bandDrag->mapFromScene(e->scenePos()).y() / k));
        e->accept();
        return;
    }
    if (e->buttons() == Qt::NoButton) {
        if (bandEdgeAt(e->scenePos())) setViewCursor(Qt::SizeVerCursor);
        else for (QGraphicsView* v : views()) v->viewport()->unsetCursor();
    }
    QGraphicsScene::mouseMoveEvent(e);
}

void TfrDesignScene::mouseReleaseEvent(QGraphicsSceneMouseEvent* e) {
    if (m_bandDrag) {
        TfrBandItem* b = m_bandDrag;
        m_bandDrag = nullptr;
        e->accept();
        const TfrPage* p = m_doc->page();
        if (!p || b->liveHeight() == b->height()) return;
        TfrBand band = p->bands[size_t(b->band())];
        band.height = frRoundMm(b->liveHeight());
        try {
            m_doc->changeBand(m_doc->currentPage(), b->band(), band);
        } catch (const EfrTemplateError&) {
            rebuild();  // a band taller than the page: it stays as it was
        }
        return;
    }
    QGraphicsScene::mouseReleaseEvent(e);
    finishGesture();
}

void TfrDesignScene::finishGesture() {
    const TfrPage* p = m_doc->page();
    if (!p) return;
    std::vector<TfrObjPlacement> moves;
    for (auto& [ref, item] : m_items) {
        if (item->resized()) {
            moves.push_back({ref, ref.band, item->geometry()});
            continue;
        }
        auto it = m_pressPos.find(item);
        if (it == m_pressPos.end() || item->pos() == it->second) continue;
        const QRectF box = item->mapRectToScene(item->boundingRect());
        moves.push_back(frDropPlacement(*p, ref, item->object(), item->pos() / k, box.center().y() / k));
    }
    m_pressPos.clear();
    if (!moves.empty()) m_doc->placeObjects(moves);
}

void TfrDesignScene::drawBackground(QPainter* painter, const QRectF& rect) {
    painter->fillRect(rect, QColor(160, 160, 160));
    const TfrPage* p = m_doc->page();
    if (!p) return;
    const double height = frDesignPageHeight(*p);
    const QRectF paper(0, 0, p->width * k, height * k);
    painter->fillRect(paper.translated(3, 3), QColor(90, 90, 90));
    painter->fillRect(paper, Qt::white);
    // the grid over the printable area
    const QRectF area(p->marginLeft * k, p->marginTop * k, p->contentWidth() * k,
                      (height - p->marginTop - p->marginBottom) * k);
    if (m_grid.snap && m_grid.step * k >= 4) {
        painter->setPen(QPen(QColor(215, 215, 230), 0));
        const double step = m_grid.step * k;
        // a dot at every fifth step keeps the grid light
        const double big = step * std::max(1.0, std::ceil(2.5 / m_grid.step));
        for (double x = area.left(); x <= area.right() + 0.1; x += big)
            for (double y = area.top(); y <= area.bottom() + 0.1; y += big) painter->drawPoint(QPointF(x, y));
    }
    painter->setPen(QPen(QColor(150, 150, 200), 0, Qt::DashLine));
    painter->drawRect(area);
    if (height > p->height) {
        painter->setPen(QPen(Qt::red, 0, Qt::DashLine));
        painter->drawLine(QPointF(0, p->height * k), QPointF(p->width * k, p->height * k));
    }
}

// --- the view ------------------------------------------------------------------

TfrDesignView::TfrDesignView(TfrDesignScene* scene, QWidget* parent) : QGraphicsView(scene, parent), m_scene(scene) {
    setObjectName(QStringLiteral("gvDesign"));
    setDragMode(QGraphicsView::RubberBandDrag);
    setRubberBandSelectionMode(Qt::IntersectsItemShape);
    setRenderHint(QPainter::Antialiasing);
    setRenderHint(QPainter::TextAntialiasing);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::StrongFocus);
}

void TfrDesignView::setZoom(double percent) {
    m_zoom = frDesignZoom(percent);
    setTransform(QTransform::fromScale(m_zoom / 100, m_zoom / 100));
}

void TfrDesignView::keyPressEvent(QKeyEvent* e) {
    TfrDesignDocument* doc = m_scene->document();
    if (e->key() == Qt::Key_Delete && !doc->selection().empty()) {
        doc->deleteSelection();
        return;
    }
    const std::optional<TfrNudge> n = frArrowNudge(e->key(), e->modifiers(), m_scene->grid().step);
    if (!n || doc->selection().empty()) {
        QGraphicsView::keyPressEvent(e);
        return;
    }
    if (n->resize) doc->resizeSelection(n->dx, n->dy, e->isAutoRepeat());
    else doc->moveSelection(n->dx, n->dy, e->isAutoRepeat());
    e->accept();
}

// --- objects ---------------------------------------------------------------------

TfrObjectItem::TfrObjectItem(TfrDesignScene* scene, const TfrObjRef& ref, const TfrObject& o)
    : m_scene(scene), m_ref(ref), m_obj(o), m_geo(o.x, o.y, o.width, o.height) {
    setFlags(ItemIsSelectable | ItemIsMovable | ItemSendsGeometryChanges);
    setAcceptHoverEvents(true);
    setZValue(1);
    QString tip = o.name.isEmpty() ? QString() : o.name + QStringLiteral(": ");
    setToolTip(tip + (o.kind == TfrObjectKind::Picture ? QStringLiteral("рисунок") : o.text));
}

QRectF TfrObjectItem::shapeRect() const {
    QRectF r((m_geo.x() - m_obj.x) * k, (m_geo.y() - m_obj.y) * k, m_geo.width() * k, m_geo.height() * k);
    if (m_obj.kind == TfrObjectKind::Line) r = QRectF(r.topLeft(), QSizeF(m_geo.width() * k, m_geo.height() * k));
    r = r.normalized();
    // a horizontal or vertical line is picked within a millimetre of it
    if (r.height() < 2) r.adjust(0, -1, 0, 1);
    if (r.width() < 2) r.adjust(-1, 0, 1, 0);
    return r;
}

QRectF TfrObjectItem::boundingRect() const {
    const double h = kHandle * k;
    return shapeRect().adjusted(-h, -h, h, h);
}

QPointF TfrObjectItem::boxOrigin() const { return QPointF((m_geo.x() - m_obj.x) * k, (m_geo.y() - m_obj.y) * k); }

std::vector<QPointF> TfrObjectItem::handles() const {
    std::vector<QPointF> hs = frObjectHandles(m_obj.kind, m_geo);
    for (QPointF& h : hs) h = boxOrigin() + h * k;
    return hs;
}

int TfrObjectItem::handleAt(const QPointF& local) const {
    if (!isSelected()) return -1;
    return frHandleAt(m_obj.kind, m_geo, (local - boxOrigin()) / k, kHandle * 0.8);
}

TfrPrim TfrObjectItem::prim() const {
    TfrObject shown = m_obj;
    shown.x = m_geo.x();
    shown.y = m_geo.y();
    shown.width = m_geo.width();
    shown.height = m_geo.height();
    const TfrPage* page = m_scene->document()->page();
    const QPointF bandOrigin(page ? page->marginLeft : 0, page ? frBandTop(*page, m_ref.band) : 0);
    return frObjectPrim(shown, bandOrigin, frDesignShownValue(m_obj));
}

void TfrObjectItem::paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) {
    p->save();
    p->translate((m_geo.x() - m_obj.x) * k, (m_geo.y() - m_obj.y) * k);
    const QRectF box(0, 0, m_geo.width() * k, m_geo.height() * k);
    // boxes without a frame get a faint outline so that they can be found
    if ((m_obj.kind == TfrObjectKind::Memo && !m_obj.frame.any()) || m_obj.kind == TfrObjectKind::Barcode ||
        (m_obj.kind == TfrObjectKind::Picture && m_obj.picture.isNull())) {
        p->setPen(QPen(QColor(170, 170, 190), 0, Qt::DotLine));
        p->drawRect(box);
    }
    if (m_obj.kind == TfrObjectKind::Picture && m_obj.picture.isNull()) {
        p->setPen(QPen(QColor(170, 170, 190), 0));
        p->drawLine(box.topLeft(), box.bottomRight());
        p->drawLine(box.topRight(), box.bottomLeft());
    }
    p->restore();
    // the primitive is placed on the paper: the item's origin is where the object stands
    p->save();
    p->translate(-m_scene->scenePoint(m_ref.band, QPointF(m_obj.x, m_obj.y)));
    TfrPreparedPage page;
    page.prims.push_back(prim());
    frRenderPage(*p, page, k);
    p->restore();
    if (isSelected()) {
        p->setPen(QPen(QColor(0, 90, 200), 0, Qt::DashLine));
        p->setBrush(Qt::NoBrush);
        if (m_obj.kind != TfrObjectKind::Line) p->drawRect(shapeRect());
        const double h = kHandle * k;
        p->setPen(QPen(Qt::white, 0));
        p->setBrush(QColor(0, 90, 200));
        for (const QPointF& c : handles()) p->drawRect(QRectF(c.x() - h / 2, c.y() - h / 2, h, h));
    }
}

QVariant TfrObjectItem::itemChange(GraphicsItemChange change, const QVariant& value) {
    if (change == ItemPositionChange && scene() && m_handle < 0 && m_scene->grid().snap &&
        (QGraphicsItem::scene()->mouseGrabberItem() != nullptr))
        return frGridDrag(m_scene->scenePoint(m_ref.band, QPointF(m_obj.x, m_obj.y)), value.toPointF(),
                          m_scene->grid().step * k);
    return QGraphicsItem::itemChange(change, value);
}

void TfrObjectItem::mousePressEvent(QGraphicsSceneMouseEvent* e) {
    m_handle = e->button() == Qt::LeftButton ? handleAt(e->pos()) : -1;
    if (m_handle >= 0) {
        m_pressGeo = m_geo;
        m_pressScene = e->scenePos();
        e->accept();
        return;
    }
    QGraphicsItem::mousePressEvent(e);
}

void TfrObjectItem::mouseMoveEvent(QGraphicsSceneMouseEvent* e) {
    if (m_handle < 0) {
        QGraphicsItem::mouseMoveEvent(e);
        return;
    }
    const QPointF d = (e->scenePos() - m_pressScene) / k;
    prepareGeometryChange();
    m_geo = frResizeByHandle(m_obj.kind, m_handle, m_pressGeo, d, m_scene->grid());
    m_resized = m_geo != m_pressGeo;
    update();
}

void TfrObjectItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* e) {
    if (m_handle >= 0) {
        m_handle = -1;
        e->accept();
        return;
    }
    QGraphicsItem::mouseReleaseEvent(e);
}

void TfrObjectItem::hoverMoveEvent(QGraphicsSceneHoverEvent* e) {
    const int h = handleAt(e->pos());
    if (h < 0) unsetCursor();
    else if (m_obj.kind == TfrObjectKind::Line) setCursor(Qt::CrossCursor);
    else {
        static const Qt::CursorShape shapes[] = {Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor,
                                                 Qt::SizeHorCursor,   Qt::SizeFDiagCursor, Qt::SizeVerCursor,
                                                 Qt::SizeBDiagCursor, Qt::SizeHorCursor};
        setCursor(shapes[h]);
    }
    QGraphicsItem::hoverMoveEvent(e);
}

// --- bands -----------------------------------------------------------------------

TfrBandItem::TfrBandItem(TfrDesignScene* scene, int band, const TfrBand& b, double width)
    : m_scene(scene), m_band(band), m_b(b), m_width(width), m_height(b.height) {
    m_b.objects.clear();
    setZValue(0);
    setToolTip(QStringLiteral("%1: %2").arg(b.name, frBandTypeCaption(b.type)));
}

QRectF TfrBandItem::boundingRect() const {
    return QRectF(0, -kEdgeGrip * k, (kfrCaptionWidth + m_width) * k, (std::max(m_height, 0.0) + 2 * kEdgeGrip) * k);
}

void TfrBandItem::paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) {
    const TfrPage* page = m_scene->document()->page();
    if (!page) return;
    const bool current = m_scene->document()->currentBand() == m_band;
    const double h = std::max(m_height, 0.0) * k;
    // the caption at the left of the paper
    const QRectF caption(0, 0, (kfrCaptionWidth - 2) * k, std::max(h, 4.0 * k));
    p->fillRect(caption, current ? QColor(255, 236, 170) : QColor(232, 232, 236));
    p->setPen(QPen(QColor(120, 120, 130), 0));
    p->drawRect(caption);
    QFont f = p->font();
    f.setPixelSize(int(2.8 * k));
    p->setFont(f);
    p->setPen(Qt::black);
    QString text = m_b.name + QLatin1Char('\n') + frBandTypeCaption(m_b.type);
    if (!m_b.dataSet.isEmpty()) text += QStringLiteral(" (%1)").arg(m_b.dataSet);
    p->save();
    p->setClipRect(caption);
    p->drawText(caption.adjusted(1 * k, 0.3 * k, -0.5 * k, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    p->restore();
    // the strip across the printable area
    const QRectF strip((kfrCaptionWidth + page->marginLeft) * k, 0, page->contentWidth() * k, h);
    if (current) p->fillRect(strip, QColor(255, 248, 215));
    p->setPen(QPen(QColor(120, 120, 200), 0, Qt::DashLine));
    p->drawLine(strip.bottomLeft(), strip.bottomRight());
    p->drawLine(QPointF(0, h), QPointF(caption.right(), h));
}

void TfrBandItem::setLiveHeight(double mm) {
    prepareGeometryChange();
    m_height = std::max(0.0, mm);
    update();
}
