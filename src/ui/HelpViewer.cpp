#include "ui/HelpViewer.h"

#include "base/HelpContents.h"
#include "base/HelpSearch.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kLocalRole = Qt::UserRole;

}  // namespace

// ---------------------------------------------------------------------------
// THelpBrowser

THelpBrowser::THelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("browser"));
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QUrl THelpBrowser::pageUrl(const QString& page, const QString& fragment) { return helpPageUrl(page, fragment); }

bool THelpBrowser::isHelpUrl(const QUrl& url) { return isHelpPageUrl(url); }

QVariant THelpBrowser::loadResource(int type, const QUrl& name) {
    QUrl url = name;
    if (url.isRelative()) url = source().resolved(name);
    if (!isHelpUrl(url)) return QTextBrowser::loadResource(type, name);

    const HelpResourceKind kind = type == QTextDocument::HtmlResource         ? HelpResourceKind::Page
                                  : type == QTextDocument::StyleSheetResource ? HelpResourceKind::StyleSheet
                                                                              : HelpResourceKind::Other;
    return readHelpResource(file_, url.path(), kind);
}

// ---------------------------------------------------------------------------
// TfrmHelp

TfrmHelp::TfrmHelp(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Справка"));
    // Closing the main window ends the program even while help is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildUi();
    browser_->setFocus();
}

void TfrmHelp::buildUi() {
    auto* toolBar = addToolBar(QStringLiteral("Справка"));
    toolBar->setObjectName(QStringLiteral("tbHelp"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    acBack_ = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"));
    acBack_->setObjectName(QStringLiteral("acHelpBack"));
    acBack_->setShortcut(QKeySequence::Back);
    acBack_->setToolTip(QStringLiteral("Назад (Alt+Влево)"));
    acBack_->setEnabled(false);

    acForward_ = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Вперед"));
    acForward_->setObjectName(QStringLiteral("acHelpForward"));
    acForward_->setShortcut(QKeySequence::Forward);
    acForward_->setToolTip(QStringLiteral("Вперед (Alt+Вправо)"));
    acForward_->setEnabled(false);

    acHome_ = toolBar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Начало"));
    acHome_->setObjectName(QStringLiteral("acHelpHome"));
    acHome_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    acHome_->setToolTip(QStringLiteral("Начальная страница справки (Alt+Home)"));

    toolBar->addSeparator();
    auto* acZoomIn = toolBar->addAction(QStringLiteral("Крупнее"));
    acZoomIn->setObjectName(QStringLiteral("acHelpZoomIn"));
    acZoomIn->setShortcut(QKeySequence::ZoomIn);
    acZoomIn->setToolTip(QStringLiteral("Увеличить шрифт (Ctrl++)"));
    auto* acZoomOut = toolBar->addAction(QStringLiteral("Мельче"));
    acZoomOut->setObjectName(QStringLiteral("acHelpZoomOut"));
    acZoomOut->setShortcut(QKeySequence::ZoomOut);
    acZoomOut->setToolTip(QStringLiteral("Уменьшить шрифт (Ctrl+-)"));

    auto* acClose = new QAction(QStringLiteral("Закрыть"), this);
    acClose->setObjectName(QStringLiteral("acHelpClose"));
    acClose->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(acClose);

    browser_ = new THelpBrowser;
    browser_->setHelpFile(&file_);

    // Left side: contents, index, search.
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabsHelp"));

    tvContents_ = new QTreeWidget;
    tvContents_->setObjectName(QStringLiteral("tvContents"));
    tvContents_->setHeaderHidden(true);
    tvContents_->setColumnCount(1);
    tabs_->addTab(tvContents_, QStringLiteral("Содержание"));

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexLayout->addWidget(new QLabel(QStringLiteral("Введите начало слова:")));
    edIndex_ = new QLineEdit;
    edIndex_->setObjectName(QStringLiteral("edIndex"));
    indexLayout->addWidget(edIndex_);
    lbIndex_ = new QListWidget;
    lbIndex_->setObjectName(QStringLiteral("lbIndex"));
    indexLayout->addWidget(lbIndex_);
    tabs_->addTab(indexPage, QStringLiteral("Указатель"));

    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(4, 4, 4, 4);
    searchLayout->addWidget(new QLabel(QStringLiteral("Слова для поиска:")));
    auto* searchRow = new QHBoxLayout;
    edSearch_ = new QLineEdit;
    edSearch_->setObjectName(QStringLiteral("edSearch"));
    btnSearch_ = new QPushButton(QStringLiteral("Найти"));
    btnSearch_->setObjectName(QStringLiteral("btnSearch"));
    searchRow->addWidget(edSearch_);
    searchRow->addWidget(btnSearch_);
    searchLayout->addLayout(searchRow);
    lbSearch_ = new QListWidget;
    lbSearch_->setObjectName(QStringLiteral("lbSearch"));
    searchLayout->addWidget(lbSearch_);
    tabs_->addTab(searchPage, QStringLiteral("Поиск"));

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    setCentralWidget(splitter);

    connect(acBack_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(acForward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(acHome_, &QAction::triggered, this, &TfrmHelp::showStartPage);
    connect(acZoomIn, &QAction::triggered, browser_, [this] { browser_->zoomIn(1); });
    connect(acZoomOut, &QAction::triggered, browser_, [this] { browser_->zoomOut(1); });
    connect(acClose, &QAction::triggered, this, &QWidget::close);
    connect(browser_, &QTextBrowser::backwardAvailable, acBack_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, acForward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::anchorClicked, this, &TfrmHelp::followLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, &TfrmHelp::onSourceChanged);
    connect(tvContents_, &QTreeWidget::itemClicked, this, &TfrmHelp::onContentsItem);
    connect(tvContents_, &QTreeWidget::itemActivated, this, &TfrmHelp::onContentsItem);
    connect(edIndex_, &QLineEdit::textEdited, this, &TfrmHelp::onIndexTextEdited);
    connect(edIndex_, &QLineEdit::returnPressed, this, [this] { onIndexItem(lbIndex_->currentItem()); });
    connect(lbIndex_, &QListWidget::itemActivated, this, &TfrmHelp::onIndexItem);
    connect(lbIndex_, &QListWidget::itemClicked, this, &TfrmHelp::onIndexItem);
    connect(edSearch_, &QLineEdit::returnPressed, this, &TfrmHelp::runSearch);
    connect(btnSearch_, &QPushButton::clicked, this, &TfrmHelp::runSearch);
    connect(lbSearch_, &QListWidget::itemActivated, this, &TfrmHelp::onSearchItem);
    connect(lbSearch_, &QListWidget::itemClicked, this, &TfrmHelp::onSearchItem);
    // A tab with a box to type in puts the cursor there.
    connect(tabs_, &QTabWidget::currentChanged, this, [this, indexPage, searchPage](int index) {
        QWidget* page = tabs_->widget(index);
        if (page == searchPage) edSearch_->setFocus();
        else if (page == indexPage) edIndex_->setFocus();
    });
}

bool TfrmHelp::openFile(const QString& path) {
    const QFileInfo info(path);
    if (file_.isOpen() && file_.path() == path && info.lastModified() == fileTime_ && info.size() == fileSize_)
        return true;
    if (!file_.open(path)) {
        fillContents();
        fillIndex();
        return false;
    }
    fileTime_ = info.lastModified();
    fileSize_ = info.size();
    browser_->clearHistory();
    fillContents();
    fillIndex();
    lbSearch_->clear();
    return true;
}

bool TfrmHelp::showAddress(const QString& address) {
    const auto parsed = parseHelpAddress(address);
    if (!parsed || !openFile(parsed->file)) return false;
    showPage(parsed->page, parsed->fragment);
    return true;
}

void TfrmHelp::showPage(const QString& page, const QString& fragment) {
    browser_->setSource(THelpBrowser::pageUrl(page, fragment), QTextDocument::HtmlResource);
}

void TfrmHelp::showStartPage() { showPage(helpStartPage(file_)); }

QString TfrmHelp::currentPage() const {
    const QUrl url = browser_->source();
    return THelpBrowser::isHelpUrl(url) ? url.path() : QString();
}

QString TfrmHelp::pageTitle() const { return browser_->documentTitle(); }

void TfrmHelp::present(QWidget* caller) {
    // While a modal dialog runs, every other window is blocked; a window of
    // that dialog is not. Otherwise the help window stands on its own, so
    // that it can go behind the main window.
    QWidget* host = QApplication::activeModalWidget();
    if (host && host->window() == this) host = parentWidget();
    if (host != parentWidget()) {
        const QRect placed = geometry();
        setParent(host, Qt::Window);
        setAttribute(Qt::WA_QuitOnClose, false);
        if (placed_) setGeometry(placed);
    }
    if (!placed_) {
        resize(900, 650);
        const QWidget* near = host ? host : (caller ? caller->window() : nullptr);
        const QScreen* screen = near ? near->screen() : QApplication::primaryScreen();
        if (screen) move(screen->availableGeometry().center() - rect().center());
        placed_ = true;
    }
    if (isMinimized()) showNormal();
    else show();
    raise();
    activateWindow();
}

void TfrmHelp::followLink(const QUrl& url) {
    const QUrl target = url.isRelative() ? browser_->source().resolved(url) : url;
    switch (helpLinkTarget(target)) {
    case HelpLinkTarget::Page: browser_->setSource(target, QTextDocument::HtmlResource); break;
    case HelpLinkTarget::HelpAddress: showAddress(target.toString()); break;
    case HelpLinkTarget::Outside: QDesktopServices::openUrl(target); break;
    }
}

void TfrmHelp::runSearch() {
    lbSearch_->clear();
    const QString query = edSearch_->text().simplified();
    searchWord_ = query.section(u' ', 0, 0);
    if (query.isEmpty()) return;
    const auto hits = searchHelp(file_, query);
    for (const auto& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, lbSearch_);
        item->setData(kLocalRole, hit.page);
    }
    if (hits.isEmpty()) {
        auto* item = new QListWidgetItem(QStringLiteral("Ничего не найдено"), lbSearch_);
        item->setFlags(Qt::NoItemFlags);
    } else {
        lbSearch_->setCurrentRow(0);
    }
}

void TfrmHelp::onSourceChanged(const QUrl& url) {
    // The browser tells before its history has the new page, so the page is
    // taken from the signal, not from source().
    const QString title = pageTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Справка") : QStringLiteral("Справка — ") + title);
    selectContentsItemFor(THelpBrowser::isHelpUrl(url) ? url.path() : QString());
}

void TfrmHelp::onContentsItem(QTreeWidgetItem* item) {
    if (!item || syncing_) return;
    const QString local = item->data(0, kLocalRole).toString();
    if (!local.isEmpty()) showLocal(local);
}

void TfrmHelp::onIndexTextEdited(const QString& text) {
    const int row = findHelpIndexLine(indexLines_, text);
    if (QListWidgetItem* item = row >= 0 ? lbIndex_->item(row) : nullptr) {
        lbIndex_->setCurrentItem(item);
        lbIndex_->scrollToItem(item, QAbstractItemView::PositionAtTop);
    }
}

void TfrmHelp::onIndexItem(QListWidgetItem* item) {
    if (!item) return;
    const QString local = item->data(kLocalRole).toString();
    if (!local.isEmpty()) showLocal(local);
}

void TfrmHelp::onSearchItem(QListWidgetItem* item) {
    if (!item) return;
    const QString page = item->data(kLocalRole).toString();
    if (page.isEmpty()) return;
    showPage(page);
    if (!searchWord_.isEmpty()) browser_->find(searchWord_);
}

void TfrmHelp::showLocal(const QString& local) {
    const auto [page, fragment] = splitHelpLocal(local);
    if (page.isEmpty()) return;
    showPage(page, fragment);
}

namespace {

void addTopics(QTreeWidgetItem* parent, QTreeWidget* tree, const QList<HelpTopic>& topics) {
    for (const HelpTopic& topic : topics) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, topic.name.isEmpty() ? topic.local : topic.name);
        item->setData(0, kLocalRole, topic.local);
        addTopics(item, tree, topic.children);
    }
}

}  // namespace

void TfrmHelp::fillContents() {
    tvContents_->clear();
    const HelpContents contents = readHelpContents(file_);
    addTopics(nullptr, tvContents_, contents.topics);
    contentsEntryOfPage_ = contents.entryOfPage;
    tvContents_->expandAll();
}

void TfrmHelp::fillIndex() {
    lbIndex_->clear();
    indexLines_ = readHelpIndex(file_);
    for (const HelpIndexLine& line : std::as_const(indexLines_)) {
        auto* item = new QListWidgetItem(line.text, lbIndex_);
        item->setData(kLocalRole, line.local);
    }
}

void TfrmHelp::selectContentsItemFor(const QString& page) {
    QTreeWidgetItem* item = nullptr;
    if (!page.isEmpty() && contentsEntryOfPage_.contains(helpPageKey(page))) {
        const QList<int> path = contentsEntryOfPage_.value(helpPageKey(page));
        item = tvContents_->topLevelItem(path.first());
        for (int i = 1; item && i < path.size(); ++i) item = item->child(path[i]);
    }
    syncing_ = true;
    if (item) {
        tvContents_->setCurrentItem(item);
        tvContents_->scrollToItem(item);
    } else {
        tvContents_->clearSelection();
    }
    syncing_ = false;
}
