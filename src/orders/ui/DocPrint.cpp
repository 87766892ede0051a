#include "orders/ui/DocPrint.h"

#include "data/ClientDataSet.h"
#include "forms/DocVar.h"
#include "reports/engine/ReportShared.h"
#include "reports/ui/PrintWorkflow.h"

#include <QCoreApplication>
#include <QDir>

void PrintDoc(const QString& formPath, int kindDocID, TClientDataSet& cdsDocu,
              const TClientDataSet& cdsPMoves, const TClientDataSet& cdsUMoves, const TClientDataSet& cdsUchInfo,
              QWidget* parent) {
    // What is typed but not yet written into the order's fields prints too.
    if (cdsDocu.isEditing()) cdsDocu.updateRecord();
    const TDocuVars vars = MakeDOCVAR(cdsDocu, cdsUchInfo);
    TfrPrintJob job;
    job.formPath = formPath;
    job.getValue = frReportDocGetValue(vars);
    // The report datasets read the editor's line lists only while this print lasts.
    job.bind = [&](TfrReport& rep) {
        rep.setDataSet(nullptr);
        frdsReportP().bind(cdsPMoves);
        frdsReportU().bind(cdsUMoves);
        if (ReceiptListsProducts(kindDocID)) rep.setBandDataSet(QStringLiteral("MasterData1"), frdsReportP().name());
        rep.setBandDataSet(QStringLiteral("MasterData2"), frdsReportU().name());
    };
    PrintReport(job, parent);
}

void PrintReceipt(int kindDocID, bool narrow, TClientDataSet& cdsDocu, const TClientDataSet& cdsPMoves,
                  const TClientDataSet& cdsUMoves, const TClientDataSet& cdsUchInfo, QWidget* parent) {
    const QString form = ReceiptFormName(kindDocID, narrow);
    if (form.isEmpty()) return;
    PrintDoc(QDir(QCoreApplication::applicationDirPath()).filePath(form), kindDocID, cdsDocu, cdsPMoves, cdsUMoves,
             cdsUchInfo, parent);
}
