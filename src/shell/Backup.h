#pragma once
// The administrator's backup of the working database from the main window:
// a save-file dialog, a progress window that shows the engine's work while
// the engine runs on a thread of its own, and a message with the result.
#include "session/DatabaseBackup.h"

#include <QDialog>
#include <QString>

#include <atomic>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QThread;

// The rules (who, which file, the engine's work, the result's message) are
// in session/DatabaseBackup.h.
// The progress window: shows the engine's lines (or, for a database on a
// server, how much of the backup has come), lets the user stop the work, and
// closes itself when the engine is done: Accepted when the backup is whole.
class TfrmBackup : public QDialog {
    Q_OBJECT
public:
    using Outcome = TBackupOutcome;

    explicit TfrmBackup(QWidget* parent = nullptr);
    ~TfrmBackup() override;  // waits for the engine's thread

    // What to back up and where (a file on this computer); the work starts
    // when the window is shown.
    void setJob(const QString& database, const QString& file);
    Outcome outcome() const { return m_outcome; }
    // The reason of a failure, in Russian ("\r" between lines).
    QString failureText() const { return m_failure; }

    QLabel* lbFile;
    QPlainTextEdit* memoLines;
    QProgressBar* PB;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* e) override;
    // Escape, the close box and "Прервать" ask the engine to stop; the window
    // stays until it has.
    void reject() override;

private:
    void start();
    void addLine(const QString& line);
    void finish(Outcome outcome, const QString& failure);

    QString m_database, m_file;
    std::unique_ptr<QThread> m_worker;
    std::shared_ptr<std::atomic_bool> m_stop;
    Outcome m_outcome = Outcome::None;
    QString m_failure;
};

// acBackup: asks for the file, runs the progress window over `database` and
// tells the result.
void RunBackupCommand(QWidget* parent, const QString& database);
// The same over the database the data module is connected to.
void RunBackupCommand(QWidget* parent);
