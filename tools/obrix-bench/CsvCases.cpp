// Reference-book CSV import: 10,000 goods read from a Windows-1251 file into
// the goods book (the file read, the rows converted and appended in memory,
// stored in one transaction, the generator moved past the imported keys).
#include "BenchCase.h"

#include "books/core/CsvExchange.h"
#include "data/ClientDataSet.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <stdexcept>

namespace {

constexpr int kGoods = 10000;

qint64 importGoods(fb::Attachment& att) {
    qint64 first = 0;
    {
        fb::Transaction tra(att);
        first = fb::scalar(tra, QStringLiteral("SELECT COALESCE(MAX(ID), 0) FROM TOVAR")).toInt() + 1;
        tra.commit();
    }
    // The file as an export writes it: ID;GR_ID;ARTIKUL;EAN13;NAME;EDIZM;CENA;CENA_PROD (not timed).
    const QString point = QLocale().decimalPoint();
    QStringList lines;
    for (int i = 0; i < kGoods; ++i)
        lines << QStringLiteral("%1;0;А-%2;;Товар импортированный № %2;шт;%3%4%5;")
                     .arg(first + i)
                     .arg(i)
                     .arg(10 + i % 900)
                     .arg(point)
                     .arg(i % 100, 2, 10, QLatin1Char('0'));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("goods.csv"));
    books::csv::WriteFileAtomically(path, books::csv::EncodeLines(lines));

    QElapsedTimer t;
    t.start();
    TClientDataSet records(nullptr, QStringLiteral("cdsExportR"));
    records.setAttachment(&att);
    records.setCommandText(QStringLiteral("SELECT * FROM TOVAR ORDER BY ID"));
    records.open();
    const QStringList read = books::csv::ReadLines(path);
    const auto pass = books::csv::AppendLines(records, read, books::csv::AllColumns(records), QStringLiteral(";"), path);
    books::csv::ApplyAll(att, {&records});
    books::csv::MoveGeneratorPast(att, QStringLiteral("GET_TOVAR_ID"), QStringLiteral("GEN_TOVAR_ID"), pass.maxId);
    const qint64 ms = t.elapsed();

    fb::Transaction tra(att);
    if (fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM TOVAR WHERE ID >= ?"), {first}).toInt() != kGoods)
        throw std::runtime_error("Импортированы не все 10000 товаров");
    return ms;
}

}  // namespace

std::vector<BenchCase> csvBenchCases() {
    return {{QStringLiteral("books-csv-import-goods"),
             QStringLiteral("импорт 10000 товаров из файла CSV в справочник товаров"), importGoods, 3000}};
}
