// obrix-db: makes a working database file.
//   obrix-db create FILE [--force]          empty database with the required rows
//   obrix-db demo FILE [--force]            a demo workshop
//   obrix-db bench FILE --years N [--force] a large database for measurements
//   obrix-db backup DB FILE [-v]            a backup through the engine's own service
//   obrix-db restore FILE DB [--replace] [-v]  a database from a backup
#include "BackupCommands.h"
#include "db/DbCreate.h"

#include "fb/Attachment.h"
#include "fb/DbError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

QTextStream& out() { static QTextStream s(stdout); return s; }
QTextStream& err() { static QTextStream s(stderr); return s; }

int usage() {
    err() << "Использование:\n"
             "  obrix-db create ФАЙЛ [--force]           пустая рабочая база\n"
             "  obrix-db demo ФАЙЛ [--force]             демонстрационная база\n"
             "  obrix-db bench ФАЙЛ --years N [--force]  большая база для замеров\n"
             "  obrix-db backup БАЗА КОПИЯ [-v]          резервная копия базы в файл КОПИЯ\n"
             "  obrix-db restore КОПИЯ БАЗА [--replace] [-v]\n"
             "                                           база данных из резервной копии\n"
             "--force перезаписывает существующий файл.\n"
             "БАЗА — путь к файлу базы данных или сервер[/порт]:путь для базы на сервере.\n"
             "Для базы на сервере КОПИЯ — путь на компьютере сервера: копию пишет и читает\n"
             "сам сервер, в папке, куда ему разрешена запись.\n"
             "restore не заменяет существующую базу без --replace и никогда не заменяет базу,\n"
             "с которой работают: сначала закройте программу на всех рабочих местах.\n"
             "-v выводит ход работы сервера.\n";
    err().flush();
    return 2;
}

int runBackupCommand(QStringList args) {
    const bool verbose = args.removeAll(QStringLiteral("-v")) + args.removeAll(QStringLiteral("--verbose")) > 0;
    const bool replace = args.removeAll(QStringLiteral("--replace")) > 0;
    if (args.size() != 3) return usage();
    obrixdb::BackupOptions options;
    options.verbose = verbose;
    if (args[0] == QLatin1String("backup")) {
        if (replace) return usage();
        return obrixdb::runBackup(args[1], args[2], options, out(), err());
    }
    return obrixdb::runRestore(args[1], args[2], replace, options, out(), err());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && (args[0] == QLatin1String("backup") || args[0] == QLatin1String("restore"))) {
        int code = 1;
        try {
            code = runBackupCommand(args);
        } catch (const fb::DbError& e) {
            err() << "Ошибка базы данных: " << e.serverText() << "\n";
            err().flush();
        } catch (const std::exception& e) {
            err() << "Ошибка: " << QString::fromUtf8(e.what()) << "\n";
            err().flush();
        }
        // Every connection is closed by now. The embedded engine's service
        // worker may still be on its way out for a moment after it reported
        // the end; unloading the engine under it (at exit, or through
        // fb_shutdown) can crash, so the tool leaves without unloading.
        out().flush();
        err().flush();
        std::fflush(nullptr);
        std::_Exit(code);
    }
    bool force = args.removeAll(QStringLiteral("--force")) > 0;
    int years = 0;
    const int yi = args.indexOf(QStringLiteral("--years"));
    if (yi >= 0) {
        bool ok = false;
        if (yi + 1 < args.size()) years = args[yi + 1].toInt(&ok);
        if (!ok || years < 1 || years > 50) {
            err() << "Число лет (--years) должно быть от 1 до 50.\n";
            err().flush();
            return 2;
        }
        args.remove(yi, 2);
    }
    if (args.size() != 2) return usage();
    const QString command = args[0];
    const QString file = args[1];
    if (command != QLatin1String("create") && command != QLatin1String("demo") && command != QLatin1String("bench"))
        return usage();
    if (command == QLatin1String("bench") && years == 0) {
        err() << "Для bench укажите --years N.\n";
        err().flush();
        return 2;
    }
    if (command != QLatin1String("bench") && yi >= 0) return usage();

    if (QFileInfo::exists(file)) {
        if (!force) {
            err() << "Файл уже существует: " << file << "\nУкажите --force, чтобы перезаписать его.\n";
            err().flush();
            return 1;
        }
        if (!QFile::remove(file)) {
            err() << "Не удалось удалить файл: " << file << "\n";
            err().flush();
            return 1;
        }
    }

    QElapsedTimer timer;
    timer.start();
    try {
        auto att = obrixdb::createDatabaseAttached(file);
        if (command == QLatin1String("demo")) {
            obrixdb::fillDemo(*att);
        } else if (command == QLatin1String("bench")) {
            // Filling years of documents with every page written through would
            // take minutes: forced writes are off while it fills, on again after.
            att->close();
            fb::Attachment::setForcedWrites(file, false);
            att = std::make_unique<fb::Attachment>(file);
            obrixdb::fillBench(*att, years, [](const QString& stage, int done, int total) {
                out() << "\r" << stage << "  " << done << "/" << total << Qt::flush;
            });
            out() << "\n";
            att->close();
            fb::Attachment::setForcedWrites(file, true);
        }
        att->close();
    } catch (const fb::DbError& e) {
        err() << "Ошибка базы данных: " << e.serverText() << "\n";
        err().flush();
        QFile::remove(file);
        return 1;
    } catch (const std::exception& e) {
        err() << "Ошибка: " << QString::fromUtf8(e.what()) << "\n";
        err().flush();
        QFile::remove(file);
        return 1;
    }
    out() << "База создана: " << file << " (" << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " с)\n";
    out().flush();
    return 0;
}
