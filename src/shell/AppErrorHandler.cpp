#include "shell/AppErrorHandler.h"

#include "app/Application.h"
#include "app/ModalSeam.h"
#include "app/WindowRegistry.h"
#include "data/DataErrors.h"
#include "shell/ErrorDB.h"

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
