#include "orders/core/NewDocu.h"

#include "data/ClientDataSet.h"

namespace {
// A text that stays a text even when empty (an empty text is not null here).
fb::Value text(const QString& s) { return fb::Value(s); }
}  // namespace

void FillNewDocuRow(TClientDataSet& ds, const TNewDocuInput& in) {
    const auto f = [&](const char* name) -> TField& { return ds.fieldByName(QString::fromLatin1(name)); };
    f("ID").setAsInteger(in.id);
    f("KINDDOC_ID").setAsInteger(in.kind);
    f("RPERIOD_ID").setAsInteger(in.periodId);
    const QDate date = NewDocumentDate(in.today, in.periodFirst, in.periodLast);
    f("DATEP").setAsDate(date);
    f("DATEV").setAsDate(date.addDays(in.dvDelta));
    f("DATEVYD").setAsDate(date.addDays(in.dvDelta));
    f("VREMVYD").setValue(text(in.vremDef));
    f("SERIES").setValue(text(in.serDef));
    f("GARANT").setAsInteger(3);
    f("ZAKAZCH_ID").setAsInteger(1);
    f("PRIEMSCHIK_ID").setAsInteger(in.operatorId);
    f("TOTAL").setAsDecimal(fb::Decimal());
    f("OTKLTYPE").setAsInteger(0);
    f("RECEIVED").setAsDecimal(fb::Decimal());
    f("DEBT").setAsDecimal(fb::Decimal());
    // The order's change rules fill these when they are installed; a bare
    // journal starts them at zero.
    if (f("OTKLPROC").isNull()) f("OTKLPROC").setAsInteger(0);
    if (f("OTKLSUM").isNull()) f("OTKLSUM").setAsDecimal(fb::Decimal());
    if (f("TOTAL_WOTKL").isNull()) f("TOTAL_WOTKL").setAsDecimal(fb::Decimal());
}
