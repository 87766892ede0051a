#include "reports/engine/DesignDocument.h"
#include "base/FileReplace.h"

#include "reports/engine/ReportText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

namespace {

// Merge ids of the steps that may join.
enum { kMergeMove = 1, kMergeResize = 2 };

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

const char* tagOf(TfrObjectKind kind) {
    static const char* tags[] = {"Memo", "Line", "Rect", "Picture", "Barcode"};
    return tags[int(kind)];
}

}  // namespace

TfrDesignDocument::TfrDesignDocument(QObject* parent) : QObject(parent) {
    connect(&m_undo, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
}

void TfrDesignDocument::load(const QString& path) {
    TfrTemplate t = frReadTemplateFile(path);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EfrFileError(QStringLiteral("Не удается открыть файл печатной формы «%1».").arg(native(path)));
    m_loadedBytes = f.readAll();
    m_templ = std::move(t);
    m_path = path;
    m_undo.clear();
    m_sel.clear();
    m_page = 0;
    m_band = m_templ.pages.front().bands.empty() ? -1 : 0;
    emit changed();
    emit selectionChanged();
    emit modifiedChanged(false);
}

QByteArray TfrDesignDocument::bytesToSave() const {
    // Unchanged since it was read or saved: the same bytes, so that saving
    // an untouched form never changes its file.
    return m_undo.isClean() && !m_loadedBytes.isEmpty() ? m_loadedBytes : frTemplateToXml(m_templ);
}

void TfrDesignDocument::save() {
    const QByteArray bytes = bytesToSave();
    try {
        frParseTemplate(bytes, m_path);
    } catch (const EfrTemplateError& e) {
        throw EfrTemplateError(QStringLiteral("Печатная форма не сохранена: ее нельзя было бы загрузить.\r%1")
                                   .arg(e.message()));
    }
    QString reason;
    if (!WriteFileReplacing(m_path, bytes, reason))
        throw EfrFileError(QStringLiteral("Не удается записать файл печатной формы «%1»: %2.\rФайл остался прежним.")
                               .arg(native(m_path), reason));
    m_loadedBytes = bytes;
    m_undo.setClean();
}

void TfrDesignDocument::setSelection(TfrObjRefs refs) {
    refs = validSelection(m_templ, refs);
    if (refs == m_sel) return;
    m_sel = std::move(refs);
    if (!m_sel.empty()) m_band = m_sel.back().band;
    emit selectionChanged();
}

void TfrDesignDocument::setCurrentPage(int page) {
    if (page < 0 || page >= int(m_templ.pages.size()) || page == m_page) return;
    m_page = page;
    m_sel.clear();
    m_band = m_templ.pages[size_t(page)].bands.empty() ? -1 : 0;
    emit changed();
    emit selectionChanged();
}

void TfrDesignDocument::setCurrentBand(int band) {
    const TfrPage* p = page();
    if (!p || band < -1 || band >= int(p->bands.size())) return;
    if (band == m_band) return;
    m_band = band;
    emit selectionChanged();
}

const TfrPage* TfrDesignDocument::page() const {
    return m_page >= 0 && m_page < int(m_templ.pages.size()) ? &m_templ.pages[size_t(m_page)] : nullptr;
}

const TfrBand* TfrDesignDocument::band() const {
    const TfrPage* p = page();
    return p && m_band >= 0 && m_band < int(p->bands.size()) ? &p->bands[size_t(m_band)] : nullptr;
}

TfrObjRefs TfrDesignDocument::validSelection(const TfrTemplate& t, const TfrObjRefs& sel) const {
    TfrObjRefs out;
    for (const TfrObjRef& r : sel)
        if (r.page == m_page && frValidRef(t, r) && std::find(out.begin(), out.end(), r) == out.end()) out.push_back(r);
    return out;
}

void TfrDesignDocument::restore(const TfrTemplate& t, const TfrObjRefs& sel) {
    m_templ = t;
    if (m_page >= int(m_templ.pages.size())) m_page = 0;
    m_sel = validSelection(m_templ, sel);
    const TfrPage* p = page();
    const int bands = p ? int(p->bands.size()) : 0;
    if (!m_sel.empty()) m_band = m_sel.back().band;
    if (m_band >= bands) m_band = bands - 1;
    if (m_band < 0 && bands > 0) m_band = 0;
    emit changed();
    emit selectionChanged();
}

void TfrDesignDocument::push(const QString& text, TfrTemplate after, TfrObjRefs selAfter, int mergeId) {
    m_undo.push(new TfrTemplateEdit(this, text, m_templ, m_sel, std::move(after), std::move(selAfter), mergeId));
}

void TfrDesignDocument::check(const TfrTemplate& t) const {
    try {
        frParseTemplate(frTemplateToXml(t), m_path);
    } catch (const EfrTemplateError& e) {
        throw EfrTemplateError(QStringLiteral("Изменение не принято.\r%1").arg(e.message()));
    }
}

// --- geometry ---------------------------------------------------------------

void TfrDesignDocument::moveSelection(double dx, double dy, bool merge) {
    if (m_sel.empty() || (dx == 0 && dy == 0)) return;
    TfrTemplate t = m_templ;
    frMoveObjects(t, m_sel, dx, dy);
    push(QStringLiteral("Перемещение"), std::move(t), m_sel, merge ? kMergeMove : -1);
}

void TfrDesignDocument::resizeSelection(double dw, double dh, bool merge) {
    if (m_sel.empty() || (dw == 0 && dh == 0)) return;
    TfrTemplate t = m_templ;
    frResizeObjects(t, m_sel, dw, dh);
    push(QStringLiteral("Изменение размера"), std::move(t), m_sel, merge ? kMergeResize : -1);
}

void TfrDesignDocument::snapSelection(double step) {
    if (m_sel.empty() || step <= 0) return;
    TfrTemplate t = m_templ;
    frSnapObjects(t, m_sel, step);
    push(QStringLiteral("Выравнивание по сетке"), std::move(t), m_sel);
}

void TfrDesignDocument::alignSelection(TfrAlignKind kind) {
    if (m_sel.size() < 2) return;
    TfrTemplate t = m_templ;
    frAlignObjects(t, m_sel, kind);
    static const char* texts[] = {"Выравнивание по левому краю", "Выравнивание по правому краю",
                                  "Выравнивание по верхнему краю", "Выравнивание по нижнему краю",
                                  "Одинаковая ширина", "Одинаковая высота"};
    push(QString::fromUtf8(texts[int(kind)]), std::move(t), m_sel);
}

void TfrDesignDocument::placeObjects(const std::vector<TfrObjPlacement>& moves) {
    if (moves.empty()) return;
    TfrTemplate t = m_templ;
    const TfrObjRefs placed = frPlaceObjects(t, moves);
    // the selection follows objects that changed band
    TfrObjRefs sel = m_sel;
    for (size_t i = 0; i < moves.size(); ++i)
        std::replace(sel.begin(), sel.end(), moves[i].ref, placed[i]);
    push(QStringLiteral("Перемещение"), std::move(t), sel);
}

void TfrDesignDocument::deleteSelection() {
    if (m_sel.empty()) return;
    TfrTemplate t = m_templ;
    frRemoveObjects(t, m_sel);
    push(QStringLiteral("Удаление"), std::move(t), {});
}

// --- properties ---------------------------------------------------------------

void TfrDesignDocument::changeObject(const TfrObjRef& ref, const TfrObject& value) {
    if (!frValidRef(m_templ, ref)) return;
    TfrTemplate t = m_templ;
    TfrObject& o = frObjectAt(t, ref);
    const TfrObjectKind kind = o.kind;
    o = value;
    o.kind = kind;
    check(t);
    push(QStringLiteral("Свойства объекта"), std::move(t), m_sel);
}

void TfrDesignDocument::changeBand(int pageIndex, int bandIndex, const TfrBand& value) {
    if (pageIndex < 0 || pageIndex >= int(m_templ.pages.size())) return;
    TfrTemplate t = m_templ;
    TfrPage& p = t.pages[size_t(pageIndex)];
    if (bandIndex < 0 || bandIndex >= int(p.bands.size())) return;
    TfrBand& b = p.bands[size_t(bandIndex)];
    const QString name = value.name.trimmed();
    if (name.isEmpty()) throw EfrTemplateError(QStringLiteral("Изменение не принято: у полосы должно быть имя."));
    for (const TfrPage& other : t.pages)
        for (const TfrBand& x : other.bands)
            if (&x != &b && x.name.compare(name, Qt::CaseInsensitive) == 0)
                throw EfrTemplateError(QStringLiteral("Изменение не принято: полоса с именем «%1» уже есть.").arg(name));
    std::vector<TfrObject> objects = std::move(b.objects);
    b = value;
    b.name = name;
    b.objects = std::move(objects);
    check(t);
    push(QStringLiteral("Свойства полосы"), std::move(t), m_sel);
}

void TfrDesignDocument::changePage(int pageIndex, const TfrPage& value) {
    if (pageIndex < 0 || pageIndex >= int(m_templ.pages.size())) return;
    TfrTemplate t = m_templ;
    TfrPage& p = t.pages[size_t(pageIndex)];
    std::vector<TfrBand> bands = std::move(p.bands);
    p = value;
    p.bands = std::move(bands);
    check(t);
    push(QStringLiteral("Свойства страницы"), std::move(t), m_sel);
}

// --- inserting ---------------------------------------------------------------

TfrObjRef TfrDesignDocument::insertReady(TfrObject o) {
    const TfrPage* p = page();
    if (!p || m_band < 0) throw EfrTemplateError(QStringLiteral("Добавьте на страницу полосу, чтобы разместить на ней объект."));
    TfrTemplate t = m_templ;
    if (o.name.isEmpty() || std::any_of(t.pages.begin(), t.pages.end(), [&](const TfrPage& pg) {
            return std::any_of(pg.bands.begin(), pg.bands.end(), [&](const TfrBand& b) {
                return std::any_of(b.objects.begin(), b.objects.end(),
                                   [&](const TfrObject& x) { return x.name.compare(o.name, Qt::CaseInsensitive) == 0; });
            });
        }))
        o.name = frFreeObjectName(t, QString::fromLatin1(tagOf(o.kind)));
    auto& objs = t.pages[size_t(m_page)].bands[size_t(m_band)].objects;
    objs.push_back(std::move(o));
    const TfrObjRef ref{m_page, m_band, int(objs.size()) - 1};
    frMoveObjects(t, {ref}, 0, 0);  // inside the band, rounded
    push(QStringLiteral("Вставка объекта"), std::move(t), {ref});
    return ref;
}

TfrObjRef TfrDesignDocument::insertObject(TfrObjectKind kind, QPointF at) {
    TfrObject o;
    o.kind = kind;
    o.x = at.x();
    o.y = at.y();
    switch (kind) {
    case TfrObjectKind::Memo:
        o.width = 40;
        o.height = 5;
        o.text = QStringLiteral("Текст");
        break;
    case TfrObjectKind::Line:
        o.width = 40;
        o.height = 0;
        break;
    case TfrObjectKind::Rect:
        o.width = 30;
        o.height = 15;
        break;
    case TfrObjectKind::Picture:
        o.width = 30;
        o.height = 20;
        break;
    case TfrObjectKind::Barcode:
        o.width = 45;
        o.height = 12;
        o.text = QStringLiteral("[Number]");
        break;
    }
    return insertReady(std::move(o));
}

TfrObjRef TfrDesignDocument::insertExpression(const QString& expression, QPointF at) {
    TfrObject o;
    o.kind = TfrObjectKind::Memo;
    o.x = at.x();
    o.y = at.y();
    o.text = QStringLiteral("[") + expression + QStringLiteral("]");
    o.width = std::clamp(frTextWidth(o.font, o.text) + 3, 10.0, 120.0);
    o.height = std::max(5.0, frRoundMm(frLineHeight(o.font) + 1));
    if (const TfrBand* b = band(); b && b->height > 0) o.height = std::min(o.height, std::max(b->height, 1.0));
    return insertReady(std::move(o));
}

TfrObjRef TfrDesignDocument::insertPicture(const QString& imageFile, QPointF at) {
    QImageReader reader(imageFile);
    QImage image = reader.read();
    if (image.isNull())
        throw EfrFileError(QStringLiteral("Не удается прочитать рисунок из файла «%1»: %2.")
                               .arg(native(imageFile), reader.errorString()));
    TfrObject o;
    o.kind = TfrObjectKind::Picture;
    o.picture = std::move(image);
    o.x = at.x();
    o.y = at.y();
    // The picture's own size at its resolution, at most 60 mm wide.
    const double dpm = o.picture.dotsPerMeterX() > 0 ? o.picture.dotsPerMeterX() / 1000.0 : 96 / 25.4;
    double w = o.picture.width() / dpm, h = o.picture.height() / dpm;
    if (w > 60) {
        h = h * 60 / w;
        w = 60;
    }
    o.width = frRoundMm(std::max(w, kfrMinObjectSize));
    o.height = frRoundMm(std::max(h, kfrMinObjectSize));
    return insertReady(std::move(o));
}

// --- bands --------------------------------------------------------------------

int TfrDesignDocument::addBand(TfrBandType type) {
    if (!page()) return -1;
    TfrTemplate t = m_templ;
    auto& bands = t.pages[size_t(m_page)].bands;
    TfrBand b;
    b.type = type;
    b.name = frFreeBandName(t, frBandTypeName(type));
    b.height = type == TfrBandType::MasterData ? 6 : 10;
    if (type == TfrBandType::MasterData) b.dataSet = QStringLiteral("frdsReport");
    const int index = m_band < 0 ? int(bands.size()) : m_band + 1;
    bands.insert(bands.begin() + index, std::move(b));
    push(QStringLiteral("Добавление полосы"), std::move(t), {});
    m_band = index;
    emit selectionChanged();
    return index;
}

void TfrDesignDocument::removeBand(int bandIndex) {
    const TfrPage* p = page();
    if (!p || bandIndex < 0 || bandIndex >= int(p->bands.size())) return;
    TfrTemplate t = m_templ;
    auto& bands = t.pages[size_t(m_page)].bands;
    bands.erase(bands.begin() + bandIndex);
    push(QStringLiteral("Удаление полосы"), std::move(t), {});
    m_band = std::min(bandIndex, int(bands.size()) - 1);
    emit selectionChanged();
}

bool TfrDesignDocument::moveBand(int bandIndex, int delta) {
    const TfrPage* p = page();
    const int to = bandIndex + delta;
    if (!p || bandIndex < 0 || bandIndex >= int(p->bands.size()) || to < 0 || to >= int(p->bands.size()) ||
        delta == 0)
        return false;
    TfrTemplate t = m_templ;
    auto& bands = t.pages[size_t(m_page)].bands;
    std::swap(bands[size_t(bandIndex)], bands[size_t(to)]);
    TfrObjRefs sel = m_sel;
    for (TfrObjRef& r : sel) {
        if (r.band == bandIndex) r.band = to;
        else if (r.band == to) r.band = bandIndex;
    }
    push(QStringLiteral("Перемещение полосы"), std::move(t), sel);
    m_band = to;
    emit selectionChanged();
    return true;
}

// --- clipboard ----------------------------------------------------------------

QString TfrDesignDocument::clipboardMimeType() { return QStringLiteral("application/x-obrix-report-objects"); }

QByteArray TfrDesignDocument::copySelection() const {
    if (m_sel.empty()) return {};
    TfrTemplate clip;
    TfrPage p = m_templ.pages[size_t(m_page)];
    p.bands.clear();
    TfrBand b;
    b.name = QStringLiteral("Clipboard");
    b.type = TfrBandType::MasterData;
    b.height = 0;
    for (const TfrObjRef& r : m_sel) b.objects.push_back(frObjectAt(m_templ, r));
    p.bands.push_back(std::move(b));
    clip.pages.push_back(std::move(p));
    return frTemplateToXml(clip);
}

void TfrDesignDocument::cutSelection() {
    if (m_sel.empty()) return;
    TfrTemplate t = m_templ;
    frRemoveObjects(t, m_sel);
    push(QStringLiteral("Вырезание"), std::move(t), {});
}

bool TfrDesignDocument::paste(const QByteArray& data) {
    if (data.isEmpty() || !page() || m_band < 0) return false;
    TfrTemplate clip;
    try {
        clip = frParseTemplate(data, QStringLiteral("clipboard"));
    } catch (const EfrTemplateError&) {
        return false;
    }
    std::vector<TfrObject> objects;
    for (TfrPage& p : clip.pages)
        for (TfrBand& b : p.bands)
            for (TfrObject& o : b.objects) objects.push_back(std::move(o));
    if (objects.empty()) return false;
    TfrTemplate t = m_templ;
    auto& target = t.pages[size_t(m_page)].bands[size_t(m_band)].objects;
    TfrObjRefs sel;
    for (TfrObject& o : objects) {
        if (!o.name.isEmpty()) {
            bool taken = false;
            for (const TfrPage& pg : t.pages)
                for (const TfrBand& b : pg.bands)
                    for (const TfrObject& x : b.objects) taken = taken || x.name.compare(o.name, Qt::CaseInsensitive) == 0;
            if (taken) o.name = frFreeObjectName(t, QString::fromLatin1(tagOf(o.kind)));
        }
        target.push_back(std::move(o));
        sel.push_back({m_page, m_band, int(target.size()) - 1});
    }
    push(QStringLiteral("Вставка"), std::move(t), sel);
    return true;
}
