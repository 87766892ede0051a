#include "session/UchetVariables.h"

#include "session/Global.h"
#include "data/DataModule.h"

void UpdateUchetOptions() {
    TClientDataSet* ds = DM().cdsUchInfo;
    if (!ds->isActive() || ds->isEmpty()) return;
    auto text = [ds](const char* name) { return ds->fieldByName(QString::fromLatin1(name)).value().toString(); };
    UchetOptions.NameOrg = text("NAMEORG");
    UchetOptions.DenEd = text("DENED");
    UchetOptions.SerDef = text("SERDEF");
    UchetOptions.VremDef = text("VREMDEF");
    UchetOptions.AutoSklad = FlagFromText(text("AUTOSKLAD"));
    UchetOptions.DVDelta = int(ds->fieldByName(QStringLiteral("DVDELTA")).value().toInt());
}
