#include "session/Global.h"

TGL GL;
TMyApplicationOptions AppOptions;
TMyUchetOptions UchetOptions;

void ResetGlobalState() {
    GL = TGL{};
    AppOptions = TMyApplicationOptions{};
    UchetOptions = TMyUchetOptions{};
}

bool FlagFromText(const QString& text) {
    if (text.isEmpty()) return false;
    const QChar c = text.front();
    return c == u'T' || c == u't' || c == u'Y' || c == u'y';
}

bool AutoSkladFromText(const QString& text) {
    return FlagFromText(text);
}
