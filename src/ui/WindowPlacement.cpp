#include "ui/WindowPlacement.h"
#include "session/Settings.h"

#include <QWidget>

void restorePlacement(QWidget* window) {
    if (!window) return;
    const settings::Placement p = settings::readPlacement();
    window->setGeometry(p.Left, p.Top, p.Width, p.Height);
    if (p.WindowState == QStringLiteral("wsMaximized"))
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    else
        window->setWindowState(window->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
}

void savePlacement(QWidget* window) {
    if (!window) return;
    QRect r = window->geometry();
    if (window->isMaximized() || window->isMinimized() || window->isFullScreen()) {
        const QRect normal = window->normalGeometry();
        if (normal.isValid()) r = normal;
    }
    settings::Placement p;
    p.Left = r.left();
    p.Top = r.top();
    p.Width = r.width();    // right minus left
    p.Height = r.height();  // bottom minus top
    p.WindowState = window->isMaximized() ? QStringLiteral("wsMaximized") : QStringLiteral("wsNormal");
    settings::writePlacement(p);
}

