#include "session/Settings.h"
#include "base/FileReplace.h"

#include "fb/Statement.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

#include <cstdio>
#include <functional>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString& overridePath() {
    static QString path;
    return path;
}

// The largest file taken for a settings file; a few keys fit in a few hundred bytes.
constexpr qint64 kMaxFileSize = 1024 * 1024;

// The file is kept as it came from disk: each line's bytes and its own line
// end (CR LF, LF, CR alone, or none on the last line), plus the text of the
// line for finding sections and keys. A write replaces or inserts one line
// and puts every other byte back as it was, in the encoding the file was read
// in: UTF-8 when the bytes are valid UTF-8 (a new file too), otherwise
// Windows-1251, as a file carried over from a Windows workstation has it.
struct Line {
    QByteArray bytes;
    QByteArray eol;
    QString text;
};

struct IniFile {
    bool exists = false;
    QString problem;  // not empty: the file is not taken (defaults, never written)
    bool win1251 = false;
    QByteArray bom;
    QList<Line> lines;

    // The line end new lines get: the file's first one, LF for a new file.
    QByteArray newline() const {
        for (const Line& l : lines)
            if (!l.eol.isEmpty()) return l.eol;
        return QByteArrayLiteral("\n");
    }
};

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder dec(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    [[maybe_unused]] const QString s = dec.decode(bytes);
    return !dec.hasError();
}

QString decodeLine(const QByteArray& bytes, bool win1251) {
    return win1251 ? fb::decodeWin1251(bytes) : QString::fromUtf8(bytes);
}

void splitLines(IniFile& file, const QByteArray& data) {
    qsizetype from = 0;
    const qsizetype n = data.size();
    while (from < n) {
        qsizetype at = from;
        while (at < n && data[at] != '\n' && data[at] != '\r') ++at;
        Line line;
        line.bytes = data.mid(from, at - from);
        if (at < n) {
            const bool crlf = data[at] == '\r' && at + 1 < n && data[at + 1] == '\n';
            line.eol = data.mid(at, crlf ? 2 : 1);
        }
        line.text = decodeLine(line.bytes, file.win1251);
        file.lines << line;
        from = at + line.eol.size();
    }
}

// Reads the file without ever blocking or swallowing memory: only a regular
// file up to kMaxFileSize is taken (a pipe, a device, a folder or a huge file
// gives a problem text instead).
IniFile loadFile() {
    IniFile file;
    const QByteArray path = QFile::encodeName(settings::filePath());
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return file;
        file.exists = true;
        file.problem = QStringLiteral("файл не открывается (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return file;
    }
    file.exists = true;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        file.problem = QStringLiteral("это не обычный файл");
        return file;
    }
    const QString tooLarge = QStringLiteral("файл больше 1 МБ");
    if (st.st_size > kMaxFileSize) {
        file.problem = tooLarge;
        return file;
    }
    QByteArray data(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < data.size()) {
        const ssize_t r = ::read(fd, data.data() + got, size_t(data.size() - got));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            file.problem = QStringLiteral("файл не читается (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return file;
        }
        if (r == 0) break;
        got += r;
        if (got > kMaxFileSize) {  // grew while being read
            file.problem = tooLarge;
            return file;
        }
        if (got == data.size()) data.resize(data.size() + 4096);
    }
    data.truncate(got);

    if (data.startsWith("\xEF\xBB\xBF")) {
        file.bom = data.left(3);
        data.remove(0, 3);
    } else {
        file.win1251 = !isValidUtf8(data);
    }
    splitLines(file, data);
    return file;
}

// Who is told about a file that is not taken or not written; without one the
// text goes to the standard error stream.
std::function<void(const QString&)>& problemReporter() {
    static std::function<void(const QString&)> reporter;
    return reporter;
}

// Said once per file per run.
QString& warnedPath() {
    static QString path;
    return path;
}

bool& writeFailureSaid() {
    static bool said = false;
    return said;
}

// A file that is not taken is said once; the program then works with the
// defaults and leaves the file alone.
IniFile readFile() {
    IniFile file = loadFile();
    if (!file.problem.isEmpty() && warnedPath() != settings::filePath()) {
        warnedPath() = settings::filePath();
        settings::reportProblem(QStringLiteral("Файл настроек ") + settings::filePath() +
                                QStringLiteral(" не прочитан: ") + file.problem +
                                QStringLiteral(".\r\rПрограмма работает с настройками по умолчанию "
                                               "и не изменяет этот файл."));
    }
    return file;
}

// A settings file that cannot be written (a read-only folder, a full disk) is
// said once per run; the settings then hold in memory until the program ends.
void reportWriteFailure(const QString& reason) {
    if (writeFailureSaid()) return;
    writeFailureSaid() = true;
    settings::reportProblem(QStringLiteral("Не удалось сохранить настройки в файл ") + settings::filePath() +
                            QStringLiteral("\r") + reason +
                            QStringLiteral("\r\rНастройки действуют до конца работы программы."));
}

// The text of a new or changed line in the file's encoding. A character that
// Windows-1251 lacks turns the whole file into UTF-8 (the other lines keep
// their text).
QByteArray encodeLine(IniFile& file, const QString& text) {
    if (file.win1251) {
        QStringEncoder enc("windows-1251");
        const QByteArray bytes = enc.encode(text);
        if (!enc.hasError()) return bytes;
        file.win1251 = false;
        for (Line& l : file.lines) l.bytes = l.text.toUtf8();
    }
    return text.toUtf8();
}

bool hasHighBytes(const QByteArray& data) {
    for (char c : data)
        if (uchar(c) >= 0x80) return true;
    return false;
}

void writeFile(IniFile file) {
    QByteArray data = file.bom;
    for (const Line& l : file.lines) data += l.bytes + l.eol;
    // A Windows-1251 file whose only bytes that are not UTF-8 were in the line
    // just replaced would be read back as UTF-8, turning its other letters into
    // different ones: such a file is written in UTF-8 as a whole.
    if (file.win1251 && hasHighBytes(data) && isValidUtf8(data)) {
        data.clear();
        for (const Line& l : file.lines) data += l.text.toUtf8() + l.eol;
    }
    QString reason;
    if (!WriteFileReplacing(settings::filePath(), data, reason)) reportWriteFailure(reason);
}

bool isSectionLine(const QString& line, QString* name = nullptr) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']')) return false;
    if (name) *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// Index of the section's header line, -1 when absent.
int findSection(const QList<Line>& lines, const QString& section) {
    QString name;
    for (int i = 0; i < lines.size(); ++i)
        if (isSectionLine(lines[i].text, &name) && name.compare(section, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

// Index of the key's line inside the section starting at `header`; -1 when absent.
// `end` receives the index after the section's last line that is not blank.
int findKey(const QList<Line>& lines, int header, const QString& key, int* end = nullptr) {
    int last = header;
    for (int i = header + 1; i < lines.size(); ++i) {
        if (isSectionLine(lines[i].text)) break;
        const QString t = lines[i].text.trimmed();
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

QString valueOf(const Line& line) {
    return line.text.mid(line.text.indexOf(u'=') + 1).trimmed();
}

// Inserts a new line before `at`; the line before it gets a line end if it had none.
void insertLine(IniFile& file, int at, const QString& text) {
    const QByteArray nl = file.newline();
    if (at > 0 && file.lines[at - 1].eol.isEmpty()) file.lines[at - 1].eol = nl;
    Line line;
    line.text = text;
    line.bytes = encodeLine(file, text);
    line.eol = nl;
    file.lines.insert(at, line);
}

}  // namespace

namespace settings {

void setProblemReporter(std::function<void(const QString&)> reporter) {
    problemReporter() = std::move(reporter);
}

void reportProblem(const QString& text) {
    if (problemReporter()) {
        problemReporter()(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

QString filePath() {
    if (!overridePath().isEmpty()) return overridePath();
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    return exe.absolutePath() + u'/' + exe.completeBaseName() + QStringLiteral(".ini");
}

void setFilePath(const QString& path) {
    overridePath() = path;
    warnedPath().clear();
    writeFailureSaid() = false;
}

QString readString(const QString& section, const QString& key, const QString& def) {
    const IniFile file = readFile();
    if (!file.problem.isEmpty()) return def;
    const int header = findSection(file.lines, section);
    if (header < 0) return def;
    const int at = findKey(file.lines, header, key);
    if (at < 0) return def;
    return valueOf(file.lines[at]);
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
    IniFile file = readFile();
    if (!file.problem.isEmpty()) return;  // not a settings file: left as it is
    const QString entry = key + u'=' + value;
    const int header = findSection(file.lines, section);
    if (header < 0) {
        if (!file.lines.isEmpty() && !file.lines.last().text.trimmed().isEmpty())
            insertLine(file, int(file.lines.size()), QString());
        insertLine(file, int(file.lines.size()), u'[' + section + u']');
        insertLine(file, int(file.lines.size()), entry);
    } else {
        int end = 0;
        const int at = findKey(file.lines, header, key, &end);
        if (at >= 0) {
            // The same value stays byte for byte as it is (spaces, encoding).
            if (file.exists && valueOf(file.lines[at]) == value) return;
            Line& line = file.lines[at];
            line.text = entry;
            line.bytes = encodeLine(file, entry);
        } else {
            insertLine(file, end, entry);
        }
    }
    writeFile(file);
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

void WriteShowHintMes() {
    settings::writeBool(QStringLiteral("Misc"), QStringLiteral("MS_ShowHintMes"), AppOptions.ShowHintMes);
}

QString DatabaseString(const TMyApplicationOptions& options) {
    switch (options.ConnectKind) {
    case 1: return options.LocalDBName;
    case 2: return options.Server + u'/' + options.Port + u':' + options.ServerDBName;
    default: return QString();
    }
}
