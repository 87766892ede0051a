#include "FuzzTargets.h"

#include "books/core/CsvExchange.h"
#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "fb/Statement.h"
#include "reports/engine/ReportEngine.h"
#include "reports/engine/ReportRender.h"
#include "session/Settings.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QTemporaryDir>

#include <memory>

namespace fuzz {

void InitQt() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "obrix-fuzz";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // A settings file the program does not take is said to the user; here nothing is shown.
    settings::setProblemReporter([](const QString&) {});
}

// --- the settings file -----------------------------------------------------

namespace {

struct AllSettings {
    TMyApplicationOptions o;
    settings::Placement p;
};

AllSettings readAll() {
    AllSettings s;
    ReadAppOptions(s.o);
    s.p = settings::readPlacement();
    return s;
}

// Names what differs, leaving out the one key that was written.
QString differences(const AllSettings& a, const AllSettings& b, const QString& written) {
    QStringList d;
    const auto cmp = [&](const char* key, const QString& x, const QString& y) {
        if (written != QLatin1String(key) && x != y)
            d << QStringLiteral("%1: \"%2\" became \"%3\"").arg(QLatin1String(key), x, y);
    };
    cmp("DB_ConnectKind", QString::number(a.o.ConnectKind), QString::number(b.o.ConnectKind));
    cmp("DB_LocalDBName", a.o.LocalDBName, b.o.LocalDBName);
    cmp("DB_Server", a.o.Server, b.o.Server);
    cmp("DB_ServerDBName", a.o.ServerDBName, b.o.ServerDBName);
    cmp("DB_Port", a.o.Port, b.o.Port);
    cmp("MS_ShowHintMes", QString::number(a.o.ShowHintMes), QString::number(b.o.ShowHintMes));
    cmp("Left", QString::number(a.p.Left), QString::number(b.p.Left));
    cmp("Top", QString::number(a.p.Top), QString::number(b.p.Top));
    cmp("Width", QString::number(a.p.Width), QString::number(b.p.Width));
    cmp("Height", QString::number(a.p.Height), QString::number(b.p.Height));
    cmp("WindowState", a.p.WindowState, b.p.WindowState);
    return d.join(QStringLiteral("; "));
}

}  // namespace

QString CheckSettingsFile(const QByteArray& data) {
    // In memory where there is such a place: every input is written and rewritten.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/obrix-fuzz-XXXXXX")
                                                                        : QDir::tempPath() + QStringLiteral("/obrix-fuzz-XXXXXX"));
    const QString path = dir.path() + QStringLiteral("/obrix.ini");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QStringLiteral("cannot write ") + path;
        f.write(data);
    }
    settings::setFilePath(path);
    const AllSettings before = readAll();

    // The values the settings window writes: a Windows path in Cyrillic, one
    // Windows-1251 cannot hold, an empty one and one with the file's own marks.
    static const QString values[] = {QStringLiteral("C:\\База\\obrix.fdb"), QStringLiteral("srv-€"), QString(),
                                      QStringLiteral("a=b;[Misc]")};
    const QString value = values[data.isEmpty() ? 0 : uchar(data.back()) % 4];
    settings::writeString(QStringLiteral("Database"), QStringLiteral("DB_Server"), value);
    AllSettings after = readAll();
    if (after.o.Server != value)
        return QStringLiteral("DB_Server written as \"%1\" reads back as \"%2\"").arg(value, after.o.Server);
    QString d = differences(before, after, QStringLiteral("DB_Server"));
    if (!d.isEmpty()) return QStringLiteral("writing DB_Server changed other settings: ") + d;

    settings::writeBool(QStringLiteral("Misc"), QStringLiteral("MS_ShowHintMes"), !after.o.ShowHintMes);
    const AllSettings last = readAll();
    if (last.o.ShowHintMes == after.o.ShowHintMes) return QStringLiteral("MS_ShowHintMes does not read back");
    d = differences(after, last, QStringLiteral("MS_ShowHintMes"));
    if (!d.isEmpty()) return QStringLiteral("writing MS_ShowHintMes changed other settings: ") + d;
    return {};
}

// --- report templates --------------------------------------------------------

namespace {

// Rows of a report dataset with every field a template names: the first row
// holds nulls, the second empty texts.
class EmptyRows : public TfrDataSource {
public:
    int rowCount() const override { return 2; }
    int fieldIndex(const QString& name) const override {
        int i = int(m_names.indexOf(name.toUpper()));
        if (i < 0) {
            m_names << name.toUpper();
            i = int(m_names.size()) - 1;
        }
        return i;
    }
    fb::Value value(int row, int) const override { return row == 0 ? fb::Value() : fb::Value(QString()); }

private:
    mutable QStringList m_names;
};

}  // namespace

QString CheckReportTemplate(const QByteArray& data) {
    const QString file = QStringLiteral("Reports/fuzz.frf");
    TfrTemplate t;
    try {
        t = frParseTemplate(data, file);
    } catch (const EfrTemplateError&) {
        return {};  // refused with its message
    }
    // What the designer saves loads again.
    const QByteArray saved = frTemplateToXml(t);
    try {
        frParseTemplate(saved, file);
    } catch (const EfrTemplateError& e) {
        return QStringLiteral("the template saved back does not load: ") + e.message();
    }

    TfrReport report;
    report.setTemplate(std::move(t), file);
    report.setToday(QDate(2027, 1, 15));
    TfrDBDataSet main(QStringLiteral("frdsReport")), products(QStringLiteral("frdsReportP")),
        services(QStringLiteral("frdsReportU"));
    for (TfrDBDataSet* ds : {&main, &products, &services}) {
        ds->setSource(std::make_shared<EmptyRows>());
        report.addDataSet(ds);
    }
    report.setDataSet(&main);
    report.setOnGetValue([](const QString& name, QVariant& value) {
        if (name.startsWith(u'Z', Qt::CaseInsensitive)) value = QString();
    });
    report.setVariable(QStringLiteral("NameOrg"), QString());
    TfrPreparedReport prepared;
    try {
        prepared = report.prepare();
    } catch (const EfrPrepareError&) {
        return {};
    } catch (const EfrBindError&) {
        return {};
    }
    frCsv(prepared);
    frRtf(prepared);
    if (!prepared.pages.empty()) {
        const TfrPreparedPage& page = prepared.pages.front();
        QImage image(int(page.width / 4) + 1, int(page.height / 4) + 1, QImage::Format_RGB32);
        QPainter p(&image);
        frRenderPage(p, page, 0.25);
    }
    return {};
}

// --- CSV files -----------------------------------------------------------------

QString CheckCsvFile(const QByteArray& dataIn) {
    // A first byte among the separators the clerks use picks the separator; ";" otherwise.
    QByteArray data = dataIn;
    QString separator = QStringLiteral(";");
    if (!data.isEmpty() && QByteArray(",\t|").contains(data.front())) {
        separator = QString(QLatin1Char(data.front()));
        data.remove(0, 1);
    }
    QStringList lines;
    try {
        lines = books::csv::DecodeLines(data, QStringLiteral("fuzz.csv"));
    } catch (const books::csv::ECsvError&) {
        return {};
    }
    // The column types of the books: ID, a name, a price, a quantity, a date, small and large numbers.
    static TClientDataSet* ds = [] {
        auto* d = new TClientDataSet(nullptr, QStringLiteral("cdsExport"));
        d->addField(QStringLiteral("ID"), TFieldType::Integer);
        d->addField(QStringLiteral("NAME"), TFieldType::Text, 50);
        d->addField(QStringLiteral("CENA"), TFieldType::Decimal).setScale(2);
        d->addField(QStringLiteral("KOLVO"), TFieldType::Decimal).setScale(3);
        d->addField(QStringLiteral("DATEP"), TFieldType::Date);
        d->addField(QStringLiteral("LEVELI"), TFieldType::SmallInt);
        d->addField(QStringLiteral("BIG"), TFieldType::LargeInt);
        d->addField(QStringLiteral("NOTE"), TFieldType::Memo);
        return d;
    }();
    const int columns = ds->fieldCount();
    for (const QString& line : lines) {
        const QStringList values = books::csv::SplitValues(line, separator);
        if (values.join(separator) != line) return QStringLiteral("the values of a line do not make the line again");
        for (int j = 0; j < values.size(); ++j) {
            const TField& f = ds->field(j % columns);
            fb::Value v;
            try {
                v = f.valueFromText(values[j]);
            } catch (const EConvertError&) {
                continue;
            }
            if (v.isNull()) continue;
            // Export writes textOf(); importing that text gives the same value.
            const QString text = f.textOf(v);
            QStringList exported;
            try {
                exported = {text};
                books::csv::EncodeLines(exported);
            } catch (const std::exception& e) {
                return QStringLiteral("%1 \"%2\" was taken but cannot be exported: %3")
                    .arg(f.name(), values[j], QString::fromUtf8(e.what()));
            }
            fb::Value back;
            try {
                back = f.valueFromText(text);
            } catch (const EConvertError& e) {
                return QStringLiteral("%1 \"%2\" exports as \"%3\", which is refused: %4")
                    .arg(f.name(), values[j], text, e.message());
            }
            if (!(back == v))
                return QStringLiteral("%1 \"%2\" exports as \"%3\", which reads back as \"%4\"")
                    .arg(f.name(), values[j], text, f.textOf(back));
        }
    }
    return {};
}

}  // namespace fuzz
