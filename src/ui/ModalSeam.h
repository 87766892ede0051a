#pragma once
// The one way the program shows anything modal: message boxes, dialogs and
// the open/save file dialogs. In normal runs the calls go to Qt; a test
// installs hooks and answers them without blocking (see ModalScript).
#include <QString>
#include <functional>

#include <memory>

class QDialog;
class QMessageBox;
class QWidget;

struct MessageRequest {
    QString caption;
    QString text;      // as the program wrote it, "\r" for line breaks
    int flags = 0;     // style flags: 16, 36, 48, 52, 64, ...
};

struct FileRequest {
    enum Kind { Open, Save };
    Kind kind = Open;
    QString caption;
    QString dir;       // start folder or suggested file name
    QString filter;    // Qt form: "База данных (*.fdb)"
};

class ModalSeam {
public:
    using MessageHook = std::function<int(const MessageRequest&)>;
    // Acts on a dialog that is shown (not modally) for the duration of the
    // call and returns what exec() would have returned.
    using DialogHook = std::function<int(QDialog*)>;
    // Returns the chosen path, empty for "cancelled".
    using FileHook = std::function<QString(const FileRequest&)>;

    // Shows a message box and returns the button pressed: 1 OK, 2 Cancel,
    // 6 Yes, 7 No.
    static int message(const MessageRequest& request);
    // Runs a dialog modally; use it instead of QDialog::exec(). A dialog shown
    // before comes back where it was left.
    static int execModal(QDialog* dialog);
    static QString getOpenFileName(QWidget* parent, const QString& caption,
                                   const QString& dir, const QString& filter);
    // askOverwrite false: the caller asks itself before replacing a file.
    static QString getSaveFileName(QWidget* parent, const QString& caption,
                                   const QString& dir, const QString& filter, bool askOverwrite = true);

    static void setMessageHook(MessageHook hook);
    static void setDialogHook(DialogHook hook);
    static void setFileHook(FileHook hook);
    static MessageHook messageHook();
    static DialogHook dialogHook();
    static FileHook fileHook();

    // The real message box, without the hook.
    static int showMessageBox(const MessageRequest& request);
    // That box, built but not shown: icon, text, the standard buttons (in the
    // language of the loaded Qt translations) and the default button.
    static std::unique_ptr<QMessageBox> makeMessageBox(const MessageRequest& request, QWidget* parent = nullptr);
    // Text for display: "\r\n" and "\r" become line feeds.
    static QString displayText(const QString& text);
};

// Shorthand for ModalSeam::execModal.
int execModal(QDialog* dialog);
