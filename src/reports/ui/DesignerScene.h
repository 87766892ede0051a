#pragma once
// The designer's drawing of one page at paper scale: the paper with its
// margins, the bands stacked from the top margin with their names and kinds
// in a column to the left of the paper, the objects drawn as the report draws
// them. Objects are selected by click, Ctrl+click or a rubber band, moved by
// dragging (onto another band too) and resized by their handles; each finished
// gesture is one edit of the document. Scene units: 1 mm = kfrScenePerMm.
#include "reports/engine/DesignDocument.h"
#include "reports/engine/DesignGeometry.h"
#include "reports/engine/DesignProperties.h"
#include "reports/engine/ReportEngine.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <map>

class TfrObjectItem;
class TfrBandItem;

constexpr double kfrScenePerMm = 96.0 / 25.4;  // the paper at its real size on a 96 dpi screen
constexpr double kfrCaptionWidth = 42;         // mm left of the paper for the bands' captions

class TfrDesignScene : public QGraphicsScene {
    Q_OBJECT
public:
    explicit TfrDesignScene(TfrDesignDocument* doc, QObject* parent = nullptr);
    ~TfrDesignScene() override;

    TfrDesignDocument* document() const { return m_doc; }
    // The grid objects dragged and resized land on.
    const TfrDesignGrid& grid() const { return m_grid; }
    void setGridStep(double mm);
    void setSnapToGrid(bool on);

    // The scene point of a position in mm on a band.
    QPointF scenePoint(int band, const QPointF& mm) const;
    // The item drawing an object (nullptr while the scene is being rebuilt).
    TfrObjectItem* itemOf(const TfrObjRef& ref) const;

    // Where new objects go: the last point clicked on the current band (mm on
    // that band, on the grid), else the band's top left corner.
    QPointF insertPoint() const;

public slots:
    void rebuild();
    void syncSelection();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* e) override;
    void drawBackground(QPainter* p, const QRectF& rect) override;

private:
    void onSceneSelectionChanged();
    void finishGesture();
    TfrBandItem* bandEdgeAt(const QPointF& scenePos) const;
    void setViewCursor(Qt::CursorShape shape);

    TfrDesignDocument* m_doc;
    TfrDesignGrid m_grid;
    bool m_rebuilding = false;
    std::map<TfrObjRef, TfrObjectItem*> m_items;
    std::vector<TfrBandItem*> m_bands;
    std::map<TfrObjectItem*, QPointF> m_pressPos;
    TfrBandItem* m_bandDrag = nullptr;  // the band whose height is being dragged
    int m_clickBand = -1;
    QPointF m_clickMm;
};

// The view: zoom, and the keyboard: arrows move the selection by one grid
// step (Ctrl: by 0.1 mm), Shift+arrows resize it, Delete removes it.
class TfrDesignView : public QGraphicsView {
    Q_OBJECT
public:
    explicit TfrDesignView(TfrDesignScene* scene, QWidget* parent = nullptr);
    void setZoom(double percent);
    double zoom() const { return m_zoom; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    TfrDesignScene* m_scene;
    double m_zoom = 100;
};

// One object of the template.
class TfrObjectItem : public QGraphicsItem {
public:
    TfrObjectItem(TfrDesignScene* scene, const TfrObjRef& ref, const TfrObject& o);
    const TfrObjRef& ref() const { return m_ref; }
    const TfrObject& object() const { return m_obj; }
    // The geometry in mm relative to the item's origin band: live while resizing.
    QRectF geometry() const { return m_geo; }
    bool resized() const { return m_resized; }
    // The primitive the report engine makes of the object where it stands now
    // (mm on the paper): what paint() draws under the designer's own marks.
    TfrPrim prim() const;
    // The selection handle under a point in item units; -1 for none (or not selected).
    int handleAt(const QPointF& local) const;

    QRectF boundingRect() const override;
    void paint(QPainter* p, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* e) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent* e) override;

private:
    QPointF boxOrigin() const;             // the box's top left corner in item units
    std::vector<QPointF> handles() const;  // scene units, relative to pos()
    QRectF shapeRect() const;              // the object's box in item units

    TfrDesignScene* m_scene;
    TfrObjRef m_ref;
    TfrObject m_obj;
    QRectF m_geo;           // x, y, width, height in mm (a line: start and extent)
    int m_handle = -1;      // handle being dragged
    QRectF m_pressGeo;
    QPointF m_pressScene;
    bool m_resized = false;
};

// One band: its strip across the paper and its caption. Its height is dragged
// by the bottom edge (the scene handles that gesture before the objects, which
// often reach down to the edge).
class TfrBandItem : public QGraphicsItem {
public:
    TfrBandItem(TfrDesignScene* scene, int band, const TfrBand& b, double width);
    int band() const { return m_band; }
    double height() const { return m_b.height; }
    double liveHeight() const { return m_height; }
    void setLiveHeight(double mm);

    QRectF boundingRect() const override;
    void paint(QPainter* p, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    TfrDesignScene* m_scene;
    int m_band;
    TfrBand m_b;
    double m_width;   // mm, the paper's width
    double m_height;  // mm, live while dragged
};
