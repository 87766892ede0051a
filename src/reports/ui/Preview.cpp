#include "reports/ui/Preview.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "reports/engine/PreviewState.h"
#include "reports/engine/ReportExportFiles.h"
#include "reports/engine/ReportRender.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
constexpr double kGap = kfrPreviewGap;
}  // namespace

TfrPageView::TfrPageView(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("PageView")); }

void TfrPageView::setPage(const TfrPreparedPage* page, double k) {
    m_page = page;
    m_k = k;
    if (page) setFixedSize(int(page->width * k + 2 * kGap), int(page->height * k + 2 * kGap));
    update();
}

void TfrPageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(128, 128, 128));
    if (!m_page) return;
    const QRectF paper(kGap, kGap, m_page->width * m_k, m_page->height * m_k);
    p.fillRect(paper.translated(3, 3), QColor(60, 60, 60));
    p.fillRect(paper, Qt::white);
    p.translate(kGap, kGap);
    frRenderPage(p, *m_page, m_k);
}

TfrmPreview::TfrmPreview(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(900, 700);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    lay->addWidget(ToolBar);
    auto act = [this](const char* name, const QString& text, const QString& tip) {
        auto* a = ToolBar->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(tip);
        return a;
    };
    acPrint = act("acPrint", QStringLiteral("Печать..."), QStringLiteral("Напечатать отчет"));
    acExportPdf = act("acExportPdf", QStringLiteral("PDF..."), QStringLiteral("Сохранить в файл PDF"));
    acExportCsv = act("acExportCsv", QStringLiteral("CSV..."), QStringLiteral("Сохранить строки данных в файл CSV"));
    acExportRtf = act("acExportRtf", QStringLiteral("RTF..."), QStringLiteral("Сохранить в файл RTF"));
    ToolBar->addSeparator();
    cbZoom = new QComboBox(ToolBar);
    cbZoom->setObjectName(QStringLiteral("cbZoom"));
    cbZoom->addItems(frPreviewZooms());
    ToolBar->addWidget(cbZoom);
    ToolBar->addSeparator();
    acFirst = act("acFirst", QStringLiteral("|<"), QStringLiteral("Первая страница"));
    acPrior = act("acPrior", QStringLiteral("<"), QStringLiteral("Предыдущая страница"));
    edPage = new QSpinBox(ToolBar);
    edPage->setObjectName(QStringLiteral("edPage"));
    edPage->setMinimum(1);
    ToolBar->addWidget(edPage);
    lbPageCount = new QLabel(ToolBar);
    lbPageCount->setObjectName(QStringLiteral("lbPageCount"));
    ToolBar->addWidget(lbPageCount);
    acNext = act("acNext", QStringLiteral(">"), QStringLiteral("Следующая страница"));
    acLast = act("acLast", QStringLiteral(">|"), QStringLiteral("Последняя страница"));
    ToolBar->addSeparator();
    acClose = act("acClose", QStringLiteral("Закрыть"), QStringLiteral("Закрыть просмотр"));

    sbxPages = new QScrollArea(this);
    sbxPages->setObjectName(QStringLiteral("sbxPages"));
    sbxPages->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    sbxPages->setBackgroundRole(QPalette::Dark);
    PageView = new TfrPageView;
    sbxPages->setWidget(PageView);
    lay->addWidget(sbxPages, 1);

    connect(acFirst, &QAction::triggered, this, [this] { setPageIndex(0); });
    connect(acPrior, &QAction::triggered, this, [this] { setPageIndex(m_page - 1); });
    connect(acNext, &QAction::triggered, this, [this] { setPageIndex(m_page + 1); });
    connect(acLast, &QAction::triggered, this, [this] { setPageIndex(pageCount() - 1); });
    connect(edPage, &QSpinBox::valueChanged, this, [this](int v) { setPageIndex(v - 1); });
    connect(cbZoom, &QComboBox::currentIndexChanged, this, [this] { updateView(); });
    connect(acPrint, &QAction::triggered, this, &TfrmPreview::acPrintExecute);
    connect(acExportPdf, &QAction::triggered, this, &TfrmPreview::acExportPdfExecute);
    connect(acExportCsv, &QAction::triggered, this, &TfrmPreview::acExportCsvExecute);
    connect(acExportRtf, &QAction::triggered, this, &TfrmPreview::acExportRtfExecute);
    connect(acClose, &QAction::triggered, this, &QDialog::reject);
    cbZoom->setCurrentIndex(0);
}

void TfrmPreview::setReport(TfrPreparedReport rep, const QString& title) {
    m_rep = std::move(rep);
    m_title = title;
    if (!title.isEmpty()) setWindowTitle(QStringLiteral("Предварительный просмотр - ") + title);
    m_page = 0;
    edPage->blockSignals(true);
    edPage->setMaximum(std::max(1, pageCount()));
    edPage->setValue(1);
    edPage->blockSignals(false);
    lbPageCount->setText(QStringLiteral(" из %1 ").arg(pageCount()));
    updateView();
}

void TfrmPreview::setPageIndex(int index) {
    if (m_rep.pages.empty()) return;
    m_page = std::clamp(index, 0, pageCount() - 1);
    edPage->blockSignals(true);
    edPage->setValue(m_page + 1);
    edPage->blockSignals(false);
    updateView();
}

void TfrmPreview::setZoomIndex(int index) { cbZoom->setCurrentIndex(index); }

double TfrmPreview::screenPxPerMm() const {
    const QScreen* s = screen();
    return (s ? s->logicalDotsPerInch() : 96.0) / 25.4;
}

double TfrmPreview::zoomPercent() const { return PageView->pxPerMm() / screenPxPerMm() * 100.0; }

void TfrmPreview::updateView() {
    updateActions();
    if (m_rep.pages.empty()) {
        PageView->setPage(nullptr, 1);
        return;
    }
    const TfrPreparedPage& pg = m_rep.pages[size_t(m_page)];
    PageView->setPage(&pg, frPreviewScale(cbZoom->currentIndex(), QSizeF(pg.width, pg.height),
                                          QSizeF(sbxPages->viewport()->size()), screenPxPerMm()));
}

void TfrmPreview::updateActions() {
    const TfrPageTurns turns = frPageTurns(m_page, pageCount());
    for (QAction* a : {acFirst, acPrior}) a->setEnabled(turns.back);
    for (QAction* a : {acNext, acLast}) a->setEnabled(turns.forward);
    for (QAction* a : {acPrint, acExportPdf, acExportCsv, acExportRtf}) a->setEnabled(!m_rep.pages.empty());
}

void TfrmPreview::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    if (frPreviewZoomFits(cbZoom->currentIndex())) updateView();
}

void TfrmPreview::keyPressEvent(QKeyEvent* e) {
    if (const std::optional<int> page = frPageForKey(e->key(), e->modifiers(), m_page, pageCount())) setPageIndex(*page);
    else QDialog::keyPressEvent(e);
}

void TfrmPreview::printTo(QPrinter& printer, int from, int to) const {
    if (m_rep.pages.empty()) return;
    const auto [first, last] = frPrintedPages(from, to, pageCount());
    printer.setFullPage(true);
    frSetPaper(printer, m_rep.pages[size_t(first)]);
    QPainter p;
    if (!p.begin(&printer)) {
        TitledMessageBox(QStringLiteral("Не удалось начать печать на принтере ") + printer.printerName() +
                             QStringLiteral("."), mbStopOk);
        return;
    }
    frPaintPages(p, printer, m_rep, first, last, printer.resolution() / 25.4);
    p.end();
}

void TfrmPreview::acPrintExecute() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dlg(&printer, this);
    dlg.setObjectName(QStringLiteral("dlgPrint"));
    dlg.setMinMax(1, std::max(1, pageCount()));
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (execModal(&dlg) != QDialog::Accepted) return;
    if (printer.printRange() == QPrinter::PageRange) printTo(printer, printer.fromPage(), printer.toPage());
    else if (printer.printRange() == QPrinter::CurrentPage) printTo(printer, m_page + 1, m_page + 1);
    else printTo(printer);
}

namespace {

// Asks for the file (with the kind's extension when none is typed) and
// exports to it; a failure is told in a message box and leaves nothing behind.
void exportAs(QWidget* parent, const TfrPreparedReport& rep, const QString& title, TfrExportKind kind,
              QChar csvSeparator = QLatin1Char(';')) {
    const TfrExportChoice c = frExportChoice(kind);
    const QString path = ModalSeam::getSaveFileName(parent, c.caption, frExportSuggestedName(title, kind), c.filter);
    if (path.isEmpty()) return;
    try {
        frExportReport(rep, kind, frExportPath(path, kind), csvSeparator);
    } catch (const std::exception& e) {
        TitledMessageBox(QString::fromUtf8(e.what()), mbStopOk);
    }
}

}  // namespace

void TfrmPreview::acExportPdfExecute() { exportAs(this, m_rep, m_title, TfrExportKind::Pdf); }

void TfrmPreview::acExportCsvExecute() {
    const QString sep = AskCsvSeparator(this);
    if (!sep.isEmpty()) exportAs(this, m_rep, m_title, TfrExportKind::Csv, sep.at(0));
}

void TfrmPreview::acExportRtfExecute() { exportAs(this, m_rep, m_title, TfrExportKind::Rtf); }

QString AskCsvSeparator(QWidget* parent) {
    QDialog dlg(parent);
    dlg.setObjectName(QStringLiteral("dlgCsvSeparator"));
    dlg.setWindowTitle(QStringLiteral("Экспорт в CSV"));
    auto* lay = new QVBoxLayout(&dlg);
    lay->addWidget(new QLabel(QStringLiteral("Разделитель полей:"), &dlg));
    auto* cb = new QComboBox(&dlg);
    cb->setObjectName(QStringLiteral("cbSeparator"));
    for (const TfrCsvSeparator& s : frCsvSeparators()) cb->addItem(s.caption, s.separator);
    lay->addWidget(cb);
    auto* bb = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    bb->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
    bb->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    bb->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    QObject::connect(bb, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(bb, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    lay->addWidget(bb);
    if (execModal(&dlg) != QDialog::Accepted) return QString();
    return cb->currentData().toString();
}

bool ShowReport(TfrReport& report, QWidget* parent) {
    TfrPreparedReport prepared;
    try {
        prepared = report.prepare();
    } catch (const EfrPrepareError& e) {
        TitledMessageBox(e.message(), mbStopOk);
        return false;
    }
    TfrmPreview preview(parent);
    preview.setReport(std::move(prepared), QFileInfo(report.fileName()).completeBaseName());
    execModal(&preview);
    return true;
}
