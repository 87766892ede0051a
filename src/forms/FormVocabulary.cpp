#include "forms/FormVocabulary.h"

#include "data/ClientDataSet.h"
#include "forms/DocVar.h"
#include "orders/core/ServiceReports.h"
#include "forms/DocsVar.h"
#include "stock/core/StockKinds.h"
#include "stock/core/StockReports.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The order editor's line lists as they reach the receipt (their printable fields).
const QStringList kOrderProductFields = {
    QStringLiteral("NUM"),        QStringLiteral("PRODUCT_NAME"),  QStringLiteral("COLOR_NAME"),
    QStringLiteral("MATERIAL_NAME"), QStringLiteral("PPARA_NAME"), QStringLiteral("PROCIZN")};
const QStringList kOrderServiceFields = {QStringLiteral("NUM"), QStringLiteral("USLUGA_NAME"),
                                         QStringLiteral("USLUGA_NUMPR"), QStringLiteral("USLUGA_EAN13"),
                                         QStringLiteral("SUMMA")};

QString fileKey(const QString& form) {
    QString name = QFileInfo(QString(form).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    if (!name.endsWith(QStringLiteral(".frf"), Qt::CaseInsensitive)) name += QStringLiteral(".frf");
    return name.toLower();
}

QStringList namesOf(const QList<QPair<QString, QString>>& vars) {
    QStringList out;
    for (const auto& v : vars) out << v.first;
    return out;
}

// The fields of a stock document's lines, as the stock core declares them.
QStringList stockLineFields() {
    TClientDataSet moves;
    DefineMovesDataSet(moves, nullptr, {});
    QStringList out;
    for (const TField* f : moves.fields())
        if (f->name() != QLatin1String("ID") && f->name() != QLatin1String("DOC_ID") && f->name() != QLatin1String("NPP"))
            out << f->name();
    return out;
}

struct Entry {
    QString file;
    TfrFormVocabulary vocabulary;
};

std::vector<Entry> buildTable() {
    std::vector<Entry> table;
    const TfrVocabularyDataSet products{QStringLiteral("frdsReportP"), QStringLiteral("Изделия заказа"),
                                        kOrderProductFields};
    const TfrVocabularyDataSet services{QStringLiteral("frdsReportU"), QStringLiteral("Услуги заказа"),
                                        kOrderServiceFields};
    const QStringList receiptVars = TDocuVars::names();
    for (const char* narrow : {"Rep_Kvit_", "Rep_Kvituz_"})
        for (const char* kind : {"obuv", "kluchi", "grav"}) {
            const QString file = QLatin1String(narrow) + QLatin1String(kind) + QStringLiteral(".frf");
            table.push_back({file, {QStringLiteral("Квитанция-договор"), receiptVars, {products, services}}});
        }

    const TfrVocabularyDataSet lines{QStringLiteral("frdsReport"), QStringLiteral("Строки документа"),
                                     stockLineFields()};
    for (int kind : {kKindReceipt, kKindSale}) {
        const QString file = QFileInfo(StockKind(kind).printForm).fileName() + QStringLiteral(".frf");
        table.push_back({file, {QStringLiteral("Складской документ"), stockdoc::TDocsVars::names(), {lines}}});
    }

    for (TServiceReport r : {TServiceReport::SummaKvit, TServiceReport::UslugaKind, TServiceReport::KartaZak}) {
        const TServiceReportInfo& info = ServiceReportInfo(r);
        table.push_back({QFileInfo(info.formName).fileName() + QStringLiteral(".frf"),
                         {QStringLiteral("Отчет «%1»").arg(info.title),
                          namesOf(ServiceReportVars(r, {}, {}, {}, {}, {})),
                          {{QStringLiteral("frdsReport"), QStringLiteral("Строки отчета"),
                            frSelectColumns(ServiceReportSQL(r))}}}});
    }
    for (TStockReport r : {TStockReport::Prihod, TStockReport::Rashod, TStockReport::Realiz, TStockReport::Nalich}) {
        const TStockReportInfo& info = StockReportInfo(r);
        table.push_back({QFileInfo(info.formName).fileName() + QStringLiteral(".frf"),
                         {QStringLiteral("Отчет «%1»").arg(info.title),
                          namesOf(StockReportVars(r, {}, {}, {}, {}, {})),
                          {{QStringLiteral("frdsReport"), QStringLiteral("Строки отчета"),
                            frSelectColumns(StockReportSQL(r, QStringLiteral(" ")))}}}});
    }
    return table;
}

const std::vector<Entry>& table() {
    static const std::vector<Entry> t = buildTable();
    return t;
}

}  // namespace

TfrFormVocabulary frFormVocabulary(const QString& formFile) {
    const QString key = fileKey(formFile);
    for (const Entry& e : table())
        if (e.file.toLower() == key) return e.vocabulary;
    return {};
}

QStringList frKnownForms() {
    QStringList out;
    for (const Entry& e : table()) out << e.file;
    return out;
}

QStringList frEngineVariables() {
    return {QStringLiteral("DATE"), QStringLiteral("TIME"), QStringLiteral("PAGE#"), QStringLiteral("TOTALPAGES"),
            QStringLiteral("LINE#")};
}

QStringList frSelectColumns(const QString& sql) {
    // The select list runs from SELECT to the FROM outside any parentheses.
    static const QRegularExpression reSelect(QStringLiteral("^\\s*SELECT\\s+"), QRegularExpression::CaseInsensitiveOption);
    const auto m = reSelect.match(sql);
    if (!m.hasMatch()) return {};
    QStringList items;
    QString current;
    int depth = 0;
    for (int i = m.capturedEnd(); i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('(')) ++depth;
        if (c == QLatin1Char(')')) --depth;
        if (depth == 0 && c == QLatin1Char(',')) {
            items << current;
            current.clear();
            continue;
        }
        if (depth == 0 && sql.mid(i, 6).compare(QStringLiteral(" FROM "), Qt::CaseInsensitive) == 0) break;
        current += c;
    }
    items << current;
    static const QRegularExpression reAlias(QStringLiteral("\\bAS\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression reColumn(QStringLiteral("([A-Za-z_][A-Za-z0-9_]*)\\s*$"));
    QStringList out;
    for (const QString& item : items) {
        if (auto a = reAlias.match(item); a.hasMatch()) out << a.captured(1).toUpper();
        else if (auto c = reColumn.match(item); c.hasMatch()) out << c.captured(1).toUpper();
    }
    return out;
}
