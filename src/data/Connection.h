#pragma once
// Where datasets and procedure calls find the connection when none is set on
// them: the data module installs its own at start-up.
#include <functional>

namespace fb { class Attachment; }

namespace dataconn {

using Source = std::function<fb::Attachment*()>;

void setDefaultSource(Source source);
// The explicit attachment when it is open, else the default one; throws
// EDatabaseError "Нет соединения с базой данных" when neither is open.
fb::Attachment& require(fb::Attachment* explicitAttachment = nullptr);

}  // namespace dataconn
