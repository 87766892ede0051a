#include "fb/FbStatus.h"

#include "fb/Attachment.h"
#include "fb/Statement.h"

#include <ibase.h>

namespace fb::detail {

Status::Status() : m_status(master()->getStatus()), m_wrap(m_status) {}
Status::~Status() { m_status->dispose(); }

bool Status::failed() const {
    return (const_cast<Firebird::CheckStatusWrapper&>(m_wrap).getState() &
            Firebird::IStatus::STATE_ERRORS) != 0;
}

void Status::check() {
    if (!failed()) return;
    DbError e = toDbError(&m_wrap);
    m_wrap.init();
    throw e;
}

DbError toDbError(Firebird::IStatus* status) {
    char buf[4096];
    master()->getUtilInterface()->formatStatus(buf, sizeof buf, status);
    const QString text = decodeWin1251(QByteArray(buf));
    std::vector<long> codes;
    const intptr_t* v = status->getErrors();
    while (v && *v != isc_arg_end) {
        const intptr_t tag = *v++;
        if (tag == isc_arg_gds) codes.push_back(long(*v));
        if (tag == isc_arg_cstring) ++v;  // length, then pointer
        ++v;
    }
    const int sqlCode = int(isc_sqlcode(reinterpret_cast<const ISC_STATUS*>(status->getErrors())));
    return DbError(text, std::move(codes), sqlCode);
}

}  // namespace fb::detail
