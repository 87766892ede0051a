// Pictures of the program for the documentation: the main window on a demo
// database and the order editor in new, edit and view mode, as PNG files.
// Run on a 1366x768 screen (tools/screenshots.sh runs it under Xvfb):
//   obrix-screenshots DATABASE OUTPUT-FOLDER
// The windows are the program's own, made through the window registry as the
// program makes them; the modal editor is caught through the modal seam,
// pictured and closed without saving.
#include "ui/Application.h"
#include "session/Global.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "orders/core/DocuCalc.h"
#include "orders/ui/OrderWindows.h"
#include "shell/ShellWindows.h"
#include "ui/AppErrorHandler.h"
#include "shell/Main.h"
#include "session/UchetVariables.h"

#include <QDialog>
#include <QDir>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <cstdio>

namespace {

QString g_out;
int g_failures = 0;

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void save(QWidget* w, const QString& name) {
    settle();
    const QString path = QDir(g_out).filePath(name);
    if (!w->grab().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// The editor shown by the main window is pictured, then closed: "Закрыть",
// and "Нет" to the question whether to save.
void pictureEditorAs(const QString& name) {
    ModalSeam::setDialogHook([name](QDialog* d) {
        if (d->objectName() != QStringLiteral("frmDocu")) return int(QDialog::Rejected);
        d->move(d->screen()->availableGeometry().center() - d->rect().center());
        save(d, name);
        if (auto* close = d->findChild<QPushButton*>(QStringLiteral("btnCancel"))) close->click();
        return d->result();
    });
    ModalSeam::setMessageHook([](const MessageRequest&) { return 7; });  // No: nothing is saved
}

}  // namespace

int main(int argc, char** argv) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: obrix-screenshots DATABASE OUTPUT-FOLDER\n");
        return 2;
    }
    const QString database = QString::fromLocal8Bit(argv[1]);
    g_out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);

    InstallApplicationErrorHandler();
    // The windows the pictures need, without the main window's start-up steps:
    // the tool connects and logs in by itself below.
    auto& reg = WindowRegistry::instance();
    RegisterMainWindow();
    reg.registerFactory(QStringLiteral("DM"), [] { return new TDM; });
    RegisterShellDialogs();
    RegisterOrderWindows();
    reg.createAll();
    auto* main = Window<TfrmMain>(QStringLiteral("frmMain"));
    AttachDocuRules(*main->journalDocu());

    // Connected and logged in as the demo's administrator, on the latest period.
    TDM& dm = DM();
    dm.connectDatabase(database);
    dm.openLookups();
    dm.cdsUchInfo->open();
    UpdateUchetOptions();
    TClientDataSet& periods = *dm.cdsRPeriod;
    periods.last();
    GL.RPeriodID = periods.fieldByName(QStringLiteral("ID")).asInteger();
    GL.RPeriodDate1 = periods.fieldByName(QStringLiteral("DATE_1")).asDate();
    GL.RPeriodDate2 = periods.fieldByName(QStringLiteral("DATE_2")).asDate();
    GL.RPeriodOpen = periods.fieldByName(QStringLiteral("ACT")).asString().trimmed() == QStringLiteral("*");
    GL.Connected = true;
    GL.OperatorID = 1;
    GL.RoleName = QStringLiteral("Администратор");
    GL.ZakView = GL.ZakInsert = GL.ZakEdit = GL.ZakDelete = true;
    GL.SklView = GL.SklInsert = GL.SklEdit = GL.SklDelete = true;
    GL.DostupBook = GL.DostupBookUser = true;

    main->setGeometry(main->screen()->availableGeometry());
    main->show();
    main->OpenJournals();
    main->UpdateActionsWorkingWithDB();
    // The order with the most service lines, so that the editor shows some.
    TClientDataSet& journal = *main->journalDocu();
    journal.last();
    save(main, QStringLiteral("screenshot-main.png"));

    pictureEditorAs(QStringLiteral("screenshot-order-edit.png"));
    main->acDocsEditExecute();
    const bool open = GL.RPeriodOpen;
    GL.RPeriodOpen = false;
    pictureEditorAs(QStringLiteral("screenshot-order-view.png"));
    main->acDocsEditExecute();
    GL.RPeriodOpen = open;
    pictureEditorAs(QStringLiteral("screenshot-order-new.png"));
    main->AppendNewDocu(1);

    ModalSeam::setDialogHook(nullptr);
    ModalSeam::setMessageHook(nullptr);
    main->journalDocu()->close();
    main->journalDocs()->close();
    dm.disconnectDatabase();
    reg.destroyAll();
    return g_failures == 0 ? 0 : 1;
}
