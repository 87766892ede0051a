#pragma once
// The texts a stock document's print form shows besides its lines: the
// organisation's details and the document's header as they stand in the
// editor (saved or not). Each print fills its own value with MakeDOCVAR and
// hands the report a callback that reads that value (frReportDocGetValue).
#include "forms/OrgDetails.h"
#include "reports/engine/ReportEngine.h"

#include <QString>
#include <QStringList>

class TClientDataSet;

namespace stockdoc {

// The stock document's variables: the organisation's details and the document's.
struct TDocsVars : TOrgDetails {
    QString DocCaption, Number, Datedoc, DocuTitle, Comment;

    // The text of the variable with exactly this name (letter case counts); false when there is none.
    bool find(const QString& name, QString& value) const;
    // The 18 names, DocCaption first, as the designer lists them.
    static QStringList names();
};

// A document number as the form prints it: a whole number with leading zeros
// to 6 digits (a longer one cut to its first 6), any other text as typed.
QString PrintedNumber(const QString& number);

// The variables of the organisation row (current row of `uchInfo`) and the
// document's current row (`docs`, pending values included).
TDocsVars MakeDOCVAR(const TClientDataSet& docs, const TClientDataSet& uchInfo);

// The report engine's get-value callback over `vars`; it reads `vars` itself,
// so `vars` must outlive the report's use of it (the print workflow removes
// the callback when the print ends).
TfrReport::GetValue frReportDocGetValue(const TDocsVars& vars);
TfrReport::GetValue frReportDocGetValue(const TDocsVars&&) = delete;

}  // namespace stockdoc
