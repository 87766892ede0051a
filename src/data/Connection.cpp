#include "data/Connection.h"

#include "data/DataErrors.h"
#include "fb/Attachment.h"

namespace dataconn {

namespace {
Source& source() {
    static Source s;
    return s;
}
}  // namespace

void setDefaultSource(Source s) { source() = std::move(s); }

fb::Attachment& require(fb::Attachment* explicitAttachment) {
    fb::Attachment* att = explicitAttachment;
    if (!att && source()) att = source()();
    if (!att || !att->isOpen()) throw EDatabaseError(QStringLiteral("Нет соединения с базой данных"));
    return *att;
}

}  // namespace dataconn
