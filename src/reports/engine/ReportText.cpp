#include "reports/engine/ReportText.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <zint.h>

namespace {

// Text is measured on an image of 2540 dpi: one pixel is 0.01 mm.
constexpr double kMmPerPx = 0.01;

const QImage& measureDevice() {
    static const QImage img = [] {
        QImage i(1, 1, QImage::Format_Mono);
        i.setDotsPerMeterX(100000);
        i.setDotsPerMeterY(100000);
        return i;
    }();
    return img;
}

struct FontKey {
    TfrFont f;
    friend bool operator==(const FontKey& a, const FontKey& b) { return a.f == b.f; }
};
size_t qHash(const FontKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.f.family, k.f.size, k.f.bold, k.f.italic, k.f.underline);
}

// The metrics of the fonts met lately. A template can name any number of
// fonts, so the cache is emptied when it grows past what real forms use.
QFontMetricsF metrics(const TfrFont& f) {
    static QHash<FontKey, QFontMetricsF> cache;
    auto it = cache.constFind(FontKey{f});
    if (it != cache.constEnd()) return *it;
    if (cache.size() >= 64) cache.clear();
    return *cache.insert(FontKey{f}, QFontMetricsF(frQtFont(f), &measureDevice()));
}

}  // namespace

QFont frQtFont(const TfrFont& f) {
    QFont q(f.family);
    q.setPointSizeF(f.size);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setKerning(false);
    return q;
}

double frTextWidth(const TfrFont& f, const QString& text) { return metrics(f).horizontalAdvance(text) * kMmPerPx; }

double frLineHeight(const TfrFont& f) { return metrics(f).height() * kMmPerPx; }

QStringList frWrapText(const TfrFont& f, const QString& text, double width, bool wrap) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = t.split(QLatin1Char('\n'));
    QStringList out;
    for (const QString& para : paragraphs) {
        if (!wrap || frTextWidth(f, para) <= width) {
            out << para;
            continue;
        }
        QString line;
        const QStringList words = para.split(QLatin1Char(' '));
        for (int wi = 0; wi < words.size(); ++wi) {
            QString word = words[wi];
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (frTextWidth(f, candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty()) out << line;
            line.clear();
            // A word wider than the line is cut between characters.
            while (frTextWidth(f, word) > width && word.size() > 1) {
                int n = 1;
                while (n < word.size() && frTextWidth(f, word.left(n + 1)) <= width) ++n;
                out << word.left(n);
                word = word.mid(n);
            }
            line = word;
        }
        out << line;
    }
    return out;
}

TfrBarcodeBars frBarcodeBars(TfrBarcodeType type, const QString& data, double width, double height) {
    TfrBarcodeBars res;
    if (data.isEmpty()) return res;
    zint_symbol* sym = ZBarcode_Create();
    switch (type) {
    case TfrBarcodeType::EAN13: sym->symbology = BARCODE_EANX; break;
    case TfrBarcodeType::Code128: sym->symbology = BARCODE_CODE128; break;
    case TfrBarcodeType::QR: sym->symbology = BARCODE_QRCODE; break;
    }
    sym->input_mode = UNICODE_MODE;
    sym->show_hrt = 0;
    const QByteArray utf8 = data.toUtf8();
    const int rc = ZBarcode_Encode_and_Buffer_Vector(sym, reinterpret_cast<const unsigned char*>(utf8.constData()),
                                                     int(utf8.size()), 0);
    if (rc >= ZINT_ERROR) {
        res.error = QString::fromLatin1(sym->errtxt);
    } else if (sym->vector && sym->vector->width > 0 && sym->vector->height > 0) {
        double sx = width / sym->vector->width;
        double sy = height / sym->vector->height;
        double ox = 0;
        if (type == TfrBarcodeType::QR) {  // square modules, centred
            sx = sy = std::min(sx, sy);
            ox = (width - sym->vector->width * sx) / 2;
        }
        for (zint_vector_rect* r = sym->vector->rectangles; r; r = r->next)
            res.bars.emplace_back(ox + r->x * sx, r->y * sy, r->width * sx, r->height * sy);
    }
    ZBarcode_Delete(sym);
    return res;
}
