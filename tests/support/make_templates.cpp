// Builds the template databases of one test run into a folder: the empty
// working database and the demo workshop as of today, of the days some
// fixtures pin their demo workshop to, and of each day given.
//   obrix_test_templates DIR [yyyy-MM-dd ...]
#include "TestDatabase.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: obrix_test_templates DIR [yyyy-MM-dd ...]\n");
        return 2;
    }
    const QDir dir(args.first());
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(dir.path()));
        return 1;
    }
    // The order editor's fixture (15.03.2026) and the main window's (09.12.2026).
    QList<QDate> days{QDate::currentDate(), QDate(2026, 3, 15), QDate(2026, 12, 9)};
    for (const QString& a : args.mid(1)) {
        const QDate d = QDate::fromString(a, Qt::ISODate);
        if (!d.isValid()) {
            std::fprintf(stderr, "not a day: %s\n", qPrintable(a));
            return 2;
        }
        days.append(d);
    }
    try {
        testdb::buildTemplate(dir.filePath(testdb::templateFileName(testdb::Template::Empty, {})),
                              testdb::Template::Empty, {});
        for (const QDate& d : days)
            testdb::buildTemplate(dir.filePath(testdb::templateFileName(testdb::Template::Demo, d)),
                                  testdb::Template::Demo, d);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
