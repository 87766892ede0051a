#pragma once
// The help window: the pages of obrix.chm with the table of contents, the
// keyword index and a word search on the left, back and forward. There is one
// window; it is not modal, and a later request navigates it and raises it.
#include <QDateTime>
#include <QHash>
#include <QMainWindow>
#include <QTextBrowser>

#include "base/HelpContents.h"

class QAction;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// A text browser whose pages, style sheets and pictures come from the open
// help file (the addresses and what is read: base/HelpContents.h).
class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget* parent = nullptr);
    void setHelpFile(const ChmFile* file) { file_ = file; }
    QVariant loadResource(int type, const QUrl& name) override;

    static QUrl pageUrl(const QString& page, const QString& fragment = {});
    static bool isHelpUrl(const QUrl& url);

private:
    const ChmFile* file_ = nullptr;
};

class TfrmHelp : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmHelp(QWidget* parent = nullptr);

    // Opens the help file and fills the contents and the index; a file that
    // is open already is read again only when it changed on disk. False when
    // the file cannot be read as a help file.
    bool openFile(const QString& path);
    // Opens the file the address names and shows its page. False when the
    // address is not a page address or the file cannot be opened.
    bool showAddress(const QString& address);
    // Shows a page of the open file ("/_docum_edit.htm" or "_docum_edit.htm").
    void showPage(const QString& page, const QString& fragment = {});
    // The file's default page (index.htm).
    void showStartPage();

    QString currentPage() const;  // "/_docum_edit.htm", empty before the first page
    QString pageTitle() const;    // <title> of the page shown
    const ChmFile& helpFile() const { return file_; }
    THelpBrowser* browser() const { return browser_; }

    // Shows the window and brings it to the front. While a modal dialog is up
    // the window becomes a window of that dialog, so that it takes input too;
    // the caller's screen places it the first time.
    void present(QWidget* caller);

public slots:
    // A link clicked in a page: pages of the help file open here, addresses
    // of a help file open that file, anything else goes to the desktop.
    void followLink(const QUrl& url);
    void runSearch();

private slots:
    void onSourceChanged(const QUrl& url);
    void onContentsItem(QTreeWidgetItem* item);
    void onIndexTextEdited(const QString& text);
    void onIndexItem(QListWidgetItem* item);
    void onSearchItem(QListWidgetItem* item);

private:
    void buildUi();
    void fillContents();
    void fillIndex();
    void showLocal(const QString& local);
    void selectContentsItemFor(const QString& page);

    ChmFile file_;
    QDateTime fileTime_;
    qint64 fileSize_ = -1;
    bool placed_ = false;
    bool syncing_ = false;
    QString searchWord_;

    THelpBrowser* browser_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* tvContents_ = nullptr;
    QLineEdit* edIndex_ = nullptr;
    QListWidget* lbIndex_ = nullptr;
    QLineEdit* edSearch_ = nullptr;
    QPushButton* btnSearch_ = nullptr;
    QListWidget* lbSearch_ = nullptr;
    QAction* acBack_ = nullptr;
    QAction* acForward_ = nullptr;
    QAction* acHome_ = nullptr;
    QHash<QString, QList<int>> contentsEntryOfPage_;  // helpPageKey -> the contents entry's path
    QList<HelpIndexLine> indexLines_;
};
