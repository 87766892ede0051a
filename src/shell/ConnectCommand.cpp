#include "shell/ConnectCommand.h"

#include "session/Global.h"
#include "data/DataModule.h"
#include "shell/ConnectDB.h"
#include "session/UchetVariables.h"

void ChooseLatestPeriod() {
    TClientDataSet& ds = *DM().cdsRPeriod;
    if (!ds.isActive() || ds.isEmpty()) {
        GL.RPeriodID = -1;
        return;
    }
    ds.last();
    GL.RPeriodID = ds.fieldByName(QStringLiteral("ID")).asInteger();
    GL.RPeriodDate1 = ds.fieldByName(QStringLiteral("DATE_1")).asDate();
    GL.RPeriodDate2 = ds.fieldByName(QStringLiteral("DATE_2")).asDate();
    GL.RPeriodOpen = ds.fieldByName(QStringLiteral("ACT")).asString().trimmed() == QStringLiteral("*");
}

bool RunConnectCommand() {
    if (!ConnectToDatabase()) return false;
    TDM& dm = DM();
    dm.openLookups();
    ChooseLatestPeriod();
    dm.cdsRPeriod->close();
    UpdateUchetOptions();
    return GL.Connected;
}
