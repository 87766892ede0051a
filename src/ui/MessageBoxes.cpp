#include "ui/MessageBoxes.h"

#include "ui/ModalSeam.h"

QString ProductTitle() { return QStringLiteral("Обрикс "); }
QString VendorTitle() { return QStringLiteral("VELKART"); }

int TitledMessageBox(const QString& text, int flags) {
    return ModalSeam::message(MessageRequest{ProductTitle(), text, flags});
}

int VendorMessageBox(const QString& text, int flags) {
    return ModalSeam::message(MessageRequest{VendorTitle(), text, flags});
}
