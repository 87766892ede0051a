#pragma once
// Helpers of the report tests: templates written inline, rows held in memory,
// golden files compared (or rewritten with OBRIX_UPDATE_GOLDEN=1).
#include "reports/engine/ReportEngine.h"
#include "reports/engine/ReportRender.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace reporttest {

inline fb::Decimal dec(const char* s) { return fb::Decimal::fromString(QString::fromLatin1(s)); }

// A template from the XML of its pages ("<Page ...>...</Page>").
inline TfrTemplate templ(const QString& pagesXml) {
    return frParseTemplate((QStringLiteral("<?xml version=\"1.0\"?><Report>") + pagesXml + QStringLiteral("</Report>")).toUtf8(),
                           QStringLiteral("test.frf"));
}

inline std::shared_ptr<TfrMemorySource> rows(QStringList fields, std::vector<std::vector<fb::Value>> data) {
    return std::make_shared<TfrMemorySource>(std::move(fields), std::move(data));
}

inline QString goldenPath(const QString& name) { return QStringLiteral(OBRIX_GOLDEN_DIR "/") + name; }

// Compares `actual` with the stored golden file; rewrites it when asked to.
inline void expectGolden(const QString& name, const QByteArray& actual) {
    const QString path = goldenPath(name);
    if (qEnvironmentVariableIsSet("OBRIX_UPDATE_GOLDEN")) {
        QDir().mkpath(QStringLiteral(OBRIX_GOLDEN_DIR));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(actual);
        return;
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "no golden file " << path.toStdString();
    const QByteArray expected = f.readAll();
    if (expected != actual) {
        // the first differing line makes the failure readable
        const QList<QByteArray> a = actual.split('\n'), e = expected.split('\n');
        for (int i = 0; i < std::max(a.size(), e.size()); ++i) {
            const QByteArray la = i < a.size() ? a[i] : QByteArray("<end>");
            const QByteArray le = i < e.size() ? e[i] : QByteArray("<end>");
            if (la != le) {
                ADD_FAILURE() << name.toStdString() << " differs at line " << i + 1 << "\n  expected: " << le.toStdString()
                              << "\n  actual:   " << la.toStdString();
                return;
            }
        }
    }
}

// The text of a PDF file as pdftotext reads it.
inline QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString formPath(const QString& name) { return QStringLiteral(OBRIX_FORMS_DIR "/") + name + QStringLiteral(".frf"); }

}  // namespace reporttest
