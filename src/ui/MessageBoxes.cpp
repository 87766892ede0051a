#include "ui/MessageBoxes.h"

#include "ui/ModalSeam.h"
#include "session/Notice.h"

// A rule's notice (session/Notice.h) is shown with its kind as the box's flags.
static_assert(int(TNoticeKind::Stop) == mbStopOk && int(TNoticeKind::Warning) == mbWarningOk &&
              int(TNoticeKind::Information) == mbInfoOk);

QString ProductTitle() { return QStringLiteral("Обрикс "); }
QString VendorTitle() { return QStringLiteral("VELKART"); }

int TitledMessageBox(const QString& text, int flags) {
    return ModalSeam::message(MessageRequest{ProductTitle(), text, flags});
}

int VendorMessageBox(const QString& text, int flags) {
    return ModalSeam::message(MessageRequest{VendorTitle(), text, flags});
}
