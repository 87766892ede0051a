#include "orders/core/DocuLines.h"

#include "data/ClientDataSet.h"
#include "data/DataSetRoutines.h"
#include "data/FieldMoneyText.h"
#include "orders/core/DocuCalc.h"

namespace {
const QString kId = QStringLiteral("ID");
const QString kName = QStringLiteral("NAME");

TField& hidden(TField& f) { return f.setVisible(false); }
}  // namespace

void DefinePMovesFields(TClientDataSet& p, const TDocuLineLists& lists) {
    hidden(p.addField(QStringLiteral("ID"))).setRequired();
    hidden(p.addField(QStringLiteral("DOC_ID"))).setRequired();
    p.addField(QStringLiteral("NUM")).setDisplayLabel(QStringLiteral("№")).setDisplayWidth(4);
    p.addLookupField(QStringLiteral("PPARA_NAME"), TFieldType::Text, 30, QStringLiteral("PPARA"), lists.ppara, kId,
                     kName)
        .setDisplayLabel(QStringLiteral("Полупара"))
        .setDisplayWidth(9);
    hidden(p.addField(QStringLiteral("PRODUCT_ID"))).setRequired();
    p.addLookupField(QStringLiteral("PRODUCT_NAME"), TFieldType::Text, 100, QStringLiteral("PRODUCT_ID"),
                     lists.product, kId, kName)
        .setDisplayLabel(QStringLiteral("Изделие"))
        .setDisplayWidth(30);
    hidden(p.addField(QStringLiteral("COLOR_ID")));
    p.addLookupField(QStringLiteral("COLOR_NAME"), TFieldType::Text, 30, QStringLiteral("COLOR_ID"), lists.color,
                     kId, kName)
        .setDisplayLabel(QStringLiteral("Цвет"))
        .setDisplayWidth(13);
    hidden(p.addField(QStringLiteral("MATERIAL_ID")));
    p.addLookupField(QStringLiteral("MATERIAL_NAME"), TFieldType::Text, 30, QStringLiteral("MATERIAL_ID"),
                     lists.material, kId, kName)
        .setDisplayLabel(QStringLiteral("Материал"))
        .setDisplayWidth(13);
    p.addField(QStringLiteral("PROCIZN")).setDisplayLabel(QStringLiteral("% износа")).setDisplayWidth(6);
    hidden(p.addField(QStringLiteral("NPP"))).setRequired();
    hidden(p.addField(QStringLiteral("PPARA")));
}

void DefineUMovesFields(TClientDataSet& u, const TDocuLineLists& lists) {
    TClientDataSet* services = lists.usluga;
    hidden(u.addField(QStringLiteral("ID"))).setRequired();
    hidden(u.addField(QStringLiteral("DOC_ID"))).setRequired();
    u.addField(QStringLiteral("NUM")).setDisplayLabel(QStringLiteral("№")).setDisplayWidth(4);
    hidden(u.addField(QStringLiteral("USLUGA_ID")))
        .setRequired()
        .setOnChange([services](TField& f) {
            // The chosen service brings its price; the operator may overwrite it afterwards.
            if (!services) return;
            f.dataSet().fieldByName(QStringLiteral("SUMMA"))
                .setValue(services->lookup(kId, f.value(), QStringLiteral("SUMMA")));
        });
    u.addLookupField(QStringLiteral("USLUGA_NAME"), TFieldType::Text, 100, QStringLiteral("USLUGA_ID"), services,
                     kId, kName)
        .setDisplayLabel(QStringLiteral("Услуга"))
        .setDisplayWidth(40);
    u.addLookupField(QStringLiteral("USLUGA_EAN13"), TFieldType::Text, 14, QStringLiteral("USLUGA_ID"), services,
                     kId, QStringLiteral("EAN13"))
        .setDisplayLabel(QStringLiteral("Штрих-код"))
        .setDisplayWidth(13);
    u.addLookupField(QStringLiteral("USLUGA_NUMPR"), TFieldType::Text, 20, QStringLiteral("USLUGA_ID"), services,
                     kId, QStringLiteral("NUMPR"))
        .setDisplayLabel(QStringLiteral("№ по прейск."))
        .setDisplayWidth(8);
    u.addField(QStringLiteral("SUMMA"), TFieldType::Decimal)
        .setScale(2)
        .setRequired()
        .setDisplayLabel(QStringLiteral("Сумма"))
        .setDisplayWidth(12)
        .setOnGetText([](const TField& f) { return FieldMoneyText(f); });
    hidden(u.addField(QStringLiteral("NPP"))).setRequired();
}

QString DocuLineStem(TDocuLineKind kind) {
    return kind == TDocuLineKind::Product ? QStringLiteral("GET_PMOVES") : QStringLiteral("GET_UMOVES");
}

void DeclareDocuLineList(TClientDataSet& lines, TDocuLineKind kind) {
    const QString table = kind == TDocuLineKind::Product ? QStringLiteral("PMOVES") : QStringLiteral("UMOVES");
    lines.setCommandText(QStringLiteral("SELECT * FROM ") + table +
                         QStringLiteral("\n  WHERE DOC_ID=:CURDOC_ID\n  ORDER BY NPP"));
    lines.setTableName(table);
    lines.setIndexFieldNames(QStringLiteral("NPP"));
}

void OpenDocuLines(TClientDataSet& lines, int docId) {
    lines.close();
    lines.query().setParam(QStringLiteral("CURDOC_ID"), docId);
    lines.open();
}

int NextDocuLineNum(TClientDataSet& lines) {
    if (lines.isEmpty()) return 1;
    lines.last();
    return lines.fieldByName(QStringLiteral("NUM")).asInteger() + 1;
}

void AppendDocuLine(TClientDataSet& lines, TDocuLineKind kind, const TNewDocuLine& line) {
    const int num = NextDocuLineNum(lines);
    lines.append();
    lines.fieldByName(kId).setAsInteger(line.id);
    lines.fieldByName(QStringLiteral("DOC_ID")).setAsInteger(line.docId);
    lines.fieldByName(QStringLiteral("NPP")).setAsInteger(line.npp);
    if (kind == TDocuLineKind::Product)
        lines.fieldByName(QStringLiteral("PROCIZN")).setAsInteger(50);
    else
        lines.fieldByName(QStringLiteral("SUMMA")).setAsDecimal(fb::Decimal());
    lines.fieldByName(QStringLiteral("NUM")).setAsInteger(num);
}

bool FinishDocuLine(TClientDataSet& docu, TClientDataSet& lines, TClientDataSet& umoves, bool accepted) {
    if (accepted) CalcTotal(docu, umoves);
    if (lines.isEditing()) lines.cancel();
    return accepted;
}

bool DeleteDocuLine(TClientDataSet& docu, TClientDataSet& lines, TClientDataSet& umoves) {
    if (lines.isEmpty()) return false;
    lines.deleteRecord();
    CalcTotal(docu, umoves);
    return true;
}

bool MoveDocuLine(TClientDataSet& lines, int step) {
    if (lines.recordCount() <= 1) return false;
    SwapNppWithNeighbour(lines, step);
    return true;
}
