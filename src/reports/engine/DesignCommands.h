#pragma once
// The edits of the report designer as plain operations on a template, and the
// one undo command that carries any of them: the template (and the selection)
// before and after. A template is a few kilobytes whose texts and pictures are
// shared between copies, so keeping both states costs little and makes every
// edit undoable the same way.
#include "reports/engine/ReportModel.h"

#include <QRectF>
#include <QUndoCommand>
#include <vector>

// An object of a template: page, band on the page, object on the band.
struct TfrObjRef {
    int page = 0, band = 0, object = 0;
    friend bool operator==(const TfrObjRef&, const TfrObjRef&) = default;
    friend auto operator<=>(const TfrObjRef&, const TfrObjRef&) = default;
};
using TfrObjRefs = std::vector<TfrObjRef>;

// True when `ref` names an object of `t`.
bool frValidRef(const TfrTemplate& t, const TfrObjRef& ref);
TfrObject& frObjectAt(TfrTemplate& t, const TfrObjRef& ref);
const TfrObject& frObjectAt(const TfrTemplate& t, const TfrObjRef& ref);

// Coordinates are kept to a hundredth of a millimetre, so that repeated moves
// do not pile up binary fractions in the saved file.
double frRoundMm(double v);

// Moves objects by (dx, dy) mm; a box stops at its band's left and top edge.
void frMoveObjects(TfrTemplate& t, const TfrObjRefs& refs, double dx, double dy);
// Changes the size by (dw, dh) mm; a box keeps at least the smallest size.
void frResizeObjects(TfrTemplate& t, const TfrObjRefs& refs, double dw, double dh);
// Puts the top left corner (and the size of boxes) on the grid of `step` mm.
void frSnapObjects(TfrTemplate& t, const TfrObjRefs& refs, double step);

enum class TfrAlignKind { Left, Right, Top, Bottom, SameWidth, SameHeight };
// Lines the objects up with the first of them (the one selected first).
void frAlignObjects(TfrTemplate& t, const TfrObjRefs& refs, TfrAlignKind kind);

// Where an object goes when it is dragged: possibly onto another band of its page.
struct TfrObjPlacement {
    TfrObjRef ref;
    int band = 0;      // the band it lands on
    QRectF geometry;   // x, y, width, height in mm, relative to that band
};
// Places the objects; those that change band go to the end of the new band's
// list. Returns where each object is afterwards, in the order given.
TfrObjRefs frPlaceObjects(TfrTemplate& t, const std::vector<TfrObjPlacement>& moves);

// The objects now chosen, in the order they were picked: those of `before`
// first as they came, then the newly chosen in template order (the first
// picked leads alignment).
TfrObjRefs frKeepPickOrder(const TfrObjRefs& before, TfrObjRefs chosen);

// Removes objects; the references of the others stay valid only when taken afresh.
void frRemoveObjects(TfrTemplate& t, TfrObjRefs refs);

// A band name not used on any page: `base` followed by the smallest free number.
QString frFreeBandName(const TfrTemplate& t, const QString& base);
// An object name not used in the template: `base` followed by the smallest free number.
QString frFreeObjectName(const TfrTemplate& t, const QString& base);

// The smallest box size the designer lets an object shrink to.
constexpr double kfrMinObjectSize = 1.0;  // mm

class TfrDesignDocument;

// One undoable change: the template and the selection before and after.
// Commands with the same non-negative merge id that follow each other (a run
// of arrow key steps on the same objects) become one.
class TfrTemplateEdit : public QUndoCommand {
public:
    TfrTemplateEdit(TfrDesignDocument* doc, const QString& text, TfrTemplate before, TfrObjRefs selBefore,
                    TfrTemplate after, TfrObjRefs selAfter, int mergeId = -1);
    void undo() override;
    void redo() override;
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    TfrDesignDocument* m_doc;
    TfrTemplate m_before, m_after;
    TfrObjRefs m_selBefore, m_selAfter;
    int m_mergeId;
};
