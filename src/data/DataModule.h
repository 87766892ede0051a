#pragma once
// The data module: the program's one connection and the lookups, procedure
// calls and report query that several windows share. One instance, DM().
#include "data/ClientDataSet.h"
#include "data/StoredProc.h"

#include <QObject>
#include <map>
#include <memory>
#include <vector>

namespace fb {
class Attachment;
class Transaction;
}  // namespace fb

class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    // --- the connection -----------------------------------------------------
    std::unique_ptr<fb::Attachment> xConnection;

    // Opens the database (a path, or "host/port:path"); throws fb::DbError.
    // An open connection is closed first.
    void connectDatabase(const QString& database);
    // Closes the shared datasets and the connection; safe when not connected.
    void disconnectDatabase();
    // Opens the same database again after the connection was lost; every
    // dataset keeps its rows and pending changes (they find the new
    // connection by themselves). Throws fb::DbError when it cannot.
    void reconnect();
    bool isConnected() const;
    fb::Attachment& connection() const;  // throws EDatabaseError when not connected

    // --- shared lookups -----------------------------------------------------
    TClientDataSet* cdsKindDoc;
    TClientDataSet* cdsZakazchLU;
    TClientDataSet* cdsPriemschikLU;
    TClientDataSet* cdsGarantLU;
    TClientDataSet* cdsPparaLU;
    TClientDataSet* cdsColorLU;
    TClientDataSet* cdsMaterialLU;
    TClientDataSet* cdsCommentLU;
    TClientDataSet* cdsProductLU;
    TClientDataSet* cdsUslugaLU;
    TClientDataSet* cdsTovarLU;
    TClientDataSet* cdsTovarGrLU;
    TClientDataSet* cdsUchInfo;
    TClientDataSet* cdsRPeriod;
    TClientDataSet* cdsDocuLU;  // not among openLookups(): reopened by the stock tab
    // (Re)opens cdsDocuLU on the orders named by the stock documents of a period.
    void openDocuLU(int periodId);

    // The lookups openLookups() opens, in its order: cdsTovarLU, cdsTovarGrLU,
    // cdsUslugaLU, cdsProductLU, cdsColorLU, cdsMaterialLU, cdsPparaLU,
    // cdsGarantLU, cdsCommentLU, cdsZakazchLU, cdsPriemschikLU, cdsKindDoc,
    // cdsUchInfo, cdsRPeriod.
    std::vector<TClientDataSet*> lookupsInOpenOrder() const;
    void openLookups();
    void closeLookups();  // also cdsDocuLU and xqReportCom

    // --- procedure calls ----------------------------------------------------
    TStoredProc* xpGetMovesId;   // name: "GET_PMOVES_ID", "GET_UMOVES_ID" or "GET_MOVES_ID"
    TStoredProc* xpGetMovesNpp;  // name: "GET_PMOVES_NPP", "GET_UMOVES_NPP" or "GET_MOVES_NPP"
    TStoredProc* xpDBVersion;    // P_VERSION -> VER_NAME

    // stem "GET_PMOVES", "GET_UMOVES" or "GET_MOVES": sets the caller's name and runs it.
    int getMovesId(const QString& stem);
    int getMovesNpp(const QString& stem);
    // VER_NAME of P_VERSION.
    QString databaseVersion();

    // Runs a stored procedure in its own transaction (or the caller's) and returns its outputs.
    TProcResult execProc(const QString& name, const std::map<QString, fb::Value>& inputs = {});
    TProcResult execProc(fb::Transaction& tra, const QString& name, const std::map<QString, fb::Value>& inputs = {});
    // Runs a statement without a dataset, in its own transaction (or the caller's).
    void execSQL(const QString& sql, const std::vector<fb::Value>& params = {});
    void execSQL(fb::Transaction& tra, const QString& sql, const std::vector<fb::Value>& params = {});

    // --- report query -------------------------------------------------------
    // A read-only dataset that keeps the server's order; a report window sets
    // its SQL (query().setSql) and parameters, opens it for the report and closes it.
    TClientDataSet* xqReportCom;

private:
    TClientDataSet* makeLookup(const char* name, const QString& sql);
    void calcDocuTitle(TClientDataSet& ds);
};

// The data module; it must have been created (the program creates it second).
TDM& DM();
bool DMExists();
