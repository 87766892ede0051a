#include "forms/DocVar.h"
#include "base/VariableTable.h"

#include "base/RoutsFormat.h"
#include "forms/RowText.h"
#include "orders/core/SumStr.h"

namespace {

using Entry = TVariableEntry<TDocuVars>;

const Entry kEntries[] = {
    {"NameOrg", &TDocuVars::NameOrg},
    {"Rukovod", &TDocuVars::Rukovod},
    {"Glavbuh", &TDocuVars::Glavbuh},
    {"AdresOrg", &TDocuVars::AdresOrg},
    {"PhoneOrg", &TDocuVars::PhoneOrg},
    {"INN", &TDocuVars::INN},
    {"KPP", &TDocuVars::KPP},
    {"OGRN", &TDocuVars::OGRN},
    {"Bankname", &TDocuVars::Bankname},
    {"BankBik", &TDocuVars::BankBik},
    {"Schet", &TDocuVars::Schet},
    {"KorSchet", &TDocuVars::KorSchet},
    {"Dened", &TDocuVars::Dened},
    {"Series", &TDocuVars::Series},
    {"Number", &TDocuVars::Number},
    {"DateP", &TDocuVars::DateP},
    {"DateV", &TDocuVars::DateV},
    {"DateVyd", &TDocuVars::DateVyd},
    {"VremVyd", &TDocuVars::VremVyd},
    {"Zakazch_Name", &TDocuVars::Zakazch_Name},
    {"Zakazch_Adres", &TDocuVars::Zakazch_Adres},
    {"Zakazch_Phone", &TDocuVars::Zakazch_Phone},
    {"Priemschik_Fio", &TDocuVars::Priemschik_Fio},
    {"Received", &TDocuVars::Received},
    {"Debt", &TDocuVars::Debt},
    {"TOTAL", &TDocuVars::TOTAL},
    {"OTKL", &TDocuVars::OTKL},
    {"TOTAL_WOTKL", &TDocuVars::TOTAL_WOTKL},
    {"Comment", &TDocuVars::Comment},
    {"g_1", &TDocuVars::g_1},
    {"g_2", &TDocuVars::g_2},
    {"g_3", &TDocuVars::g_3},
    {"GarantName", &TDocuVars::GarantName},
    {"SumPolProp", &TDocuVars::SumPolProp},
};

QString money(const TClientDataSet& ds, const char* name) { return FormatMoney(RowValue(ds, name).toDecimal()); }

}  // namespace

bool TDocuVars::find(const QString& name, QString& value) const { return FindVariable(*this, kEntries, name, value); }

QStringList TDocuVars::names() { return VariableNames(kEntries); }

TDocuVars MakeDOCVAR(const TClientDataSet& docu, const TClientDataSet& uch) {
    TDocuVars v;
    FillOrgDetails(uch, v);

    v.Series = RowText(docu, "SERIES");
    v.Number = ZeroPad(RowValue(docu, "NUMBER").toInt(), 6);
    v.DateP = RowDateText(docu, "DATEP");
    v.DateV = RowDateText(docu, "DATEV");
    v.DateVyd = RowDateText(docu, "DATEVYD");
    v.VremVyd = RowText(docu, "VREMVYD");
    v.Zakazch_Name = RowText(docu, "ZAKAZCH_NAME");
    v.Zakazch_Adres = RowText(docu, "ZAKAZCH_ADRES");
    v.Zakazch_Phone = RowText(docu, "ZAKAZCH_PHONE");
    v.Priemschik_Fio = RowText(docu, "PRIEMSCHIK_FIO");
    v.Received = money(docu, "RECEIVED");
    v.Debt = money(docu, "DEBT");
    v.TOTAL = money(docu, "TOTAL");
    v.OTKL = QString::number(RowValue(docu, "OTKLPROC").toInt());
    v.TOTAL_WOTKL = money(docu, "TOTAL_WOTKL");
    v.Comment = RowText(docu, "COMMENT");
    const fb::Value garant = RowValue(docu, "GARANT");
    const qint64 g = garant.isNull() ? 0 : garant.toInt();
    v.g_1 = g == 1 ? QStringLiteral("*") : QString();
    v.g_2 = g == 2 ? QStringLiteral("*") : QString();
    v.g_3 = g == 3 ? QStringLiteral("*") : QString();
    v.GarantName = RowText(docu, "GARANT_NAME");
    // The exact amount with two decimals and no separators: the words need plain digits.
    const fb::Value received = RowValue(docu, "RECEIVED");
    v.SumPolProp = received.isNull() ? QString() : AmountInWords(received.toDecimal().toString(2));
    return v;
}

TfrReport::GetValue frReportDocGetValue(const TDocuVars& vars) {
    return [&vars](const QString& name, QVariant& value) {
        QString text;
        if (vars.find(name, text)) value = text;
    };
}
