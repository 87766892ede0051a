#pragma once
// The database error window: an explanation with a recommendation, and the
// technical text one click away; the plain error window for every other
// error; and the one routine every window shows an error with.
#include <QDialog>
#include <QString>

#include <exception>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

class TfrmErrorDB : public QDialog {
    Q_OBJECT
public:
    explicit TfrmErrorDB(QWidget* parent = nullptr);

    // A database error raised in the program (whole-message table).
    void Message1(const QString& message);
    // The message of a failed apply (constraint table, last match decides).
    void Message2(const QString& message);

    QString explanationText() const;
    QString originalText() const;
    bool isExpanded() const;

public slots:
    void btnMoreClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void fill(const QString& explanation, const QString& recommendation, const QString& message);

    QWidget* PanelMain;
    QWidget* PanelMore;
    QLabel* Image1;
    QPlainTextEdit* MemoMes;
    QPlainTextEdit* MemoOriginal;
    QPushButton* btnMore;
    QPushButton* btnOk;
};

// The plain error window for every other error.
class TfrmErrorMes : public QDialog {
    Q_OBJECT
public:
    explicit TfrmErrorMes(QWidget* parent = nullptr);
    void setMessage(const QString& text);
    QString messageText() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    QPlainTextEdit* MemoMes;
    QPushButton* btnOk;
};

// Which table explains a database error: a whole message raised in the
// program (TfrmErrorDB::Message1) or the message of a failed apply, read for
// the constraint it names (TfrmErrorDB::Message2).
enum class TErrorExplanation { Raised, Apply };

// Shows the error modally: a database error in the database error window
// (frmErrorDB), explained by `how`; any other error in the plain error window
// (frmErrorMes). A window not registered is made for this showing only.
void ShowErrorWindow(std::exception_ptr error, TErrorExplanation how);
// The message of a failed apply in the database error window.
void ShowErrorWindow(const QString& applyMessage);
