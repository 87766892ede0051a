// A picture of the report designer for the documentation: the designer open
// on a copy of a print form, the bar code selected so that its handles and
// properties show, as a PNG file. Run on a 1366x768 screen
// (tools/screenshots.sh runs it under Xvfb):
//   obrix-designer-screenshot FORM.frf OUTPUT.png
#include "reports/ui/Designer.h"
#include "reports/ui/DesignerScene.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QScreen>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    if (argc < 3) {
        std::fprintf(stderr, "usage: obrix-designer-screenshot FORM.frf OUTPUT.png\n");
        return 2;
    }
    // the designer works on a copy: nothing is written to the form itself
    QTemporaryDir dir;
    const QString form = QString::fromLocal8Bit(argv[1]);
    const QString copy = dir.filePath(QFileInfo(form).fileName());
    if (!QFile::copy(form, copy)) {
        std::fprintf(stderr, "cannot copy %s\n", argv[1]);
        return 1;
    }
    TfrmDesigner w;
    try {
        w.loadFromFile(copy);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    w.setGeometry(w.screen()->availableGeometry());
    w.show();
    // the bar code of the receipt's title, selected
    for (int i = 0; i < int(w.document()->templ().pages[0].bands[0].objects.size()); ++i)
        if (w.document()->templ().pages[0].bands[0].objects[size_t(i)].kind == TfrObjectKind::Barcode)
            w.document()->setSelection({{0, 0, i}});
    if (auto* g = w.tvFields->topLevelItem(0)) w.tvFields->setCurrentItem(g->child(0));
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
    const QString out = QString::fromLocal8Bit(argv[2]);
    if (!w.grab().save(out)) {
        std::fprintf(stderr, "could not write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
