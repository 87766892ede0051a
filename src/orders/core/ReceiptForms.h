#pragma once
// Which receipt-contract form an order of a kind prints, and what it lists.
#include <QString>

// "Reports/Rep_Kvit_obuv" (kind 1, full), "Reports/Rep_Kvituz_obuv" (kind 1,
// narrow) and so on for kinds 2 and 3; empty for any other kind.
QString ReceiptFormName(int kindDocID, bool narrow);

// Whether the receipt lists the order's product lines (band MasterData1):
// shoe repair and engraving do; the service lines are listed always.
bool ReceiptListsProducts(int kindDocID);
