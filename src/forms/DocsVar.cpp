#include "forms/DocsVar.h"
#include "base/VariableTable.h"

#include "base/RoutsFormat.h"
#include "forms/RowText.h"

namespace stockdoc {

namespace {

using Entry = TVariableEntry<TDocsVars>;

const Entry kEntries[] = {
    {"DocCaption", &TDocsVars::DocCaption}, {"NameOrg", &TDocsVars::NameOrg},   {"Rukovod", &TDocsVars::Rukovod},
    {"Glavbuh", &TDocsVars::Glavbuh},       {"AdresOrg", &TDocsVars::AdresOrg}, {"PhoneOrg", &TDocsVars::PhoneOrg},
    {"INN", &TDocsVars::INN},               {"KPP", &TDocsVars::KPP},           {"OGRN", &TDocsVars::OGRN},
    {"Bankname", &TDocsVars::Bankname},     {"BankBik", &TDocsVars::BankBik},   {"Schet", &TDocsVars::Schet},
    {"KorSchet", &TDocsVars::KorSchet},     {"Dened", &TDocsVars::Dened},       {"Number", &TDocsVars::Number},
    {"Datedoc", &TDocsVars::Datedoc},       {"DocuTitle", &TDocsVars::DocuTitle}, {"Comment", &TDocsVars::Comment},
};

}  // namespace

bool TDocsVars::find(const QString& name, QString& value) const { return FindVariable(*this, kEntries, name, value); }

QStringList TDocsVars::names() { return VariableNames(kEntries); }

QString PrintedNumber(const QString& number) {
    bool whole = false;
    const QString t = number.trimmed();
    const qint64 n = t.toLongLong(&whole);
    return whole ? ZeroPad(n, 6) : number;
}

TDocsVars MakeDOCVAR(const TClientDataSet& docs, const TClientDataSet& uch) {
    TDocsVars v;
    FillOrgDetails(uch, v);

    const QString number = RowText(docs, "NUMBER");
    v.Datedoc = RowDateText(docs, "DATEDOC");
    v.DocCaption = RowText(docs, "KINDDOC_NAME") + QStringLiteral(" от ") + v.Datedoc + QStringLiteral(" № ") + number;
    v.Number = PrintedNumber(number);
    v.DocuTitle = RowText(docs, "DOCU_TITLE");
    v.Comment = RowText(docs, "COMMENT");
    return v;
}

TfrReport::GetValue frReportDocGetValue(const TDocsVars& vars) {
    return [&vars](const QString& name, QVariant& value) {
        QString text;
        if (vars.find(name, text)) value = text;
    };
}

}  // namespace stockdoc
