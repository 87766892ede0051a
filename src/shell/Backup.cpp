#include "shell/Backup.h"

#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "data/DataModule.h"
#include "fb/Attachment.h"
#include "ui/Help.h"

#include <QDate>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>

namespace {

const QString kHelpPage = QStringLiteral("_backup.htm");

}  // namespace

TfrmBackup::TfrmBackup(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Резервная копия"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(560, 360);

    auto* layout = new QVBoxLayout(this);
    lbFile = new QLabel(this);
    lbFile->setObjectName(QStringLiteral("lbFile"));
    lbFile->setWordWrap(true);
    lbFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    memoLines = new QPlainTextEdit(this);
    memoLines->setObjectName(QStringLiteral("memoLines"));
    memoLines->setReadOnly(true);
    memoLines->setMaximumBlockCount(2000);
    memoLines->setLineWrapMode(QPlainTextEdit::NoWrap);
    PB = new QProgressBar(this);
    PB->setObjectName(QStringLiteral("PB"));
    PB->setRange(0, 0);  // the engine does not say how far it is
    PB->setTextVisible(false);

    auto* row = new QHBoxLayout;
    auto* help = new QPushButton(this);
    help->setObjectName(QStringLiteral("BitBtn1"));
    help->setToolTip(QStringLiteral("Справка"));
    help->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [this] { HelpContext(this, kHelpPage); });
    btnCancel = new QPushButton(QStringLiteral("Прервать"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmBackup::reject);
    row->addWidget(help);
    row->addStretch(1);
    row->addWidget(btnCancel);

    layout->addWidget(lbFile);
    layout->addWidget(memoLines, 1);
    layout->addWidget(PB);
    layout->addLayout(row);
}

TfrmBackup::~TfrmBackup() {
    if (m_worker) {
        if (m_stop) *m_stop = true;
        m_worker->wait();
    }
}

void TfrmBackup::setJob(const QString& database, const QString& file) {
    m_database = database;
    m_file = file;
    m_outcome = Outcome::None;
    m_failure.clear();
    memoLines->clear();
    lbFile->setText(ModalSeam::displayText(BackupJobText(database, file)));
    btnCancel->setEnabled(true);
}

void TfrmBackup::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!m_worker && m_outcome == Outcome::None && !m_file.isEmpty()) start();
}

void TfrmBackup::reject() {
    if (m_worker) {
        // The engine is asked to stop; the window closes when it has.
        *m_stop = true;
        btnCancel->setEnabled(false);
        addLine(QStringLiteral("Прерывание..."));
        return;
    }
    QDialog::reject();
}

void TfrmBackup::addLine(const QString& line) { memoLines->appendPlainText(line); }

void TfrmBackup::start() {
    m_stop = std::make_shared<std::atomic_bool>(false);
    const QString database = m_database;
    const QString file = m_file;
    const auto stop = m_stop;
    // The engine's work runs on its own thread; what it reports comes back
    // to this window through queued calls (dropped once the window is gone).
    m_worker.reset(QThread::create([this, database, file, stop] {
        const TBackupResult result = RunDatabaseBackup(database, file, [this](const QString& line) {
            QMetaObject::invokeMethod(this, [this, line] { addLine(line); }, Qt::QueuedConnection);
        }, *stop);
        QMetaObject::invokeMethod(this, [this, result] { finish(result.outcome, result.failure); },
                                  Qt::QueuedConnection);
    }));
    m_worker->start();
}

void TfrmBackup::finish(Outcome outcome, const QString& failure) {
    if (m_worker) {
        m_worker->wait();
        m_worker.reset();
    }
    m_outcome = outcome;
    m_failure = failure;
    btnCancel->setEnabled(true);
    done(outcome == Outcome::Done ? QDialog::Accepted : QDialog::Rejected);
}

void RunBackupCommand(QWidget* parent, const QString& database) {
    if (!BackupCommandEnabled(GL.Connected, GL)) {
        TitledMessageBox(BackupRefusalText(), mbWarningOk);
        return;
    }
    const QString file = BackupTargetFile(ModalSeam::getSaveFileName(
        parent, QStringLiteral("Резервная копия базы данных"), SuggestedBackupFile(database, QDate::currentDate()),
        QStringLiteral("Резервная копия (*.fbk)")));
    if (file.isEmpty()) return;
    const bool existed = QFileInfo::exists(file);

    TfrmBackup window(parent);
    window.setJob(database, file);
    execModal(&window);
    const TNotice notice = BackupResultNotice({window.outcome(), window.failureText()}, file, existed);
    if (notice.kind != TNoticeKind::None) TitledMessageBox(notice.text, int(notice.kind));
}

void RunBackupCommand(QWidget* parent) { RunBackupCommand(parent, DM().connection().database()); }
