#pragma once
// Read committed, record versions, waiting on locks for a few seconds. Rolls back unless committed.
#include <functional>
#include <vector>

namespace Firebird { class ITransaction; }

namespace fb {

class Attachment;

// How long a statement waits for a row another workstation holds before it
// fails with a lock timeout (DbError::isLockTimeout): a few seconds, so that a
// long close of a period or a workstation that died mid-save never freezes the others.
constexpr int kLockTimeoutSeconds = 5;
// The wait of transactions started without one of their own (tests shorten it).
void setDefaultLockTimeout(int seconds);
int defaultLockTimeout();

class Transaction {
public:
    // lockTimeoutSeconds: -1 the default wait, 0 no limit.
    explicit Transaction(Attachment& att, int lockTimeoutSeconds = -1);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();    // throws DbError; runs the after-commit callbacks
    void rollback();  // never throws
    bool isActive() const { return m_tra != nullptr; }

    // Called once after a successful commit (datasets clear their change logs here).
    void onCommit(std::function<void()> fn) { m_afterCommit.push_back(std::move(fn)); }
    // Called once after a rollback (explicit or by destruction).
    void onRollback(std::function<void()> fn) { m_afterRollback.push_back(std::move(fn)); }

    Attachment& attachment() const { return m_att; }
    Firebird::ITransaction* raw() const { return m_tra; }

private:
    Attachment& m_att;
    Firebird::ITransaction* m_tra = nullptr;
    std::vector<std::function<void()>> m_afterCommit, m_afterRollback;
};

}  // namespace fb
