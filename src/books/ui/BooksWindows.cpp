#include "books/ui/BooksWindows.h"

#include "ui/WindowRegistry.h"
#include "books/ui/BookSimple.h"
#include "books/ui/BookTT.h"
#include "books/ui/ExchangeWindows.h"
#include "books/ui/RecordDialogs.h"

void RegisterBooksWindows() {
    auto& reg = WindowRegistry::instance();
    reg.registerFactory(QStringLiteral("frmNewColor"), [] { return new TfrmNewColor; });
    reg.registerFactory(QStringLiteral("frmNewMaterial"), [] { return new TfrmNewMaterial; });
    reg.registerFactory(QStringLiteral("frmNewComment"), [] { return new TfrmNewComment; });
    reg.registerFactory(QStringLiteral("frmNewZakazch"), [] { return new TfrmNewZakazch; });
    reg.registerFactory(QStringLiteral("frmNewOperator"), [] { return new TfrmNewOperator; });
    reg.registerFactory(QStringLiteral("frmNewProduct"), [] { return new TfrmNewProduct; });
    reg.registerFactory(QStringLiteral("frmNewTovar"), [] { return new TfrmNewTovar; });
    reg.registerFactory(QStringLiteral("frmNewUsluga"), [] { return new TfrmNewUsluga; });
    reg.registerFactory(QStringLiteral("frmNewUslTov"), [] { return new TfrmNewUslTov; });
    reg.registerFactory(QStringLiteral("frmNewGroup"), [] { return new TfrmNewGroup; });
    reg.registerFactory(QStringLiteral("frmExport"), [] { return new TfrmExport; });
    reg.registerFactory(QStringLiteral("frmSelFields"), [] { return new TfrmSelFields; });
    reg.registerFactory(QStringLiteral("frmImport"), [] { return new TfrmImport; });
    reg.registerFactory(QStringLiteral("frmProgress"), [] { return new TfrmProgress; });
    reg.registerFactory(QStringLiteral("frmEximTT"), [] { return new TfrmEximTT; });
    for (const books::SimpleBookConfig& c : books::SimpleBooks())
        reg.registerFactory(c.window, [&c] { return new TfrmBookSimple(c); });
    for (const books::TreeBookConfig& c : books::TreeBooks())
        reg.registerFactory(c.window, [&c] { return new TfrmBookTT(c); });
}
