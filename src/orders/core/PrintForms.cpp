#include "orders/core/PrintForms.h"

#include "base/FileReplace.h"

#include "reports/engine/ReportXml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringEncoder>
#include <QXmlStreamReader>

tXmlDataArray XmlDocs;
tXmlDataArray XmlReports;

namespace {

// The list as the program ships it; encoded to Windows-1251 as its prolog says.
const char16_t kPrintFormsXml[] =
    u"<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n"
    u"<PrintForms>\r\n"
    u"  <Documents>\r\n"
    u"    <PrintForm Caption=\"Документ - квитанция-договор (обувь)\" Filename=\"Reports\\Rep_Kvit_obuv.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Документ - квитанция-договор (ключи)\" Filename=\"Reports\\Rep_Kvit_kluchi.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Документ - квитанция-договор (гравировка)\" Filename=\"Reports\\Rep_Kvit_grav.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Документ - квитанция-договор узкая (обувь)\" Filename=\"Reports\\Rep_Kvituz_obuv.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Документ - квитанция-договор узкая (ключи)\" Filename=\"Reports\\Rep_Kvituz_kluchi.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Документ - квитанция-договор узкая (гравировка)\" Filename=\"Reports\\Rep_Kvituz_grav.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Документ - Склад - Документ\" Filename=\"Reports\\RepDoc.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Документ - Склад - Документ реализация\" Filename=\"Reports\\RepDoc_Realiz.frf\"/>\r\n"
    u"  </Documents>\r\n"
    u"  <Reports>\r\n"
    u"    <PrintForm Caption=\"Отчет - Сумма заказов по дням\" Filename=\"Reports\\Rep_SummaKvit.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Отчет - Предоставленные услуги по видам\" Filename=\"Reports\\Rep_UslugaKind.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Отчет - Карточка заказчика\" Filename=\"Reports\\RepKartaZak.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Отчет - Склад - Приход за период\" Filename=\"Reports\\RepPrihod.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Отчет - Склад - Расход за период\" Filename=\"Reports\\RepRashod.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Отчет - Склад - Реализация за период\" Filename=\"Reports\\RepRealiz.frf\"/>\r\n"
    u"    <PrintForm Caption=\"Отчет - Склад - Наличие\" Filename=\"Reports\\RepNalich.frf\"/>\r\n"
    u"  </Reports>\r\n"
    u"</PrintForms>\r\n";

QString shown(const QString& path) { return QStringLiteral("«") + QDir::toNativeSeparators(path) + QStringLiteral("»"); }
QString quoted(const QString& caption) { return QLatin1Char('"') + caption + QLatin1Char('"'); }

[[noreturn]] void brokenList(const QXmlStreamReader& r, const QString& what) {
    throw EPrintFormError(QStringLiteral("Встроенный список печатных форм испорчен (строка %1): %2.")
                              .arg(r.lineNumber())
                              .arg(r.hasError() ? r.errorString() : what));
}

// Reads the PrintForm children of the current group element.
void readGroup(QXmlStreamReader& r, tXmlDataArray& into) {
    while (r.readNextStartElement()) {
        if (r.name() == QLatin1String("PrintForm")) {
            const auto a = r.attributes();
            into.push_back({a.value(QLatin1String("Caption")).toString(), a.value(QLatin1String("Filename")).toString(),
                            QString()});
        }
        r.skipCurrentElement();
    }
}

// Reads the file, at most `limit` bytes when limit >= 0; the system's reason on failure.
bool readFile(const QString& path, qint64 limit, QByteArray& data, QString& reason) {
    QFile f(path);
    if (QFileInfo(path).isDir()) {
        reason = QStringLiteral("это папка, а не файл");
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        reason = f.errorString();
        return false;
    }
    data = limit >= 0 ? f.read(limit) : f.readAll();
    if (f.error() != QFileDevice::NoError) {
        reason = f.errorString();
        return false;
    }
    return true;
}

}  // namespace

QByteArray PrintFormsXml() {
    static const QByteArray xml = [] {
        QStringEncoder enc("windows-1251");
        return QByteArray(enc(QString::fromUtf16(kPrintFormsXml)));
    }();
    return xml;
}

void ParsePrintForms(const QByteArray& xml, tXmlDataArray& docs, tXmlDataArray& reports) {
    docs.clear();
    reports.clear();
    QXmlStreamReader r(xml);
    if (!r.readNextStartElement() || r.name() != QLatin1String("PrintForms"))
        brokenList(r, QStringLiteral("нет корневого элемента PrintForms"));
    while (r.readNextStartElement()) {
        if (r.name() == QLatin1String("Documents")) readGroup(r, docs);
        else if (r.name() == QLatin1String("Reports")) readGroup(r, reports);
        else r.skipCurrentElement();
    }
    if (r.hasError()) brokenList(r, QString());
}

QString PrintFormPath(const QString& programFolder, const QString& filename) {
    QString rel = filename;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(programFolder).filePath(rel);
}

QString FileDateText(const QString& path) {
    const QFileInfo fi(path);
    if (!fi.exists() || fi.isDir()) return QString();
    return QLocale().toString(fi.lastModified().date(), QLocale::ShortFormat);
}

void FillDates(tXmlDataArray& entries, const QString& programFolder) {
    for (tXmlData& e : entries) e.Date = FileDateText(PrintFormPath(programFolder, e.Filename));
}

void ReplacePrintForm(const QString& source, const QString& formPath, const QString& caption) {
    const QString head = QStringLiteral("Печатная форма %1 не заменена: ").arg(quoted(caption));
    QByteArray data;
    QString reason;
    // One byte over the engine's limit is enough for it to refuse a huge file.
    if (!readFile(source, frlimits::kMaxFileBytes + 1, data, reason))
        throw EPrintFormError(head + QStringLiteral("не удается прочитать файл %1 (%2).").arg(shown(source), reason));
    // Only what the engine loads may take a form's place: checked on the very bytes to be written.
    try {
        frParseTemplate(data, source);
    } catch (const EfrTemplateError& e) {
        throw EPrintFormError(head + QStringLiteral("выбранный файл не является печатной формой программы.\r") +
                              e.message());
    }
    if (!WriteFileReplacing(formPath, data, reason))
        throw EPrintFormError(head + QStringLiteral("не удается записать файл %1 (%2).\rПрежняя печатная форма "
                                                    "осталась без изменений.")
                                         .arg(shown(formPath), reason));
}

void SavePrintFormCopy(const QString& formPath, const QString& target) {
    const QString head = QStringLiteral("Копия печатной формы не сохранена: ");
    QByteArray data;
    QString reason;
    if (!readFile(formPath, -1, data, reason))
        throw EPrintFormError(head + QStringLiteral("не удается прочитать файл %1 (%2).").arg(shown(formPath), reason));
    if (!WriteFileReplacing(target, data, reason))
        throw EPrintFormError(head + QStringLiteral("не удается записать файл %1 (%2).").arg(shown(target), reason));
}

QString WithFrfExtension(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QStringLiteral(".frf");
}

QString ReplaceFormQuestion(const QString& caption) {
    return QStringLiteral("Заменить печатную форму ") + quoted(caption) + QStringLiteral(" на новую?");
}

QString FormReplacedMessage(const QString& caption, const QString& source) {
    return QStringLiteral("В печатную форму ") + quoted(caption) +
           QStringLiteral(" успешно загружены данные из файла ") +
           QDir::toNativeSeparators(QFileInfo(source).absoluteFilePath()) + QLatin1Char('.');
}

QString OverwriteFileQuestion(const QString& target) {
    return QStringLiteral("Файл ") + QDir::toNativeSeparators(target) + QStringLiteral(" существует. Перезаписать?");
}

QString MissingFormMessage(const QString& formPath) {
    return QStringLiteral("Не найден файл печатной формы «%1».\rЗагрузите форму из файла кнопкой "
                          "\"Загрузить из файла...\".")
        .arg(QDir::toNativeSeparators(formPath));
}
