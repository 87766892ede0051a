#pragma once
// Databases on the private test server (tools/setup.sh test starts it and sets
// OBRIX_TEST_SERVER and OBRIX_TEST_SERVER_DIR).
#include <QCoreApplication>
#include <QString>
#include <QUuid>

namespace servertest {

// A new database name on the test server ("host/port:dir/<prefix>_<uuid>.fdb"),
// or empty when no server is set up.
inline QString serverDatabase(const QString& prefix = QStringLiteral("ws")) {
    const QString server = qEnvironmentVariable("OBRIX_TEST_SERVER");
    const QString dir = qEnvironmentVariable("OBRIX_TEST_SERVER_DIR");
    if (server.isEmpty() || dir.isEmpty()) return QString();
    return server + ":" + dir + "/" + prefix + "_" + QUuid::createUuid().toString(QUuid::Id128) + ".fdb";
}

// The test process's application object, for QProcess.
inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "test_server";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

}  // namespace servertest
