#include "ui/EditorWidgets.h"

#include "base/EditorCommand.h"
#include "ui/FieldBinding.h"

#include <QAction>
#include <QColor>
#include <QDateEdit>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QToolButton>

QLabel* labelFor(QWidget* control, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(control);
    return l;
}

QAction* lineAction(QWidget* owner, const char* name, const QString& hint) {
    auto* a = new QAction(hint, owner);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(hint);
    owner->addAction(a);
    return a;
}

QAction* commandAction(QWidget* owner, const TEditorCommand& c) {
    QAction* a = lineAction(owner, c.name, QString::fromUtf8(c.hint));
    if (c.shortcut) a->setShortcut(QKeySequence(c.shortcut));
    return a;
}

QToolButton* actionButton(QWidget* parent, QAction* a, const QString& text, const QString& prefix) {
    auto* b = new QToolButton(parent);
    b->setObjectName(prefix + a->objectName().mid(2));
    b->setText(text);
    b->setToolTip(a->toolTip());
    b->setFocusPolicy(Qt::NoFocus);
    b->setEnabled(a->isEnabled());
    QObject::connect(b, &QToolButton::clicked, a, [a] {
        if (a->isEnabled()) a->trigger();
    });
    QObject::connect(a, &QAction::changed, b, [a, b] { b->setEnabled(a->isEnabled()); });
    return b;
}

QLineEdit* greyEdit(QWidget* parent, const char* name, Qt::FocusPolicy focus) {
    auto* e = named(new QLineEdit(parent), name);
    e->setReadOnly(true);
    setReadOnlyLook(e, true);
    e->setFocusPolicy(focus);
    return e;
}

QLabel* reportTitle(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("stRepName"));
    QFont f = l->font();
    f.setBold(true);
    f.setUnderline(true);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 128));
    l->setPalette(pal);
    return l;
}

QDateEdit* dateEditor(QWidget* parent, const char* name) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return d;
}
