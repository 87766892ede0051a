#pragma once
// The run-state records every window reads: GL (who is working, in which
// period, whether the database is there), the workstation settings and the
// organisation's accounting parameters.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The run state. Zero-filled at start; the connection sets RPeriodID to -1
// when the database has no work period.
struct TGL {
    bool Connected = false;        // connected and the structure version matched
    QString HelpFile;              // <folder of the executable>/obrix.chm
    bool LineAppendMode = false;   // line dialogs: add a new line (true) or edit the current one
    int OperatorID = 0;            // PRIEMSCHIK.ID of the logged-in operator
    QString OperatorName;          // display name of the logged-in operator, when the login keeps one
    QString RoleName;              // ROLETAB.NAME of the operator's role, "-" when not found

    // Rights on service orders (PRIEMSCHIK.ZAK_*).
    bool ZakView = false;
    bool ZakInsert = false;
    bool ZakEdit = false;
    bool ZakDelete = false;
    // Rights on stock documents (PRIEMSCHIK.SKL_*).
    bool SklView = false;
    bool SklInsert = false;
    bool SklEdit = false;
    bool SklDelete = false;
    bool DostupBook = false;       // may open the reference books
    bool DostupBookUser = false;   // may open the operator book

    int RPeriodID = 0;             // RPERIOD.ID of the current work period, -1 when there is none
    QDate RPeriodDate1;            // DATE_1 of the current work period
    QDate RPeriodDate2;            // DATE_2 of the current work period
    bool RPeriodOpen = false;      // ACT of the current period equals "*"
};

// The workstation settings, filled from the settings file by the settings window.
struct TMyApplicationOptions {
    int ConnectKind = 0;           // 1 local file, 2 server, anything else: no database name
    QString LocalDBName;
    QString Server;
    QString ServerDBName;
    QString Port = QStringLiteral("3052");
    bool ShowHintMes = true;       // hint panel of the service order editor
};

// Cached copies of the organisation details (UCHINFO).
struct TMyUchetOptions {
    QString NameOrg;
    QString DenEd;
    QString SerDef;
    QString VremDef;
    bool AutoSklad = false;
    int DVDelta = 0;
};

extern TGL GL;
extern TMyApplicationOptions AppOptions;
extern TMyUchetOptions UchetOptions;

// Puts the three records back into their start state (used when the program
// starts over in tests).
void ResetGlobalState();

// A yes/no flag stored as text: true when the text begins with "T", "t", "Y"
// or "y" (operator rights, AUTOSKLAD).
bool FlagFromText(const QString& text);
// UCHINFO.AUTOSKLAD as a boolean.
bool AutoSkladFromText(const QString& text);
