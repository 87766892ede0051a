#pragma once
// Internal: the status vector wrapper of the client library and its conversion to DbError.
#include "fb/DbError.h"

#include <firebird/Interface.h>

namespace fb::detail {

class Status {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
    Firebird::CheckStatusWrapper* operator&() { return &m_wrap; }
    Firebird::CheckStatusWrapper* get() { return &m_wrap; }
    bool failed() const;
    void check();  // throws DbError when the last call failed, then clears
    void clear() { m_wrap.init(); }

private:
    Firebird::IStatus* m_status;
    Firebird::CheckStatusWrapper m_wrap;
};

DbError toDbError(Firebird::IStatus* status);

}  // namespace fb::detail
