#include "base/HelpContents.h"

#include <algorithm>

namespace {

const QString kScheme = QStringLiteral("chm");

void indexPages(const QList<HelpTopic>& topics, QList<int>& path, QHash<QString, QList<int>>& byPage) {
    for (int i = 0; i < topics.size(); ++i) {
        path.append(i);
        const QString page = splitHelpLocal(topics[i].local).first;
        if (!page.isEmpty() && !byPage.contains(helpPageKey(page))) byPage.insert(helpPageKey(page), path);
        indexPages(topics[i].children, path, byPage);
        path.removeLast();
    }
}

void addIndexLines(QList<HelpIndexLine>& lines, const QList<HelpTopic>& topics, const QString& indent) {
    for (const HelpTopic& topic : topics) {
        lines.append({indent + topic.name, topic.local});
        addIndexLines(lines, topic.children, indent + QStringLiteral("    "));
    }
}

}  // namespace

QUrl helpPageUrl(const QString& page, const QString& fragment) {
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(normalizeHelpPage(page));
    if (!fragment.isEmpty()) url.setFragment(fragment);
    return url;
}

bool isHelpPageUrl(const QUrl& url) { return url.scheme() == kScheme; }

std::pair<QString, QString> splitHelpLocal(const QString& local) {
    QString page = local;
    QString fragment;
    const qsizetype hash = page.indexOf(u'#');
    if (hash >= 0) {
        fragment = page.mid(hash + 1);
        page.truncate(hash);
    }
    return {page, fragment};
}

QString helpPageKey(const QString& page) { return normalizeHelpPage(page).toLower(); }

QString helpStartPage(const ChmFile& file) {
    QString start = file.defaultTopic();
    if (start.isEmpty() || !file.contains(start)) start = QStringLiteral("/index.htm");
    if (!file.contains(start)) {
        const QStringList files = file.files();
        const auto page = std::find_if(files.cbegin(), files.cend(), [](const QString& f) {
            return f.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive) ||
                   f.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive);
        });
        if (page != files.cend()) start = *page;
    }
    return start;
}

QString missingHelpPageHtml(const QString& page) {
    return QStringLiteral("<html><head><title>Страница не найдена</title></head><body>"
                          "<h1>Страница не найдена</h1><p>В файле справки нет страницы «%1».</p>"
                          "</body></html>")
        .arg(page.mid(1).toHtmlEscaped());
}

QVariant readHelpResource(const ChmFile* file, const QString& path, HelpResourceKind kind) {
    const auto data = file ? file->read(path) : std::nullopt;
    if (kind == HelpResourceKind::Page) return data ? decodeHtml(*data) : missingHelpPageHtml(path);
    if (!data) return {};
    if (kind == HelpResourceKind::StyleSheet) return QString::fromUtf8(*data);
    return *data;
}

HelpContents readHelpContents(const ChmFile& file) {
    HelpContents contents;
    if (!file.isOpen() || file.contentsFile().isEmpty()) return contents;
    const auto data = file.read(file.contentsFile());
    if (!data) return contents;
    contents.topics = parseSitemap(*data);
    QList<int> path;
    indexPages(contents.topics, path, contents.entryOfPage);
    return contents;
}

QList<HelpIndexLine> readHelpIndex(const ChmFile& file) {
    QList<HelpIndexLine> lines;
    if (!file.isOpen() || file.indexFile().isEmpty()) return lines;
    const auto data = file.read(file.indexFile());
    if (!data) return lines;
    QList<HelpTopic> entries = parseSitemap(*data);
    std::stable_sort(entries.begin(), entries.end(), [](const HelpTopic& a, const HelpTopic& b) {
        return a.name.localeAwareCompare(b.name) < 0;
    });
    addIndexLines(lines, entries, QString());
    return lines;
}

int findHelpIndexLine(const QList<HelpIndexLine>& lines, const QString& typed) {
    const QString wanted = typed.trimmed();
    if (wanted.isEmpty()) return -1;
    for (int row = 0; row < lines.size(); ++row)
        if (lines[row].text.trimmed().startsWith(wanted, Qt::CaseInsensitive)) return row;
    return -1;
}

HelpLinkTarget helpLinkTarget(const QUrl& resolved) {
    if (isHelpPageUrl(resolved)) return HelpLinkTarget::Page;
    if (parseHelpAddress(resolved.toString())) return HelpLinkTarget::HelpAddress;
    return HelpLinkTarget::Outside;
}
