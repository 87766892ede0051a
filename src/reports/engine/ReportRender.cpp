#include "reports/engine/ReportRender.h"
#include "base/FileReplace.h"

#include "reports/engine/ReportObjectPrim.h"
#include "reports/engine/ReportText.h"

#include <QDir>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <map>

namespace {

QString mm(double v) { return QString::number(v, 'f', 1); }

}  // namespace

void frRenderPage(QPainter& p, const TfrPreparedPage& page, double k) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const double devDpi = p.device() ? p.device()->logicalDpiY() : 96.0;
    auto R = [k](const QRectF& r) { return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k); };
    auto pen = [k](double w) {
        QPen pen(Qt::black, std::max(w * k, 0.5));
        pen.setCapStyle(Qt::FlatCap);
        return pen;
    };
    for (const TfrPrim& pr : page.prims) {
        switch (pr.kind) {
        case TfrPrim::Kind::Text: {
            if (pr.fill.isValid()) p.fillRect(R(pr.box), pr.fill);
            QFont f = frQtFont(pr.font);
            f.setPointSizeF(pr.font.size * k * 25.4 / devDpi);  // points of the paper on this device
            p.setFont(f);
            p.setPen(Qt::black);
            p.save();
            p.setClipRect(R(pr.box).adjusted(-1, -1, 1, 1));
            const int h = pr.align == TfrHAlign::Left ? Qt::AlignLeft
                          : pr.align == TfrHAlign::Center ? Qt::AlignHCenter : Qt::AlignRight;
            for (int i = 0; i < pr.lines.size(); ++i) {
                const QRectF line(pr.box.left() + kfrMemoPadH, pr.textTop + i * pr.lineHeight,
                                  pr.box.width() - 2 * kfrMemoPadH, pr.lineHeight);
                p.drawText(R(line), h | Qt::AlignTop | Qt::TextDontClip, pr.lines[i]);
            }
            p.restore();
            if (pr.frame.any()) {
                p.setPen(pen(pr.frame.width));
                const QRectF b = R(pr.box);
                if (pr.frame.left) p.drawLine(b.topLeft(), b.bottomLeft());
                if (pr.frame.top) p.drawLine(b.topLeft(), b.topRight());
                if (pr.frame.right) p.drawLine(b.topRight(), b.bottomRight());
                if (pr.frame.bottom) p.drawLine(b.bottomLeft(), b.bottomRight());
            }
            break;
        }
        case TfrPrim::Kind::Line:
            p.setPen(pen(pr.lineWidth));
            p.drawLine(QPointF(pr.box.left() * k, pr.box.top() * k), QPointF(pr.box.right() * k, pr.box.bottom() * k));
            break;
        case TfrPrim::Kind::Rect:
            p.setPen(pr.lineWidth > 0 ? pen(pr.lineWidth) : QPen(Qt::NoPen));
            p.setBrush(pr.fill.isValid() ? QBrush(pr.fill) : QBrush(Qt::NoBrush));
            p.drawRect(R(pr.box));
            p.setBrush(Qt::NoBrush);
            break;
        case TfrPrim::Kind::Image:
            if (!pr.image.isNull()) p.drawImage(R(pr.box), pr.image);
            break;
        case TfrPrim::Kind::Barcode:
            p.setRenderHint(QPainter::Antialiasing, false);
            for (const QRectF& b : pr.bars) p.fillRect(R(b), Qt::black);
            p.setRenderHint(QPainter::Antialiasing, true);
            break;
        }
    }
    p.restore();
}

void frSetPaper(QPagedPaintDevice& device, const TfrPreparedPage& page) {
    device.setPageSize(QPageSize(QSizeF(page.width, page.height), QPageSize::Millimeter));
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void frPaintPages(QPainter& p, QPagedPaintDevice& device, const TfrPreparedReport& rep, int first, int last,
                  double pxPerMm) {
    for (int i = first; i <= last; ++i) {
        if (i > first) {
            frSetPaper(device, rep.pages[size_t(i)]);
            device.newPage();
        }
        frRenderPage(p, rep.pages[size_t(i)], pxPerMm);
    }
}

void frExportPdf(const TfrPreparedReport& rep, const QString& fileName) {
    if (rep.pages.empty()) throw EfrFileError(QStringLiteral("В отчете нет страниц."));
    QPdfWriter w(fileName);
    w.setResolution(600);
    w.setCreator(QStringLiteral("Обрикс"));
    frSetPaper(w, rep.pages.front());
    QPainter p;
    if (!p.begin(&w))
        throw EfrFileError(QStringLiteral("Не удается записать файл «%1».").arg(QDir::toNativeSeparators(fileName)));
    frPaintPages(p, w, rep, 0, int(rep.pages.size()) - 1, w.resolution() / 25.4);
    if (!p.end())
        throw EfrFileError(QStringLiteral("Не удается записать файл «%1».").arg(QDir::toNativeSeparators(fileName)));
}

QString frDumpPages(const TfrPreparedReport& rep) {
    QString out;
    for (size_t i = 0; i < rep.pages.size(); ++i) {
        const TfrPreparedPage& pg = rep.pages[i];
        out += QStringLiteral("page %1 %2x%3\n").arg(i + 1).arg(mm(pg.width), mm(pg.height));
        for (const TfrPrim& p : pg.prims) {
            const QString band = QStringLiteral(" %1#%2").arg(frBandTypeName(p.bandType)).arg(p.bandSerial);
            const QString geo = QStringLiteral("%1 %2 %3 %4").arg(mm(p.box.x()), mm(p.box.y()), mm(p.box.width()), mm(p.box.height()));
            switch (p.kind) {
            case TfrPrim::Kind::Text: {
                QString f = QString::number(p.font.size) + (p.font.bold ? QStringLiteral("b") : QString()) +
                            (p.font.italic ? QStringLiteral("i") : QString());
                const char* al = p.align == TfrHAlign::Left ? "L" : p.align == TfrHAlign::Center ? "C" : "R";
                QString frame;
                if (p.frame.left) frame += QLatin1Char('l');
                if (p.frame.top) frame += QLatin1Char('t');
                if (p.frame.right) frame += QLatin1Char('r');
                if (p.frame.bottom) frame += QLatin1Char('b');
                out += QStringLiteral("T %1%2 %3 %4 %5 \"%6\"\n")
                           .arg(geo, band, f, QLatin1String(al), frame.isEmpty() ? QStringLiteral("-") : frame,
                                p.lines.join(QLatin1Char('|')));
                break;
            }
            case TfrPrim::Kind::Line:
                out += QStringLiteral("L %1%2 w%3\n").arg(geo, band, QString::number(p.lineWidth));
                break;
            case TfrPrim::Kind::Rect:
                out += QStringLiteral("R %1%2 w%3 %4\n").arg(geo, band, QString::number(p.lineWidth),
                                                            p.fill.isValid() ? p.fill.name() : QStringLiteral("-"));
                break;
            case TfrPrim::Kind::Image:
                out += QStringLiteral("I %1%2 %3x%4\n").arg(geo, band).arg(p.image.width()).arg(p.image.height());
                break;
            case TfrPrim::Kind::Barcode:
                out += QStringLiteral("B %1%2 \"%3\" bars=%4\n").arg(geo, band, p.data).arg(p.bars.size());
                break;
            }
        }
    }
    return out;
}

namespace {

// The text primitives of each band instance, left to right.
std::map<int, std::vector<const TfrPrim*>> textsByBand(const TfrPreparedPage& pg) {
    std::map<int, std::vector<const TfrPrim*>> bands;
    for (const TfrPrim& p : pg.prims)
        if (p.kind == TfrPrim::Kind::Text) bands[p.bandSerial].push_back(&p);
    for (auto& [serial, v] : bands)
        std::stable_sort(v.begin(), v.end(), [](const TfrPrim* a, const TfrPrim* b) {
            if (std::abs(a->box.top() - b->box.top()) > 0.5 && (a->box.bottom() <= b->box.top() || b->box.bottom() <= a->box.top()))
                return a->box.top() < b->box.top();
            return a->box.left() < b->box.left();
        });
    return bands;
}

QString csvField(const QString& s, QChar sep) {
    if (s.contains(sep) || s.contains(QLatin1Char('"')) || s.contains(QLatin1Char('\n'))) {
        QString t = s;
        t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + t + QLatin1Char('"');
    }
    return s;
}

QByteArray rtfText(const QString& s) {
    QByteArray out;
    for (QChar c : s) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u < 128) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + "?";
        }
    }
    return out;
}

int twips(double mmv) { return int(std::lround(mmv * 1440.0 / 25.4)); }

}  // namespace

QByteArray frCsv(const TfrPreparedReport& rep, QChar sep) {
    QString out;
    for (const TfrPreparedPage& pg : rep.pages)
        for (const auto& [serial, texts] : textsByBand(pg)) {
            if (texts.empty() || texts.front()->bandType != TfrBandType::MasterData) continue;
            QStringList cells;
            for (const TfrPrim* p : texts) cells << csvField(p->lines.join(QLatin1Char(' ')), sep);
            out += cells.join(sep) + QStringLiteral("\r\n");
        }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QByteArray frRtf(const TfrPreparedReport& rep) {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}\n";
    for (size_t pi = 0; pi < rep.pages.size(); ++pi) {
        const TfrPreparedPage& pg = rep.pages[pi];
        if (pi == 0) {
            const double left = 10, right = 10;
            out += "\\paperw" + QByteArray::number(twips(pg.width)) + "\\paperh" + QByteArray::number(twips(pg.height)) +
                   "\\margl" + QByteArray::number(twips(left)) + "\\margr" + QByteArray::number(twips(right)) +
                   "\\margt" + QByteArray::number(twips(10)) + "\\margb" + QByteArray::number(twips(10)) + "\n";
        } else {
            out += "\\page\n";
        }
        // Band instances in page order; inside a band, texts side by side make a table row.
        std::map<int, double> bandTop;
        for (const TfrPrim& p : pg.prims)
            if (!bandTop.count(p.bandSerial)) bandTop[p.bandSerial] = p.box.top();
        const auto texts = textsByBand(pg);
        for (const auto& [serial, top] : bandTop) {
            auto it = texts.find(serial);
            const std::vector<const TfrPrim*> all = it == texts.end() ? std::vector<const TfrPrim*>{} : it->second;
            // rows: texts whose vertical extents overlap, top to bottom
            std::vector<std::vector<const TfrPrim*>> lines;
            std::vector<std::pair<double, double>> extents;
            for (const TfrPrim* c : all) {
                size_t k = 0;
                for (; k < lines.size(); ++k)
                    if (c->box.top() < extents[k].second - 0.01 && c->box.bottom() > extents[k].first + 0.01) break;
                if (k == lines.size()) {
                    lines.emplace_back();
                    extents.emplace_back(c->box.top(), c->box.bottom());
                }
                lines[k].push_back(c);
                extents[k].first = std::min(extents[k].first, c->box.top());
                extents[k].second = std::max(extents[k].second, c->box.bottom());
            }
            std::vector<size_t> order(lines.size());
            for (size_t k = 0; k < order.size(); ++k) order[k] = k;
            std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return extents[a].first < extents[b].first; });
            bool lineBelow = false;
            for (const TfrPrim& p : pg.prims)
                if (p.bandSerial == serial && p.kind == TfrPrim::Kind::Line && std::abs(p.box.height()) < 0.01) lineBelow = true;
            auto paragraphFormat = [](const TfrPrim* c) {
                QByteArray f = c->align == TfrHAlign::Center ? "\\qc" : c->align == TfrHAlign::Right ? "\\qr" : "\\ql";
                f += "\\fs" + QByteArray::number(int(std::lround(c->font.size * 2)));
                if (c->font.bold) f += "\\b";
                if (c->font.italic) f += "\\i";
                return f + " " + rtfText(c->lines.join(QLatin1Char('\n'))) + (c->font.italic ? "\\i0" : "") +
                       (c->font.bold ? "\\b0" : "");
            };
            for (size_t k : order) {
                std::vector<const TfrPrim*>& cells = lines[k];
                std::sort(cells.begin(), cells.end(), [](const TfrPrim* a, const TfrPrim* b) { return a->box.left() < b->box.left(); });
                if (cells.size() >= 2) {
                    const double origin = cells.front()->box.left();
                    out += "\\trowd\\trgaph60\\trleft" + QByteArray::number(twips(origin - 10));
                    int lastX = twips(origin - 10);
                    for (const TfrPrim* c : cells) {
                        if (c->frame.top) out += "\\clbrdrt\\brdrs\\brdrw10";
                        if (c->frame.left) out += "\\clbrdrl\\brdrs\\brdrw10";
                        if (c->frame.bottom) out += "\\clbrdrb\\brdrs\\brdrw10";
                        if (c->frame.right) out += "\\clbrdrr\\brdrs\\brdrw10";
                        lastX = std::max(lastX + 20, twips(c->box.right() - 10));
                        out += "\\cellx" + QByteArray::number(lastX);
                    }
                    out += "\n";
                    for (const TfrPrim* c : cells) out += "\\pard\\intbl" + paragraphFormat(c) + "\\cell\n";
                    out += "\\row\n";
                } else {
                    out += "\\pard";
                    if (lineBelow && k == order.back()) out += "\\brdrb\\brdrs\\brdrw10";
                    out += paragraphFormat(cells.front()) + "\\par\n";
                }
            }
            if (all.empty() && lineBelow) out += "\\pard\\brdrb\\brdrs\\brdrw10\\fs4\\par\n";
        }
    }
    out += "}\n";
    return out;
}

void frWriteFile(const QByteArray& bytes, const QString& fileName) {
    QString reason;
    if (!WriteFileReplacing(fileName, bytes, reason))
        throw EfrFileError(
            QStringLiteral("Не удается записать файл «%1»: %2.").arg(QDir::toNativeSeparators(fileName), reason));
}
