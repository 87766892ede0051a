// The reference books' tests: widgets offscreen, Russian locale as at a
// workstation, every window created once through the registry as the program does.
#include "ui/WindowRegistry.h"
#include "books/ui/BooksWindows.h"
#include "data/DataModule.h"
#include "ui/ErrorDB.h"

#include <QApplication>
#include <QDialog>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ::testing::InitGoogleTest(&argc, argv);

    auto& reg = WindowRegistry::instance();
    reg.registerFactory(QStringLiteral("frmMain"), [] { return new QDialog; });
    reg.registerFactory(QStringLiteral("DM"), [] { return new TDM; });
    reg.registerFactory(QStringLiteral("frmErrorDB"), [] { return new TfrmErrorDB; });
    RegisterBooksWindows();
    reg.createAll();
    const int rc = RUN_ALL_TESTS();
    reg.destroyAll();
    return rc;
}
