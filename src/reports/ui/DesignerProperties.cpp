#include "reports/ui/DesignerProperties.h"

#include "ui/MessageBoxes.h"
#include "reports/ui/DesignerScene.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFontComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPageSize>
#include <QPlainTextEdit>
#include <QTimer>
#include <cmath>
#include <memory>

namespace {

// Calls `done` when the watched widget loses the focus.
class FocusOutWatch : public QObject {
public:
    FocusOutWatch(QObject* parent, std::function<void()> done) : QObject(parent), m_done(std::move(done)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::FocusOut) m_done();
        return QObject::eventFilter(o, e);
    }
private:
    std::function<void()> m_done;
};

struct Paper {
    const char* caption;
    QPageSize::PageSizeId id;
};
const Paper kPapers[] = {{"A4", QPageSize::A4}, {"A5", QPageSize::A5}, {"A3", QPageSize::A3},
                         {"A6", QPageSize::A6}, {"B5", QPageSize::B5}, {"Letter", QPageSize::Letter}};

QSizeF paperSize(QPageSize::PageSizeId id) { return QPageSize(id).size(QPageSize::Millimeter); }

// The paper in the list that has this size in either orientation; -1 for another size.
int paperIndex(double w, double h) {
    for (int i = 0; i < int(std::size(kPapers)); ++i) {
        const QSizeF s = paperSize(kPapers[i].id);
        auto near = [](double a, double b) { return std::abs(a - b) < 0.6; };
        if ((near(s.width(), w) && near(s.height(), h)) || (near(s.width(), h) && near(s.height(), w))) return i;
    }
    return -1;
}

const char* const kKinds[] = {"Текст", "Линия", "Прямоугольник", "Рисунок", "Штрихкод"};

}  // namespace

TfrPropertyEditor::TfrPropertyEditor(TfrDesignDocument* doc, QWidget* parent) : QTableWidget(parent), m_doc(doc) {
    setObjectName(QStringLiteral("tblProperties"));
    setColumnCount(2);
    setHorizontalHeaderLabels({QStringLiteral("Свойство"), QStringLiteral("Значение")});
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(doc, &TfrDesignDocument::changed, this, &TfrPropertyEditor::scheduleRefresh);
    connect(doc, &TfrDesignDocument::selectionChanged, this, &TfrPropertyEditor::scheduleRefresh);
    refresh();
}

TfrPropertyEditor::~TfrPropertyEditor() {
    for (const QPointer<QObject>& w : m_watches) delete w.data();
}

void TfrPropertyEditor::scheduleRefresh() {
    // An editor may be the one whose signal caused the change: it goes after that signal.
    if (m_pending) return;
    m_pending = true;
    QTimer::singleShot(0, this, &TfrPropertyEditor::refresh);
}

QWidget* TfrPropertyEditor::editorFor(const QString& caption) const {
    for (int r = 0; r < rowCount(); ++r)
        if (item(r, 0) && item(r, 0)->text() == caption) return cellWidget(r, 1);
    return nullptr;
}

void TfrPropertyEditor::refresh() {
    m_pending = false;
    // the text editors about to go must not commit while they are destroyed
    for (const QPointer<QObject>& w : m_watches) delete w.data();
    m_watches.clear();
    setRowCount(0);
    const TfrObjRefs& sel = m_doc->selection();
    if (sel.size() == 1) {
        showObject(sel.front());
    } else if (sel.size() > 1) {
        section(QStringLiteral("Выбрано объектов: %1").arg(sel.size()));
    } else {
        if (m_doc->band()) showBand(m_doc->currentBand());
        showPage();
    }
}

void TfrPropertyEditor::apply(const std::function<void()>& change) {
    try {
        change();
    } catch (const EfrTemplateError& e) {
        TitledMessageBox(e.message(), mbWarningOk);
        scheduleRefresh();
    }
}

// --- rows ----------------------------------------------------------------------

void TfrPropertyEditor::section(const QString& title) {
    const int r = rowCount();
    insertRow(r);
    auto* it = new QTableWidgetItem(title);
    QFont f = it->font();
    f.setBold(true);
    it->setFont(f);
    it->setBackground(palette().alternateBase());
    setItem(r, 0, it);
    setSpan(r, 0, 1, 2);
}

void TfrPropertyEditor::row(const QString& caption, QWidget* editor) {
    const int r = rowCount();
    insertRow(r);
    setItem(r, 0, new QTableWidgetItem(caption));
    setCellWidget(r, 1, editor);
    if (qobject_cast<QPlainTextEdit*>(editor)) setRowHeight(r, fontMetrics().height() * 4);
}

void TfrPropertyEditor::number(const QString& caption, double value, double min, double max,
                               std::function<void(double)> set) {
    auto* e = new QDoubleSpinBox;
    e->setDecimals(2);
    e->setRange(min, max);
    e->setSingleStep(0.5);
    e->setValue(value);
    e->setKeyboardTracking(false);
    e->setFrame(false);
    // Enter and the loss of focus both finish an edit: the value goes in once
    auto last = std::make_shared<double>(value);
    connect(e, &QDoubleSpinBox::editingFinished, this, [this, e, last, set] {
        if (std::abs(e->value() - *last) <= 1e-9) return;
        *last = e->value();
        apply([&] { set(e->value()); });
    });
    row(caption, e);
}

void TfrPropertyEditor::text(const QString& caption, const QString& value, std::function<void(const QString&)> set) {
    auto* e = new QLineEdit(value);
    e->setFrame(false);
    auto last = std::make_shared<QString>(value);
    connect(e, &QLineEdit::editingFinished, this, [this, e, last, set] {
        if (e->text() == *last) return;
        *last = e->text();
        apply([&] { set(e->text()); });
    });
    row(caption, e);
}

void TfrPropertyEditor::multiline(const QString& caption, const QString& value, std::function<void(const QString&)> set) {
    auto* e = new QPlainTextEdit(value);
    e->setTabChangesFocus(true);
    e->setFrameShape(QFrame::NoFrame);
    auto last = std::make_shared<QString>(value);
    auto* watch = new FocusOutWatch(e, [this, e, last, set] {
        if (e->toPlainText() == *last) return;
        *last = e->toPlainText();
        apply([&] { set(e->toPlainText()); });
    });
    e->installEventFilter(watch);
    m_watches.emplace_back(watch);
    row(caption, e);
}

void TfrPropertyEditor::check(const QString& caption, bool value, std::function<void(bool)> set) {
    auto* e = new QCheckBox;
    e->setChecked(value);
    connect(e, &QCheckBox::toggled, this, [this, set](bool on) { apply([&] { set(on); }); });
    row(caption, e);
}

void TfrPropertyEditor::choice(const QString& caption, const QStringList& items, int index,
                               std::function<void(int)> set) {
    auto* e = new QComboBox;
    e->addItems(items);
    e->setCurrentIndex(index);
    e->setFrame(false);
    connect(e, &QComboBox::activated, this, [this, index, set](int i) {
        if (i != index) apply([&] { set(i); });
    });
    row(caption, e);
}

void TfrPropertyEditor::editable(const QString& caption, const QStringList& items, const QString& value,
                                 std::function<void(const QString&)> set) {
    auto* e = new QComboBox;
    e->setEditable(true);
    e->addItems(items);
    e->setCurrentText(value);
    e->setFrame(false);
    auto last = std::make_shared<QString>(value);
    auto commit = [this, e, last, set] {
        if (e->currentText().trimmed() == *last) return;
        *last = e->currentText().trimmed();
        apply([&] { set(e->currentText().trimmed()); });
    };
    connect(e, &QComboBox::activated, this, commit);
    connect(e->lineEdit(), &QLineEdit::editingFinished, this, commit);
    row(caption, e);
}

// --- what is shown ---------------------------------------------------------------

void TfrPropertyEditor::showObject(const TfrObjRef& ref) {
    const TfrObject o = frObjectAt(m_doc->templ(), ref);
    auto setter = [this, ref](std::function<void(TfrObject&)> edit) {
        TfrObject v = frObjectAt(m_doc->templ(), ref);
        edit(v);
        m_doc->changeObject(ref, v);
    };
    const bool line = o.kind == TfrObjectKind::Line;
    const double lo = line ? -frlimits::kMaxCoord : 0, m = frlimits::kMaxCoord;
    section(QStringLiteral("Объект: %1").arg(QString::fromUtf8(kKinds[int(o.kind)])));
    text(QStringLiteral("Имя"), o.name, [=](const QString& s) { setter([&](TfrObject& v) { v.name = s.trimmed(); }); });
    number(QStringLiteral("Слева, мм"), o.x, lo, m, [=](double d) { setter([&](TfrObject& v) { v.x = frRoundMm(d); }); });
    number(QStringLiteral("Сверху, мм"), o.y, lo, m, [=](double d) { setter([&](TfrObject& v) { v.y = frRoundMm(d); }); });
    number(QStringLiteral("Ширина, мм"), o.width, lo, m,
           [=](double d) { setter([&](TfrObject& v) { v.width = frRoundMm(d); }); });
    number(QStringLiteral("Высота, мм"), o.height, lo, m,
           [=](double d) { setter([&](TfrObject& v) { v.height = frRoundMm(d); }); });
    if (o.kind == TfrObjectKind::Memo || o.kind == TfrObjectKind::Barcode)
        multiline(o.kind == TfrObjectKind::Memo ? QStringLiteral("Текст") : QStringLiteral("Данные (выражение)"), o.text,
                  [=](const QString& s) { setter([&](TfrObject& v) { v.text = s; }); });
    if (o.kind == TfrObjectKind::Memo) {
        auto* font = new QFontComboBox;
        font->setCurrentFont(QFont(o.font.family));
        font->setFrame(false);
        connect(font, &QFontComboBox::activated, this, [this, font, setter, family = o.font.family](int) {
            if (font->currentFont().family() != family)
                apply([&] { setter([&](TfrObject& v) { v.font.family = font->currentFont().family(); }); });
        });
        row(QStringLiteral("Шрифт"), font);
        number(QStringLiteral("Размер шрифта, пт"), o.font.size, 1, frlimits::kMaxFont,
               [=](double d) { setter([&](TfrObject& v) { v.font.size = d; }); });
        check(QStringLiteral("Жирный"), o.font.bold, [=](bool b) { setter([&](TfrObject& v) { v.font.bold = b; }); });
        check(QStringLiteral("Курсив"), o.font.italic, [=](bool b) { setter([&](TfrObject& v) { v.font.italic = b; }); });
        check(QStringLiteral("Подчеркнутый"), o.font.underline,
              [=](bool b) { setter([&](TfrObject& v) { v.font.underline = b; }); });
        choice(QStringLiteral("Выравнивание"), {QStringLiteral("Влево"), QStringLiteral("По центру"), QStringLiteral("Вправо")},
               int(o.align), [=](int i) { setter([&](TfrObject& v) { v.align = TfrHAlign(i); }); });
        choice(QStringLiteral("По вертикали"), {QStringLiteral("Сверху"), QStringLiteral("По центру"), QStringLiteral("Снизу")},
               int(o.valign), [=](int i) { setter([&](TfrObject& v) { v.valign = TfrVAlign(i); }); });
        check(QStringLiteral("Перенос по словам"), o.wordWrap,
              [=](bool b) { setter([&](TfrObject& v) { v.wordWrap = b; }); });
        check(QStringLiteral("Растягивается по тексту"), o.stretch,
              [=](bool b) { setter([&](TfrObject& v) { v.stretch = b; }); });
        check(QStringLiteral("Рамка слева"), o.frame.left, [=](bool b) { setter([&](TfrObject& v) { v.frame.left = b; }); });
        check(QStringLiteral("Рамка сверху"), o.frame.top, [=](bool b) { setter([&](TfrObject& v) { v.frame.top = b; }); });
        check(QStringLiteral("Рамка справа"), o.frame.right,
              [=](bool b) { setter([&](TfrObject& v) { v.frame.right = b; }); });
        check(QStringLiteral("Рамка снизу"), o.frame.bottom,
              [=](bool b) { setter([&](TfrObject& v) { v.frame.bottom = b; }); });
        number(QStringLiteral("Толщина рамки, мм"), o.frame.width, 0, 10,
               [=](double d) { setter([&](TfrObject& v) { v.frame.width = d; }); });
    }
    if (o.kind == TfrObjectKind::Line || o.kind == TfrObjectKind::Rect)
        number(QStringLiteral("Толщина линии, мм"), o.lineWidth, 0, 10,
               [=](double d) { setter([&](TfrObject& v) { v.lineWidth = d; }); });
    if (o.kind == TfrObjectKind::Barcode) {
        const QList<TfrBarcodeType> types = {TfrBarcodeType::EAN13, TfrBarcodeType::Code128, TfrBarcodeType::QR};
        QStringList names;
        for (TfrBarcodeType t : types) names << frBarcodeTypeName(t);
        choice(QStringLiteral("Вид штрихкода"), names, int(types.indexOf(o.barcode)),
               [=](int i) { setter([&](TfrObject& v) { v.barcode = types.value(i); }); });
    }
}

void TfrPropertyEditor::showBand(int bandIndex) {
    const int page = m_doc->currentPage();
    const TfrBand b = m_doc->templ().pages[size_t(page)].bands[size_t(bandIndex)];
    auto setter = [this, page, bandIndex](std::function<void(TfrBand&)> edit) {
        TfrBand v = m_doc->templ().pages[size_t(page)].bands[size_t(bandIndex)];
        edit(v);
        m_doc->changeBand(page, bandIndex, v);
    };
    section(QStringLiteral("Полоса"));
    text(QStringLiteral("Имя полосы"), b.name, [=](const QString& s) { setter([&](TfrBand& v) { v.name = s; }); });
    QStringList types;
    for (int i = 0; i <= int(TfrBandType::GroupFooter); ++i) types << frBandTypeCaption(TfrBandType(i));
    choice(QStringLiteral("Вид полосы"), types, int(b.type), [=](int i) { setter([&](TfrBand& v) { v.type = TfrBandType(i); }); });
    number(QStringLiteral("Высота полосы, мм"), b.height, 0, frlimits::kMaxPaper,
           [=](double d) { setter([&](TfrBand& v) { v.height = frRoundMm(d); }); });
    if (b.type == TfrBandType::MasterData || b.type == TfrBandType::MasterHeader || b.type == TfrBandType::MasterFooter ||
        !b.dataSet.isEmpty())
        editable(QStringLiteral("Набор данных"),
                 {QString(), QStringLiteral("frdsReport"), QStringLiteral("frdsReportP"), QStringLiteral("frdsReportU")},
                 b.dataSet, [=](const QString& s) { setter([&](TfrBand& v) { v.dataSet = s; }); });
    // shown for every band, so that the condition can be written before the band becomes a group
    text(QStringLiteral("Условие группы"), b.condition,
         [=](const QString& s) { setter([&](TfrBand& v) { v.condition = s; }); });
    if (b.type == TfrBandType::MasterHeader)
        check(QStringLiteral("Повторять на каждой странице"), b.repeatHeader,
              [=](bool on) { setter([&](TfrBand& v) { v.repeatHeader = on; }); });
}

void TfrPropertyEditor::showPage() {
    const int page = m_doc->currentPage();
    if (!m_doc->page()) return;
    const TfrPage p = *m_doc->page();
    auto setter = [this, page](std::function<void(TfrPage&)> edit) {
        TfrPage v = m_doc->templ().pages[size_t(page)];
        edit(v);
        m_doc->changePage(page, v);
    };
    section(QStringLiteral("Страница"));
    QStringList papers;
    for (const Paper& pp : kPapers) papers << QString::fromLatin1(pp.caption);
    papers << QStringLiteral("Другой размер");
    const int paper = paperIndex(p.width, p.height);
    choice(QStringLiteral("Формат бумаги"), papers, paper < 0 ? int(papers.size()) - 1 : paper, [=](int i) {
        if (i >= int(std::size(kPapers))) return;
        setter([&](TfrPage& v) {
            const QSizeF s = paperSize(kPapers[i].id);
            const bool landscape = v.width > v.height;
            v.width = frRoundMm(landscape ? s.height() : s.width());
            v.height = frRoundMm(landscape ? s.width() : s.height());
        });
    });
    choice(QStringLiteral("Ориентация"), {QStringLiteral("Книжная"), QStringLiteral("Альбомная")}, p.width > p.height ? 1 : 0,
           [=](int) { setter([&](TfrPage& v) { std::swap(v.width, v.height); }); });
    number(QStringLiteral("Ширина листа, мм"), p.width, frlimits::kMinPaper, frlimits::kMaxPaper,
           [=](double d) { setter([&](TfrPage& v) { v.width = frRoundMm(d); }); });
    number(QStringLiteral("Высота листа, мм"), p.height, frlimits::kMinPaper, frlimits::kMaxPaper,
           [=](double d) { setter([&](TfrPage& v) { v.height = frRoundMm(d); }); });
    number(QStringLiteral("Поле слева, мм"), p.marginLeft, 0, frlimits::kMaxPaper / 2,
           [=](double d) { setter([&](TfrPage& v) { v.marginLeft = frRoundMm(d); }); });
    number(QStringLiteral("Поле сверху, мм"), p.marginTop, 0, frlimits::kMaxPaper / 2,
           [=](double d) { setter([&](TfrPage& v) { v.marginTop = frRoundMm(d); }); });
    number(QStringLiteral("Поле справа, мм"), p.marginRight, 0, frlimits::kMaxPaper / 2,
           [=](double d) { setter([&](TfrPage& v) { v.marginRight = frRoundMm(d); }); });
    number(QStringLiteral("Поле снизу, мм"), p.marginBottom, 0, frlimits::kMaxPaper / 2,
           [=](double d) { setter([&](TfrPage& v) { v.marginBottom = frRoundMm(d); }); });
}
