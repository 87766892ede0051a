#include "ui/AppErrorHandler.h"

#include "ui/Application.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/DataErrors.h"
#include "ui/ErrorDB.h"

void ShowApplicationError(std::exception_ptr error) {
    if (!error) return;
    if (isDatabaseError(error)) {
        if (auto* w = Window<TfrmErrorDB>(QStringLiteral("frmErrorDB"))) {
            w->Message1(errorMessage(error));
            execModal(w);
            return;
        }
    } else if (auto* w = Window<TfrmErrorMes>(QStringLiteral("frmErrorMes"))) {
        w->setMessage(errorMessage(error));
        execModal(w);
        return;
    }
    TApplication::showDefault(error);
}

void InstallApplicationErrorHandler() {
    TApplication::setExceptionHandler(ShowApplicationError);
    setUiErrorHandler(ShowApplicationError);
}

void ReportJournalApplyError(const QString& message) {
    if (auto* w = Window<TfrmErrorDB>(QStringLiteral("frmErrorDB"))) {
        w->Message2(message);
        execModal(w);
        return;
    }
    TApplication::showDefault(std::make_exception_ptr(std::runtime_error(message.toStdString())));
}
