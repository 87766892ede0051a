#include "fb/Service.h"

#include "fb/Attachment.h"
#include "fb/DbError.h"
#include "fb/FbStatus.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <set>

#include <ibase.h>

using namespace Firebird;

namespace fb {

namespace {

// "host" or "host/port" in front of ":path", empty for a local database.
QString serverPart(const QString& database) {
    if (!isNetworkDatabase(database)) return QString();
    return database.left(database.indexOf(QLatin1Char(':')));
}

// Paths cross to a local engine in the file system's encoding, to a server as UTF-8.
QByteArray encodePath(const QString& path, bool remote) {
    return remote ? path.toUtf8() : QFile::encodeName(path);
}

struct Builder {
    IXpbBuilder* p;
    Builder(detail::Status& st, unsigned kind) {
        p = master()->getUtilInterface()->getXpbBuilder(&st, kind, nullptr, 0);
        st.check();
    }
    ~Builder() { p->dispose(); }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;
    IXpbBuilder* operator->() const { return p; }
};

// One attachment to a service manager, detached when it goes. Detaching does
// not stop a running service: the engine carries on without a listener (see
// BackupBreaker for stopping a backup).
class ServiceHandle {
public:
    explicit ServiceHandle(const QString& database) {
        if (!isNetworkDatabase(database)) prepareLockFolder();
        detail::Status st;
        Builder spb(st, IXpbBuilder::SPB_ATTACH);
        spb->insertString(&st, isc_spb_user_name, "SYSDBA");
        spb->insertString(&st, isc_spb_password, defaultPassword().toUtf8().constData());
        st.check();
        IProvider* prov = master()->getDispatcher();
        m_svc = prov->attachServiceManager(&st, serviceManagerFor(database).toUtf8().constData(),
                                           spb->getBufferLength(&st), spb->getBuffer(&st));
        prov->release();
        if (st.failed()) {
            m_svc = nullptr;
            st.check();
        }
    }
    ~ServiceHandle() {
        if (!m_svc) return;
        detail::Status st;
        m_svc->detach(&st);
        if (st.failed()) m_svc->release();
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;

    void start(IXpbBuilder* spb) {
        detail::Status st;
        m_svc->start(&st, spb->getBufferLength(&st), spb->getBuffer(&st));
        st.check();
    }

    // Reads the service's output line by line until it ends. The engine's
    // refusal or failure comes back as the status of a query. `poll` runs
    // before every query, at least once a second.
    void follow(const ServiceLines& lines, const std::function<void()>& poll = {}) {
        read(isc_info_svc_line, [&](const unsigned char* data, int len) {
            const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), len).trimmed();
            if (lines && !line.isEmpty()) lines(line);
        }, poll);
    }

    // Reads the service's output as bytes (a backup sent to "stdout").
    void receive(const std::function<void(const unsigned char*, int)>& bytes, const std::function<void()>& poll) {
        read(isc_info_svc_to_eof, bytes, poll);
    }

private:
    void read(unsigned char item, const std::function<void(const unsigned char*, int)>& take,
              const std::function<void()>& poll) {
        // Each query waits at most a second, so that a request to stop is seen
        // while the engine is busy with a big table: isc_info_svc_timeout, a
        // two-byte length of 4, then the seconds.
        const unsigned char items[] = {isc_info_svc_timeout, 4, 0, 1, 0, 0, 0};
        const unsigned char receiveItems[] = {item};
        std::vector<unsigned char> buffer(65000);
        for (;;) {
            if (poll) poll();
            detail::Status st;
            m_svc->query(&st, sizeof items, items, sizeof receiveItems, receiveItems, unsigned(buffer.size()),
                         buffer.data());
            if (st.failed()) {
                const DbError error = detail::toDbError(st.get());
                waitUntilFinished();
                throw error;
            }
            bool waiting = false;  // nothing yet, the service still runs
            bool ended = false;
            const unsigned char* p = buffer.data();
            const unsigned char* end = p + buffer.size();
            while (p < end && *p != isc_info_end) {
                const unsigned char tag = *p++;
                if (tag == item) {
                    if (end - p < 2) break;
                    const int len = p[0] | (p[1] << 8);  // unsigned: chunks of data reach 64 KB
                    p += 2;
                    if (end - p < len) break;
                    if (len == 0) ended = true;
                    else take(p, len);
                    p += len;
                } else if (tag == isc_info_svc_timeout || tag == isc_info_data_not_ready) {
                    waiting = true;
                } else if (tag == isc_info_truncated) {
                    ended = false;  // more comes with the next query
                    break;
                } else {
                    break;
                }
            }
            if (ended && !waiting) return;
        }
    }

    // The engine reports a failure before its worker has wound down; a
    // process that ended meanwhile would take the worker's code away under it.
    void waitUntilFinished() {
        const unsigned char receive[] = {isc_info_svc_running};
        unsigned char buffer[64];
        for (int i = 0; i < 500; ++i) {
            detail::Status st;
            m_svc->query(&st, 0, nullptr, sizeof receive, receive, sizeof buffer, buffer);
            if (st.failed() || buffer[0] != isc_info_svc_running) return;
            if (isc_portable_integer(buffer + 1, 4) == 0) return;
            QThread::msleep(20);
        }
    }

    IService* m_svc = nullptr;
};

// Breaks off a backup: a connection of its own to the database remembers who
// was connected before the engine's backup began and, when asked, ends the
// connections opened inside the engine since: the backup's own. A connection
// inside the engine names no client process; every workstation's does (its
// client library sends it), so workstations are never touched.
class BackupBreaker {
public:
    explicit BackupBreaker(const QString& database) : m_att(database) { m_before = engineConnections(); }
    void breakOff() {
        Transaction tra(m_att);
        for (qint64 id : engineConnections(&tra))
            if (!m_before.count(id)) exec(tra, QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = ?"), {id});
        tra.commit();
    }

private:
    std::set<qint64> engineConnections(Transaction* in = nullptr) {
        std::unique_ptr<Transaction> own;
        if (!in) {
            own = std::make_unique<Transaction>(m_att);
            in = own.get();
        }
        Statement s(*in, QStringLiteral("SELECT MON$ATTACHMENT_ID FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0 "
                                        "AND MON$REMOTE_PROCESS IS NULL AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
        s.execute();
        std::set<qint64> ids;
        while (s.fetch()) ids.insert(s.value(0).toInt());
        return ids;
    }
    Attachment m_att;
    std::set<qint64> m_before;
};

}  // namespace

QString serviceManagerFor(const QString& database) {
    const QString server = serverPart(database);
    return server.isEmpty() ? QStringLiteral("service_mgr") : server + QStringLiteral(":service_mgr");
}

QString pathForService(const QString& database) {
    const QString server = serverPart(database);
    return server.isEmpty() ? database : database.mid(server.size() + 1);
}

namespace {

// The engine's backup of `database` into `backupFile` as the engine names it
// ("stdout": the backup comes back through `bytes`).
void runBackup(const QString& database, const QString& backupFile, const ServiceLines& lines,
               const std::function<void(const unsigned char*, int)>& bytes, const ServiceStop& stop) {
    const bool remote = isNetworkDatabase(database);
    std::unique_ptr<BackupBreaker> breaker;
    if (stop) breaker = std::make_unique<BackupBreaker>(database);
    ServiceHandle svc(database);
    detail::Status st;
    Builder spb(st, IXpbBuilder::SPB_START);
    spb->insertTag(&st, isc_action_svc_backup);
    spb->insertString(&st, isc_spb_dbname, encodePath(pathForService(database), remote).constData());
    spb->insertString(&st, isc_spb_bkp_file, encodePath(backupFile, remote).constData());
    if (!bytes) spb->insertTag(&st, isc_spb_verbose);
    st.check();
    svc.start(spb.p);
    bool stopped = false;
    const auto poll = [&] {
        if (stopped || !stop || !stop()) return;
        stopped = true;
        breaker->breakOff();
    };
    try {
        if (bytes) svc.receive(bytes, poll);
        else svc.follow(lines, poll);
    } catch (const DbError&) {
        if (stopped) throw ServiceCancelled();
        throw;
    }
    // Stopped just as the engine finished: the backup is whole and kept.
}

// Writes a local file under a passing name and gives it its name when `work`
// succeeded; on failure the passing file goes and an earlier file stays.
void intoLocalFile(const QString& file, const std::function<void(const QString& passing)>& work) {
    const QString passing = file + QStringLiteral(".part-%1").arg(QCoreApplication::applicationPid());
    QFile::remove(passing);
    try {
        work(passing);
    } catch (const DbError& e) {
        QFile::remove(passing);
        // The engine's text names the file the user chose.
        QString text = e.serverText();
        throw DbError(text.replace(passing, file), e.gdsCodes(), e.sqlCode());
    } catch (...) {
        QFile::remove(passing);
        throw;
    }
    QFile::remove(file);
    if (!QFile::rename(passing, file)) {
        QFile::remove(passing);
        throw std::runtime_error(
            QStringLiteral("Не удалось записать файл резервной копии «%1».").arg(file).toStdString());
    }
}

// A local database and the file chosen for its backup are one file.
void refuseSameFile(const QString& database, const QString& file) {
    if (isNetworkDatabase(database)) return;
    const QFileInfo a(database), b(file);
    const bool same = a.exists() && b.exists() ? a.canonicalFilePath() == b.canonicalFilePath()
                                               : a.absoluteFilePath() == b.absoluteFilePath();
    if (same)
        throw std::runtime_error(
            QStringLiteral("Резервную копию нельзя записать поверх самой базы данных «%1».").arg(database).toStdString());
}

}  // namespace

void backupDatabase(const QString& database, const QString& backupFile, const ServiceLines& lines,
                    const ServiceStop& stop) {
    if (isNetworkDatabase(database)) {
        runBackup(database, backupFile, lines, {}, stop);
        return;
    }
    refuseSameFile(database, backupFile);
    intoLocalFile(backupFile, [&](const QString& passing) { runBackup(database, passing, lines, {}, stop); });
}

void backupDatabaseHere(const QString& database, const QString& localFile, const std::function<void(qint64)>& received,
                        const ServiceStop& stop) {
    refuseSameFile(database, localFile);
    intoLocalFile(localFile, [&](const QString& passing) {
        QFile out(passing);
        if (!out.open(QIODevice::WriteOnly))
            throw std::runtime_error(
                QStringLiteral("Не удалось создать файл резервной копии «%1».").arg(localFile).toStdString());
        qint64 total = 0;
        bool writeFailed = false;
        runBackup(database, QStringLiteral("stdout"), {}, [&](const unsigned char* data, int len) {
            if (writeFailed) return;
            if (out.write(reinterpret_cast<const char*>(data), len) != len) writeFailed = true;
            total += len;
            if (received) received(total);
        }, stop);
        if (writeFailed || !out.flush())
            throw std::runtime_error(
                QStringLiteral("Не удалось записать файл резервной копии «%1»: %2").arg(localFile, out.errorString())
                    .toStdString());
        out.close();
    });
}

namespace {
constexpr long kIoError = 335544344L;            // isc_io_error
constexpr long kIoOpenErr = 335544734L;          // isc_io_open_err
constexpr long kIoCreateErr = 335544733L;        // isc_io_create_err
constexpr long kBadDb = 335544323L;              // isc_bad_db_format
constexpr long kAlreadyOpened = 335545107L;      // isc_already_opened
constexpr long kGbakDbInUse = 336330985L;        // isc_gbak_db_in_use
constexpr long kGbakDbExists = 336330766L;       // isc_gbak_db_exists
constexpr long kGbakOpenBackup = 336330817L;     // isc_gbak_open_bkup_error
constexpr long kGbakNoDescription = 336330797L;  // isc_gbak_missing_bkup_desc
constexpr long kGbakBadVersion = 336330796L;     // isc_gbak_inv_bkup_ver
constexpr long kGbakBadVersion2 = 336331096L;    // isc_gbak_inv_bkup_ver2
constexpr long kLogin = 335544472L;              // isc_login
constexpr long kNoPriv = 335544352L;             // isc_no_priv
}  // namespace

bool isDatabaseInUse(const DbError& error) {
    return error.hasGds(kAlreadyOpened) || error.hasGds(kGbakDbInUse);
}

QString serviceFailureText(const DbError& error, ServiceWork work, const QString& database,
                           const QString& backupFile) {
    const bool backup = work == ServiceWork::Backup;
    QString why;
    if (isDatabaseInUse(error)) {
        why = QStringLiteral("База данных «%1» открыта другой программой. Закройте все программы, "
                             "работающие с ней, и повторите.").arg(database);
    } else if (error.hasGds(kGbakDbExists)) {
        why = QStringLiteral("База данных «%1» уже существует.").arg(database);
    } else if (error.hasGds(kGbakOpenBackup)) {
        why = backup ? QStringLiteral("Не удалось создать файл резервной копии «%1»: нет такой папки или нет права "
                                      "записи в нее.").arg(backupFile)
                     : QStringLiteral("Не удалось открыть файл резервной копии «%1»: его нет или нет права "
                                      "читать его.").arg(backupFile);
    } else if (error.hasGds(kGbakNoDescription) || error.hasGds(kGbakBadVersion) || error.hasGds(kGbakBadVersion2)) {
        why = QStringLiteral("Файл «%1» не является резервной копией базы данных.").arg(backupFile);
    } else if (error.isConnectionLost() && !error.hasGds(335544856L /* isc_att_shutdown */)) {
        why = QStringLiteral("Нет связи с сервером базы данных «%1».").arg(database);
    } else if (error.hasGds(kLogin) || error.hasGds(kNoPriv)) {
        why = QStringLiteral("Сервер базы данных «%1» не принял имя или пароль администратора.").arg(database);
    } else if (error.hasGds(kBadDb)) {
        why = QStringLiteral("Файл «%1» не является базой данных.").arg(database);
    } else if (error.hasGds(kIoCreateErr)) {
        why = QStringLiteral("Не удалось создать файл базы данных «%1»: нет такой папки или нет права записи "
                             "в нее.").arg(database);
    } else if (error.hasGds(kIoOpenErr) || error.hasGds(kIoError)) {
        why = QStringLiteral("Не удалось открыть базу данных «%1».").arg(database);
    } else {
        why = backup ? QStringLiteral("Резервная копия базы данных «%1» не создана.").arg(database)
                     : QStringLiteral("База данных «%1» не восстановлена.").arg(database);
    }
    return why + QStringLiteral("\nСообщение сервера: ") + error.serverText().trimmed();
}

void dropDatabase(const QString& database) {
    if (!isNetworkDatabase(database)) prepareLockFolder();
    detail::Status st;
    IAttachment* att = nullptr;
    {
        Builder dpb(st, IXpbBuilder::DPB);
        dpb->insertString(&st, isc_dpb_user_name, "SYSDBA");
        dpb->insertString(&st, isc_dpb_password, defaultPassword().toUtf8().constData());
        st.check();
        IProvider* prov = master()->getDispatcher();
        att = prov->attachDatabase(&st, encodePath(database, isNetworkDatabase(database)).constData(),
                                   dpb->getBufferLength(&st), dpb->getBuffer(&st));
        prov->release();
        st.check();
    }
    att->dropDatabase(&st);
    if (st.failed()) {
        const DbError error = detail::toDbError(st.get());
        st.clear();
        att->detach(&st);
        if (st.failed()) att->release();
        throw error;
    }
}

void restoreDatabase(const QString& backupFile, const QString& database, bool replace, const ServiceLines& lines) {
    const bool remote = isNetworkDatabase(database);
    ServiceHandle svc(database);
    detail::Status st;
    Builder spb(st, IXpbBuilder::SPB_START);
    spb->insertTag(&st, isc_action_svc_restore);
    spb->insertString(&st, isc_spb_bkp_file, encodePath(backupFile, remote).constData());
    spb->insertString(&st, isc_spb_dbname, encodePath(pathForService(database), remote).constData());
    spb->insertInt(&st, isc_spb_options, replace ? isc_spb_res_replace : isc_spb_res_create);
    spb->insertTag(&st, isc_spb_verbose);
    st.check();
    svc.start(spb.p);
    svc.follow(lines);
}

}  // namespace fb
