#pragma once
// The order in which the program comes up and goes down. The main window
// supplies the steps; this file keeps their order and the rules between them.
#include <QStringList>
#include <functional>

class QWidget;

struct StartupHooks {
    // First showing of the main window, in this order (GL.Connected is
    // cleared here between the grid indicators and the connection):
    std::function<void()> clearCaption;        // LabelAllScreen emptied
    std::function<void()> restorePlacement;    // position, size and state from the settings file
    std::function<void(bool)> setGridIndicators;  // called with false; SetGridIndicators when unset
    std::function<void()> connect;             // the connect command
    std::function<void()> updateStatusBar;     // after connecting, and again after the login
    std::function<void()> setIdleHandler;      // CAPS / NUM in the status bar
    std::function<void()> hideHintPanel;       // only when AppOptions.ShowHintMes is false
    std::function<void()> suspendCommands;     // commands wait until the login is over
    std::function<bool()> login;               // only when GL.Connected; true for "OK"
    std::function<void()> openJournals;        // after a successful login: no data is shown before
    std::function<void()> closeMainWindow;     // after a refused login
    std::function<void()> resumeCommands;      // after the status bar is rewritten

    // Closing the main window, in this order:
    std::function<void()> closeConnection;
    std::function<void()> savePlacement;
};

enum class StartupResult { Working, NotConnected, LoginRefused };

// Loads Qt's own Russian translations (standard buttons, dialogs, the text
// boxes' menu) from Qt's translations folder into the application; runs by
// itself when the application object is made. True when they were found.
bool LoadQtTranslations();
// Where they are looked for: qtbase_ru.qm in QLibraryInfo's translations path.
QString QtTranslationsFile();

// Runs the first showing of the main window. An unset hook is skipped; an
// unset login counts as "OK". A refused login closes the main window (which
// ends the program) and the last step still runs on the closing window.
StartupResult RunFirstShow(const StartupHooks& hooks);

// Runs the closing of the main window: the connection is closed, then the
// placement is written. Nothing asks for confirmation.
void RunStop(const StartupHooks& hooks);

// For every window of the program and every grid on it, shows or hides the
// row-indicator column (the vertical header of the table views).
void SetGridIndicators(bool show);

// The program once its windows are registered: creates every window through the
// registry, shows the main window ("frmMain"), runs the event loop, then
// destroys the windows in reverse order. Returns the loop's exit code.
int RunProgram();
