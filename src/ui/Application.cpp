#include "ui/Application.h"

#include "ui/MessageBoxes.h"
#include "fb/DbError.h"
#include "session/Settings.h"

namespace {

TApplication::ExceptionHandler& handlerRef() {
    static TApplication::ExceptionHandler handler;
    return handler;
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // A settings file that is not taken or not written is said in a warning box.
    settings::setProblemReporter([](const QString& text) { TitledMessageBox(text, mbWarningOk); });
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handleException(std::current_exception());
        return false;
    }
}

void TApplication::setExceptionHandler(ExceptionHandler handler) {
    handlerRef() = std::move(handler);
}

TApplication::ExceptionHandler TApplication::exceptionHandler() {
    return handlerRef();
}

void TApplication::handleException(std::exception_ptr error) {
    if (!error) return;
    // An error while showing an error must not take the program down.
    static int depth = 0;
    struct Depth { Depth() { ++depth; } ~Depth() { --depth; } } guard;
    const ExceptionHandler handler = handlerRef();
    if (handler && depth == 1) {
        try {
            handler(error);
            return;
        } catch (...) {
            error = std::current_exception();
        }
    }
    try {
        showDefault(error);
    } catch (...) {
    }
}

void TApplication::showDefault(std::exception_ptr error) {
    TitledMessageBox(exceptionText(error), mbStopOk);
}

QString TApplication::exceptionText(std::exception_ptr error) {
    if (!error) return QString();
    try {
        std::rethrow_exception(error);
    } catch (const fb::DbError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Неизвестная ошибка");
    }
}
