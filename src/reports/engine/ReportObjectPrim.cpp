#include "reports/engine/ReportObjectPrim.h"

#include "reports/engine/ReportText.h"

#include <algorithm>

TfrMemoText frMemoText(const TfrObject& memo, const QString& text) {
    TfrMemoText t;
    t.lines = frWrapText(memo.font, text, std::max(1.0, memo.width - 2 * kfrMemoPadH), memo.wordWrap);
    t.lineHeight = frLineHeight(memo.font);
    return t;
}

TfrPrim frObjectPrim(const TfrObject& o, const QRectF& box, const TfrMemoText& text, const QString& data,
                     QString* error) {
    TfrPrim p;
    p.objectName = o.name;
    p.box = box;
    switch (o.kind) {
    case TfrObjectKind::Memo: {
        p.kind = TfrPrim::Kind::Text;
        p.lines = text.lines;
        p.lineHeight = text.lineHeight;
        p.font = o.font;
        p.align = o.align;
        p.frame = o.frame;
        p.fill = o.fill;
        // a box that does not grow shows the lines it holds, at least the first
        const int fit = std::max(1, int((box.height() - 2 * kfrMemoPadV + 0.01) / p.lineHeight));
        while (p.lines.size() > fit) p.lines.removeLast();
        const double textH = p.lines.size() * p.lineHeight;
        if (o.valign == TfrVAlign::Top) p.textTop = box.top() + kfrMemoPadV;
        else if (o.valign == TfrVAlign::Center) p.textTop = box.top() + (box.height() - textH) / 2;
        else p.textTop = box.bottom() - kfrMemoPadV - textH;
        break;
    }
    case TfrObjectKind::Line:
        // a line keeps its own extent whatever its box does
        p.kind = TfrPrim::Kind::Line;
        p.box = QRectF(box.topLeft(), box.topLeft() + QPointF(o.width, o.height));
        p.lineWidth = o.lineWidth;
        break;
    case TfrObjectKind::Rect:
        p.kind = TfrPrim::Kind::Rect;
        p.lineWidth = o.lineWidth;
        p.fill = o.fill;
        break;
    case TfrObjectKind::Picture:
        p.kind = TfrPrim::Kind::Image;
        p.image = o.picture;
        break;
    case TfrObjectKind::Barcode: {
        p.kind = TfrPrim::Kind::Barcode;
        p.data = data;
        // the symbol keeps the object's own size
        const TfrBarcodeBars bars = frBarcodeBars(o.barcode, data, o.width, o.height);
        if (!bars.error.isEmpty()) {
            if (error) *error = bars.error;
            break;
        }
        for (const QRectF& r : bars.bars) p.bars.push_back(r.translated(box.topLeft()));
        break;
    }
    }
    return p;
}

TfrPrim frObjectPrim(const TfrObject& o, const QPointF& bandOrigin, const QString& value, QString* error) {
    const QRectF box(bandOrigin.x() + o.x, bandOrigin.y() + o.y, o.width, o.height);
    const TfrMemoText text = o.kind == TfrObjectKind::Memo ? frMemoText(o, value) : TfrMemoText{};
    return frObjectPrim(o, box, text, value, error);
}
