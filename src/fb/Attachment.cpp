#include "fb/Attachment.h"

#include "fb/FbStatus.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Firebird;

namespace fb {

namespace {

IXpbBuilder* makeDpb(detail::Status& st, const QString& user, const QString& password, bool create) {
    IXpbBuilder* dpb = master()->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    st.check();
    // Disposed when a check below throws; handed to the caller otherwise.
    struct DpbGuard {
        IXpbBuilder* p;
        ~DpbGuard() { if (p) p->dispose(); }
    } guard{dpb};
    dpb->insertString(&st, isc_dpb_user_name, user.toUtf8().constData());
    dpb->insertString(&st, isc_dpb_password, password.toUtf8().constData());
    dpb->insertString(&st, isc_dpb_lc_ctype, "WIN1251");
    dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
    if (create) {
        dpb->insertInt(&st, isc_dpb_page_size, 8192);
        dpb->insertString(&st, isc_dpb_set_db_charset, "WIN1251");
        dpb->insertInt(&st, isc_dpb_force_write, 1);  // a power cut must not corrupt the file
    }
    st.check();
    guard.p = nullptr;
    return dpb;
}

}  // namespace

// An embedded engine opened by a normal user must not meet a lock folder made by root.
void prepareLockFolder() {
    static bool done = false;
    if (done) return;
    done = true;
    if (!qEnvironmentVariableIsEmpty("FIREBIRD_LOCK")) return;
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QFileInfo(base).isWritable())
        base = QDir::homePath() + QStringLiteral("/.cache");
    const QString dir = base + QStringLiteral("/obrix-firebird-lock");
    QDir().mkpath(dir);
    qputenv("FIREBIRD_LOCK", QFile::encodeName(dir));
}

IMaster* master() {
    static IMaster* m = fb_get_master_interface();
    return m;
}

QString defaultPassword() {
    const QString env = qEnvironmentVariable("OBRIX_DB_PASSWORD");
    return env.isEmpty() ? QStringLiteral("kelptraxo") : env;
}

bool isNetworkDatabase(const QString& database) {
    // "host:path" or "host/port:path"; a one-letter drive ("C:\...") is not a host.
    static const QRegularExpression re(QStringLiteral("^[^/\\\\:]{2,}(/[0-9]+)?:"));
    return re.match(database).hasMatch();
}

Attachment::Attachment(const QString& database, const QString& user, const QString& password)
    : m_database(database) {
    if (!isNetworkDatabase(database)) prepareLockFolder();
    detail::Status st;
    IXpbBuilder* dpb = makeDpb(st, user, password, false);
    IProvider* prov = master()->getDispatcher();
    m_att = prov->attachDatabase(&st, QFile::encodeName(database).constData(),
                                 dpb->getBufferLength(&st), dpb->getBuffer(&st));
    dpb->dispose();
    prov->release();
    if (st.failed()) {
        m_att = nullptr;
        st.check();
    }
}

std::unique_ptr<Attachment> Attachment::create(const QString& database, const QString& user,
                                               const QString& password) {
    if (!isNetworkDatabase(database)) prepareLockFolder();
    std::unique_ptr<Attachment> a(new Attachment());
    a->m_database = database;
    detail::Status st;
    IXpbBuilder* dpb = makeDpb(st, user, password, true);
    IProvider* prov = master()->getDispatcher();
    a->m_att = prov->createDatabase(&st, QFile::encodeName(database).constData(),
                                    dpb->getBufferLength(&st), dpb->getBuffer(&st));
    dpb->dispose();
    prov->release();
    if (st.failed()) {
        a->m_att = nullptr;
        st.check();
    }
    return a;
}

void Attachment::setForcedWrites(const QString& database, bool on, const QString& user, const QString& password) {
    if (!isNetworkDatabase(database)) prepareLockFolder();
    detail::Status st;
    IXpbBuilder* dpb = makeDpb(st, user, password, false);
    dpb->insertInt(&st, isc_dpb_force_write, on ? 1 : 0);
    IProvider* prov = master()->getDispatcher();
    IAttachment* att = prov->attachDatabase(&st, QFile::encodeName(database).constData(), dpb->getBufferLength(&st),
                                            dpb->getBuffer(&st));
    dpb->dispose();
    prov->release();
    if (st.failed()) st.check();
    att->detach(&st);
    if (st.failed()) {
        st.clear();
        att->release();
    }
}

Attachment::~Attachment() {
    try {
        close();
    } catch (...) {
    }
}

void Attachment::close() {
    if (!m_att) return;
    detail::Status st;
    m_att->detach(&st);
    if (st.failed()) {
        // A detach refused (open transactions) still leaves us without a connection.
        st.clear();
        m_att->release();
    }
    m_att = nullptr;
}

void Attachment::executeImmediate(const QString& sql) {
    // Sent as it stands: procedure bodies use ":NAME" for their own variables.
    Transaction tra(*this);
    detail::Status st;
    const QByteArray bytes = encodeWin1251(sql);
    m_att->execute(&st, tra.raw(), 0, bytes.constData(), 3, nullptr, nullptr, nullptr, nullptr);
    st.check();
    tra.commit();
}

}  // namespace fb
