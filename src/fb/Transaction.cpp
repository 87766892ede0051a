#include "fb/Transaction.h"

#include "fb/Attachment.h"
#include "fb/FbStatus.h"

using namespace Firebird;

namespace fb {

namespace {
int g_lockTimeout = kLockTimeoutSeconds;
}  // namespace

void setDefaultLockTimeout(int seconds) { g_lockTimeout = seconds; }
int defaultLockTimeout() { return g_lockTimeout; }

Transaction::Transaction(Attachment& att, int lockTimeoutSeconds) : m_att(att) {
    if (lockTimeoutSeconds < 0) lockTimeoutSeconds = g_lockTimeout;
    if (!att.isOpen()) throw DbError(QStringLiteral("Нет соединения с базой данных"));
    detail::Status st;
    IXpbBuilder* tpb = master()->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
    st.check();
    struct TpbGuard {
        IXpbBuilder*& p;
        ~TpbGuard() { if (p) p->dispose(); }
    } guard{tpb};
    tpb->insertTag(&st, isc_tpb_write);
    tpb->insertTag(&st, isc_tpb_read_committed);
    tpb->insertTag(&st, isc_tpb_rec_version);
    tpb->insertTag(&st, isc_tpb_wait);
    if (lockTimeoutSeconds > 0) tpb->insertInt(&st, isc_tpb_lock_timeout, lockTimeoutSeconds);
    m_tra = att.raw()->startTransaction(&st, tpb->getBufferLength(&st), tpb->getBuffer(&st));
    tpb->dispose();
    tpb = nullptr;
    if (st.failed()) {
        m_tra = nullptr;
        st.check();
    }
}

Transaction::~Transaction() { rollback(); }

void Transaction::commit() {
    if (!m_tra) throw DbError(QStringLiteral("Транзакция уже завершена"));
    detail::Status st;
    m_tra->commit(&st);
    st.check();  // a refused commit leaves the transaction active: the caller rolls back
    m_tra = nullptr;
    auto fns = std::move(m_afterCommit);
    m_afterCommit.clear();
    m_afterRollback.clear();
    for (auto& f : fns) f();
}

void Transaction::rollback() {
    if (!m_tra) return;
    detail::Status st;
    m_tra->rollback(&st);
    if (st.failed()) m_tra->release();
    m_tra = nullptr;
    auto fns = std::move(m_afterRollback);
    m_afterRollback.clear();
    m_afterCommit.clear();
    for (auto& f : fns) {
        try {
            f();
        } catch (...) {
        }
    }
}

}  // namespace fb
