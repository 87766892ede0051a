// obrix-bench: times the database work that must stay fast on a large
// database. Usage: obrix-bench FILE [case]
// FILE is a database made by "obrix-db bench FILE --years 5"; it is never
// changed: every case runs on a fresh copy of it.
#include "BenchCase.h"

#include "fb/Attachment.h"
#include "fb/DbError.h"

#include <QGuiApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>

namespace {

QTextStream& out() { static QTextStream s(stdout); return s; }
QTextStream& err() { static QTextStream s(stderr); return s; }

// Every case of every area. Add the cases of a new area here.
std::vector<BenchCase> allCases() {
    std::vector<BenchCase> all;
    for (auto&& c : periodBenchCases()) all.push_back(std::move(c));
    for (auto&& c : orderBenchCases()) all.push_back(std::move(c));
    for (auto&& c : reportBenchCases()) all.push_back(std::move(c));
    for (auto&& c : dataSetBenchCases()) all.push_back(std::move(c));
    for (auto&& c : stockDocBenchCases()) all.push_back(std::move(c));
    for (auto&& c : bookBenchCases()) all.push_back(std::move(c));
    for (auto&& c : csvBenchCases()) all.push_back(std::move(c));
    return all;
}

int usage(const std::vector<BenchCase>& cases) {
    err() << "Использование: obrix-bench ФАЙЛ [случай]\n"
             "ФАЙЛ — база, сделанная командой obrix-db bench ФАЙЛ --years 5.\n"
             "Случаи:\n";
    for (const auto& c : cases) err() << "  " << c.name << " — " << c.what << "\n";
    err().flush();
    return 2;
}

QString describe(const std::exception& e) {
    if (auto* db = dynamic_cast<const fb::DbError*>(&e)) return db->message();
    return QString::fromUtf8(e.what());
}

}  // namespace

int main(int argc, char** argv) {
    // Reports measure text: fonts need the GUI application, offscreen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const std::vector<BenchCase> cases = allCases();
    if (args.isEmpty() || args.size() > 2) return usage(cases);
    const QString file = args[0];
    if (!QFileInfo(file).isFile()) {
        err() << "Нет файла базы данных: " << file << "\n";
        err().flush();
        return 1;
    }
    std::vector<const BenchCase*> chosen;
    for (const auto& c : cases)
        if (args.size() == 1 || c.name == args[1]) chosen.push_back(&c);
    if (chosen.empty()) {
        err() << "Нет такого случая: " << args[1] << "\n";
        return usage(cases);
    }

    QTemporaryDir dir;
    if (!dir.isValid()) {
        err() << "Не удалось создать временную папку\n";
        err().flush();
        return 1;
    }
    int failures = 0;
    for (const BenchCase* c : chosen) {
        const QString copy = dir.filePath(c->name + QStringLiteral(".fdb"));
        QFile::remove(copy);
        if (!QFile::copy(file, copy)) {
            err() << c->name << ": не удалось скопировать " << file << "\n";
            ++failures;
            continue;
        }
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        try {
            fb::Attachment att(copy);
            const qint64 ms = c->run(att);
            att.close();
            if (!c->printsOwnLine) out() << c->name << ": " << ms << " ms (target < " << c->targetMs << " ms)\n";
            out().flush();
        } catch (const std::exception& e) {
            err() << c->name << ": ошибка: " << describe(e) << "\n";
            ++failures;
        }
        QFile::remove(copy);
    }
    err().flush();
    return failures ? 1 : 0;
}
