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

std::array<int, 6> StatusPanelWidths(const std::array<int, 6>& textWidths, int available) {
    // The least widths; panel 0 takes what is left.
    constexpr int least[] = {0, 170, 210, 34, 34, 50};
    std::array<int, 6> w = textWidths;
    for (int i = 3; i < 6; ++i) w[i] = qMax(least[i], w[i]);
    w[2] = qMax(least[2], w[2]);
    const int wanted1 = qMax(least[1], w[1]);
    w[1] = qBound(0, available - (w[0] + w[2] + w[3] + w[4] + w[5]), wanted1);
    w[0] = qMax(w[0], available - (w[1] + w[2] + w[3] + w[4] + w[5]));
    return w;
}
