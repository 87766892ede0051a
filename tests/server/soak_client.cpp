// One workstation of the all-day soak, built from the program's own parts: the
// main window's journals (new rows, deletion), the order editor's document
// service with the automatic write-off, the stock editor's document service,
// and the period management's close and reopen. No windows are shown: where
// the program would show the error window, this workstation writes down the
// explanation the window would give and does what a clerk does next.
//
//   soak_client client DATABASE RECORD ORDERS STOCKDOCS SEED
//       creates ORDERS orders and STOCKDOCS stock documents of every kind,
//       editing and deleting some of its own as it goes.
//   soak_client closer DATABASE RECORD FIRST SECOND HOLDMS
//       when the database holds FIRST orders, closes the first work period,
//       keeps it closed HOLDMS milliseconds and reopens it; then the same at
//       SECOND orders.
//
// The record (UTF-8, one tab-separated line per event) says what the
// workstation was told:
//   ORDER id number total_wotkl debt goods        an order as saved (the last line wins)
//   ORDER_DELETED id
//   DOCS id kind number summa goods               a stock document as saved
//   DOCS_DELETED id
//   REFUSAL operation explanation resolution message
//   PERIOD closed|reopened id                     (the closer)
//   STATS key=value ...
// goods: "tovar:quantity" items joined by ",", quantities signed as they move
// the stock (an order lists what its services consume, negative).
#include "session/Global.h"
#include "stock/core/DocsJournal.h"
#include "orders/core/DocuJournal.h"
#include "data/Journal.h"
#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "data/DataModule.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "orders/core/DocuCalc.h"
#include "orders/core/DocuSave.h"
#include "shell/ConnectCommand.h"
#include "data/ErrorTexts.h"
#include "shell/JournalDocs.h"
#include "session/UchetVariables.h"
#include "stock/core/PeriodList.h"
#include "stock/core/PeriodService.h"
#include "stock/core/StockDocService.h"
#include "stock/core/StockKinds.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <QThread>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>

namespace {

const QString kId = QStringLiteral("ID");

using Goods = std::map<int, fb::Decimal>;  // TOVAR_ID -> signed quantity

QString goodsText(const Goods& goods) {
    QStringList items;
    for (const auto& [tovar, kolvo] : goods)
        if (!kolvo.isZero()) items << QString::number(tovar) + QLatin1Char(':') + kolvo.toString(3);
    return items.join(QLatin1Char(','));
}

QString oneLine(QString s) {
    s.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return s;
}

class Record {
public:
    explicit Record(const QString& path) : m_file(path) {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            throw std::runtime_error("cannot write the record");
    }
    void line(const QStringList& items) {
        m_file.write((items.join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8());
        m_file.flush();
    }

private:
    QFile m_file;
};

// What the workstation does after a refusal, decided by the explanation the
// error window would show.
enum class Next { Retry, RetryWhenOpen, GiveUp };

struct Counters {
    int closedPeriod = 0;  // refused because the period was closed: retried after it reopened
    int conflicts = 0;     // a simultaneous save on another workstation: saved again
    int lockTimeouts = 0;  // data held on another workstation: saved again
    int other = 0;         // anything else: the change was dropped
    qint64 waitedMs = 0;   // time spent waiting for the period to reopen
};

class Workstation {
public:
    Workstation(const QString& database, const QString& recordPath) : record(recordPath) {
        dm = std::make_unique<TDM>();
        dm->connectDatabase(database);
        dm->openLookups();
        ChooseLatestPeriod();
        dm->cdsRPeriod->close();
        UpdateUchetOptions();
        GL.Connected = true;
        GL.OperatorID = 1;
        closedText = explainApplyError(QStringLiteral("E_PERIOD_CLOSED")).explanation;
        conflictText = explainApplyError(QStringLiteral("update conflicts with concurrent update")).explanation;
        lockText = explainApplyError(QStringLiteral("lock time-out on wait transaction")).explanation;
    }

    // Writes down a refusal with the explanation the error window would give
    // (`applyTable` for what the editors and journals report, the raised-error
    // table for what reaches the application-wide handler) and decides what
    // comes next. A closed period is waited out.
    Next refused(const QString& operation, const QString& message, bool raised = false) {
        const ErrorExplanation e = raised ? explainRaisedError(message) : explainApplyError(message);
        Next next = Next::GiveUp;
        QString resolution = QStringLiteral("изменения отменены");
        if (e.explanation == closedText) {
            ++counters.closedPeriod;
            next = Next::RetryWhenOpen;
            resolution = QStringLiteral("повторено после открытия периода");
        } else if (e.explanation == conflictText) {
            ++counters.conflicts;
            next = Next::Retry;
            resolution = raised ? QStringLiteral("команда повторена") : QStringLiteral("сохранено ещё раз");
        } else if (e.explanation == lockText) {
            ++counters.lockTimeouts;
            next = Next::Retry;
            resolution = raised ? QStringLiteral("команда повторена") : QStringLiteral("сохранено ещё раз");
        } else {
            ++counters.other;
        }
        record.line({QStringLiteral("REFUSAL"), operation, e.explanation, resolution, oneLine(message)});
        if (next == Next::RetryWhenOpen) waitUntilOpen();
        return next;
    }

    // What the server counted for this workstation's connection: update
    // conflicts (each one met inside a save and run again by the program) and
    // waits for a row another workstation held.
    QStringList engineStats() {
        fb::Transaction tra(dm->connection());
        fb::Statement st(tra, QStringLiteral(
                                  "SELECT R.MON$RECORD_CONFLICTS, R.MON$RECORD_WAITS FROM MON$ATTACHMENTS A "
                                  "JOIN MON$RECORD_STATS R ON R.MON$STAT_ID = A.MON$STAT_ID "
                                  "WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION"));
        st.execute();
        QStringList out;
        if (st.fetch())
            out << QStringLiteral("engine_conflicts=%1").arg(st.value(0).toInt())
                << QStringLiteral("engine_waits=%1").arg(st.value(1).toInt());
        tra.commit();
        return out;
    }

    bool periodOpen(int id) {
        fb::Transaction tra(dm->connection());
        const QString act = fb::scalar(tra, QStringLiteral("SELECT ACT FROM RPERIOD WHERE ID = ?"), {id}).toString();
        tra.commit();
        return act.trimmed() == QStringLiteral("*");
    }

    void waitUntilOpen() {
        QElapsedTimer t;
        t.start();
        while (!periodOpen(GL.RPeriodID)) {
            if (t.elapsed() > 120000) throw std::runtime_error("the period stayed closed for two minutes");
            QThread::msleep(50);
        }
        counters.waitedMs += t.elapsed();
    }

    Record record;
    Counters counters;
    std::unique_ptr<TDM> dm;
    QString closedText, conflictText, lockText;
};

constexpr int kAttempts = 40;

class Client : public Workstation {
public:
    Client(const QString& database, const QString& recordPath, quint32 seed)
        : Workstation(database, recordPath), rnd(seed) {
        docu = std::make_unique<TClientDataSet>(nullptr, QStringLiteral("cdsDocu"));
        docs = std::make_unique<TClientDataSet>(nullptr, QStringLiteral("cdsDocs"));
        DefineDocuJournal(*docu, GL.RPeriodID);
        DefineDocsJournal(*docs, GL.RPeriodID);
        dm->openDocuLU(GL.RPeriodID);
        BindJournalLookups(*docu, *docs, *dm);
        AttachDocuRules(*docu);
        OpenJournalOnPeriod(*docu, GL.RPeriodID);
        OpenJournalOnPeriod(*docs, GL.RPeriodID);

        const auto lines = [](const char* name, const char* table) {
            auto ds = std::make_unique<TClientDataSet>(nullptr, QString::fromLatin1(name));
            ds->setCommandText(QStringLiteral("SELECT * FROM ") + QString::fromLatin1(table) +
                               QStringLiteral("\n  WHERE DOC_ID=:CURDOC_ID\n  ORDER BY NPP"));
            ds->setTableName(QString::fromLatin1(table));
            return ds;
        };
        pmoves = lines("cdsPMoves", "PMOVES");
        umoves = lines("cdsUMoves", "UMOVES");
        moves = std::make_unique<TClientDataSet>(nullptr, QStringLiteral("cdsMoves"));
        DefineMovesDataSet(*moves, dm->cdsTovarLU, [this] { return currentKind; });

        fb::Transaction tra(dm->connection());
        fb::Statement st(tra, QStringLiteral("SELECT USLUGA_ID, TOVAR_ID, KOLVO FROM USLTOV"));
        st.execute();
        while (st.fetch())
            usltov[int(st.value(QStringLiteral("USLUGA_ID")).toInt())][int(st.value(QStringLiteral("TOVAR_ID")).toInt())] +=
                st.value(QStringLiteral("KOLVO")).toDecimal();
        fb::Statement s2(tra, QStringLiteral("SELECT ID, SUMMA FROM USLUGA ORDER BY ID"));
        s2.execute();
        while (s2.fetch()) services.emplace_back(int(s2.value(kId).toInt()), s2.value(QStringLiteral("SUMMA")).toDecimal());
        fb::Statement s3(tra, QStringLiteral("SELECT ID, CENA FROM TOVAR ORDER BY ID"));
        s3.execute();
        while (s3.fetch()) tovars.emplace_back(int(s3.value(kId).toInt()), s3.value(QStringLiteral("CENA")).toDecimal());
        tra.commit();
        if (services.empty() || tovars.empty()) throw std::runtime_error("no services or goods to work with");
    }

    void run(int orders, int stockDocs) {
        QElapsedTimer t;
        t.start();
        int createdOrders = 0, createdDocs = 0, editedOrders = 0, deletedOrders = 0, editedDocs = 0, deletedDocs = 0;
        for (int i = 0; i < orders; ++i) {
            if (newOrder(i)) ++createdOrders;
            if (i % 7 == 6 && editOrder()) ++editedOrders;
            if (i % 25 == 24 && deleteOrder()) ++deletedOrders;
            // The stock documents are spread over the orders.
            while (createdDocs < stockDocs && createdDocs * orders <= i * stockDocs) {
                const int n = createdDocs++;
                newStockDoc(n);
                if (n % 8 == 7 && editStockDoc()) ++editedDocs;
                if (n % 12 == 11 && deleteStockDoc()) ++deletedDocs;
            }
        }
        while (createdDocs < stockDocs) newStockDoc(createdDocs++);
        const qint64 ms = t.elapsed();
        record.line(QStringList{QStringLiteral("STATS"), QStringLiteral("orders=%1").arg(createdOrders),
                     QStringLiteral("ms=%1").arg(ms), QStringLiteral("stockdocs=%1").arg(stockDocs),
                     QStringLiteral("orders_edited=%1").arg(editedOrders),
                     QStringLiteral("orders_deleted=%1").arg(deletedOrders),
                     QStringLiteral("docs_edited=%1").arg(editedDocs), QStringLiteral("docs_deleted=%1").arg(deletedDocs),
                     QStringLiteral("closed=%1").arg(counters.closedPeriod),
                     QStringLiteral("conflicts=%1").arg(counters.conflicts),
                     QStringLiteral("locktimeouts=%1").arg(counters.lockTimeouts),
                     QStringLiteral("other=%1").arg(counters.other),
                     QStringLiteral("waited_ms=%1").arg(counters.waitedMs)} +
                    engineStats());
    }

private:
    // The main window's "Создать документ": a new journal row stored at once.
    // Returns its ID, or 0 when it was given up.
    int appendJournalRow(TClientDataSet& journal, int kind, const QString& what) {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            if (&journal == docu.get())
                AppendNewDocuRow(journal, kind);
            else
                AppendNewDocsRow(journal, kind);
            const int id = journal.fieldByName(kId).asInteger();
            const QString error = ApplyJournal(journal);
            if (error.isEmpty()) return id;
            if (refused(what, error) == Next::GiveUp) return 0;
        }
        return 0;
    }

    // The journal's "Удалить документ".
    bool deleteJournalRow(TClientDataSet& journal, int id, const QString& what) {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            if (!journal.locate(kId, fb::Value(id))) return false;
            DeleteJournalRow(journal);
            const QString error = ApplyJournal(journal);
            if (error.isEmpty()) return true;
            if (refused(what, error) == Next::GiveUp) return false;
        }
        return false;
    }

    void openLines(TClientDataSet& ds, int docId) {
        ds.close();
        ds.query().setParam(QStringLiteral("CURDOC_ID"), docId);
        ds.open();
    }

    // The editor's Save, pressed again after every refusal a clerk would answer so.
    template <class Save>
    bool saveWithRetries(const QString& what, Save&& save, const std::function<void()>& dropChanges) {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            try {
                save();
                return true;
            } catch (...) {
                if (!isDatabaseError(std::current_exception())) throw;
                if (refused(what, errorMessage(std::current_exception())) == Next::GiveUp) break;
            }
        }
        dropChanges();
        return false;
    }

    void addService(int docId) {
        const auto& [uslugaId, price] = services[rnd.bounded(int(services.size()))];
        umoves->append();
        umoves->fieldByName(kId).setAsInteger(dm->getMovesId(QStringLiteral("GET_UMOVES")));
        umoves->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(docId);
        umoves->fieldByName(QStringLiteral("NUM")).setAsInteger(umoves->recordCount());
        umoves->fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(uslugaId);
        umoves->fieldByName(QStringLiteral("SUMMA")).setAsDecimal(price);
        umoves->fieldByName(QStringLiteral("NPP")).setAsInteger(dm->getMovesNpp(QStringLiteral("GET_UMOVES")));
        umoves->post();
    }

    // What the order's services consume, as the write-off should take it.
    Goods consumed() {
        Goods goods;
        const int keep = umoves->recNo();
        for (umoves->first(); !umoves->eof(); umoves->next())
            for (const auto& [tovar, kolvo] : usltov[umoves->fieldByName(QStringLiteral("USLUGA_ID")).asInteger()])
                goods[tovar] -= kolvo;
        if (keep >= 0) umoves->setRecNo(keep);
        return goods;
    }

    void recordOrder(int id) {
        docu->locate(kId, fb::Value(id));
        record.line({QStringLiteral("ORDER"), QString::number(id),
                     docu->fieldByName(QStringLiteral("NUMBER")).value().toString(),
                     docu->fieldByName(QStringLiteral("TOTAL_WOTKL")).asDecimal().toString(),
                     docu->fieldByName(QStringLiteral("DEBT")).asDecimal().toString(), goodsText(consumed())});
    }

    TDocuSaveInput saveInput() const {
        TDocuSaveInput in;
        in.periodId = GL.RPeriodID;
        in.periodOpen = GL.RPeriodOpen;
        in.autoSklad = UchetOptions.AutoSklad;
        return in;
    }

    bool saveOrder(int id, const QString& what) {
        const bool ok = saveWithRetries(
            what,
            [&] {
                docu->locate(kId, fb::Value(id));
                SaveDocu(*docu, *pmoves, *umoves, saveInput());
            },
            [&] {
                docu->cancelUpdates();
                pmoves->cancelUpdates();
                umoves->cancelUpdates();
            });
        openLines(*umoves, id);  // what the database holds now
        if (ok) recordOrder(id);
        return ok;
    }

    bool newOrder(int i) {
        const int id = appendJournalRow(*docu, 1 + i % 3, QStringLiteral("новый заказ"));
        if (!id) return false;
        docu->refreshRecord();
        myOrders.push_back(id);
        openLines(*pmoves, id);
        openLines(*umoves, id);
        recordOrder(id);  // the journal told its number: the row is there, empty
        pmoves->append();
        pmoves->fieldByName(kId).setAsInteger(dm->getMovesId(QStringLiteral("GET_PMOVES")));
        pmoves->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(id);
        pmoves->fieldByName(QStringLiteral("NUM")).setAsInteger(1);
        pmoves->fieldByName(QStringLiteral("PRODUCT_ID")).setAsInteger(1);
        pmoves->fieldByName(QStringLiteral("PROCIZN")).setAsInteger(30);
        pmoves->fieldByName(QStringLiteral("NPP")).setAsInteger(dm->getMovesNpp(QStringLiteral("GET_PMOVES")));
        pmoves->post();
        const int services = 1 + rnd.bounded(3);
        for (int s = 0; s < services; ++s) addService(id);
        docu->locate(kId, fb::Value(id));
        CalcTotal(*docu, *umoves);
        docu->edit();
        if (i % 4 == 0) {
            docu->fieldByName(QStringLiteral("OTKLTYPE")).setAsInteger(otklSkid);
            docu->fieldByName(QStringLiteral("OTKLPROC")).setAsInteger(7);
        }
        const fb::Decimal withOtkl = docu->fieldByName(QStringLiteral("TOTAL_WOTKL")).asDecimal();
        docu->fieldByName(QStringLiteral("RECEIVED"))
            .setAsDecimal(i % 3 == 0 ? withOtkl : i % 3 == 1 ? fb::Decimal(100) : fb::Decimal());
        docu->post();
        return saveOrder(id, QStringLiteral("сохранение заказа"));
    }

    // An earlier order of this workstation gets another service and a payment.
    bool editOrder() {
        if (myOrders.size() < 3) return false;
        const int id = myOrders[myOrders.size() - 3];
        if (!docu->locate(kId, fb::Value(id))) return false;
        openLines(*pmoves, id);
        openLines(*umoves, id);
        addService(id);
        docu->locate(kId, fb::Value(id));
        CalcTotal(*docu, *umoves);
        docu->edit();
        docu->fieldByName(QStringLiteral("RECEIVED"))
            .setAsDecimal(docu->fieldByName(QStringLiteral("RECEIVED")).asDecimal() + fb::Decimal(50));
        docu->post();
        return saveOrder(id, QStringLiteral("изменение заказа"));
    }

    bool deleteOrder() {
        if (myOrders.size() < 5) return false;
        const int id = myOrders[myOrders.size() - 5];
        myOrders.erase(myOrders.end() - 5);
        if (!deleteJournalRow(*docu, id, QStringLiteral("удаление заказа"))) return false;
        record.line({QStringLiteral("ORDER_DELETED"), QString::number(id)});
        return true;
    }

    static int stockSign(int kind) {
        return kind == kKindReceipt || kind == kKindReturnFromBuyer ? 1 : -1;
    }

    void recordStockDoc(int id) {
        docs->locate(kId, fb::Value(id));
        Goods goods;
        const int sign = stockSign(currentKind);
        for (moves->first(); !moves->eof(); moves->next())
            goods[moves->fieldByName(QStringLiteral("TOVAR_ID")).asInteger()] +=
                sign > 0 ? moves->fieldByName(QStringLiteral("KOLVO")).asDecimal()
                         : -moves->fieldByName(QStringLiteral("KOLVO")).asDecimal();
        record.line({QStringLiteral("DOCS"), QString::number(id), QString::number(currentKind),
                     docs->fieldByName(QStringLiteral("NUMBER")).asString(),
                     docs->fieldByName(QStringLiteral("SUMMA")).asDecimal().toString(), goodsText(goods)});
    }

    bool saveStockDoc(int id, const QString& what) {
        const bool ok = saveWithRetries(
            what,
            [&] {
                docs->locate(kId, fb::Value(id));
                SaveStockDoc(*docs, *moves);
                docs->refreshRecord();
            },
            [&] {
                docs->cancelUpdates();
                moves->cancelUpdates();
            });
        openLines(*moves, id);
        if (ok) recordStockDoc(id);
        return ok;
    }

    void newStockDoc(int n) {
        static const int kinds[] = {kKindReceipt, kKindReceipt, kKindWriteOff, kKindSale, kKindReturnFromBuyer,
                                    kKindReturnToSupplier};
        currentKind = kinds[n % 6];
        const int id = appendJournalRow(*docs, currentKind, QStringLiteral("новый складской документ"));
        if (!id) return;
        docs->refreshRecord();
        openLines(*moves, id);
        recordStockDoc(id);
        myDocs.push_back({id, currentKind});
        const int lines = 1 + rnd.bounded(3);
        for (int l = 0; l < lines; ++l) {
            const auto& [tovar, price] = tovars[rnd.bounded(int(tovars.size()))];
            moves->append();
            moves->fieldByName(kId).setAsInteger(dm->getMovesId(QStringLiteral("GET_MOVES")));
            moves->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(id);
            moves->fieldByName(QStringLiteral("NPP")).setAsInteger(dm->getMovesNpp(QStringLiteral("GET_MOVES")));
            moves->fieldByName(QStringLiteral("TOVAR_ID")).setAsInteger(tovar);
            moves->fieldByName(QStringLiteral("CENA")).setAsDecimal(price);
            if (StockKind(currentKind).realiz)
                moves->fieldByName(QStringLiteral("CENA_REALIZ")).setAsDecimal(price + fb::Decimal(5));
            // Receipts bring more than the rest take away.
            const int units = currentKind == kKindReceipt ? 20 + rnd.bounded(30) : 1 + rnd.bounded(4);
            moves->fieldByName(QStringLiteral("KOLVO"))
                .setAsDecimal(fb::Decimal(units) + (l % 2 ? fb::Decimal::fromString(QStringLiteral("0.5")) : fb::Decimal()));
            moves->post();
        }
        PutDocTotals(*docs, CalcDocSumma(*moves));
        saveStockDoc(id, QStringLiteral("сохранение складского документа"));
    }

    bool editStockDoc() {
        if (myDocs.size() < 2) return false;
        const auto [id, kind] = myDocs[myDocs.size() - 2];
        if (!docs->locate(kId, fb::Value(id))) return false;
        currentKind = kind;
        openLines(*moves, id);
        if (moves->isEmpty()) return false;
        moves->first();
        moves->edit();
        moves->fieldByName(QStringLiteral("KOLVO"))
            .setAsDecimal(moves->fieldByName(QStringLiteral("KOLVO")).asDecimal() + fb::Decimal(1));
        moves->post();
        PutDocTotals(*docs, CalcDocSumma(*moves));
        return saveStockDoc(id, QStringLiteral("изменение складского документа"));
    }

    bool deleteStockDoc() {
        if (myDocs.size() < 4) return false;
        const int id = myDocs[myDocs.size() - 4].first;
        myDocs.erase(myDocs.end() - 4);
        if (!deleteJournalRow(*docs, id, QStringLiteral("удаление складского документа"))) return false;
        record.line({QStringLiteral("DOCS_DELETED"), QString::number(id)});
        return true;
    }

    QRandomGenerator rnd;
    std::unique_ptr<TClientDataSet> docu, docs, pmoves, umoves, moves;
    std::map<int, Goods> usltov;
    std::vector<std::pair<int, fb::Decimal>> services, tovars;
    std::vector<int> myOrders;
    std::vector<std::pair<int, int>> myDocs;
    int currentKind = kKindReceipt;
};

// The administrator: closes and reopens the first work period in the
// management window while the clerks work.
class Closer : public Workstation {
public:
    Closer(const QString& database, const QString& recordPath) : Workstation(database, recordPath) {
        list.reset(MakePeriodManList(nullptr));
        service = std::make_unique<PeriodService>(*list);
        service->ensureOpen();
        list->first();
        periodId = list->fieldByName(kId).asInteger();
    }

    void run(int first, int second, int holdMs) {
        QElapsedTimer t;
        t.start();
        for (int threshold : {first, second}) {
            waitForOrders(threshold);
            act(true);
            QThread::msleep(holdMs);
            act(false);
        }
        record.line(QStringList{QStringLiteral("STATS"), QStringLiteral("ms=%1").arg(t.elapsed()),
                     QStringLiteral("conflicts=%1").arg(counters.conflicts),
                     QStringLiteral("locktimeouts=%1").arg(counters.lockTimeouts),
                     QStringLiteral("other=%1").arg(counters.other)} +
                    engineStats());
    }

private:
    void waitForOrders(int count) {
        QElapsedTimer t;
        t.start();
        for (;;) {
            fb::Transaction tra(dm->connection());
            const qint64 n = fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM DOCU")).toInt();
            tra.commit();
            if (n >= count || t.elapsed() > 600000) return;
            QThread::msleep(100);
        }
    }

    // Presses "Закрыть период" or "Открыть период" until it goes through.
    void act(bool close) {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            service->reload();
            list->locate(kId, fb::Value(periodId));
            try {
                const TCurrentPeriod current{GL.RPeriodID, GL.RPeriodOpen};
                const TPeriodOutcome out = close ? service->closeSelected(current) : service->reopenSelected(current);
                GL.RPeriodID = out.current.id;
                GL.RPeriodOpen = out.current.open;
                if (out.ok()) {
                    record.line({QStringLiteral("PERIOD"), close ? QStringLiteral("closed") : QStringLiteral("reopened"),
                                 QString::number(periodId)});
                    return;
                }
                record.line({QStringLiteral("REFUSAL"), QStringLiteral("период"), out.message,
                             QStringLiteral("изменения отменены"), out.message});
                return;
            } catch (...) {
                if (!isDatabaseError(std::current_exception())) throw;
                const QString what = close ? QStringLiteral("закрытие периода") : QStringLiteral("открытие периода");
                if (refused(what, errorMessage(std::current_exception()), true) == Next::GiveUp) return;
            }
        }
    }

    std::unique_ptr<TClientDataSet> list;
    std::unique_ptr<PeriodService> service;
    int periodId = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto usage = [] {
        std::fprintf(stderr,
                     "usage: soak_client client DATABASE RECORD ORDERS STOCKDOCS SEED\n"
                     "       soak_client closer DATABASE RECORD FIRST SECOND HOLDMS\n");
        return 2;
    };
    if (args.size() < 7) return usage();
    try {
        if (args[1] == QStringLiteral("client")) {
            Client client(args[2], args[3], args[6].toUInt());
            client.run(args[4].toInt(), args[5].toInt());
        } else if (args[1] == QStringLiteral("closer")) {
            Closer closer(args[2], args[3]);
            closer.run(args[4].toInt(), args[5].toInt(), args[6].toInt());
        } else {
            return usage();
        }
    } catch (...) {
        std::fprintf(stderr, "soak_client: %s\n", errorMessage(std::current_exception()).toUtf8().constData());
        return 1;
    }
    return 0;
}
