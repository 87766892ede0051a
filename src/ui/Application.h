#pragma once
// The application object. Every exception that escapes an event handler, a
// slot or a timer on the user-interface thread ends in one application-wide
// handler; the main window installs its own (error windows), until then the
// error text is shown in a stop message box.
#include <QApplication>
#include <exception>
#include <functional>

class TApplication : public QApplication {
    Q_OBJECT
public:
    using ExceptionHandler = std::function<void(std::exception_ptr)>;

    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The handler receives the exception to rethrow and inspect
    // (fb::DbError, std::exception, anything else).
    static void setExceptionHandler(ExceptionHandler handler);
    static ExceptionHandler exceptionHandler();
    // For errors caught elsewhere that must reach the same handler.
    static void handleException(std::exception_ptr error);
    // The handler used when none is set: the text in a message box, flags 16.
    static void showDefault(std::exception_ptr error);
    // The message text of an exception: DbError's message, what() of a
    // std::exception, a fixed text for anything else.
    static QString exceptionText(std::exception_ptr error);
};
