#include "stock/ui/DocsPrint.h"

#include "data/ClientDataSet.h"
#include "forms/DocsVar.h"
#include "reports/engine/ReportShared.h"
#include "reports/ui/PrintWorkflow.h"
#include "stock/core/StockKinds.h"

#include <QCoreApplication>
#include <QDir>

void PrintStockDoc(int kindDocId, TClientDataSet& docs, const TClientDataSet& moves, const TClientDataSet& uchInfo,
                   QWidget* parent) {
    const QString form = StockKind(kindDocId).printForm;
    if (form.isEmpty()) return;
    if (docs.isEditing()) docs.updateRecord();  // what is still being typed prints too
    const stockdoc::TDocsVars vars = stockdoc::MakeDOCVAR(docs, uchInfo);
    TfrPrintJob job;
    job.formPath = QDir(QCoreApplication::applicationDirPath()).filePath(form);
    job.getValue = stockdoc::frReportDocGetValue(vars);
    job.bind = [&moves](TfrReport& rep) {
        rep.setDataSet(nullptr);
        frdsReport().bind(moves);
        rep.setBandDataSet(QStringLiteral("MasterData1"), frdsReport().name());
    };
    PrintReport(job, parent);
}
