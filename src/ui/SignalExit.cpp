#include "ui/SignalExit.h"

#include "ui/ModalSeam.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <ibase.h>

#include <atomic>
#include <csignal>
#include <ctime>
#include <pthread.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// How the signal travels: SIGTERM, SIGHUP and SIGINT are blocked in every thread of
// the process (threads made later, the database engine's among them, inherit
// the mask), so no handler ever interrupts a thread in the middle of its work;
// a signal interrupting the engine's threads left a later detach spinning.
// One small thread takes them with sigwait, wakes the event loop through a
// socket pair and then is the watchdog: a second signal, or the time running
// out, ends the process with _exit().

namespace {

int g_pipe[2] = {-1, -1};
std::atomic<int> g_signal{0};  // the first signal received, 0 while none
QPointer<QWidget> g_main;
QSocketNotifier* g_notifier = nullptr;

sigset_t endSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigaddset(&set, SIGINT);  // Ctrl+C in the terminal that started the program: the same
    return set;
}

// A program started from this one gets the ordinary signal mask back.
void unblockInChild() {
    const sigset_t set = endSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void watch(int seconds) {
    const sigset_t set = endSignals();
    int sig = 0;
    while (sigwait(&set, &sig) != 0) {
    }
    g_signal.store(sig);
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_pipe[0], &c, 1);
    // The watchdog: the program has this long to close the normal way.
    const timespec limit{seconds, 0};
    sigtimedwait(&set, nullptr, &limit);
    _exit(signalexit::exitCodeFor(sig));
}

// The Firebird client reacts to SIGTERM itself by shutting every attachment
// down from a thread of its own while the program may be using or closing
// the connection; the program closes it itself, so that shutdown is refused.
int refuseSignalShutdown(const int reason, const int, void*) {
    return reason == fb_shutrsn_signal ? 1 : 0;
}

// While the program ends, every modal window is answered at once, cautiously.
void refuseModalWindows() {
    ModalSeam::setMessageHook([](const MessageRequest& r) {
        switch (r.flags & 0x0F) {
        case 1: return 2;  // OK / Cancel: Cancel
        case 2: return 3;  // Abort / Retry / Ignore: Abort
        case 3: return 2;  // Yes / No / Cancel: Cancel
        case 4: return 7;  // Yes / No: No
        case 5: return 2;  // Retry / Cancel: Cancel
        default: return 1;  // OK
        }
    });
    ModalSeam::setDialogHook([](QDialog*) { return int(QDialog::Rejected); });
    ModalSeam::setFileHook([](const FileRequest&) { return QString(); });
}

void closeModalWindows() {
    // Innermost first; a window that will not go is left to the watchdog.
    for (int i = 0; i < 64; ++i) {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) break;
        if (auto* d = qobject_cast<QDialog*>(w)) d->done(QDialog::Rejected);
        else w->close();
        if (QApplication::activeModalWidget() == w && w->isVisible()) w->hide();
    }
}

// The main window is closed from the main event loop, once every modal
// window's loop has returned and the code that showed it has finished.
void closeMainWindowFromMainLoop() {
    if (QThread::currentThread()->loopLevel() > 1) {
        closeModalWindows();
        QTimer::singleShot(10, qApp, closeMainWindowFromMainLoop);
        return;
    }
    if (g_main) g_main->close();
    QCoreApplication::exit(0);
}

void endProgram() {
    refuseModalWindows();
    closeModalWindows();
    QTimer::singleShot(0, qApp, closeMainWindowFromMainLoop);
}

}  // namespace

namespace signalexit {

int exitCodeFor(int signalNumber) { return 128 + signalNumber; }

bool requested() { return g_signal.load() != 0; }

void install(int watchdogSeconds) {
    if (g_pipe[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
    const sigset_t set = endSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    pthread_atfork(nullptr, nullptr, unblockInChild);
    std::thread(watch, watchdogSeconds).detach();

    ISC_STATUS_ARRAY status{};
    fb_shutdown_callback(status, refuseSignalShutdown, fb_shut_confirmation, nullptr);
}

void listen() {
    if (g_notifier || g_pipe[1] < 0) return;
    // A signal that came earlier is already waiting in the pipe.
    g_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, qApp);
    QObject::connect(g_notifier, &QSocketNotifier::activated, qApp, [] {
        char c;
        [[maybe_unused]] const auto n = ::read(g_pipe[1], &c, 1);
        g_notifier->setEnabled(false);
        endProgram();
    });
}

void setMainWindow(QWidget* window) { g_main = window; }

}  // namespace signalexit
