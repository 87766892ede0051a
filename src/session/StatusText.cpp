#include "session/StatusText.h"

#include <QLocale>

QString StatusCountText(bool connected, int documentCount) {
    if (!connected) return QStringLiteral("<Соединения нет>");
    return QStringLiteral("Документов в списке: ") + QString::number(documentCount);
}

QString StatusRoleText(const TGL& gl) { return QStringLiteral("Роль: ") + gl.RoleName; }

QString StatusPeriodText(const TGL& gl) {
    if (gl.RPeriodID < 0) return QStringLiteral("РП: < не выбран >");
    const QLocale loc;
    return QStringLiteral("РП: ") + loc.toString(gl.RPeriodDate1, QLocale::ShortFormat) + QStringLiteral(" - ") +
           loc.toString(gl.RPeriodDate2, QLocale::ShortFormat) + QLatin1Char(' ') +
           (gl.RPeriodOpen ? QStringLiteral("(Открыт)") : QStringLiteral("(Закрыт)"));
}
