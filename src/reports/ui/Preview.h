#pragma once
// The preview of a prepared report: pages at their paper size, zoom (fit
// width, fit page, percentages), page navigation, printing through the
// system's print dialog and export to PDF, CSV and RTF.
#include "reports/engine/ReportEngine.h"

#include <QDialog>
#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolBar;

// The page being shown, drawn at the preview's zoom.
class TfrPageView : public QWidget {
    Q_OBJECT
public:
    explicit TfrPageView(QWidget* parent = nullptr);
    void setPage(const TfrPreparedPage* page, double pxPerMm);
    double pxPerMm() const { return m_k; }
protected:
    void paintEvent(QPaintEvent*) override;
private:
    const TfrPreparedPage* m_page = nullptr;
    double m_k = 4;
};

class TfrmPreview : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPreview(QWidget* parent = nullptr);

    void setReport(TfrPreparedReport rep, const QString& title = QString());
    const TfrPreparedReport& report() const { return m_rep; }

    int pageIndex() const { return m_page; }  // 0-based
    int pageCount() const { return int(m_rep.pages.size()); }
    void setPageIndex(int index);

    // Zoom entries of cbZoom: 0 fit width, 1 fit page, then percentages.
    void setZoomIndex(int index);
    double zoomPercent() const;  // the zoom in force, in percent of the real size

    // Draws every page on a printer already set up (pages of `from`..`to`, 1-based; 0: all).
    void printTo(QPrinter& printer, int from = 0, int to = 0) const;

    QToolBar* ToolBar;
    QAction *acFirst, *acPrior, *acNext, *acLast;
    QSpinBox* edPage;
    QLabel* lbPageCount;
    QComboBox* cbZoom;
    QAction *acPrint, *acExportPdf, *acExportCsv, *acExportRtf, *acClose;
    QScrollArea* sbxPages;
    TfrPageView* PageView;

public slots:
    void acPrintExecute();
    void acExportPdfExecute();
    void acExportCsvExecute();
    void acExportRtfExecute();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void updateView();
    void updateActions();
    double screenPxPerMm() const;

    TfrPreparedReport m_rep;
    int m_page = 0;
    QString m_title;
};

// The separator choice for CSV export: a small modal dialog "dlgCsvSeparator"
// with the combo box cbSeparator (";", ",", tab); empty when cancelled.
QString AskCsvSeparator(QWidget* parent);

// Prepares the report and shows it in a modal preview. When preparation fails,
// a message box tells why and nothing is shown; returns whether it was shown.
bool ShowReport(TfrReport& report, QWidget* parent = nullptr);
