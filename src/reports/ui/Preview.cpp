#include "reports/ui/Preview.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "reports/engine/ReportRender.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
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
const int kPercents[] = {50, 75, 100, 150, 200};
constexpr double kGap = 8;  // px of grey around the page
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
    cbZoom->addItem(QStringLiteral("По ширине"));
    cbZoom->addItem(QStringLiteral("Страница целиком"));
    for (int pc : kPercents) cbZoom->addItem(QStringLiteral("%1%").arg(pc));
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
    const QSize area = sbxPages->viewport()->size();
    const double availW = std::max(50.0, area.width() - 2 * kGap - 2);
    const double availH = std::max(50.0, area.height() - 2 * kGap - 2);
    double k;
    const int z = cbZoom->currentIndex();
    if (z == 0) k = availW / pg.width;
    else if (z == 1) k = std::min(availW / pg.width, availH / pg.height);
    else k = screenPxPerMm() * kPercents[std::clamp(z - 2, 0, 4)] / 100.0;
    PageView->setPage(&pg, k);
}

void TfrmPreview::updateActions() {
    const bool any = !m_rep.pages.empty();
    acFirst->setEnabled(any && m_page > 0);
    acPrior->setEnabled(any && m_page > 0);
    acNext->setEnabled(any && m_page < pageCount() - 1);
    acLast->setEnabled(any && m_page < pageCount() - 1);
    for (QAction* a : {acPrint, acExportPdf, acExportCsv, acExportRtf}) a->setEnabled(any);
}

void TfrmPreview::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    if (cbZoom->currentIndex() <= 1) updateView();
}

void TfrmPreview::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_PageDown: setPageIndex(m_page + 1); return;
    case Qt::Key_PageUp: setPageIndex(m_page - 1); return;
    case Qt::Key_Home: if (e->modifiers() & Qt::ControlModifier) { setPageIndex(0); return; } break;
    case Qt::Key_End: if (e->modifiers() & Qt::ControlModifier) { setPageIndex(pageCount() - 1); return; } break;
    default: break;
    }
    QDialog::keyPressEvent(e);
}

void TfrmPreview::printTo(QPrinter& printer, int from, int to) const {
    if (m_rep.pages.empty()) return;
    const int first = from > 0 ? from - 1 : 0;
    const int last = to > 0 ? std::min(to, pageCount()) - 1 : pageCount() - 1;
    printer.setFullPage(true);
    auto layout = [&](const TfrPreparedPage& pg) {
        printer.setPageSize(QPageSize(QSizeF(pg.width, pg.height), QPageSize::Millimeter));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    };
    layout(m_rep.pages[size_t(first)]);
    QPainter p;
    if (!p.begin(&printer)) {
        TitledMessageBox(QStringLiteral("Не удалось начать печать на принтере ") + printer.printerName() +
                             QStringLiteral("."), mbStopOk);
        return;
    }
    const double k = printer.resolution() / 25.4;
    for (int i = first; i <= last; ++i) {
        if (i > first) {
            layout(m_rep.pages[size_t(i)]);
            printer.newPage();
        }
        frRenderPage(p, m_rep.pages[size_t(i)], k);
    }
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

QString suggested(const QString& title, const char* ext) {
    return (title.isEmpty() ? QStringLiteral("Отчет") : title) + QLatin1Char('.') + QLatin1String(ext);
}

QString withSuffix(QString path, const char* ext) {
    if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + QLatin1String(ext);
    return path;
}

// Runs an export; a failure is told in a message box and leaves nothing behind.
template <class F>
void tryExport(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        TitledMessageBox(QString::fromUtf8(e.what()), mbStopOk);
    }
}

}  // namespace

void TfrmPreview::acExportPdfExecute() {
    QString path = ModalSeam::getSaveFileName(this, QStringLiteral("Сохранить в PDF"), suggested(m_title, "pdf"),
                                              QStringLiteral("Документ PDF (*.pdf)"));
    if (path.isEmpty()) return;
    path = withSuffix(path, "pdf");
    tryExport([&] { frExportPdf(m_rep, path); });
}

void TfrmPreview::acExportCsvExecute() {
    const QString sep = AskCsvSeparator(this);
    if (sep.isEmpty()) return;
    QString path = ModalSeam::getSaveFileName(this, QStringLiteral("Сохранить в CSV"), suggested(m_title, "csv"),
                                              QStringLiteral("Файл CSV (*.csv)"));
    if (path.isEmpty()) return;
    path = withSuffix(path, "csv");
    tryExport([&] { frWriteFile(frCsv(m_rep, sep.at(0)), path); });
}

void TfrmPreview::acExportRtfExecute() {
    QString path = ModalSeam::getSaveFileName(this, QStringLiteral("Сохранить в RTF"), suggested(m_title, "rtf"),
                                              QStringLiteral("Документ RTF (*.rtf)"));
    if (path.isEmpty()) return;
    path = withSuffix(path, "rtf");
    tryExport([&] { frWriteFile(frRtf(m_rep), path); });
}

QString AskCsvSeparator(QWidget* parent) {
    QDialog dlg(parent);
    dlg.setObjectName(QStringLiteral("dlgCsvSeparator"));
    dlg.setWindowTitle(QStringLiteral("Экспорт в CSV"));
    auto* lay = new QVBoxLayout(&dlg);
    lay->addWidget(new QLabel(QStringLiteral("Разделитель полей:"), &dlg));
    auto* cb = new QComboBox(&dlg);
    cb->setObjectName(QStringLiteral("cbSeparator"));
    cb->addItem(QStringLiteral("Точка с запятой ( ; )"), QStringLiteral(";"));
    cb->addItem(QStringLiteral("Запятая ( , )"), QStringLiteral(","));
    cb->addItem(QStringLiteral("Табуляция"), QStringLiteral("\t"));
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
