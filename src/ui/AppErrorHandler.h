#pragma once
// The program's application-wide error handler: database errors in the
// database error window (explanation and recommendation), every other error
// in the plain error window.
#include <exception>
#include <QString>

void ShowApplicationError(std::exception_ptr error);
// Installs ShowApplicationError on the application object and on the data
// layer's control callbacks.
void InstallApplicationErrorHandler();
// A failed apply: its message in the database error window (constraint table).
void ReportJournalApplyError(const QString& message);
