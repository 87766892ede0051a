#pragma once
// Errors raised by the data layer itself (as opposed to the server's own
// refusals, fb::DbError). Both kinds are "database errors" for the error
// window; isDatabaseError() and errorMessage() treat them alike.
#include <QString>
#include <exception>
#include <functional>
#include <stdexcept>

class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString& message);
    // The text exactly as the user and the error window see it.
    QString message() const { return m_message; }

private:
    QString m_message;
};

// A post with a required field left null:
// "Field '" + display label (or name) + "' must have a value".
class EFieldRequired : public EDatabaseError {
public:
    explicit EFieldRequired(const QString& fieldTitle);
    QString fieldTitle() const { return m_title; }

private:
    QString m_title;
};

// An UPDATE or DELETE of an apply that found no row with the loaded values.
class ERecordChanged : public EDatabaseError {
public:
    ERecordChanged();
    static QString text() { return QStringLiteral("Record not found or changed by another user"); }
};

// An UPDATE or DELETE of an apply that would touch several rows (rows equal in
// every column): nothing is changed and the apply fails.
class ERecordAmbiguous : public EDatabaseError {
public:
    explicit ERecordAmbiguous(qint64 rows);
};

// A value that does not fit the field's type (letters for a number, an
// impossible date, a character outside WIN1251). Not a database error.
class EConvertError : public std::invalid_argument {
public:
    explicit EConvertError(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// True for fb::DbError and EDatabaseError (and what derives from them).
bool isDatabaseError(const std::exception& e);
bool isDatabaseError(const std::exception_ptr& e);
// The message of any error: DbError with its "Database Server Error: " prefix,
// EDatabaseError/EConvertError as raised, others from what() (UTF-8).
QString errorMessage(const std::exception& e);
QString errorMessage(const std::exception_ptr& e);

// Errors raised inside a user-interface callback (a control writing into its
// field, a grid moving the cursor) cannot travel through Qt's signal code;
// they go to this handler instead. The main window installs the program's
// application-wide error handler here; by default the message is logged.
using TUiErrorHandler = std::function<void(std::exception_ptr)>;
void setUiErrorHandler(TUiErrorHandler handler);
void handleUiError(std::exception_ptr error);
