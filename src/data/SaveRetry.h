#pragma once
// Saving beside other workstations. Two saves of different documents may meet
// on a row they both lock (the work period, the numbering row): the later one
// then gets an update conflict although nothing of its own was changed. Such a
// save is run again from the start in a fresh transaction, a few times, before
// the conflict is reported. A real conflict on the same row turns into "changed
// by another user" on the next attempt, since the row is no longer found by the
// values it was loaded with.
#include <exception>
#include <functional>

namespace fb {
class Attachment;
class Transaction;
}  // namespace fb

constexpr int kSaveAttempts = 10;

// True for fb::DbError update conflicts and deadlocks (not for a lock timeout).
bool isUpdateConflict(const std::exception_ptr& error);
// An update conflict whose other transaction is still running when the wait
// for it ended: the row is held on another workstation (a long period close, a
// client that died mid-save). Retrying would only wait again, so such a
// conflict is turned into a lock time-out error to report; otherwise null.
std::exception_ptr heldByAnother(fb::Attachment& att, const std::exception_ptr& error);
// True for fb::DbError meaning the connection to the database is gone.
bool isConnectionLost(const std::exception_ptr& error);
// A short, growing, slightly random pause before attempt `attempt` + 1.
void pauseBeforeRetry(int attempt);

// Runs `work` in a transaction and commits it; on an update conflict rolls
// back and runs it again in a fresh transaction (kSaveAttempts in all). Any
// other error, or the last conflict, is rethrown with the transaction rolled back.
void RunSaveTransaction(fb::Attachment& att, const std::function<void(fb::Transaction&)>& work);
