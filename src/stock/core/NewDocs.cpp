#include "stock/core/NewDocs.h"

#include "data/ClientDataSet.h"

void FillNewDocsRow(TClientDataSet& ds, const TNewDocsInput& in) {
    const auto f = [&](const char* name) -> TField& { return ds.fieldByName(QString::fromLatin1(name)); };
    f("ID").setAsInteger(in.id);
    f("KINDDOC_ID").setAsInteger(in.kind);
    f("RPERIOD_ID").setAsInteger(in.periodId);
    f("DATEDOC").setAsDate(NewDocumentDate(in.today, in.periodFirst, in.periodLast));
    f("SUMMA").setAsDecimal(fb::Decimal());
    f("COMMENT").setValue(fb::Value(QString()));  // an empty text, not null
}
