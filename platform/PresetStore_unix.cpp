// The settings file, an INI file as QSettings reads and writes it: the preset, and the
// sections that other parts of the program keep beside it:
//
//   [General]
//   Preset=180
//
//   [Teas]
//   1\Name="Oolong, gongfu"
//   size=1
//
// The file is the user's as much as ours: it may carry comments, other sections, keys we do
// not know, CRLF line endings, or be a link that a dotfile manager keeps. A store changes the
// lines of its value or section and keeps every other byte, and writes a new file beside the
// old one that takes its place only once it is wholly on the disk, so a full disk or a crash
// leaves the old file. The new file has no name until it is whole (where the file system has
// unnamed files), then one fixed temporary name; an interrupted store leaves at most that file,
// which the next store replaces or removes. There is no lock file: the new file replaces the
// old in one step, so two programs storing at once leave one whole file, and no lock left
// behind can make us wait.
// A file over 1 MiB is not ours to read: it is neither read nor written.

#include "PresetStore.h"

#include "IniText.h"
#include "Platform.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

constexpr quint32 LongestPreset = 3599;
const QString PresetKey = QStringLiteral("Preset");

// ---- The text -------------------------------------------------------------------------------

using Ini::TItem;
using Ini::TLineKind;

bool IsKey(const TItem& item, const QString& name) { return item.Kind == TLineKind::Key && item.Name == name; }

// The last Preset of [General] counts, as QSettings reads it; 1..3599 or nothing.
std::optional<quint32> PresetIn(const QByteArray& text, const QList<TItem>& items) {
  const auto last = std::find_if(items.rbegin(), items.rend(), [](const TItem& i) { return IsKey(i, PresetKey); });
  if (last == items.rend())
    return std::nullopt;
  const std::optional<quint32> seconds = StoredNumber(Ini::ValueOf(text, last->Line));
  return seconds && *seconds >= 1 && *seconds <= LongestPreset ? seconds : std::nullopt;
}

bool EndsLine(const QByteArray& text) { return text.endsWith('\n') || text.endsWith('\r'); }

const QByteArrayView Utf8Mark = "\xEF\xBB\xBF";

// The text with lines put before all of it (after a UTF-8 mark).
QByteArray Prepended(const QByteArray& text, const QByteArray& lines) {
  const qsizetype body = text.startsWith(Utf8Mark) ? Utf8Mark.size() : 0;
  return text.first(body) + lines + text.sliced(body);
}

bool StartsSection(const QByteArray& text) {
  const QList<TItem> items = Ini::Items(text);
  return !items.isEmpty() && items.first().Kind == TLineKind::Header;
}

// The text with the Preset line that counts saying seconds, the others kept as they are;
// where there is none, a line after "[General]", or a [General] section before the first other
// one. One pass over the text.
QByteArray PresetEdited(const QByteArray& text, const QList<TItem>& items, quint32 seconds) {
  const QByteArray newline = Ini::NewlineOf(text);
  const QByteArray entry = "Preset=" + QByteArray::number(seconds);
  QByteArray result = text;
  const auto last = std::find_if(items.rbegin(), items.rend(), [](const TItem& i) { return IsKey(i, PresetKey); });
  if (last != items.rend())
    return result.replace(last->Line.Begin, last->Line.End - last->Line.Begin, entry);
  const auto isHeader = [](const TItem& i) { return i.Kind == TLineKind::Header; };
  const auto general = std::find_if(items.begin(), items.end(),
                                    [&](const TItem& i) { return isHeader(i) && i.Name.isEmpty(); });
  if (general != items.end()) {
    const qsizetype after = Ini::NextLineStart(text, general->Line.End);
    const bool ended = EndsLine(text.first(after));
    return result.insert(after, ended ? entry + newline : newline + entry + newline);
  }
  const auto first = std::find_if(items.begin(), items.end(), isHeader);
  if (first != items.end())
    return result.insert(Ini::LineStart(text, first->Line.Begin), "[General]" + newline + entry + newline);
  if (!result.isEmpty() && !EndsLine(result))
    result += newline;
  return result + "[General]" + newline + entry + newline;
}

// The entries of a section, wherever QSettings finds them: in its [section] blocks, in blocks
// of its groups ([Teas\1]) and as keys of [General] ("Teas\1\Name"). A name given twice keeps
// its first place and takes the last value, as QSettings reads it.
TStoreSection SectionIn(const QByteArray& text, const QList<TItem>& items, const QString& section) {
  const QString prefix = section + u'/';
  TStoreSection entries;
  QHash<QString, qsizetype> places;
  for (const TItem& item : items) {
    if (item.Kind != TLineKind::Key || !item.Name.startsWith(prefix))
      continue;
    // A name with an empty part ("1//Name", "1/") is none that QSettings can look up.
    const QString name = item.Name.sliced(prefix.size());
    if (name.isEmpty() || name.startsWith(u'/') || name.endsWith(u'/') || name.contains(u"//"))
      continue;
    const QString value = Ini::ValueOf(text, item.Line);
    if (const auto place = places.constFind(name); place != places.constEnd()) {
      entries[*place].Value = value;
    } else {
      places.insert(name, entries.size());
      entries.append({name, value});
    }
  }
  return entries;
}

QByteArray ValueText(const TStoreValue& value) {
  if (const QString* text = std::get_if<QString>(&value))
    return Ini::EscapedText(*text);
  if (const quint32* number = std::get_if<quint32>(&value))
    return QByteArray::number(*number);
  return std::get<bool>(value) ? "true" : "false";
}

QByteArray SectionText(const QString& section, const TStoreSection& entries, const QByteArray& newline) {
  if (entries.isEmpty())
    return {};
  QByteArray block = '[' + Ini::EscapedKey(section) + ']' + newline;
  for (const TStoreEntry& entry : entries)
    block += Ini::EscapedKey(entry.Name) + '=' + ValueText(entry.Value) + newline;
  return block;
}

// The byte ranges the section takes: each of its blocks from the header to its last line of
// text (comments after that belong to what follows), and each of its keys elsewhere.
struct TRange {
  qsizetype Begin = 0, End = 0;
  bool Block = false;  // a [section] block, not a key elsewhere
};

QList<TRange> SectionRanges(const QByteArray& text, const QList<TItem>& items, const QString& section) {
  const QString prefix = section + u'/';
  QList<TRange> ranges;
  for (qsizetype i = 0; i < items.size(); ++i) {
    const TItem& item = items[i];
    qsizetype last = i;
    if (item.Kind == TLineKind::Header && (item.Name == section || item.Name.startsWith(prefix))) {
      while (last + 1 < items.size() && items[last + 1].Kind != TLineKind::Header)
        ++last;
    } else if (item.Kind != TLineKind::Key || !item.Name.startsWith(prefix)) {
      continue;
    }
    const qsizetype begin = std::max(Ini::LineStart(text, item.Line.Begin), ranges.isEmpty() ? 0 : ranges.last().End);
    ranges.append({begin, Ini::NextLineStart(text, items[last].Line.End), item.Kind == TLineKind::Header});
    i = last;
  }
  return ranges;
}

// The text with the section's entries in the place of its first block (at the end where it
// has none) and nothing else of it left; every other byte kept. One pass over the text.
QByteArray SectionEdited(const QByteArray& text, const QList<TItem>& items, const QString& section,
                         const TStoreSection& entries, bool atEnd) {
  const QByteArray newline = Ini::NewlineOf(text);
  const QByteArray block = SectionText(section, entries, newline);
  const QList<TRange> ranges = SectionRanges(text, items, section);
  QByteArray result;
  result.reserve(text.size() + block.size() + 2 * newline.size());
  qsizetype kept = 0;
  bool placed = false;
  for (const TRange& range : ranges) {
    result.append(text.constData() + kept, range.Begin - kept);
    if (range.Block && !placed) {
      result += block;
      placed = true;
    }
    kept = range.End;
  }
  result.append(text.constData() + kept, text.size() - kept);
  if (placed || block.isEmpty())
    return result;
  if (!atEnd)
    return Prepended(result, block + (StartsSection(result) ? QByteArray() : "[General]" + newline));
  if (!result.isEmpty() && !EndsLine(result))
    result += newline;
  if (!result.isEmpty() && !result.endsWith(newline + newline))
    result += newline;  // a blank line between sections, as QSettings writes them
  return result + block;
}

// What the text says beside our own keys: every other key with its value as written. A store
// must leave it as it was.
using TMeaning = QList<std::pair<QString, QByteArrayView>>;
TMeaning Meaning(const QByteArray& text, const QList<TItem>& items, const std::function<bool(const QString&)>& ours) {
  TMeaning meaning;
  for (const TItem& item : items)
    if (item.Kind == TLineKind::Key && !ours(item.Name))
      meaning.append({item.Name, QByteArrayView(text).sliced(item.Line.Equals + 1, item.Line.End - item.Line.Equals - 1)});
  return meaning;
}

// A file whose last line runs on to its end (an unclosed quote, a backslash before the end)
// takes whatever is written after it into that line: there the new lines go before all of the
// text instead. Nothing where even that does not read back as meant.
const QString OpenEnd = QStringLiteral("a line of it runs on to its end (an unclosed quote or a final backslash)");

std::optional<QByteArray> WithPreset(const QByteArray& text, quint32 seconds) {
  const auto ours = [](const QString& name) { return name == PresetKey; };
  const QList<TItem> items = Ini::Items(text);
  const TMeaning before = Meaning(text, items, ours);
  const auto meant = [&](const QByteArray& result) {
    const QList<TItem> read = Ini::Items(result);
    return PresetIn(result, read) == seconds && Meaning(result, read, ours) == before;
  };
  if (QByteArray result = PresetEdited(text, items, seconds); meant(result))
    return result;
  if (QByteArray result = Prepended(text, "Preset=" + QByteArray::number(seconds) + Ini::NewlineOf(text)); meant(result))
    return result;
  return std::nullopt;
}

TStoreSection AsRead(const TStoreSection& entries) {
  TStoreSection texts = entries;
  for (TStoreEntry& entry : texts)
    if (!std::holds_alternative<QString>(entry.Value))
      entry.Value = QString::fromLatin1(ValueText(entry.Value));
  return texts;
}

std::optional<QByteArray> WithSection(const QByteArray& text, const QString& section, const TStoreSection& entries) {
  const QString prefix = section + u'/';
  const auto ours = [&prefix](const QString& name) { return name.startsWith(prefix); };
  const QList<TItem> items = Ini::Items(text);
  const TMeaning before = Meaning(text, items, ours);
  const TStoreSection expected = AsRead(entries);
  const auto meant = [&](const QByteArray& result) {
    const QList<TItem> read = Ini::Items(result);
    return SectionIn(result, read, section) == expected && Meaning(result, read, ours) == before;
  };
  if (QByteArray result = SectionEdited(text, items, section, entries, true); meant(result))
    return result;
  if (QByteArray result = SectionEdited(text, items, section, entries, false); meant(result))
    return result;
  return std::nullopt;
}

// ---- The file -------------------------------------------------------------------------------

QString ErrnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString TooLarge(qint64 size) {
  return QStringLiteral("it is %1 bytes, larger than the 1 MiB a settings file may have").arg(size);
}

// Reads a whole regular file of at most the size a settings file may have: never opens
// anything else, nor waits on a FIFO put there, nor reads more than that size of a larger one.
bool ReadFile(const QByteArray& name, QByteArray* text, QString* reason) {
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > LargestSettingsFile) {
    const int error = errno;
    if (fd >= 0)
      ::close(fd);
    *reason = fd < 0 ? QStringLiteral("the file cannot be read (%1)").arg(ErrnoText(error))
              : S_ISREG(info.st_mode) ? TooLarge(info.st_size) : QStringLiteral("it is not a regular file");
    return false;
  }
  // One byte more than may be there tells a file that grew since.
  text->resize(LargestSettingsFile + 1);
  qsizetype done = 0;
  while (done < text->size()) {
    const ssize_t count = ::read(fd, text->data() + done, size_t(text->size() - done));
    if (count == 0)
      break;
    if (count < 0 && errno == EINTR)
      continue;
    if (count < 0) {
      *reason = QStringLiteral("the file cannot be read (%1)").arg(ErrnoText(errno));
      ::close(fd);
      return false;
    }
    done += count;
  }
  ::close(fd);
  text->truncate(done);
  if (done > LargestSettingsFile) {
    *reason = TooLarge(done);
    return false;
  }
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

std::function<bool(TStoreStep)> StepHook;

bool Step(TStoreStep step) { return !StepHook || StepHook(step); }

// The one temporary file a store may leave when it is interrupted; the next store replaces or
// removes it.
QByteArray TemporaryName(const QByteArray& name) { return name + ".steepo-new"; }

bool RenameOver(const QByteArray& temporary, const QByteArray& name) {
  if (!Step(TStoreStep::Rename)) {
    errno = EIO;
    return false;
  }
  return ::rename(temporary.constData(), name.constData()) == 0;
}

// The new file keeps the old one's mode and owner.
void TakeOver(int fd, const struct stat* original) {
  if (!original)
    return;
  [[maybe_unused]] const int owned = ::fchown(fd, original->st_uid, original->st_gid);
  ::fchmod(fd, original->st_mode & 07777);
}

bool WriteSynced(int fd, const QByteArray& text) { return WriteAll(fd, text) && ::fsync(fd) == 0; }

enum class TOutcome { Done, Failed, Unavailable };

// Gives the whole unnamed file fd the fixed temporary name and renames that over the file.
// Another store at the same moment may take the fixed name away: ours is then in place already
// (the other renamed it) or named again. Unavailable where it cannot be named at all.
TOutcome NameAndRename(int fd, const QByteArray& name) {
  const QByteArray temporary = TemporaryName(name), self = "/proc/self/fd/" + QByteArray::number(fd);
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temporary.constData(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno != EEXIST)
        return attempt == 0 && errno == ENOENT ? TOutcome::Unavailable : TOutcome::Failed;
      ::unlink(temporary.constData());  // left by an interrupted store
      continue;
    }
    Step(TStoreStep::Named);
    if (RenameOver(temporary, name))
      return TOutcome::Done;
    const int error = errno;
    struct stat info {};
    if (error == ENOENT && ::fstat(fd, &info) == 0) {
      if (info.st_nlink > 0)
        return TOutcome::Done;
      continue;
    }
    ::unlink(temporary.constData());
    errno = error;
    return TOutcome::Failed;
  }
  errno = EBUSY;
  return TOutcome::Failed;
}

// The new text in a file without a name, which gets one only once it is wholly on the disk:
// an interrupted store leaves nothing, or at most the fixed temporary name.
TOutcome ReplaceUnnamed(const QByteArray& name, const QByteArray& text, const struct stat* original, QString* reason) {
  const int fd = Step(TStoreStep::Unnamed) ? ::open(FolderOf(name).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
  if (fd < 0)
    return TOutcome::Unavailable;
  TakeOver(fd, original);
  TOutcome outcome = TOutcome::Failed;
  if (WriteSynced(fd, text)) {
    Step(TStoreStep::Written);
    outcome = NameAndRename(fd, name);
  }
  const int error = errno;
  ::close(fd);
  if (outcome == TOutcome::Failed)
    *reason = ErrnoText(error);
  return outcome;
}

// The fixed temporary name opened for this store alone: locked (a lock another store holds
// means it is writing there now), still the file of that name (not one renamed into place
// since), and no second name of another file. -1, with the reason, where it cannot be had.
int OpenTemporary(const QByteArray& temporary, QString* reason) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
      *reason = QStringLiteral("its folder cannot be written (%1)").arg(ErrnoText(errno));
      return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      *reason = QStringLiteral("another program is storing it at this moment");
      return -1;
    }
    struct stat held {}, named {};
    const bool same = ::fstat(fd, &held) == 0 && ::lstat(temporary.constData(), &named) == 0 &&
                      held.st_dev == named.st_dev && held.st_ino == named.st_ino;
    if (same && S_ISREG(held.st_mode) && held.st_nlink == 1) {
      if (::ftruncate(fd, 0) == 0)
        return fd;
      *reason = ErrnoText(errno);
      ::close(fd);
      return -1;
    }
    if (same)
      ::unlink(temporary.constData());
    ::close(fd);
  }
  *reason = QStringLiteral("its temporary file %1 cannot be used").arg(QFile::decodeName(temporary));
  return -1;
}

// Where the file system has no unnamed files: the new text under the fixed temporary name,
// renamed over the file once it is wholly on the disk.
bool ReplaceNamed(const QByteArray& name, const QByteArray& text, const struct stat* original, QString* reason) {
  const QByteArray temporary = TemporaryName(name);
  const int fd = OpenTemporary(temporary, reason);
  if (fd < 0)
    return false;
  TakeOver(fd, original);
  const bool written = WriteSynced(fd, text);
  if (written)
    Step(TStoreStep::Written);
  const bool done = written && RenameOver(temporary, name);
  const int error = errno;
  if (!done)
    ::unlink(temporary.constData());  // still ours: its lock is held until the close
  ::close(fd);
  if (!done)
    *reason = ErrnoText(error);
  return done;
}

// Puts text in place of the file name in one step, so that the file is the old one or the new
// one and never a mixture. original: the old file's mode and owner, which the new one keeps.
bool ReplaceFile(const QByteArray& name, const QByteArray& text, const struct stat* original, QString* reason) {
  TOutcome outcome = ReplaceUnnamed(name, text, original, reason);
  if (outcome == TOutcome::Unavailable)
    outcome = ReplaceNamed(name, text, original, reason) ? TOutcome::Done : TOutcome::Failed;
  if (outcome != TOutcome::Done)
    return false;
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
  return S_ISREG(info.st_mode) && info.st_size <= LargestSettingsFile ? TStoreKind::Regular : TStoreKind::Other;
}

std::optional<quint32> ReadPreset() {
  if (PresetStoreKind() != TStoreKind::Regular)
    return std::nullopt;
  QByteArray text;
  QString reason;
  if (!ReadFile(SettingsFileName(), &text, &reason))
    return std::nullopt;
  return PresetIn(text, Ini::Items(text));
}

namespace {

// Puts edit's result in the place of the file's text; a result equal to the text leaves the
// file as it is.
bool Store(const std::function<std::optional<QByteArray>(const QByteArray&)>& edit, QString* reason) {
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
  const std::optional<QByteArray> edited = edit(text);
  if (!edited) {
    *reason = OpenEnd;
    return false;
  }
  const QByteArray& result = *edited;
  if (exists && result == text)
    return true;
  if (result.size() > LargestSettingsFile) {
    *reason = QStringLiteral("it would be %1 bytes, larger than the 1 MiB a settings file may have").arg(result.size());
    return false;
  }
  return ReplaceFile(target, result, exists ? &info : nullptr, reason);
}

} // namespace

bool WritePreset(quint32 seconds, QString* reason) {
  return Store([seconds](const QByteArray& text) { return WithPreset(text, seconds); }, reason);
}

std::optional<TStoreSection> ReadSection(const QString& section, QString* reason) {
  const QByteArray name = SettingsFileName();
  struct stat info {};
  if (name.isEmpty()) {
    *reason = QStringLiteral("no usable folder");
    return std::nullopt;
  }
  if (::stat(name.constData(), &info) != 0 && errno == ENOENT)
    return TStoreSection();
  QByteArray text;
  if (!ReadFile(name, &text, reason))
    return std::nullopt;
  return SectionIn(text, Ini::Items(text), section);
}

void SetStoreStepHook(std::function<bool(TStoreStep)> hook) { StepHook = std::move(hook); }

bool WriteSection(const QString& section, const TStoreSection& entries, QString* reason) {
  if (!ValidSectionNames(section, entries, reason))
    return false;
  return Store([&](const QByteArray& text) { return WithSection(text, section, entries); }, reason);
}

} // namespace Platform
