#include "ui/Help.h"

#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "base/HelpFile.h"
#include "ui/HelpViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace {

QPointer<TfrmHelp>& helpWindowRef() {
    static QPointer<TfrmHelp> window;
    return window;
}

// True when the help file is there; otherwise says so.
bool helpFilePresent(const QString& path) {
    if (QFileInfo(path).isFile()) return true;
    TitledMessageBox(QStringLiteral("Не найден файл справки ") + path, mbStopOk);
    return false;
}

// Opens the file in the help window; says so when it cannot be read.
TfrmHelp* windowWithFile(const QString& path) {
    TfrmHelp* window = HelpWindow();
    if (window->openFile(path)) return window;
    TitledMessageBox(QStringLiteral("Не удалось открыть файл справки ") + path +
                         QStringLiteral(".\rФайл поврежден или не является файлом справки."),
                     mbStopOk);
    return nullptr;
}

}  // namespace

TfrmHelp* HelpWindow() {
    auto& window = helpWindowRef();
    if (!window) window = new TfrmHelp;
    return window;
}

TfrmHelp* ExistingHelpWindow() { return helpWindowRef(); }

QString HelpFileBesideExecutable() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("obrix.chm"));
}

QString HelpPageAddress(const QString& page) { return makeHelpAddress(GL.HelpFile, page); }

void OpenHelpFile() {
    const QString path = GL.HelpFile;
    if (!helpFilePresent(path)) return;
    TfrmHelp* window = windowWithFile(path);
    if (!window) return;
    window->showStartPage();
    window->present(nullptr);
}

void HelpContext(QWidget* caller, const QString& page) {
    if (!helpFilePresent(GL.HelpFile)) return;
    OpenHelpAddress(caller, HelpPageAddress(page));
}

bool OpenHelpAddress(QWidget* caller, const QString& address) {
    const auto parsed = parseHelpAddress(address);
    if (!parsed) {
        TitledMessageBox(QStringLiteral("Неверный адрес страницы справки: ") + address, mbStopOk);
        return false;
    }
    if (!helpFilePresent(parsed->file)) return false;
    TfrmHelp* window = windowWithFile(parsed->file);
    if (!window) return false;
    window->showPage(parsed->page, parsed->fragment);
    window->present(caller);
    return true;
}
