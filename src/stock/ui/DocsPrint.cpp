#include "stock/ui/DocsPrint.h"

#include "ui/MessageBoxes.h"
#include "data/ClientDataSet.h"
#include "reports/ui/Preview.h"
#include "reports/engine/ReportShared.h"
#include "forms/DocsVar.h"
#include "stock/core/StockKinds.h"

#include <QCoreApplication>
#include <QDir>

void PrintStockDoc(int kindDocId, TClientDataSet& docs, const TClientDataSet& moves, const TClientDataSet& uchInfo,
                   QWidget* parent) {
    const QString form = StockKind(kindDocId).printForm;
    if (form.isEmpty()) return;
    CreateReportObjects();
    if (docs.isEditing()) docs.updateRecord();  // what is still being typed prints too
    const stockdoc::TDocsVars vars = stockdoc::MakeDOCVAR(docs, uchInfo);
    TfrReport& rep = frReport();
    try {
        rep.loadFromFile(QDir(QCoreApplication::applicationDirPath()).filePath(form) + QStringLiteral(".frf"));
        rep.setOnGetValue(stockdoc::frReportDocGetValue(vars));
        rep.setDataSet(nullptr);
        frdsReport().bind(moves);
        rep.setBandDataSet(QStringLiteral("MasterData1"), frdsReport().name());
    } catch (const EfrTemplateError& e) {
        rep.clearOnGetValue();
        frdsReport().unbind();
        TitledMessageBox(e.message(), mbStopOk);
        return;
    } catch (const EfrBindError& e) {
        rep.clearOnGetValue();
        frdsReport().unbind();
        TitledMessageBox(e.message(), mbStopOk);
        return;
    }
    struct Unbind {
        TfrReport& rep;
        ~Unbind() {
            rep.clearOnGetValue();
            frdsReport().unbind();
        }
    } unbind{rep};
    ShowReport(rep, parent);
}
