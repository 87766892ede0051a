#include "ui/AppErrorHandler.h"

#include "ui/Application.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/DataErrors.h"
#include "ui/ErrorDB.h"

void ShowApplicationError(std::exception_ptr error) {
    if (!error) return;
    // Before the error windows exist (or in a program without them) the
    // application object's own stop box says it.
    const QString window = isDatabaseError(error) ? QStringLiteral("frmErrorDB") : QStringLiteral("frmErrorMes");
    if (!WindowRegistry::instance().get<QWidget>(window)) {
        TApplication::showDefault(error);
        return;
    }
    ShowErrorWindow(error, TErrorExplanation::Raised);
}

void InstallApplicationErrorHandler() {
    TApplication::setExceptionHandler(ShowApplicationError);
    setUiErrorHandler(ShowApplicationError);
}

void ReportJournalApplyError(const QString& message) {
    if (!WindowRegistry::instance().get<QWidget>(QStringLiteral("frmErrorDB"))) {
        TApplication::showDefault(std::make_exception_ptr(std::runtime_error(message.toStdString())));
        return;
    }
    ShowErrorWindow(message);
}
