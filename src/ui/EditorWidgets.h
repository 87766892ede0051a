#pragma once
// Small pieces every document editor and line dialog builds its window from.
#include <QString>
#include <Qt>

class QAction;
class QDateEdit;
class QLineEdit;
class QLabel;
class QToolButton;
class QWidget;
struct TEditorCommand;

// A label for a control: the messages about the control use its text.
QLabel* labelFor(QWidget* control, const QString& text, QWidget* parent);
// A line command of an editor, with its object name and hint, owned by (and a shortcut target of) `owner`.
QAction* lineAction(QWidget* owner, const char* name, const QString& hint);
// The same made from a row of an editor's command table, with the row's shortcut.
QAction* commandAction(QWidget* owner, const TEditorCommand& c);
// A button for a command that keeps its own short caption: it follows only
// the command's enabled state, never its text. Its object name is `prefix`
// followed by the command's name without "ac" ("btn" + "UslugaAppend").
QToolButton* actionButton(QWidget* parent, QAction* a, const QString& text, const QString& prefix);

// Gives a widget its object name and returns it, for building windows in one expression.
template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// The name of a report at the top of its window: bold, underlined, dark blue ("stRepName").
QLabel* reportTitle(const QString& text, QWidget* parent);

// A date box with its calendar and the date written dd.MM.yyyy.
QDateEdit* dateEditor(QWidget* parent, const char* name);

// A read-only box with the desktop's read-only look (totals, looked-up values).
QLineEdit* greyEdit(QWidget* parent, const char* name, Qt::FocusPolicy focus = Qt::ClickFocus);
