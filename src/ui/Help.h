#pragma once
// Help for every window: the whole help file (the main window's "Справка",
// F1) and the page of one window (the small help buttons). The pages are
// named by addresses "ms-its:" + GL.HelpFile + "::/" + page name and shown
// in the program's own help window.
#include <QString>

class QWidget;
class TfrmHelp;

// Opens the help file on its start page. Without the file: the message
// "Не найден файл справки " + GL.HelpFile, nothing else.
void OpenHelpFile();

// Opens the page (for example "_docum_edit.htm") that describes the caller's
// window. Without the file: the same message as OpenHelpFile.
void HelpContext(QWidget* caller, const QString& page);

// "ms-its:" + GL.HelpFile + "::/" + page.
QString HelpPageAddress(const QString& page);

// The folder of the executable + "/obrix.chm": the value of GL.HelpFile.
QString HelpFileBesideExecutable();

// Shows the page an address names, in front of the caller. A missing file
// gives "Не найден файл справки " + its path; an address that names no page,
// or a file that is not a help file, gives a message of its own. False when
// nothing was shown.
bool OpenHelpAddress(QWidget* caller, const QString& address);

// The one help window, created on first use.
TfrmHelp* HelpWindow();
// The help window when it has been created, else nullptr.
TfrmHelp* ExistingHelpWindow();
