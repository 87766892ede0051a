#include "orders/ui/DocPrint.h"

#include "ui/MessageBoxes.h"
#include "data/ClientDataSet.h"
#include "forms/DocVar.h"
#include "reports/ui/Preview.h"
#include "reports/engine/ReportShared.h"

#include <QCoreApplication>
#include <QDir>

QString ReceiptFormName(int kindDocID, bool narrow) {
    QString kind;
    switch (kindDocID) {
    case 1: kind = QStringLiteral("obuv"); break;
    case 2: kind = QStringLiteral("kluchi"); break;
    case 3: kind = QStringLiteral("grav"); break;
    default: return QString();
    }
    return (narrow ? QStringLiteral("Reports/Rep_Kvituz_") : QStringLiteral("Reports/Rep_Kvit_")) + kind;
}

void PrintDoc(const QString& formPath, int kindDocID, TClientDataSet& cdsDocu,
              const TClientDataSet& cdsPMoves, const TClientDataSet& cdsUMoves, const TClientDataSet& cdsUchInfo,
              QWidget* parent) {
    CreateReportObjects();
    // What is typed but not yet written into the order's fields prints too.
    if (cdsDocu.isEditing()) cdsDocu.updateRecord();
    const TDocuVars vars = MakeDOCVAR(cdsDocu, cdsUchInfo);
    TfrReport& rep = frReport();
    try {
        rep.loadFromFile(formPath + QStringLiteral(".frf"));
        rep.setOnGetValue(frReportDocGetValue(vars));
        rep.setDataSet(nullptr);
        frdsReportP().bind(cdsPMoves);
        frdsReportU().bind(cdsUMoves);
        if (kindDocID == 1 || kindDocID == 3) rep.setBandDataSet(QStringLiteral("MasterData1"), frdsReportP().name());
        rep.setBandDataSet(QStringLiteral("MasterData2"), frdsReportU().name());
    } catch (const EfrTemplateError& e) {
        rep.clearOnGetValue();
        frdsReportP().unbind();
        frdsReportU().unbind();
        TitledMessageBox(e.message(), mbStopOk);
        return;
    } catch (const EfrBindError& e) {
        rep.clearOnGetValue();
        frdsReportP().unbind();
        frdsReportU().unbind();
        TitledMessageBox(e.message(), mbStopOk);
        return;
    }
    // The report datasets read the editor's line lists only while this print lasts.
    struct Unbind {
        TfrReport& rep;
        ~Unbind() {
            rep.clearOnGetValue();
            frdsReportP().unbind();
            frdsReportU().unbind();
        }
    } unbind{rep};
    ShowReport(rep, parent);
}

void PrintReceipt(int kindDocID, bool narrow, TClientDataSet& cdsDocu, const TClientDataSet& cdsPMoves,
                  const TClientDataSet& cdsUMoves, const TClientDataSet& cdsUchInfo, QWidget* parent) {
    const QString form = ReceiptFormName(kindDocID, narrow);
    if (form.isEmpty()) return;
    PrintDoc(QDir(QCoreApplication::applicationDirPath()).filePath(form), kindDocID, cdsDocu, cdsPMoves, cdsUMoves,
             cdsUchInfo, parent);
}
