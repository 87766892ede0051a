#include "shell/Settings.h"

#include "app/MessageBoxes.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QWidget>

namespace {

QString& overridePath() {
    static QString path;
    return path;
}

// The file as lines; sections and keys are located in them so that comments,
// unknown keys and the order of the file survive a write.
QStringList readLines() {
    QFile f(settings::filePath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// A settings file that cannot be written (a read-only folder, a full disk) is
// said once per run; the settings then hold in memory until the program ends.
void reportWriteFailure(const QString& reason) {
    static bool said = false;
    if (said) return;
    said = true;
    TitledMessageBox(QStringLiteral("Не удалось сохранить настройки в файл ") + settings::filePath() +
                         QStringLiteral("\r") + reason +
                         QStringLiteral("\r\rНастройки действуют до конца работы программы."),
                     mbWarningOk);
}

void writeLines(const QStringList& lines) {
    QSaveFile f(settings::filePath());
    if (!f.open(QIODevice::WriteOnly)) {
        reportWriteFailure(f.errorString());
        return;
    }
    QByteArray data;
    for (const QString& l : lines) data += l.toUtf8() + '\n';
    f.write(data);
    if (!f.commit()) reportWriteFailure(f.errorString());
}

bool isSectionLine(const QString& line, QString* name = nullptr) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']')) return false;
    if (name) *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// Index of the section's header line, -1 when absent.
int findSection(const QStringList& lines, const QString& section) {
    QString name;
    for (int i = 0; i < lines.size(); ++i)
        if (isSectionLine(lines[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

// Index of the key's line inside the section starting at `header`; -1 when absent.
// `end` receives the index after the section's last line that is not blank.
int findKey(const QStringList& lines, int header, const QString& key, int* end = nullptr) {
    int last = header;
    for (int i = header + 1; i < lines.size(); ++i) {
        if (isSectionLine(lines[i])) break;
        const QString t = lines[i].trimmed();
        if (t.isEmpty()) continue;
        last = i;
        if (t.startsWith(u';')) continue;
        const int eq = t.indexOf(u'=');
        if (eq > 0 && t.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            if (end) *end = i + 1;
            return i;
        }
    }
    if (end) *end = last + 1;
    return -1;
}

}  // namespace

namespace settings {

QString filePath() {
    if (!overridePath().isEmpty()) return overridePath();
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    return exe.absolutePath() + u'/' + exe.completeBaseName() + QStringLiteral(".ini");
}

void setFilePath(const QString& path) { overridePath() = path; }

QString readString(const QString& section, const QString& key, const QString& def) {
    const QStringList lines = readLines();
    const int header = findSection(lines, section);
    if (header < 0) return def;
    const int at = findKey(lines, header, key);
    if (at < 0) return def;
    const QString& line = lines[at];
    return line.mid(line.indexOf(u'=') + 1).trimmed();
}

int readInteger(const QString& section, const QString& key, int def) {
    bool ok = false;
    const int v = readString(section, key).trimmed().toInt(&ok);
    return ok ? v : def;
}

bool readBool(const QString& section, const QString& key, bool def) {
    const QString s = readString(section, key).trimmed();
    bool ok = false;
    const int v = s.toInt(&ok);
    if (ok) return v != 0;
    if (s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0) return true;
    if (s.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0) return false;
    return def;
}

void writeString(const QString& section, const QString& key, const QString& value) {
    QStringList lines = readLines();
    const QString entry = key + u'=' + value;
    int header = findSection(lines, section);
    if (header < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines << QString();
        lines << u'[' + section + u']' << entry;
    } else {
        int end = 0;
        const int at = findKey(lines, header, key, &end);
        if (at >= 0) lines[at] = entry;
        else lines.insert(end, entry);
    }
    writeLines(lines);
}

void writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

Placement readPlacement() {
    Placement p;
    const QString s = QStringLiteral("MainForm");
    p.Left = readInteger(s, QStringLiteral("Left"), p.Left);
    p.Top = readInteger(s, QStringLiteral("Top"), p.Top);
    p.Width = readInteger(s, QStringLiteral("Width"), p.Width);
    p.Height = readInteger(s, QStringLiteral("Height"), p.Height);
    p.WindowState = readString(s, QStringLiteral("WindowState"), p.WindowState);
    return p;
}

void writePlacement(const Placement& p) {
    const QString s = QStringLiteral("MainForm");
    writeInteger(s, QStringLiteral("Left"), p.Left);
    writeInteger(s, QStringLiteral("Top"), p.Top);
    writeInteger(s, QStringLiteral("Width"), p.Width);
    writeInteger(s, QStringLiteral("Height"), p.Height);
    writeString(s, QStringLiteral("WindowState"), p.WindowState);
}

}  // namespace settings

namespace {
const QString kDatabase = QStringLiteral("Database");
}

void ReadAppOptions(TMyApplicationOptions& options) {
    options.ConnectKind = settings::readInteger(kDatabase, QStringLiteral("DB_ConnectKind"), 1);
    options.LocalDBName = settings::readString(kDatabase, QStringLiteral("DB_LocalDBName"));
    options.Server = settings::readString(kDatabase, QStringLiteral("DB_Server"));
    options.ServerDBName = settings::readString(kDatabase, QStringLiteral("DB_ServerDBName"));
    options.Port = settings::readString(kDatabase, QStringLiteral("DB_Port"), QStringLiteral("3052"));
    options.ShowHintMes = settings::readBool(QStringLiteral("Misc"), QStringLiteral("MS_ShowHintMes"), true);
}

void WriteAppOptions(const TMyApplicationOptions& options) {
    settings::writeInteger(kDatabase, QStringLiteral("DB_ConnectKind"), options.ConnectKind);
    settings::writeString(kDatabase, QStringLiteral("DB_LocalDBName"), options.LocalDBName);
    settings::writeString(kDatabase, QStringLiteral("DB_Server"), options.Server);
    settings::writeString(kDatabase, QStringLiteral("DB_ServerDBName"), options.ServerDBName);
    settings::writeString(kDatabase, QStringLiteral("DB_Port"), options.Port);
}

void writeShowHintMes() {
    settings::writeBool(QStringLiteral("Misc"), QStringLiteral("MS_ShowHintMes"), AppOptions.ShowHintMes);
}

void restorePlacement(QWidget* window) {
    if (!window) return;
    const settings::Placement p = settings::readPlacement();
    window->setGeometry(p.Left, p.Top, p.Width, p.Height);
    if (p.WindowState == QStringLiteral("wsMaximized"))
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    else
        window->setWindowState(window->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
}

void savePlacement(QWidget* window) {
    if (!window) return;
    QRect r = window->geometry();
    if (window->isMaximized() || window->isMinimized() || window->isFullScreen()) {
        const QRect normal = window->normalGeometry();
        if (normal.isValid()) r = normal;
    }
    settings::Placement p;
    p.Left = r.left();
    p.Top = r.top();
    p.Width = r.width();    // right minus left
    p.Height = r.height();  // bottom minus top
    p.WindowState = window->isMaximized() ? QStringLiteral("wsMaximized") : QStringLiteral("wsNormal");
    settings::writePlacement(p);
}

QString DatabaseString(const TMyApplicationOptions& options) {
    switch (options.ConnectKind) {
    case 1: return options.LocalDBName;
    case 2: return options.Server + u'/' + options.Port + u':' + options.ServerDBName;
    default: return QString();
    }
}
