#pragma once
// What the clerk is told after a rule ran, and in which kind of message box:
// the values are the box's style flags (stop, exclamation, information with
// "OK"), so a window passes them on as they are.
#include <QString>

enum class TNoticeKind { None = 0, Stop = 16, Warning = 48, Information = 64 };

struct TNotice {
    TNoticeKind kind = TNoticeKind::None;
    QString text;  // "\r" between lines; empty for None
};
