#include "books/ui/FrameFastFind.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TFrameFastFind::TFrameFastFind(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("FrameFastFind"));
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::NoFocus);
    auto* g = new QGridLayout(this);
    btnSearch = new QPushButton(QStringLiteral("Найти"), this);
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    btnSearch->setAutoDefault(false);
    g->addWidget(btnSearch, 0, 0, 2, 1);
    for (int i = 0; i < 4; ++i) {
        rbField[i] = new QRadioButton(this);
        rbField[i]->setObjectName(QStringLiteral("rbField%1").arg(i + 1));
        edField[i] = new QLineEdit(this);
        edField[i]->setObjectName(QStringLiteral("edField%1").arg(i + 1));
        edField[i]->installEventFilter(this);
        g->addWidget(rbField[i], 0, i + 1);
        g->addWidget(edField[i], 1, i + 1);
        connect(rbField[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) rbField1Click(i);
        });
    }
}

void TFrameFastFind::Reset() {
    for (int i = 0; i < 4; ++i) {
        rbField[i]->setText(Captions[i]);
        edField[i]->clear();
        const bool shown = !Captions[i].isEmpty();
        rbField[i]->setVisible(shown);
        edField[i]->setVisible(shown);
    }
}

int TFrameFastFind::checkedField() const {
    for (int i = 0; i < 4; ++i)
        if (rbField[i]->isChecked()) return i;
    return -1;
}

void TFrameFastFind::checkField(int index) {
    if (index < 0 || index > 3) return;
    if (rbField[index]->isChecked()) rbField1Click(index);
    else rbField[index]->setChecked(true);
}

void TFrameFastFind::rbField1Click(int index) {
    for (int i = 0; i < 4; ++i) {
        const bool writable = i == index;
        edField[i]->setReadOnly(!writable);
        QPalette p = edField[i]->palette();
        p.setColor(QPalette::Base, palette().color(writable ? QPalette::Base : QPalette::Button));
        edField[i]->setPalette(p);
    }
    if (edField[index]->isVisible()) edField[index]->setFocus();
    emit fieldChosen(index);
}

bool TFrameFastFind::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            if (k->modifiers() & Qt::ControlModifier) return false;
            btnSearch->click();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
