#include "data/SaveRetry.h"

#include "fb/DbError.h"
#include "fb/Transaction.h"

#include <QRandomGenerator>
#include <QThread>

namespace {

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

void pauseBeforeRetry(int attempt) {
    QThread::msleep(10 * attempt + QRandomGenerator::global()->bounded(20));
}

void RunSaveTransaction(fb::Attachment& att, const std::function<void(fb::Transaction&)>& work) {
    for (int attempt = 1;; ++attempt) {
        try {
            fb::Transaction tra(att);
            work(tra);
            tra.commit();
            return;
        } catch (...) {
            if (attempt < kSaveAttempts && isUpdateConflict(std::current_exception())) {
                pauseBeforeRetry(attempt);
                continue;
            }
            throw;
        }
    }
}
