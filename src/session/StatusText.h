#pragma once
// The texts of the main window's status bar.
#include "session/Global.h"

#include <QString>

#include <array>

// Panel 0: "Документов в списке: N" when connected, else "<Соединения нет>".
QString StatusCountText(bool connected, int documentCount);
// Panel 1: "Роль: " + the operator's role.
QString StatusRoleText(const TGL& gl);
// Panel 2: "РП: d1 - d2 (Открыт)" / "(Закрыт)", or "РП: < не выбран >" without a period.
QString StatusPeriodText(const TGL& gl);

// The widths of the six status panels: each fits its text (`textWidths`);
// the keyboard panels and the period's keep their least widths; when
// `available` is short the operator's role gives way first, the document
// count and the period's state never do, and the count takes what is left.
std::array<int, 6> StatusPanelWidths(const std::array<int, 6>& textWidths, int available);
