#pragma once
// The texts of the main window's status bar.
#include "session/Global.h"

#include <QString>

// Panel 0: "Документов в списке: N" when connected, else "<Соединения нет>".
QString StatusCountText(bool connected, int documentCount);
// Panel 1: "Роль: " + the operator's role.
QString StatusRoleText(const TGL& gl);
// Panel 2: "РП: d1 - d2 (Открыт)" / "(Закрыт)", or "РП: < не выбран >" without a period.
QString StatusPeriodText(const TGL& gl);
