// A second program on the same local database file: opens it with the
// embedded engine, says "ready" and keeps it open until its input closes.
#include "fb/Attachment.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: db_holder DATABASE\n");
        return 2;
    }
    try {
        fb::Attachment att(QString::fromLocal8Bit(argv[1]));
        std::printf("ready\n");
        std::fflush(stdout);
        while (std::fgetc(stdin) != EOF) {
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
