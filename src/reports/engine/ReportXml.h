#pragma once
// Reading and writing report templates (our XML, files "Reports/<name>.frf").
// Reading never crashes or hangs whatever the file holds: anything that is not
// a well-formed template of sane size is refused with EfrTemplateError naming
// the file and what is wrong.
#include "reports/engine/ReportModel.h"

#include <QByteArray>
#include <stdexcept>

// A template file that cannot be used; message() is Russian and names the file.
class EfrTemplateError : public std::runtime_error {
public:
    explicit EfrTemplateError(const QString& message);
    QString message() const { return m_message; }
private:
    QString m_message;
};

// A template file that cannot be opened or written.
class EfrFileError : public std::runtime_error {
public:
    explicit EfrFileError(const QString& message);
    QString message() const { return m_message; }
private:
    QString m_message;
};

// Limits beyond which a template is refused as absurd.
namespace frlimits {
constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;
constexpr int kMaxPages = 50;
constexpr int kMaxBands = 200;      // per page
constexpr int kMaxObjects = 5000;   // per template
constexpr double kMaxPaper = 2000;  // mm
constexpr double kMinPaper = 20;
constexpr double kMaxCoord = 2000;  // mm, any object coordinate or size
constexpr double kMaxFont = 200;    // points
}  // namespace frlimits

// Parses the XML text of a template; `fileName` is only used in messages.
TfrTemplate frParseTemplate(const QByteArray& xml, const QString& fileName);
// Reads a template file: EfrFileError when it cannot be opened, EfrTemplateError when it is broken.
TfrTemplate frReadTemplateFile(const QString& fileName);
// The XML text of a template; reading it back gives the same template.
QByteArray frTemplateToXml(const TfrTemplate& t);
// Writes the template atomically; EfrFileError on failure.
void frWriteTemplateFile(const TfrTemplate& t, const QString& fileName);
