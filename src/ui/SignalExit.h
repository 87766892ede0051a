#pragma once
// The program's end on a terminate (SIGTERM) or hang-up (SIGHUP) signal, in
// whatever state it is: the open modal windows are closed as if cancelled,
// no new one is shown, the main window closes the normal way (the connection
// is closed, the placement written) and the event loops end. A watchdog
// armed by the signal ends the process after a few seconds if that cannot
// finish, for instance when the main thread is stuck in a database call or
// a detach does not return. A second signal ends the process at once. An
// interrupt (SIGINT, Ctrl+C in a terminal) is treated the same way.
class QWidget;

namespace signalexit {

// Call first thing in main(), before any thread is started: the two signals
// are blocked in every thread and taken by a watcher of their own. The
// Firebird client's own reaction to them (shutting down every attachment from
// another thread) is refused, so that the main window closes the connection.
void install(int watchdogSeconds = 5);

// Right after the application object exists: from then on a signal (also one
// received earlier) is acted on by whichever event loop runs, a message box's
// at start-up included. Before the main window is set it only ends the loops;
// main() then checks requested() before showing the main window.
void listen();

// The window whose closing ends the program.
void setMainWindow(QWidget* window);

// True once a terminate or hang-up signal has been received.
bool requested();

// Exit code of the process when the watchdog or a second signal ends it:
// 128 plus the signal's number, as a shell reports a process a signal ended.
int exitCodeFor(int signalNumber);

}  // namespace signalexit
