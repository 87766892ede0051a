#include "shell/KeyboardState.h"

#include <QGuiApplication>

#if __has_include(<QtGui/qguiapplication_platform.h>)
#include <QtGui/qguiapplication_platform.h>
#endif
#include <dlfcn.h>

namespace {

#if QT_CONFIG(xcb)
// XkbGetIndicatorState from libX11, looked up at run time so that the program
// needs no X11 development files and runs without X11 at all.
using GetIndicatorState = int (*)(Display*, unsigned int, unsigned int*);

GetIndicatorState indicatorFunction() {
    static GetIndicatorState fn = [] {
        void* lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        return lib ? reinterpret_cast<GetIndicatorState>(dlsym(lib, "XkbGetIndicatorState")) : nullptr;
    }();
    return fn;
}
#endif

}  // namespace

TKeyboardLocks ReadKeyboardLocks() {
    TKeyboardLocks locks;
#if QT_CONFIG(xcb)
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return locks;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    GetIndicatorState fn = indicatorFunction();
    if (!display || !fn) return locks;
    constexpr unsigned int kUseCoreKeyboard = 0x0100;
    unsigned int state = 0;
    if (fn(display, kUseCoreKeyboard, &state) != 0) return locks;
    locks.caps = (state & 0x1) != 0;
    locks.num = (state & 0x2) != 0;
#endif
    return locks;
}
