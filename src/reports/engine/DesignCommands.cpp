#include "reports/engine/DesignCommands.h"

#include "reports/engine/DesignDocument.h"

#include <QSet>
#include <algorithm>
#include <cmath>

bool frValidRef(const TfrTemplate& t, const TfrObjRef& r) {
    if (r.page < 0 || r.page >= int(t.pages.size())) return false;
    const TfrPage& p = t.pages[size_t(r.page)];
    if (r.band < 0 || r.band >= int(p.bands.size())) return false;
    return r.object >= 0 && r.object < int(p.bands[size_t(r.band)].objects.size());
}

TfrObject& frObjectAt(TfrTemplate& t, const TfrObjRef& r) {
    return t.pages.at(size_t(r.page)).bands.at(size_t(r.band)).objects.at(size_t(r.object));
}

const TfrObject& frObjectAt(const TfrTemplate& t, const TfrObjRef& r) {
    return t.pages.at(size_t(r.page)).bands.at(size_t(r.band)).objects.at(size_t(r.object));
}

double frRoundMm(double v) {
    const double r = std::round(v * 100.0) / 100.0;
    return r == 0 ? 0.0 : r;  // never "-0"
}

namespace {

bool isLine(const TfrObject& o) { return o.kind == TfrObjectKind::Line; }

// The left and top edge of what an object covers (a line may run backwards).
double leftOf(const TfrObject& o) { return isLine(o) ? std::min(o.x, o.x + o.width) : o.x; }
double topOf(const TfrObject& o) { return isLine(o) ? std::min(o.y, o.y + o.height) : o.y; }
double rightOf(const TfrObject& o) { return isLine(o) ? std::max(o.x, o.x + o.width) : o.x + o.width; }
double bottomOf(const TfrObject& o) { return isLine(o) ? std::max(o.y, o.y + o.height) : o.y + o.height; }

void setLeft(TfrObject& o, double left) { o.x = frRoundMm(o.x + left - leftOf(o)); }
void setTop(TfrObject& o, double top) { o.y = frRoundMm(o.y + top - topOf(o)); }

// Boxes stay inside the band's left and top edges; lines too, by their nearest end.
void keepInside(TfrObject& o) {
    if (leftOf(o) < 0) setLeft(o, 0);
    if (topOf(o) < 0) setTop(o, 0);
    o.x = frRoundMm(std::min(o.x, frlimits::kMaxCoord));
    o.y = frRoundMm(std::min(o.y, frlimits::kMaxCoord));
}

double snap(double v, double step) { return frRoundMm(std::round(v / step) * step); }

}  // namespace

void frMoveObjects(TfrTemplate& t, const TfrObjRefs& refs, double dx, double dy) {
    for (const TfrObjRef& r : refs) {
        if (!frValidRef(t, r)) continue;
        TfrObject& o = frObjectAt(t, r);
        o.x = frRoundMm(o.x + dx);
        o.y = frRoundMm(o.y + dy);
        keepInside(o);
    }
}

void frResizeObjects(TfrTemplate& t, const TfrObjRefs& refs, double dw, double dh) {
    for (const TfrObjRef& r : refs) {
        if (!frValidRef(t, r)) continue;
        TfrObject& o = frObjectAt(t, r);
        if (isLine(o)) {
            // a line grows along its own direction; a horizontal line only gets longer
            o.width = frRoundMm(o.width + (o.width < 0 ? -dw : dw));
            o.height = frRoundMm(o.height + (o.height < 0 ? -dh : dh));
            if (o.width == 0 && o.height == 0) o.width = kfrMinObjectSize;
        } else {
            o.width = frRoundMm(std::clamp(o.width + dw, kfrMinObjectSize, frlimits::kMaxCoord));
            o.height = frRoundMm(std::clamp(o.height + dh, kfrMinObjectSize, frlimits::kMaxCoord));
        }
    }
}

void frSnapObjects(TfrTemplate& t, const TfrObjRefs& refs, double step) {
    if (step <= 0) return;
    for (const TfrObjRef& r : refs) {
        if (!frValidRef(t, r)) continue;
        TfrObject& o = frObjectAt(t, r);
        o.x = snap(o.x, step);
        o.y = snap(o.y, step);
        if (isLine(o)) {
            o.width = snap(o.width, step);
            o.height = snap(o.height, step);
        } else {
            o.width = std::max(snap(o.width, step), step);
            o.height = std::max(snap(o.height, step), step);
        }
        keepInside(o);
    }
}

void frAlignObjects(TfrTemplate& t, const TfrObjRefs& refs, TfrAlignKind kind) {
    if (refs.size() < 2 || !frValidRef(t, refs.front())) return;
    const TfrObject first = frObjectAt(t, refs.front());
    for (size_t i = 1; i < refs.size(); ++i) {
        if (!frValidRef(t, refs[i])) continue;
        TfrObject& o = frObjectAt(t, refs[i]);
        switch (kind) {
        case TfrAlignKind::Left: setLeft(o, leftOf(first)); break;
        case TfrAlignKind::Right: setLeft(o, rightOf(first) - (rightOf(o) - leftOf(o))); break;
        case TfrAlignKind::Top: setTop(o, topOf(first)); break;
        case TfrAlignKind::Bottom: setTop(o, bottomOf(first) - (bottomOf(o) - topOf(o))); break;
        case TfrAlignKind::SameWidth:
            if (isLine(o) == isLine(first)) o.width = first.width;
            break;
        case TfrAlignKind::SameHeight:
            if (isLine(o) == isLine(first)) o.height = first.height;
            break;
        }
        keepInside(o);
    }
}

TfrObjRefs frPlaceObjects(TfrTemplate& t, const std::vector<TfrObjPlacement>& moves) {
    // Geometry first, in place; then the objects that change band are taken out
    // (from the back, so indices hold) and appended to their new bands.
    struct Transfer { size_t order; TfrObjRef from; int band; };
    std::vector<Transfer> transfers;
    TfrObjRefs out(moves.size());
    for (size_t i = 0; i < moves.size(); ++i) {
        const TfrObjPlacement& m = moves[i];
        out[i] = m.ref;
        if (!frValidRef(t, m.ref)) continue;
        TfrObject& o = frObjectAt(t, m.ref);
        o.x = frRoundMm(m.geometry.x());
        o.y = frRoundMm(m.geometry.y());
        o.width = frRoundMm(m.geometry.width());
        o.height = frRoundMm(m.geometry.height());
        keepInside(o);
        const int bands = int(t.pages[size_t(m.ref.page)].bands.size());
        if (m.band != m.ref.band && m.band >= 0 && m.band < bands) transfers.push_back({i, m.ref, m.band});
    }
    std::sort(transfers.begin(), transfers.end(), [](const Transfer& a, const Transfer& b) { return a.from > b.from; });
    std::vector<std::pair<size_t, TfrObject>> taken;
    for (const Transfer& tr : transfers) {
        auto& objs = t.pages[size_t(tr.from.page)].bands[size_t(tr.from.band)].objects;
        taken.emplace_back(tr.order, std::move(objs[size_t(tr.from.object)]));
        objs.erase(objs.begin() + tr.from.object);
    }
    // references of objects that stayed on a band that lost objects move up
    for (size_t i = 0; i < out.size(); ++i) {
        if (std::any_of(transfers.begin(), transfers.end(), [&](const Transfer& tr) { return tr.order == i; }))
            continue;
        int shift = 0;
        for (const Transfer& tr : transfers)
            if (tr.from.page == out[i].page && tr.from.band == out[i].band && tr.from.object < out[i].object) ++shift;
        out[i].object -= shift;
    }
    std::sort(taken.begin(), taken.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [order, obj] : taken) {
        const Transfer& tr = *std::find_if(transfers.begin(), transfers.end(), [&](const Transfer& x) { return x.order == order; });
        auto& objs = t.pages[size_t(tr.from.page)].bands[size_t(tr.band)].objects;
        objs.push_back(std::move(obj));
        out[order] = {tr.from.page, tr.band, int(objs.size()) - 1};
    }
    return out;
}

TfrObjRefs frKeepPickOrder(const TfrObjRefs& before, TfrObjRefs chosen) {
    std::sort(chosen.begin(), chosen.end());
    TfrObjRefs ordered;
    for (const TfrObjRef& r : before)
        if (std::binary_search(chosen.begin(), chosen.end(), r)) ordered.push_back(r);
    for (const TfrObjRef& r : chosen)
        if (std::find(ordered.begin(), ordered.end(), r) == ordered.end()) ordered.push_back(r);
    return ordered;
}

void frRemoveObjects(TfrTemplate& t, TfrObjRefs refs) {
    std::sort(refs.begin(), refs.end());
    refs.erase(std::unique(refs.begin(), refs.end()), refs.end());
    for (auto it = refs.rbegin(); it != refs.rend(); ++it) {
        if (!frValidRef(t, *it)) continue;
        auto& objs = t.pages[size_t(it->page)].bands[size_t(it->band)].objects;
        objs.erase(objs.begin() + it->object);
    }
}

QString frFreeBandName(const TfrTemplate& t, const QString& base) {
    QSet<QString> used;
    for (const TfrPage& p : t.pages)
        for (const TfrBand& b : p.bands) used.insert(b.name.toLower());
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (!used.contains(name.toLower())) return name;
    }
}

QString frFreeObjectName(const TfrTemplate& t, const QString& base) {
    QSet<QString> used;
    for (const TfrPage& p : t.pages)
        for (const TfrBand& b : p.bands)
            for (const TfrObject& o : b.objects) used.insert(o.name.toLower());
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (!used.contains(name.toLower())) return name;
    }
}

TfrTemplateEdit::TfrTemplateEdit(TfrDesignDocument* doc, const QString& text, TfrTemplate before, TfrObjRefs selBefore,
                                 TfrTemplate after, TfrObjRefs selAfter, int mergeId)
    : QUndoCommand(text),
      m_doc(doc),
      m_before(std::move(before)),
      m_after(std::move(after)),
      m_selBefore(std::move(selBefore)),
      m_selAfter(std::move(selAfter)),
      m_mergeId(mergeId) {}

void TfrTemplateEdit::undo() { m_doc->restore(m_before, m_selBefore); }
void TfrTemplateEdit::redo() { m_doc->restore(m_after, m_selAfter); }

bool TfrTemplateEdit::mergeWith(const QUndoCommand* other) {
    const auto* o = static_cast<const TfrTemplateEdit*>(other);
    // steps merge only while they act on the same objects
    if (o->m_selBefore != m_selAfter) return false;
    m_after = o->m_after;
    m_selAfter = o->m_selAfter;
    return true;
}
