// The preset in the settings file, an INI file as QSettings reads and writes it:
//
//   [General]
//   Preset=180
//
// The file is the user's as much as ours: it may carry comments, other sections, keys we do
// not know, CRLF line endings, or be a link that a dotfile manager keeps. A store changes the
// one line and keeps every other byte, and writes a new file beside the old one that takes its
// place only once it is wholly on the disk, so a full disk or a crash leaves the old file. There
// is no lock file: the new file replaces the old in one step, so two programs storing at once
// leave one whole file, and a lock left behind can never make us wait.

#include "PresetStore.h"

#include "Platform.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

constexpr quint32 LongestPreset = 3599;
const QByteArray Utf8Mark = "\xEF\xBB\xBF";

// ---- The text -------------------------------------------------------------------------------

// One line of the file: [Begin, End) its text, [End, Next) its line ending ("\n", "\r\n", "\r"
// or nothing at the end of the file).
struct TLine {
  qsizetype Begin = 0, End = 0, Next = 0;
};

QList<TLine> SplitLines(const QByteArray& text) {
  QList<TLine> lines;
  qsizetype at = text.startsWith(Utf8Mark) ? Utf8Mark.size() : 0;
  while (at < text.size()) {
    TLine line{at, at, at};
    while (line.End < text.size() && text[line.End] != '\n' && text[line.End] != '\r')
      ++line.End;
    line.Next = line.End;
    if (line.Next < text.size() && text[line.Next] == '\r')
      ++line.Next;
    if (line.Next < text.size() && text[line.Next] == '\n' && (line.Next == line.End || text[line.End] == '\r'))
      ++line.Next;
    lines << line;
    at = line.Next;
  }
  return lines;
}

// What the lines of the file are to the preset.
struct TLayout {
  QList<TLine> Lines;
  QList<qsizetype> Presets;         // the Preset lines of [General]
  qsizetype GeneralHeader = -1;     // the line "[General]", -1: none
  qsizetype FirstHeader = -1;       // the first section's line, -1: none
};

TLayout Layout(const QByteArray& text) {
  TLayout layout;
  layout.Lines = SplitLines(text);
  bool general = true;  // keys before the first section belong to [General]
  for (qsizetype i = 0; i < layout.Lines.size(); ++i) {
    const QByteArray line = text.mid(layout.Lines[i].Begin, layout.Lines[i].End - layout.Lines[i].Begin).trimmed();
    if (line.startsWith('[')) {
      const qsizetype close = line.indexOf(']');
      general = line.mid(1, close < 0 ? -1 : close - 1).trimmed().compare("General", Qt::CaseInsensitive) == 0;
      if (layout.FirstHeader < 0)
        layout.FirstHeader = i;
      if (general && layout.GeneralHeader < 0)
        layout.GeneralHeader = i;
    } else if (general && line.contains('=') && line.left(line.indexOf('=')).trimmed() == "Preset") {
      layout.Presets << i;
    }
  }
  return layout;
}

// Seconds from 1 to 3599 in a value written as decimal digits, quoted or not.
std::optional<quint32> Seconds(QByteArray value) {
  value = value.trimmed();
  if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
    value = value.mid(1, value.size() - 2);
  if (value.isEmpty())
    return std::nullopt;
  quint32 seconds = 0;
  for (const char c : value) {
    if (c < '0' || c > '9')
      return std::nullopt;
    seconds = std::min(seconds * 10 + quint32(c - '0'), LongestPreset + 1);
  }
  if (seconds < 1 || seconds > LongestPreset)
    return std::nullopt;
  return seconds;
}

std::optional<quint32> PresetIn(const QByteArray& text) {
  const TLayout layout = Layout(text);
  if (layout.Presets.isEmpty())
    return std::nullopt;
  const TLine& line = layout.Lines[layout.Presets.last()];  // the last one counts, as for QSettings
  const qsizetype equals = text.indexOf('=', line.Begin);
  return Seconds(text.mid(equals + 1, line.End - equals - 1));
}

// The text with every Preset line of [General] saying seconds; where there is none, a line
// after "[General]", or a [General] section before the first other one.
QByteArray WithPreset(const QByteArray& text, quint32 seconds) {
  const TLayout layout = Layout(text);
  const auto ending = std::find_if(layout.Lines.begin(), layout.Lines.end(), [](const TLine& l) { return l.Next > l.End; });
  const QByteArray newline = ending == layout.Lines.end() ? QByteArray("\n") : text.mid(ending->End, ending->Next - ending->End);
  const QByteArray entry = "Preset=" + QByteArray::number(seconds);
  QByteArray result = text;
  if (!layout.Presets.isEmpty()) {
    for (auto i = layout.Presets.rbegin(); i != layout.Presets.rend(); ++i)
      result.replace(layout.Lines[*i].Begin, layout.Lines[*i].End - layout.Lines[*i].Begin, entry);
    return result;
  }
  if (layout.GeneralHeader >= 0) {
    const TLine& header = layout.Lines[layout.GeneralHeader];
    const bool ended = header.Next > header.End;
    return result.insert(header.Next, ended ? entry + newline : newline + entry + newline);
  }
  if (layout.FirstHeader >= 0)
    return result.insert(layout.Lines[layout.FirstHeader].Begin, "[General]" + newline + entry + newline);
  if (!layout.Lines.isEmpty() && layout.Lines.last().Next == layout.Lines.last().End)
    result += newline;
  return result + "[General]" + newline + entry + newline;
}

// ---- The file -------------------------------------------------------------------------------

QString ErrnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Reads a whole regular file; never opens anything else, nor waits on a FIFO put there.
bool ReadFile(const QByteArray& name, QByteArray* text, QString* reason) {
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error = fd < 0 ? errno : EINVAL;
    if (fd >= 0)
      ::close(fd);
    *reason = fd < 0 ? QStringLiteral("the file cannot be read (%1)").arg(ErrnoText(error))
                     : QStringLiteral("it is not a regular file");
    return false;
  }
  text->clear();
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0)
      break;
    if (count < 0 && errno == EINTR)
      continue;
    if (count < 0) {
      *reason = QStringLiteral("the file cannot be read (%1)").arg(ErrnoText(errno));
      ::close(fd);
      return false;
    }
    text->append(buffer, count);
  }
  ::close(fd);
  return true;
}

bool WriteAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t count = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (count < 0 && errno == EINTR)
      continue;
    if (count <= 0) {
      errno = count == 0 ? EIO : errno;
      return false;
    }
    done += count;
  }
  return true;
}

// A file the user made read-only stays as it is, although a new one could take its place.
bool Writable(const QByteArray& name, QString* reason) {
  const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    *reason = QStringLiteral("the file cannot be written (%1)").arg(ErrnoText(errno));
    return false;
  }
  ::close(fd);
  return true;
}

// Creates the folders of a path that are missing, as mkdir -p does.
bool MakeFolders(const QByteArray& folder) {
  for (qsizetype slash = folder.indexOf('/', 1); ; slash = folder.indexOf('/', slash + 1)) {
    const QByteArray part = slash < 0 ? folder : folder.left(slash);
    if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
      return false;
    if (slash < 0)
      return true;
  }
}

QByteArray FolderOf(const QByteArray& name) {
  const qsizetype slash = name.lastIndexOf('/');
  return slash <= 0 ? QByteArray("/") : name.left(slash);
}

// Puts text in place of the file name in one step: a new file beside it, wholly written and on
// the disk, renamed over it. original: the old file's mode and owner, which the new one keeps.
bool ReplaceFile(const QByteArray& name, const QByteArray& text, const struct stat* original, QString* reason) {
  QByteArray temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temporary = name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0 && errno != EEXIST)
      break;
  }
  if (fd < 0) {
    *reason = QStringLiteral("its folder cannot be written (%1)").arg(ErrnoText(errno));
    return false;
  }
  if (original) {
    [[maybe_unused]] const int owned = ::fchown(fd, original->st_uid, original->st_gid);
    ::fchmod(fd, original->st_mode & 07777);
  }
  const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.constData(), name.constData()) != 0) {
    *reason = ErrnoText(!written ? writeError : errno);
    ::unlink(temporary.constData());
    return false;
  }
  // The new name on the disk as well; the file is in place whatever this gives.
  if (const int folder = ::open(FolderOf(name).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

// The file a store writes: the settings file, or the file its link leads to, so that the link
// stays a link. Empty, with the reason, where there is none to write.
QByteArray WriteTarget(const QByteArray& name, struct stat* info, bool* exists, QString* reason) {
  struct stat link {};
  if (::lstat(name.constData(), &link) != 0) {
    *exists = false;
    if (errno != ENOENT) {
      *reason = QStringLiteral("the file cannot be reached (%1)").arg(ErrnoText(errno));
      return {};
    }
    if (MakeFolders(FolderOf(name)))
      return name;
    *reason = QStringLiteral("its folder %1 cannot be created (%2)").arg(QFile::decodeName(FolderOf(name)), ErrnoText(errno));
    return {};
  }
  QByteArray target = name;
  if (S_ISLNK(link.st_mode)) {
    char resolved[PATH_MAX];
    if (!::realpath(name.constData(), resolved)) {
      const int error = errno;
      const ssize_t length = ::readlink(name.constData(), resolved, sizeof resolved);
      *reason = QStringLiteral("it is a link to %1, which cannot be followed (%2)")
                    .arg(QFile::decodeName(QByteArray(resolved, std::max<ssize_t>(length, 0))), ErrnoText(error));
      return {};
    }
    target = resolved;
  }
  *exists = true;
  if (::stat(target.constData(), info) != 0 || !S_ISREG(info->st_mode)) {
    *reason = QStringLiteral("it is not a regular file");
    return {};
  }
  return target;
}

} // namespace

QString PresetLocation() { return QFile::decodeName(SettingsFileName()); }

TStoreKind PresetStoreKind() {
  const QByteArray name = SettingsFileName();
  struct stat info {};
  if (name.isEmpty())
    return TStoreKind::Other;
  // Follows links: a dangling link is a file yet to be made.
  if (::stat(name.constData(), &info) != 0)
    return TStoreKind::Absent;
  return S_ISREG(info.st_mode) ? TStoreKind::Regular : TStoreKind::Other;
}

std::optional<quint32> ReadPreset() {
  if (PresetStoreKind() != TStoreKind::Regular)
    return std::nullopt;
  QByteArray text;
  QString reason;
  if (!ReadFile(SettingsFileName(), &text, &reason))
    return std::nullopt;
  return PresetIn(text);
}

bool WritePreset(quint32 seconds, QString* reason) {
  const QByteArray name = SettingsFileName();
  if (name.isEmpty()) {
    *reason = QStringLiteral("no usable folder");
    return false;
  }
  struct stat info {};
  bool exists = false;
  const QByteArray target = WriteTarget(name, &info, &exists, reason);
  QByteArray text;
  if (target.isEmpty() || (exists && (!ReadFile(target, &text, reason) || !Writable(target, reason))))
    return false;
  return ReplaceFile(target, WithPreset(text, seconds), exists ? &info : nullptr, reason);
}

} // namespace Platform
