#include "data/DataModule.h"

#include "data/Connection.h"
#include "data/DataErrors.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QLocale>

namespace {
TDM* g_dm = nullptr;
}

TDM& DM() {
    if (!g_dm) throw EDatabaseError(QStringLiteral("Модуль данных не создан"));
    return *g_dm;
}

bool DMExists() { return g_dm != nullptr; }

TDM::TDM(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DM"));
    if (!g_dm) {
        g_dm = this;
        dataconn::setDefaultSource([] { return g_dm ? g_dm->xConnection.get() : nullptr; });
    }

    cdsKindDoc = makeLookup("cdsKindDoc", QStringLiteral("SELECT * FROM KINDDOC ORDER BY ID"));
    cdsZakazchLU = makeLookup(
        "cdsZakazchLU",
        QStringLiteral("SELECT ID, NAME, ADRES, PHONE, DTR, NAME||', '||IIF(NOT ADRES IS NULL, ADRES, '')||"
                       "', т. '||IIF(NOT PHONE IS NULL, PHONE, '') AS NAMEAP FROM ZAKAZCH ORDER BY NAME"));
    cdsPriemschikLU = makeLookup(
        "cdsPriemschikLU",
        QStringLiteral("SELECT P.ID, P.FIO, P.PASSWD, P.ROLE_ID, R.NAME AS ROLE_NAME, P.ZAK_VIEW, P.ZAK_INSERT, "
                       "P.ZAK_EDIT, P.ZAK_DELETE, P.SKL_VIEW, P.SKL_INSERT, P.SKL_EDIT, P.SKL_DELETE, "
                       "P.DOSTUP_BOOK, P.DOSTUP_BOOKUSER FROM PRIEMSCHIK P JOIN ROLETAB R ON R.ID=P.ROLE_ID "
                       "ORDER BY P.ID"));
    cdsGarantLU = makeLookup("cdsGarantLU", QStringLiteral("SELECT * FROM GARANT ORDER BY ID"));
    cdsPparaLU = makeLookup("cdsPparaLU", QStringLiteral("SELECT * FROM PPARA ORDER BY ID"));
    cdsColorLU = makeLookup("cdsColorLU", QStringLiteral("SELECT * FROM COLOR ORDER BY ID"));
    cdsMaterialLU = makeLookup("cdsMaterialLU", QStringLiteral("SELECT * FROM MATERIAL ORDER BY ID"));
    cdsCommentLU = makeLookup("cdsCommentLU", QStringLiteral("SELECT * FROM COMMENT ORDER BY NAME"));
    cdsProductLU = makeLookup("cdsProductLU",
                              QStringLiteral("SELECT P.ID, P.GR_ID, P.NAME, PG.KINDDOC_ID FROM PRODUCT P "
                                             "JOIN PRODUCTGR PG ON PG.ID=P.GR_ID ORDER BY NAME"));
    cdsUslugaLU = makeLookup("cdsUslugaLU",
                             QStringLiteral("SELECT U.ID, U.GR_ID, U.NAME, U.EAN13, U.NUMPR, U.SUMMA, UG.KINDDOC_ID "
                                            "FROM USLUGA U JOIN USLUGAGR UG ON UG.ID=U.GR_ID ORDER BY NAME"));
    cdsTovarLU = makeLookup("cdsTovarLU", QStringLiteral("SELECT * FROM TOVAR ORDER BY NAME"));
    cdsTovarGrLU = makeLookup("cdsTovarGrLU",
                              QStringLiteral("SELECT ID, NAME, NAME AS FULLPATH FROM TOVARGR ORDER BY NAME"));
    cdsUchInfo = makeLookup("cdsUchInfo", QStringLiteral("SELECT * FROM UCHINFO"));
    cdsRPeriod = makeLookup("cdsRPeriod",
                            QStringLiteral("SELECT ID, DATE_1, DATE_2, ACT, SUM_OST, SUM_OST1 FROM RPERIOD ORDER BY ID"));
    // Only the orders the stock documents of one period name (their automatic
    // write-offs): the stock journal shows one period, and reading every order
    // of every period on each visit of the stock tab grows with the years.
    cdsDocuLU = makeLookup("cdsDocuLU",
                           QStringLiteral("SELECT D.ID, D.KINDDOC_ID, D.DATEP, D.SERIES, D.NUMBER, KD.NAME AS KDNAME "
                                          "FROM DOCS S JOIN DOCU D ON D.ID=S.DOCU_ID "
                                          "JOIN KINDDOC KD ON KD.ID=D.KINDDOC_ID WHERE S.RPERIOD_ID=:RPERIOD_ID"));
    cdsDocuLU->query().setParam(QStringLiteral("RPERIOD_ID"), -1);
    cdsDocuLU->addCalcField(QStringLiteral("DOCTITLE"), TFieldType::Text, 60);
    cdsDocuLU->setOnCalcFields([this](TClientDataSet& ds) { calcDocuTitle(ds); });

    xpGetMovesId = new TStoredProc(this, QStringLiteral("xpGetMovesId"));
    xpGetMovesNpp = new TStoredProc(this, QStringLiteral("xpGetMovesNpp"));
    xpDBVersion = new TStoredProc(this, QStringLiteral("xpDBVersion"));
    xpDBVersion->setStoredProcName(QStringLiteral("P_VERSION"));

    xqReportCom = new TClientDataSet(this, QStringLiteral("xqReportCom"));
    xqReportCom->query().setObjectName(QStringLiteral("xqReportCom"));
    xqReportCom->setReadOnly(true);
    xqReportCom->setKeepServerOrder(true);
}

TDM::~TDM() {
    disconnectDatabase();
    if (g_dm == this) {
        g_dm = nullptr;
        dataconn::setDefaultSource({});
    }
}

TClientDataSet* TDM::makeLookup(const char* name, const QString& sql) {
    auto* ds = new TClientDataSet(this, QString::fromLatin1(name));
    QString stem = QString::fromLatin1(name).mid(3);  // cdsKindDoc -> KindDoc
    ds->query().setObjectName(QStringLiteral("xq") + stem);
    ds->setCommandText(sql);
    return ds;
}

// KDNAME " от " DATEP " № " SERIES " " NUMBER
void TDM::calcDocuTitle(TClientDataSet& ds) {
    const QDate date = ds.fieldByName(QStringLiteral("DATEP")).asDate();
    const QString title = ds.fieldByName(QStringLiteral("KDNAME")).asString() + QStringLiteral(" от ") +
                          (date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString()) +
                          QStringLiteral(" № ") + ds.fieldByName(QStringLiteral("SERIES")).asString() +
                          QLatin1Char(' ') + ds.fieldByName(QStringLiteral("NUMBER")).asString();
    ds.fieldByName(QStringLiteral("DOCTITLE")).setAsString(title);
}

void TDM::connectDatabase(const QString& database) {
    disconnectDatabase();
    xConnection = std::make_unique<fb::Attachment>(database);
}

void TDM::disconnectDatabase() {
    closeLookups();
    if (xConnection) {
        xConnection->close();
        xConnection.reset();
    }
}

void TDM::reconnect() {
    if (!xConnection) throw EDatabaseError(QStringLiteral("Нет соединения с базой данных"));
    const QString database = xConnection->database();
    auto fresh = std::make_unique<fb::Attachment>(database);
    xConnection->close();
    xConnection = std::move(fresh);
}

void TDM::openDocuLU(int periodId) {
    cdsDocuLU->close();
    cdsDocuLU->query().setParam(QStringLiteral("RPERIOD_ID"), periodId);
    cdsDocuLU->open();
}

bool TDM::isConnected() const { return xConnection && xConnection->isOpen(); }

fb::Attachment& TDM::connection() const { return dataconn::require(xConnection.get()); }

std::vector<TClientDataSet*> TDM::lookupsInOpenOrder() const {
    return {cdsTovarLU,  cdsTovarGrLU, cdsUslugaLU,  cdsProductLU,    cdsColorLU,
            cdsMaterialLU, cdsPparaLU,  cdsGarantLU, cdsCommentLU,    cdsZakazchLU,
            cdsPriemschikLU, cdsKindDoc, cdsUchInfo, cdsRPeriod};
}

void TDM::openLookups() {
    for (TClientDataSet* ds : lookupsInOpenOrder()) ds->open();
}

void TDM::closeLookups() {
    for (TClientDataSet* ds : lookupsInOpenOrder()) ds->close();
    cdsDocuLU->close();
    xqReportCom->close();
}

int TDM::getMovesId(const QString& stem) {
    xpGetMovesId->setStoredProcName(stem + QStringLiteral("_ID"));
    xpGetMovesId->execute();
    return int(xpGetMovesId->paramByName(QStringLiteral("ID")).toInt());
}

int TDM::getMovesNpp(const QString& stem) {
    xpGetMovesNpp->setStoredProcName(stem + QStringLiteral("_NPP"));
    xpGetMovesNpp->execute();
    return int(xpGetMovesNpp->paramByName(QStringLiteral("NPP")).toInt());
}

QString TDM::databaseVersion() {
    xpDBVersion->execute();
    return xpDBVersion->paramByName(QStringLiteral("VER_NAME")).toString().trimmed();
}

TProcResult TDM::execProc(const QString& name, const std::map<QString, fb::Value>& inputs) {
    return executeProcedure(connection(), name, inputs);
}

TProcResult TDM::execProc(fb::Transaction& tra, const QString& name, const std::map<QString, fb::Value>& inputs) {
    return executeProcedure(tra, name, inputs);
}

void TDM::execSQL(const QString& sql, const std::vector<fb::Value>& params) {
    fb::Transaction tra(connection());
    fb::exec(tra, sql, params);
    tra.commit();
}

void TDM::execSQL(fb::Transaction& tra, const QString& sql, const std::vector<fb::Value>& params) {
    fb::exec(tra, sql, params);
}
