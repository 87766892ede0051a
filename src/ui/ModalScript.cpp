#include "ui/ModalScript.h"

ModalScript::ModalScript()
    : m_prevMessage(ModalSeam::messageHook()),
      m_prevDialog(ModalSeam::dialogHook()),
      m_prevFile(ModalSeam::fileHook()) {
    ModalSeam::setMessageHook([this](const MessageRequest& r) { return onMessage(r); });
    ModalSeam::setDialogHook([this](QDialog* d) { return onDialogShown(d); });
    ModalSeam::setFileHook([this](const FileRequest& r) { return onFile(r); });
}

ModalScript::~ModalScript() {
    ModalSeam::setMessageHook(m_prevMessage);
    ModalSeam::setDialogHook(m_prevDialog);
    ModalSeam::setFileHook(m_prevFile);
}

ModalScript& ModalScript::answer(int buttonId) {
    m_answers.push_back(buttonId);
    return *this;
}

QStringList ModalScript::messageTexts() const {
    QStringList texts;
    for (const auto& m : m_messages) texts << m.text;
    return texts;
}

ModalScript& ModalScript::acceptDialog(const QString& objectName) {
    return onDialog(objectName, [](QDialog* d) { d->accept(); return d->result(); });
}

ModalScript& ModalScript::rejectDialog(const QString& objectName) {
    return onDialog(objectName, [](QDialog* d) { d->reject(); return d->result(); });
}

ModalScript& ModalScript::answerFile(const QString& path) {
    m_fileAnswers.push_back(path);
    return *this;
}

int ModalScript::onMessage(const MessageRequest& request) {
    m_messages << request;
    if (!m_answers.empty()) {
        const int a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    m_unexpected << QStringLiteral("message box: ") + request.text;
    switch (request.flags & 0x0F) {
    case 1: case 3: case 5: return 2;  // Cancel
    case 2: return 3;                  // Abort
    case 4: return 7;                  // No
    default: return 1;                 // OK
    }
}

int ModalScript::onDialogShown(QDialog* dialog) {
    m_dialogsShown << dialog->objectName();
    if (m_dialogs.empty()) {
        m_unexpected << QStringLiteral("dialog: ") + dialog->objectName();
        dialog->reject();
        return QDialog::Rejected;
    }
    PendingDialog next = std::move(m_dialogs.front());
    m_dialogs.pop_front();
    if (!next.name.isEmpty() && next.name != dialog->objectName()) {
        m_unexpected << QStringLiteral("dialog: %1 shown where %2 was expected")
                            .arg(dialog->objectName(), next.name);
        dialog->reject();
        return QDialog::Rejected;
    }
    return next.action(dialog);
}

QString ModalScript::onFile(const FileRequest& request) {
    m_files << request;
    if (m_fileAnswers.empty()) {
        m_unexpected << QStringLiteral("file dialog: ") + request.caption;
        return QString();
    }
    const QString path = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return path;
}
