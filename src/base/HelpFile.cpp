#include "base/HelpFile.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <chm_lib.h>

// ---------------------------------------------------------------------------
// Addresses

QString normalizeHelpPage(const QString& page) {
    QString p = page.trimmed();
    p.replace(u'\\', u'/');
    if (!p.startsWith(u'/')) p.prepend(u'/');
    return p;
}

std::optional<HelpAddress> parseHelpAddress(const QString& address) {
    static const QString schemes[] = {QStringLiteral("ms-its:"), QStringLiteral("mk:@MSITStore:")};
    const QString text = address.trimmed();
    QString rest;
    bool known = false;
    for (const QString& scheme : schemes) {
        if (text.startsWith(scheme, Qt::CaseInsensitive)) {
            rest = text.mid(scheme.size());
            known = true;
            break;
        }
    }
    if (!known) return std::nullopt;

    const qsizetype sep = rest.indexOf(QStringLiteral("::"));
    if (sep < 0) return std::nullopt;
    HelpAddress result;
    result.file = rest.left(sep).trimmed();
    if (result.file.isEmpty()) return std::nullopt;

    QString page = rest.mid(sep + 2);
    const qsizetype hash = page.indexOf(u'#');
    if (hash >= 0) {
        result.fragment = page.mid(hash + 1);
        page.truncate(hash);
    }
    result.page = normalizeHelpPage(page);
    if (result.page == QStringLiteral("/")) return std::nullopt;
    return result;
}

QString makeHelpAddress(const QString& file, const QString& page) {
    return QStringLiteral("ms-its:") + file + QStringLiteral("::") + normalizeHelpPage(page);
}

// ---------------------------------------------------------------------------
// HTML text

QString decodeHtmlEntities(const QString& text) {
    if (!text.contains(u'&')) return text;
    static const QHash<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},   {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},    {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},  {QStringLiteral("nbsp"), QString(QChar(0x00A0))},
        {QStringLiteral("laquo"), QString(QChar(0x00AB))}, {QStringLiteral("raquo"), QString(QChar(0x00BB))},
        {QStringLiteral("mdash"), QString(QChar(0x2014))}, {QStringLiteral("ndash"), QString(QChar(0x2013))},
        {QStringLiteral("hellip"), QString(QChar(0x2026))}, {QStringLiteral("rarr"), QString(QChar(0x2192))},
        {QStringLiteral("larr"), QString(QChar(0x2190))},  {QStringLiteral("copy"), QString(QChar(0x00A9))},
    };
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|[A-Za-z]+);"));
    QString out;
    qsizetype last = 0;
    auto it = entity.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        QString replacement = m.captured(0);
        if (name.startsWith(u'#')) {
            bool ok = false;
            const uint code = (name.size() > 1 && (name[1] == u'x' || name[1] == u'X'))
                                  ? name.mid(2).toUInt(&ok, 16)
                                  : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t c = code;
                replacement = QString::fromUcs4(&c, 1);
            }
        } else if (const auto found = named.constFind(name); found != named.cend()) {
            replacement = *found;
        }
        out += replacement;
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

QString decodeHtml(const QByteArray& data) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(data);
}

QString htmlTitle(const QString& html) {
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title\\s*>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    const auto m = title.match(html);
    if (!m.hasMatch()) return {};
    return decodeHtmlEntities(m.captured(1)).simplified();
}

// ---------------------------------------------------------------------------
// Sitemaps

namespace {

QHash<QString, QString> tagAttributes(const QString& text) {
    static const QRegularExpression attr(
        QStringLiteral("([A-Za-z_:-]+)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"));
    QHash<QString, QString> result;
    auto it = attr.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        QString value = m.captured(2);
        if (m.capturedStart(2) < 0) value = m.captured(3);
        if (m.capturedStart(3) < 0 && m.capturedStart(2) < 0) value = m.captured(4);
        result.insert(m.captured(1).toLower(), decodeHtmlEntities(value));
    }
    return result;
}

}  // namespace

QList<HelpTopic> parseSitemap(const QByteArray& data) {
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const QString text = decodeHtml(data).remove(comment);
    static const QRegularExpression tag(QStringLiteral("<\\s*(/?)\\s*([A-Za-z]+)([^>]*)>"));

    QList<HelpTopic> root;
    // Lists being filled: the outermost list is the root, a nested <UL> fills
    // the children of the entry just before it.
    QList<QList<HelpTopic>*> stack{&root};
    int ulDepth = 0;
    bool inEntry = false;
    HelpTopic entry;

    auto it = tag.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        const bool closing = !m.captured(1).isEmpty();
        const QString name = m.captured(2).toLower();
        if (name == QStringLiteral("ul")) {
            if (!closing) {
                if (ulDepth > 0) {
                    QList<HelpTopic>* current = stack.last();
                    stack.append(current->isEmpty() ? current : &current->last().children);
                }
                ++ulDepth;
            } else if (ulDepth > 0) {
                --ulDepth;
                if (ulDepth > 0 && stack.size() > 1) stack.removeLast();
            }
        } else if (name == QStringLiteral("object")) {
            if (!closing) {
                const auto attrs = tagAttributes(m.captured(3));
                inEntry = attrs.value(QStringLiteral("type")).compare(QStringLiteral("text/sitemap"),
                                                                      Qt::CaseInsensitive) == 0;
                entry = HelpTopic{};
            } else if (inEntry) {
                inEntry = false;
                if (!entry.name.isEmpty() || !entry.local.isEmpty()) stack.last()->append(entry);
            }
        } else if (name == QStringLiteral("param") && inEntry) {
            const auto attrs = tagAttributes(m.captured(3));
            const QString key = attrs.value(QStringLiteral("name")).toLower();
            const QString value = attrs.value(QStringLiteral("value"));
            if (key == QStringLiteral("name") && entry.name.isEmpty()) entry.name = value.simplified();
            else if (key == QStringLiteral("local") && entry.local.isEmpty()) entry.local = value.trimmed();
        }
    }
    return root;
}

// ---------------------------------------------------------------------------
// ChmFile

ChmFile::~ChmFile() { close(); }

bool ChmFile::open(const QString& path) {
    close();
    if (path.isEmpty() || !QFile::exists(path)) return false;
    handle_ = chm_open(QFile::encodeName(path).constData());
    if (!handle_) return false;
    path_ = path;
    readSystemRecord();
    return true;
}

void ChmFile::close() {
    if (handle_) chm_close(handle_);
    handle_ = nullptr;
    path_.clear();
    title_.clear();
    defaultTopic_.clear();
    contentsFile_.clear();
    indexFile_.clear();
}

namespace {

int collectFile(chmFile*, chmUnitInfo* ui, void* context) {
    auto* names = static_cast<QStringList*>(context);
    const QString name = QString::fromUtf8(ui->path);
    // Internal files of the format and the compiler's own note are not pages.
    if (name.size() > 1 && !name.startsWith(QStringLiteral("/#")) && !name.startsWith(QStringLiteral("/$")) &&
        !name.startsWith(QStringLiteral("::")) && !name.contains(QStringLiteral("_#_")) &&
        !name.endsWith(u'/'))
        names->append(name);
    return CHM_ENUMERATOR_CONTINUE;
}

// Text of a system-record entry: UTF-8 when valid, else the Russian code page.
QString systemText(const QByteArray& bytes) {
    QByteArray b = bytes;
    const qsizetype nul = b.indexOf('\0');
    if (nul >= 0) b.truncate(nul);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString s = utf8.decode(b);
    if (!utf8.hasError()) return s;
    QStringDecoder cp1251("windows-1251");
    if (cp1251.isValid()) return cp1251.decode(b);
    return QString::fromLatin1(b);
}

}  // namespace

QStringList ChmFile::files() const {
    QStringList names;
    if (!handle_) return names;
    chm_enumerate(handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectFile, &names);
    // The compiler may store a linked page twice; list it once.
    QSet<QString> seen;
    QStringList unique;
    for (const QString& n : names)
        if (!seen.contains(n.toLower())) {
            seen.insert(n.toLower());
            unique.append(n);
        }
    return unique;
}

bool ChmFile::contains(const QString& path) const {
    if (!handle_) return false;
    chmUnitInfo ui{};
    const QByteArray p = normalizeHelpPage(path).toUtf8();
    return chm_resolve_object(handle_, p.constData(), &ui) == CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> ChmFile::read(const QString& path) const {
    if (!handle_) return std::nullopt;
    chmUnitInfo ui{};
    const QByteArray p = normalizeHelpPage(path).toUtf8();
    if (chm_resolve_object(handle_, p.constData(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    QByteArray data;
    if (ui.length == 0) return data;
    data.resize(static_cast<qsizetype>(ui.length));
    const LONGINT64 got = chm_retrieve_object(handle_, &ui, reinterpret_cast<unsigned char*>(data.data()), 0,
                                              static_cast<LONGINT64>(ui.length));
    if (got != static_cast<LONGINT64>(ui.length)) return std::nullopt;
    return data;
}

void ChmFile::readSystemRecord() {
    // "#SYSTEM": a version word, then entries of a 16-bit code, a 16-bit
    // length and the data. 0 contents file, 1 index file, 2 default topic,
    // 3 title.
    const auto data = read(QStringLiteral("/#SYSTEM"));
    if (!data || data->size() < 4) return;
    const auto* p = reinterpret_cast<const unsigned char*>(data->constData());
    const qsizetype size = data->size();
    qsizetype pos = 4;
    while (pos + 4 <= size) {
        const int code = p[pos] | (p[pos + 1] << 8);
        const int len = p[pos + 2] | (p[pos + 3] << 8);
        pos += 4;
        if (pos + len > size) break;
        const QByteArray value = data->mid(pos, len);
        switch (code) {
        case 0: contentsFile_ = normalizeHelpPage(systemText(value)); break;
        case 1: indexFile_ = normalizeHelpPage(systemText(value)); break;
        case 2: defaultTopic_ = normalizeHelpPage(systemText(value)); break;
        case 3: title_ = systemText(value); break;
        default: break;
        }
        pos += len;
    }
    if (contentsFile_ == QStringLiteral("/")) contentsFile_.clear();
    if (indexFile_ == QStringLiteral("/")) indexFile_.clear();
    if (defaultTopic_ == QStringLiteral("/")) defaultTopic_.clear();
}
