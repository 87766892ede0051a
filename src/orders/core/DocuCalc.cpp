#include "orders/core/DocuCalc.h"

#include "base/RoutsFormat.h"
#include "data/ClientDataSet.h"
#include "data/FieldMoneyText.h"

namespace {

const QString kTotal = QStringLiteral("TOTAL");
const QString kOtklType = QStringLiteral("OTKLTYPE");
const QString kOtklProc = QStringLiteral("OTKLPROC");
const QString kOtklSum = QStringLiteral("OTKLSUM");
const QString kTotalWOtkl = QStringLiteral("TOTAL_WOTKL");
const QString kReceived = QStringLiteral("RECEIVED");
const QString kDebt = QStringLiteral("DEBT");

// A null reads as 0 in every rule.
fb::Decimal amount(const TClientDataSet& ds, const QString& name) { return ds.fieldByName(name).asDecimal(); }

void assignAmount(TClientDataSet& ds, const QString& name, fb::Decimal v) {
    ds.fieldByName(name).setAsDecimal(ToKopecks(v));
}

// An amount assigned with more than two decimals is assigned again, rounded;
// that assignment runs the field's rule, so the caller stops here.
bool roundedAgain(TField& f) {
    if (f.isNull()) return false;
    const fb::Decimal v = f.asDecimal();
    if (v == ToKopecks(v)) return false;
    f.setAsDecimal(ToKopecks(v));
    return true;
}

// TOTAL_WOTKL := TOTAL + sign * OTKLSUM
void totalWithDeviation(TClientDataSet& ds) {
    const int sign = OtklSign(ds);
    assignAmount(ds, kTotalWOtkl, amount(ds, kTotal) + fb::Decimal(sign) * amount(ds, kOtklSum));
}

// DEBT := TOTAL_WOTKL - RECEIVED
void debt(TClientDataSet& ds) { assignAmount(ds, kDebt, amount(ds, kTotalWOtkl) - amount(ds, kReceived)); }

}  // namespace

int OtklSign(const fb::Value& otklType) {
    if (otklType.isNull()) return 0;
    switch (otklType.toInt()) {
    case otklSkid: return -1;
    case otklNadb: return 1;
    default: return 0;
    }
}

int OtklSign(const TClientDataSet& docu) { return OtklSign(docu.fieldByName(kOtklType).value()); }

TDocuRules::TDocuRules(TClientDataSet& docu) : QObject(&docu), m_docu(docu) {
    setObjectName(QStringLiteral("DocuRules"));
}

TDocuRules* DocuRules(const TClientDataSet& docu) {
    return docu.findChild<TDocuRules*>(QString(), Qt::FindDirectChildrenOnly);
}

void AttachDocuRules(TClientDataSet& docu) {
    if (DocuRules(docu)) return;
    TClientDataSet* ds = &docu;
    auto* rules = new TDocuRules(docu);

    // cdsDocuOTKLPROCChange: OTKLSUM := OTKLPROC / 100 * TOTAL
    docu.fieldByName(kOtklProc).setOnChange([ds](TField& f) {
        const fb::Decimal pct(qint64(f.asLargeInt()));
        assignAmount(*ds, kOtklSum, amount(*ds, kTotal).percent(pct, 2));
    });
    // cdsDocuOTKLSUMChange
    docu.fieldByName(kOtklSum).setOnChange([ds](TField& f) {
        if (roundedAgain(f)) return;
        totalWithDeviation(*ds);
    });
    // cdsDocuOTKLTYPEChange
    docu.fieldByName(kOtklType).setOnChange([ds, rules](TField&) {
        const int sign = OtklSign(*ds);
        if (sign == 0) {
            ds->fieldByName(kOtklProc).setAsInteger(0);
            assignAmount(*ds, kOtklSum, fb::Decimal());
        }
        emit rules->otklSignChanged(sign);
        totalWithDeviation(*ds);
    });
    // cdsDocuTOTALChange
    docu.fieldByName(kTotal).setOnChange([ds](TField& f) {
        if (roundedAgain(f)) return;
        totalWithDeviation(*ds);
    });
    // cds_Change of TOTAL_WOTKL and RECEIVED
    const auto debtRule = [ds](TField& f) {
        if (roundedAgain(f)) return;
        debt(*ds);
    };
    docu.fieldByName(kTotalWOtkl).setOnChange(debtRule);
    docu.fieldByName(kReceived).setOnChange(debtRule);
    docu.fieldByName(kDebt).setOnChange([](TField& f) { roundedAgain(f); });

    // cdsDocuAfterEdit
    docu.setAfterEdit([rules](TClientDataSet&) { emit rules->rowEdited(); });

    // cdsDocuNUMBERGetText, cdsDocuSERNUMGetText, cdsSummaGetText
    docu.fieldByName(QStringLiteral("NUMBER")).setOnGetText([](const TField& f) { return DocuNumberText(f.value()); });
    if (TField* sernum = docu.findField(QStringLiteral("SERNUM"))) {
        sernum->setOnGetText([](const TField& f) {
            const TClientDataSet& owner = f.dataSet();
            return DocuSerNumText(owner.fieldByName(QStringLiteral("SERIES")).value(),
                                  owner.fieldByName(QStringLiteral("NUMBER")).value());
        });
    }
    for (const QString& name : {kTotal, kOtklSum, kTotalWOtkl, kReceived, kDebt})
        docu.fieldByName(name).setOnGetText([](const TField& f) { return FieldMoneyText(f); });
}

fb::Decimal ServiceLinesTotal(const TClientDataSet& umoves) {
    fb::Decimal sum;
    if (!umoves.isActive()) return sum;
    const int col = umoves.fieldByName(QStringLiteral("SUMMA")).index();
    for (int row = 0; row < umoves.recordCount(); ++row) sum += umoves.valueAt(row, col).toDecimal();
    return sum;
}

void CalcTotal(TClientDataSet& docu, TClientDataSet& umoves) {
    const fb::Decimal sum = ServiceLinesTotal(umoves);
    if (!docu.isEditing()) docu.edit();
    assignAmount(docu, kTotal, sum);
    docu.post();
}

TOtklBoxes SetOtklEditable(int sign, bool editingAllowed) {
    TOtklBoxes boxes;
    boxes.editable = editingAllowed && sign != 0;
    return boxes;
}

QString ShowOtklType(const fb::Value& otklType) {
    if (otklType.isNull()) return QString();
    switch (otklType.toInt()) {
    case otklNone: return QStringLiteral("rbNone");
    case otklSkid: return QStringLiteral("rbSkid");
    case otklNadb: return QStringLiteral("rbNadb");
    default: return QString();
    }
}

int OtklTypeOfRadio(const QString& radioName) {
    if (radioName == QLatin1String("rbNone")) return otklNone;
    if (radioName == QLatin1String("rbSkid")) return otklSkid;
    if (radioName == QLatin1String("rbNadb")) return otklNadb;
    return -1;
}

bool ChooseOtklType(TClientDataSet& docu, int type) {
    TField& current = docu.fieldByName(kOtklType);
    if (!current.isNull() && current.asInteger() == type) return false;  // already so: nothing changes
    if (!docu.isEditing()) docu.edit();
    docu.fieldByName(kOtklType).setAsInteger(type);
    return true;
}

QString DocuNumberText(const fb::Value& number) {
    if (number.isNull()) return QString();
    return ZeroPad(number.toInt(), 6);
}

QString DocuSerNumText(const fb::Value& series, const fb::Value& number) {
    return series.toString() + QLatin1Char(' ') + DocuNumberText(number);
}
