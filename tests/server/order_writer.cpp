// One workstation of the concurrency test: creates orders with a service line
// the way the program does (a journal row numbered by the database, then the
// order and its line saved in one transaction) and prints each number it was
// told, or the message of a failure, one per line.
#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "data/SaveRetry.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QCoreApplication>
#include <QDate>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: order_writer DATABASE PERIOD_ID COUNT\n");
        return 2;
    }
    const QString database = QString::fromLocal8Bit(argv[1]);
    const int period = QString::fromLatin1(argv[2]).toInt();
    const int count = QString::fromLatin1(argv[3]).toInt();
    try {
        fb::Attachment att(database);
        TClientDataSet journal(nullptr, QStringLiteral("cdsDocu"));
        journal.setAttachment(&att);
        journal.setCommandText(QStringLiteral("SELECT * FROM DOCU WHERE RPERIOD_ID = :RPERIOD_ID AND ID < 0"));
        journal.setTableName(QStringLiteral("DOCU"));
        journal.setKeepServerOrder(true);
        journal.query().setParam(QStringLiteral("RPERIOD_ID"), period);
        journal.open();
        journal.fieldByName(QStringLiteral("NUMBER")).setRequired(false);  // the database draws it
        for (int i = 0; i < count; ++i) {
            journal.append();
            const auto f = [&](const char* n) -> TField& { return journal.fieldByName(QString::fromLatin1(n)); };
            {
                fb::Transaction tra(att);
                f("ID").setValue(fb::scalar(tra, QStringLiteral("SELECT ID FROM GET_DOCU_ID")));
                tra.commit();
            }
            f("KINDDOC_ID").setAsInteger(1);
            f("RPERIOD_ID").setAsInteger(period);
            f("SERIES").setAsString(QStringLiteral("АА"));
            f("DATEP").setAsDate(QDate(2026, 12, 9));
            f("ZAKAZCH_ID").setAsInteger(1);
            f("PRIEMSCHIK_ID").setAsInteger(1);
            for (const char* z : {"TOTAL", "OTKLSUM", "TOTAL_WOTKL", "RECEIVED", "DEBT"}) f(z).setAsDecimal(fb::Decimal());
            f("OTKLTYPE").setAsInteger(0);
            f("OTKLPROC").setAsInteger(0);
            journal.post();
            if (journal.applyUpdates() != 0) {
                std::printf("ERROR %s\n", journal.lastApplyError().replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8().constData());
                journal.cancelUpdates();
                continue;
            }
            journal.refreshRecord();
            const qint64 id = f("ID").asLargeInt();
            const qint64 number = f("NUMBER").asLargeInt();
            try {
                RunSaveTransaction(att, [&](fb::Transaction& tra) {
                    fb::exec(tra, QStringLiteral("INSERT INTO UMOVES (DOC_ID, NUM, USLUGA_ID, SUMMA) VALUES (?, 1, 1, 150)"),
                             {id});
                    fb::exec(tra, QStringLiteral("UPDATE DOCU SET TOTAL = 150, TOTAL_WOTKL = 150, DEBT = 150 WHERE ID = ?"),
                             {id});
                });
            } catch (...) {
                std::printf("ERROR %s\n", errorMessage(std::current_exception()).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8().constData());
                continue;
            }
            std::printf("%lld %lld\n", id, number);
            std::fflush(stdout);
        }
    } catch (...) {
        std::printf("ERROR %s\n", errorMessage(std::current_exception()).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8().constData());
        return 1;
    }
    return 0;
}
