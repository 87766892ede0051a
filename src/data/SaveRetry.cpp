#include "data/SaveRetry.h"

#include "fb/DbError.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QRegularExpression>

#include <QRandomGenerator>
#include <QThread>

namespace {

constexpr long kLockTimeoutCode = 335544510L;  // isc_lock_timeout

template <class Pred>
bool dbErrorMatches(const std::exception_ptr& error, Pred pred) {
    if (!error) return false;
    try {
        std::rethrow_exception(error);
    } catch (const fb::DbError& e) {
        return pred(e);
    } catch (...) {
        return false;
    }
}

}  // namespace

bool isUpdateConflict(const std::exception_ptr& error) {
    return dbErrorMatches(error, [](const fb::DbError& e) { return e.isUpdateConflict(); });
}

bool isConnectionLost(const std::exception_ptr& error) {
    return dbErrorMatches(error, [](const fb::DbError& e) { return e.isConnectionLost(); });
}

std::exception_ptr heldByAnother(fb::Attachment& att, const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const fb::DbError& e) {
        static const QRegularExpression re(QStringLiteral("concurrent transaction number is (\\d+)"));
        const auto m = re.match(e.serverText());
        if (!m.hasMatch()) return nullptr;
        bool running = false;
        try {
            fb::Transaction tra(att, 0);
            running = fb::scalar(tra,
                                 QStringLiteral("SELECT COUNT(*) FROM MON$TRANSACTIONS WHERE MON$TRANSACTION_ID = ?"),
                                 {m.captured(1).toLongLong()})
                          .toInt() > 0;
            tra.commit();
        } catch (...) {
            return nullptr;
        }
        if (!running) return nullptr;
        std::vector<long> codes = e.gdsCodes();
        codes.insert(codes.begin(), kLockTimeoutCode);
        return std::make_exception_ptr(fb::DbError(
            QStringLiteral("lock time-out on wait transaction\n-") + e.serverText(), std::move(codes), e.sqlCode()));
    } catch (...) {
        return nullptr;
    }
}

void pauseBeforeRetry(int attempt) {
    QThread::msleep(5 + QRandomGenerator::global()->bounded(20 * attempt));
}

void RunSaveTransaction(fb::Attachment& att, const std::function<void(fb::Transaction&)>& work) {
    for (int attempt = 1;; ++attempt) {
        try {
            fb::Transaction tra(att);
            work(tra);
            tra.commit();
            return;
        } catch (...) {
            const std::exception_ptr error = std::current_exception();
            if (isUpdateConflict(error)) {
                if (std::exception_ptr held = heldByAnother(att, error)) std::rethrow_exception(held);
                if (attempt < kSaveAttempts) {
                    pauseBeforeRetry(attempt);
                    continue;
                }
            }
            throw;
        }
    }
}
