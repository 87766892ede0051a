#include "reports/engine/DesignSample.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// Any field asked for exists; it reads its own name, or a number when the
// form treats it as one.
class TfrSampleSource : public TfrDataSource {
public:
    TfrSampleSource(int rows, QSet<QString> numeric) : m_rows(rows), m_numeric(std::move(numeric)) {}
    int rowCount() const override { return m_rows; }
    int fieldIndex(const QString& name) const override {
        const int i = int(m_fields.indexOf(name.toUpper()));
        if (i >= 0) return i;
        m_fields.append(name.toUpper());
        return int(m_fields.size()) - 1;
    }
    fb::Value value(int row, int field) const override {
        const QString& name = m_fields.at(field);
        if (m_numeric.contains(name)) return fb::Value(fb::Decimal((row + 1) * 100));
        return fb::Value(row == 0 ? name : QStringLiteral("%1 %2").arg(name).arg(row + 1));
    }

private:
    int m_rows;
    QSet<QString> m_numeric;
    mutable QStringList m_fields;
};

QString sampleBarcode(TfrBarcodeType type) {
    switch (type) {
    case TfrBarcodeType::EAN13: return QStringLiteral("460123456789");
    case TfrBarcodeType::Code128: return QStringLiteral("12345678");
    case TfrBarcodeType::QR: return QStringLiteral("OBRIX");
    }
    return {};
}

// The fields a form formats as numbers or sums: `[ds."F" #m]`, `[SUM(ds."F")]`.
QSet<QString> numericFields(const TfrTemplate& t) {
    static const QRegularExpression reExpr(QStringLiteral("\\[([^\\]]*)\\]"));
    static const QRegularExpression reField(QStringLiteral("\"([^\"]+)\"|\\.\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*$"));
    static const QRegularExpression reAgg(QStringLiteral("^(SUM|AVG|MIN|MAX|RSUM)\\s*\\((.*)\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
    QSet<QString> out;
    auto scan = [&](const QString& text) {
        for (auto it = reExpr.globalMatch(text); it.hasNext();) {
            QString e = it.next().captured(1).trimmed();
            bool numeric = false;
            const int hash = e.lastIndexOf(QStringLiteral(" #"));
            if (hash >= 0) {
                const QString fmt = e.mid(hash + 2).trimmed().toLower();
                numeric = fmt.startsWith(QLatin1Char('m')) || fmt.startsWith(QLatin1Char('n')) ||
                          fmt.startsWith(QLatin1Char('i'));
                e = e.left(hash).trimmed();
            }
            if (auto m = reAgg.match(e); m.hasMatch()) {
                numeric = true;
                e = m.captured(2).trimmed();
            }
            if (!numeric) continue;
            if (auto m = reField.match(e); m.hasMatch())
                out.insert((m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)).toUpper());
        }
    };
    for (const TfrPage& p : t.pages)
        for (const TfrBand& b : p.bands)
            for (const TfrObject& o : b.objects) scan(o.text);
    return out;
}

// Variables that feed an EAN-13 bar code need digits.
QSet<QString> digitVariables(const TfrTemplate& t) {
    static const QRegularExpression reVar(QStringLiteral("\\[\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*\\]"));
    QSet<QString> out;
    for (const TfrPage& p : t.pages)
        for (const TfrBand& b : p.bands)
            for (const TfrObject& o : b.objects)
                if (o.kind == TfrObjectKind::Barcode && o.barcode == TfrBarcodeType::EAN13)
                    for (auto it = reVar.globalMatch(o.text); it.hasNext();) out.insert(it.next().captured(1).toLower());
    return out;
}

}  // namespace

std::unique_ptr<TfrSampleReport> frSampleReport(const TfrTemplate& t, const QString& fileName, int rows) {
    auto s = std::make_unique<TfrSampleReport>();
    const QSet<QString> numeric = numericFields(t);
    QStringList names = {QStringLiteral("frdsReport"), QStringLiteral("frdsReportP"), QStringLiteral("frdsReportU")};
    for (const TfrPage& p : t.pages)
        for (const TfrBand& b : p.bands)
            if (!b.dataSet.isEmpty() && !names.contains(b.dataSet, Qt::CaseInsensitive)) names.append(b.dataSet);
    for (const QString& name : names) {
        auto ds = std::make_unique<TfrDBDataSet>(name);
        ds->setSource(std::make_shared<TfrSampleSource>(rows, numeric));
        s->report.addDataSet(ds.get());
        s->dataSets.push_back(std::move(ds));
    }
    s->report.setDataSet(s->dataSets.front().get());
    s->report.setTemplate(t, fileName);
    const QSet<QString> digits = digitVariables(t);
    s->report.setOnGetValue([digits](const QString& name, QVariant& value) {
        value = digits.contains(name.toLower()) ? QStringLiteral("460123456789") : name;
    });
    return s;
}

QString frDesignShownValue(const TfrObject& o) {
    if (o.kind != TfrObjectKind::Barcode) return o.text;
    const int open = o.text.indexOf(QLatin1Char('['));
    const bool expression = open >= 0 && o.text.indexOf(QLatin1Char(']'), open) > open;
    return expression ? sampleBarcode(o.barcode) : o.text;
}
