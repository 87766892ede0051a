#pragma once
// What every fuzz target does with one input, shared by the libFuzzer
// programs (clang build) and the regression tests over the kept inputs (the
// ordinary build). Each returns an empty text when the reader refused the
// input cleanly or loaded it and what it loaded behaves; otherwise what went
// wrong. A crash or a hang is a failure by itself.
#include <QByteArray>
#include <QString>

namespace fuzz {

// A Qt application fit for the readers (offscreen, the workshop's locale).
void InitQt();

// The bytes as the workstation's settings file: every setting is read, then
// one value is written and every other value must read back unchanged.
QString CheckSettingsFile(const QByteArray& data);

// The bytes as a report template: loaded, saved and loaded again, then laid
// out over report datasets whose every field is empty, and exported.
QString CheckReportTemplate(const QByteArray& data);

// The bytes as a reference book's CSV file: decoded into lines, cut into
// values, each value read as the column types of the books; what converts must
// read back the same from the text an export writes for it.
QString CheckCsvFile(const QByteArray& data);

}  // namespace fuzz
