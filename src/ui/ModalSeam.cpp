#include "ui/ModalSeam.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace {

ModalSeam::MessageHook& messageHookRef() { static ModalSeam::MessageHook h; return h; }
ModalSeam::DialogHook& dialogHookRef() { static ModalSeam::DialogHook h; return h; }
ModalSeam::FileHook& fileHookRef() { static ModalSeam::FileHook h; return h; }

// Button identifiers the program compares with.
enum { IdOk = 1, IdCancel = 2, IdAbort = 3, IdRetry = 4, IdIgnore = 5, IdYes = 6, IdNo = 7 };

QMessageBox::Icon iconOf(int flags) {
    switch (flags & 0xF0) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct ButtonSet {
    QList<QMessageBox::StandardButton> buttons;
    int closeAnswer;  // what closing the box without a button means
};

ButtonSet buttonsOf(int flags) {
    switch (flags & 0x0F) {
    case 1: return {{QMessageBox::Ok, QMessageBox::Cancel}, IdCancel};
    case 2: return {{QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}, IdAbort};
    case 3: return {{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, IdCancel};
    case 4: return {{QMessageBox::Yes, QMessageBox::No}, IdNo};
    case 5: return {{QMessageBox::Retry, QMessageBox::Cancel}, IdCancel};
    default: return {{QMessageBox::Ok}, IdOk};
    }
}

int idOf(QMessageBox::StandardButton b, int fallback) {
    switch (b) {
    case QMessageBox::Ok: return IdOk;
    case QMessageBox::Cancel: return IdCancel;
    case QMessageBox::Abort: return IdAbort;
    case QMessageBox::Retry: return IdRetry;
    case QMessageBox::Ignore: return IdIgnore;
    case QMessageBox::Yes: return IdYes;
    case QMessageBox::No: return IdNo;
    default: return fallback;
    }
}

}  // namespace

QString ModalSeam::displayText(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

std::unique_ptr<QMessageBox> ModalSeam::makeMessageBox(const MessageRequest& request, QWidget* parent) {
    const ButtonSet set = buttonsOf(request.flags);
    auto box = std::make_unique<QMessageBox>(iconOf(request.flags), request.caption, displayText(request.text),
                                             QMessageBox::NoButton, parent);
    for (auto b : set.buttons) box->addButton(b);
    // 256 and 512 pick the second and third button as the default one.
    const int defIndex = (request.flags >> 8) & 0x3;
    box->setDefaultButton(set.buttons.value(defIndex, set.buttons.front()));
    return box;
}

int ModalSeam::showMessageBox(const MessageRequest& request) {
    const ButtonSet set = buttonsOf(request.flags);
    const std::unique_ptr<QMessageBox> box = makeMessageBox(request, QApplication::activeWindow());
    box->exec();
    const auto clicked = box->clickedButton();
    if (!clicked) return set.closeAnswer;
    return idOf(box->standardButton(clicked), set.closeAnswer);
}

int ModalSeam::message(const MessageRequest& request) {
    if (const MessageHook hook = messageHookRef()) return hook(request);
    return showMessageBox(request);
}

int ModalSeam::execModal(QDialog* dialog) {
    // A window that was shown before reopens where it was (the window manager's
    // frame would otherwise move it a little lower at every showing).
    static const char* const kPlace = "modalSeamGeometry";
    const QByteArray place = dialog->property(kPlace).toByteArray();
    if (!place.isEmpty()) dialog->restoreGeometry(place);
    QPointer<QDialog> guard(dialog);
    const auto remember = [&] {
        if (guard) guard->setProperty(kPlace, guard->saveGeometry());
    };
    const DialogHook hook = dialogHookRef();
    if (!hook) {
        const int result = dialog->exec();
        remember();
        return result;
    }
    // Shown as the user would see it (show events run), acted on, then hidden.
    dialog->setResult(0);
    dialog->show();
    const int result = hook(dialog);
    if (guard && guard->isVisible()) {
        remember();
        guard->hide();
    }
    return result;
}

QString ModalSeam::getOpenFileName(QWidget* parent, const QString& caption,
                                   const QString& dir, const QString& filter) {
    if (const FileHook hook = fileHookRef())
        return hook(FileRequest{FileRequest::Open, caption, dir, filter});
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString ModalSeam::getSaveFileName(QWidget* parent, const QString& caption,
                                   const QString& dir, const QString& filter, bool askOverwrite) {
    if (const FileHook hook = fileHookRef())
        return hook(FileRequest{FileRequest::Save, caption, dir, filter});
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr,
                                        askOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite);
}

void ModalSeam::setMessageHook(MessageHook hook) { messageHookRef() = std::move(hook); }
void ModalSeam::setDialogHook(DialogHook hook) { dialogHookRef() = std::move(hook); }
void ModalSeam::setFileHook(FileHook hook) { fileHookRef() = std::move(hook); }
ModalSeam::MessageHook ModalSeam::messageHook() { return messageHookRef(); }
ModalSeam::DialogHook ModalSeam::dialogHook() { return dialogHookRef(); }
ModalSeam::FileHook ModalSeam::fileHook() { return fileHookRef(); }

int execModal(QDialog* dialog) {
    return ModalSeam::execModal(dialog);
}
