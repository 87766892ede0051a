#pragma once
// Answers the program's modal windows in tests. While an instance lives it
// owns the hooks of ModalSeam: message boxes take the queued answers, dialogs
// run the queued actions, file dialogs return the queued paths; everything
// shown is recorded. A modal window with nothing queued for it is answered
// cautiously (OK, No, Cancel, rejected, no file) and listed in unexpected().
#include "ui/ModalSeam.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <deque>
#include <functional>
#include <type_traits>

class ModalScript {
public:
    using DialogAction = std::function<int(QDialog*)>;

    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Message boxes.
    ModalScript& answer(int buttonId);
    ModalScript& answerOk() { return answer(1); }
    ModalScript& answerYes() { return answer(6); }
    ModalScript& answerNo() { return answer(7); }
    const QList<MessageRequest>& messages() const { return m_messages; }
    QStringList messageTexts() const;

    // Dialogs. An action may set fields and click buttons; one returning void
    // gives the dialog's result() afterwards. With a name, the dialog shown
    // must carry that objectName, otherwise it is rejected and reported.
    template <class F>
    ModalScript& onDialog(const QString& objectName, F&& action) {
        m_dialogs.push_back({objectName, wrap(std::forward<F>(action))});
        return *this;
    }
    template <class F>
    ModalScript& onDialog(F&& action) { return onDialog(QString(), std::forward<F>(action)); }
    ModalScript& acceptDialog(const QString& objectName = QString());
    ModalScript& rejectDialog(const QString& objectName = QString());
    const QStringList& dialogsShown() const { return m_dialogsShown; }

    // File dialogs.
    ModalScript& answerFile(const QString& path);
    const QList<FileRequest>& fileRequests() const { return m_files; }

    int pendingAnswers() const { return int(m_answers.size()); }
    int pendingDialogs() const { return int(m_dialogs.size()); }
    int pendingFiles() const { return int(m_fileAnswers.size()); }
    const QStringList& unexpected() const { return m_unexpected; }

private:
    struct PendingDialog { QString name; DialogAction action; };

    template <class F>
    static DialogAction wrap(F&& f) {
        if constexpr (std::is_void_v<std::invoke_result_t<F&, QDialog*>>) {
            return [f = std::forward<F>(f)](QDialog* d) mutable { f(d); return d->result(); };
        } else {
            return DialogAction(std::forward<F>(f));
        }
    }

    int onMessage(const MessageRequest& request);
    int onDialogShown(QDialog* dialog);
    QString onFile(const FileRequest& request);

    ModalSeam::MessageHook m_prevMessage;
    ModalSeam::DialogHook m_prevDialog;
    ModalSeam::FileHook m_prevFile;

    std::deque<int> m_answers;
    std::deque<PendingDialog> m_dialogs;
    std::deque<QString> m_fileAnswers;
    QList<MessageRequest> m_messages;
    QStringList m_dialogsShown;
    QList<FileRequest> m_files;
    QStringList m_unexpected;
};
