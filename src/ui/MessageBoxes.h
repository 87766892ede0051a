#pragma once
// The program's message boxes. Texts use "\r" as the line break.
#include <QString>

// Style flags.
constexpr int mbStopOk = 16;           // stop icon, "OK"
constexpr int mbQuestionYesNo = 36;    // question icon, "Yes"/"No"
constexpr int mbWarningOk = 48;        // exclamation icon, "OK"
constexpr int mbWarningYesNo = 52;     // exclamation icon, "Yes"/"No"
constexpr int mbInfoOk = 64;           // information icon, "OK"
// Added to a Yes/No question: "No" is the default button. Every question whose
// "Yes" deletes something carries it, so that Enter deletes nothing.
constexpr int mbDefaultNo = 256;

// Buttons pressed.
constexpr int idOk = 1;
constexpr int idCancel = 2;
constexpr int idYes = 6;
constexpr int idNo = 7;

// Caption "Обрикс " (the product title and one blank).
QString ProductTitle();
QString VendorTitle();

// A modal message box under the product title; returns the button pressed.
int TitledMessageBox(const QString& text, int flags);
// The same under the caption "VELKART".
int VendorMessageBox(const QString& text, int flags);
