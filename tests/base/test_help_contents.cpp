// What the help window shows beside a page, read from the help file as the
// build makes it, without a window.
#include "base/HelpContents.h"

#include <gtest/gtest.h>

namespace {

std::string s(const QString& text) { return text.toStdString(); }

const QString kBuilt = QStringLiteral(OBRIX_HELP_CHM);

// The contents entry at a path of child indexes.
const HelpTopic* entryAt(const QList<HelpTopic>& topics, const QList<int>& path) {
    const QList<HelpTopic>* level = &topics;
    const HelpTopic* topic = nullptr;
    for (int i : path) {
        if (i < 0 || i >= level->size()) return nullptr;
        topic = &level->at(i);
        level = &topic->children;
    }
    return topic;
}

// Pages in the order the contents names them, each with the path of its first entry.
void firstEntries(const QList<HelpTopic>& topics, QList<int>& path, QHash<QString, QList<int>>& first) {
    for (int i = 0; i < topics.size(); ++i) {
        path << i;
        const QString key = helpPageKey(splitHelpLocal(topics[i].local).first);
        if (!splitHelpLocal(topics[i].local).first.isEmpty() && !first.contains(key)) first.insert(key, path);
        firstEntries(topics[i].children, path, first);
        path.removeLast();
    }
}

TEST(HelpContents, AddressesLinksAndLocalsOfTheWindow) {
    EXPECT_EQ(helpPageUrl(QStringLiteral("_keys.htm"), QStringLiteral("top")).toString(),
              QStringLiteral("chm:/_keys.htm#top"));
    EXPECT_EQ(helpPageUrl(QStringLiteral("\\sub\\page.htm")).toString(), QStringLiteral("chm:/sub/page.htm"));

    struct Link { QString url; HelpLinkTarget target; };
    const Link links[] = {
        {"chm:/_docum_edit.htm#x", HelpLinkTarget::Page},
        {"ms-its:/opt/obrix/obrix.chm::/_keys.htm", HelpLinkTarget::HelpAddress},
        {"mk:@MSITStore:/a/obrix.chm::/index.htm", HelpLinkTarget::HelpAddress},
        {"https://example.org/page.htm", HelpLinkTarget::Outside},
        {"ms-its:/a/obrix.chm", HelpLinkTarget::Outside},
    };
    for (const Link& l : links) EXPECT_EQ(helpLinkTarget(QUrl(l.url)), l.target) << s(l.url);

    using P = std::pair<QString, QString>;
    EXPECT_EQ(splitHelpLocal(QStringLiteral("a.htm#part")), P("a.htm", "part"));
    EXPECT_EQ(splitHelpLocal(QStringLiteral("a.htm")), P("a.htm", ""));
    EXPECT_EQ(splitHelpLocal(QStringLiteral("#part")), P("", "part"));
    EXPECT_EQ(helpPageKey(QStringLiteral("Sub\\Page.HTM")), QStringLiteral("/sub/page.htm"));
}

TEST(HelpContents, TheBuiltFileGivesStartPageContentsIndexAndResources) {
    ChmFile file;
    ASSERT_TRUE(file.open(kBuilt)) << s(kBuilt);
    const QString start = helpStartPage(file);
    EXPECT_TRUE(file.contains(start)) << s(start);

    const QVariant page = readHelpResource(&file, start, HelpResourceKind::Page);
    EXPECT_FALSE(htmlTitle(page.toString()).isEmpty());
    const QString missing = readHelpResource(&file, QStringLiteral("/нет<такой>.htm"), HelpResourceKind::Page).toString();
    EXPECT_EQ(htmlTitle(missing), QStringLiteral("Страница не найдена"));
    EXPECT_TRUE(missing.contains(QStringLiteral("«нет&lt;такой&gt;.htm»"))) << s(missing);
    EXPECT_FALSE(readHelpResource(&file, QStringLiteral("/none.css"), HelpResourceKind::StyleSheet).isValid());
    EXPECT_FALSE(readHelpResource(nullptr, start, HelpResourceKind::Other).isValid());

    // Every page of the contents is found at its first entry.
    const HelpContents contents = readHelpContents(file);
    ASSERT_FALSE(contents.topics.isEmpty());
    QHash<QString, QList<int>> first;
    QList<int> path;
    firstEntries(contents.topics, path, first);
    EXPECT_EQ(contents.entryOfPage, first);
    for (auto it = contents.entryOfPage.cbegin(); it != contents.entryOfPage.cend(); ++it) {
        const HelpTopic* entry = entryAt(contents.topics, it.value());
        ASSERT_NE(entry, nullptr) << s(it.key());
        EXPECT_EQ(helpPageKey(splitHelpLocal(entry->local).first), it.key());
    }

    // The index: top-level entries in alphabetical order, sub-entries indented below theirs.
    const QList<HelpIndexLine> index = readHelpIndex(file);
    ASSERT_FALSE(index.isEmpty());
    QStringList top;
    for (const HelpIndexLine& line : index) {
        if (!line.text.startsWith(u' ')) top << line.text;
        else EXPECT_TRUE(line.text.startsWith(QStringLiteral("    "))) << s(line.text);
    }
    for (int i = 1; i < top.size(); ++i) EXPECT_LE(top[i - 1].localeAwareCompare(top[i]), 0) << s(top[i]);

    const QString name = index.first().text;
    EXPECT_EQ(findHelpIndexLine(index, QStringLiteral("  ") + name.left(2).toUpper() + QStringLiteral(" ")), 0);
    EXPECT_EQ(findHelpIndexLine(index, QStringLiteral("   ")), -1);
    EXPECT_EQ(findHelpIndexLine(index, QStringLiteral("ъъъъъъ")), -1);

    file.close();
    EXPECT_TRUE(readHelpContents(file).topics.isEmpty());
    EXPECT_TRUE(readHelpIndex(file).isEmpty());
}

}  // namespace
