#include "forms/OrgDetails.h"

#include "forms/RowText.h"

void FillOrgDetails(const TClientDataSet& uch, TOrgDetails& org) {
    org.NameOrg = RowText(uch, "NAMEORG");
    org.Rukovod = RowText(uch, "RUKOVOD");
    org.Glavbuh = RowText(uch, "GLAVBUH");
    org.AdresOrg = RowText(uch, "ADRESORG");
    org.PhoneOrg = RowText(uch, "PHONEORG");
    org.INN = RowText(uch, "INN");
    org.KPP = RowText(uch, "KPP");
    org.OGRN = RowText(uch, "OGRN");
    org.Bankname = RowText(uch, "BANKNAME");
    org.BankBik = RowText(uch, "BANKBIK");
    org.Schet = RowText(uch, "SCHET");
    org.KorSchet = RowText(uch, "KORSCHET");
    org.Dened = RowText(uch, "DENED");
}
