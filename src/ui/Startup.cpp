#include "ui/Startup.h"

#include "session/Global.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QTableView>
#include <QTranslator>
#include <QWidget>

namespace {

void loadTranslationsAtStart() { LoadQtTranslations(); }

void run(const std::function<void()>& step) {
    if (step) step();
}

void applyIndicator(QTableView* view, bool show) {
    if (view->verticalHeader()) view->verticalHeader()->setVisible(show);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(loadTranslationsAtStart)

QString QtTranslationsFile() {
    return QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath(QStringLiteral("qtbase_ru.qm"));
}

bool LoadQtTranslations() {
    static QTranslator* loaded = nullptr;
    if (loaded) return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QtTranslationsFile())) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    loaded = translator;
    return true;
}

StartupResult RunFirstShow(const StartupHooks& h) {
    run(h.clearCaption);
    run(h.restorePlacement);
    if (h.setGridIndicators) h.setGridIndicators(false);
    else SetGridIndicators(false);
    GL.Connected = false;
    run(h.connect);
    run(h.updateStatusBar);
    run(h.setIdleHandler);
    if (!AppOptions.ShowHintMes) run(h.hideHintPanel);
    run(h.suspendCommands);

    StartupResult result = StartupResult::NotConnected;
    if (GL.Connected) {
        const bool ok = h.login ? h.login() : true;
        if (ok) {
            result = StartupResult::Working;
            run(h.openJournals);
        } else {
            result = StartupResult::LoginRefused;
            run(h.closeMainWindow);
        }
    }
    run(h.updateStatusBar);
    run(h.resumeCommands);
    return result;
}

void RunStop(const StartupHooks& h) {
    run(h.closeConnection);
    run(h.savePlacement);
}

void SetGridIndicators(bool show) {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (auto* view = qobject_cast<QTableView*>(w)) applyIndicator(view, show);
        const auto views = w->findChildren<QTableView*>();
        for (QTableView* view : views) applyIndicator(view, show);
    }
}

int RunProgram() {
    auto& registry = WindowRegistry::instance();
    // The windows go away in reverse order however the run ends.
    struct Teardown {
        WindowRegistry& r;
        ~Teardown() { r.destroyAll(); }
    } teardown{registry};
    registry.createAll();
    auto* main = registry.get<QWidget>(QStringLiteral("frmMain"));
    if (!main) return 1;
    main->show();
    return QApplication::exec();
}
