#pragma once
// Caps Lock and Num Lock for the status bar: the X11 keyboard indicators when
// the program runs on xcb; both off on other platforms.
struct TKeyboardLocks {
    bool caps = false;
    bool num = false;
};

TKeyboardLocks ReadKeyboardLocks();
