#include "platform/Files.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char32_t EscapeBase = 0xDC00;   // + a byte of 0x80..0xFF

// The length of the valid UTF-8 sequence at p (at most `left` bytes there), or 0.
int Utf8SequenceLength(const unsigned char* p, qsizetype left)
{
    const unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;   // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF)
        length = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;    // no overlong forms
        high = c == 0xED ? 0x9F : 0xBF;   // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;   // nothing beyond U+10FFFF
    } else
        return 0;
    if (left < length || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    return length;
}

// The descriptor of an opened name; closed when it goes.
class TDescriptor {
public:
    explicit TDescriptor(int fd) : Fd(fd) {}
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    ~TDescriptor()
    {
        // Closed on the way out of a failure, whose error stays the one to report.
        const int failure = errno;
        if (Fd >= 0)
            ::close(Fd);
        errno = failure;
    }
    int Get() const { return Fd; }
    // Closes now, reporting a failed close (a write the system could not complete).
    bool Close()
    {
        const int fd = Fd;
        Fd = -1;
        return ::close(fd) == 0;
    }

private:
    int Fd;
};

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void (*replaceStepHook)(TReplaceStep) = nullptr;
bool unnamedTemporaries = true;

void Step(TReplaceStep step)
{
    if (replaceStepHook)
        replaceStepHook(step);
}

QByteArray FolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/")
                                                    : path.left(slash);
}

QByteArray BaseNameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// The file that a save replaces: the path itself when nothing is there, else (when links are
// followed) what a link names; empty when that is no plain file, with the reason in `error`.
QByteArray ReplaceTarget(const QByteArray& path, bool throughLink, struct stat& old, bool& exists, int& error)
{
    exists = false;
    error = NotAPlainFile;
    if (::lstat(path.constData(), &old) != 0) {
        error = errno;
        return errno == ENOENT ? path : QByteArray();
    }
    const bool link = S_ISLNK(old.st_mode);
    if (link && !throughLink)
        return {};
    // A dangling link or a link loop is no place to write to.
    if (link && ::stat(path.constData(), &old) != 0) {
        error = errno;
        return {};
    }
    exists = true;
    if (!S_ISREG(old.st_mode))
        return {};
    if (!link)
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved))
        return QByteArray(resolved);
    error = errno;
    return {};
}

// Takes back a step of a failed replacement, keeping the error that failed it.
void Unlink(const QByteArray& name)
{
    const int failure = errno;
    ::unlink(name.constData());
    errno = failure;
}

bool Fail(int* error, int code)
{
    if (error)
        *error = code;
    return false;
}

constexpr int SuffixLength = 8;

QByteArray RandomSuffix()
{
    static constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    QByteArray suffix(SuffixLength, '0');
    for (char& c : suffix)
        c = Digits[QRandomGenerator::global()->bounded(36)];
    return suffix;
}

bool IsTemporaryName(const QByteArray& entry, const QByteArray& prefix)
{
    if (entry.size() != prefix.size() + SuffixLength || !entry.startsWith(prefix))
        return false;
    return std::all_of(entry.begin() + prefix.size(), entry.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}

// A save that was killed before its rename may have left its temporary behind.
void RemoveLeftovers(const QByteArray& folder, const QByteArray& prefix)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {   // NOLINT(concurrency-mt-unsafe): a stream of its own
        struct stat status {};
        if (IsTemporaryName(entry->d_name, prefix) &&
            ::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// The creation mask may have taken bits of the old file's permissions.
bool WriteSynced(int fd, const QByteArray& bytes, mode_t mode, bool restoreMode)
{
    if (restoreMode && ::fchmod(fd, mode) != 0)
        return false;
    Step(TReplaceStep::Write);
    if (!WriteAll(fd, bytes))
        return false;
    Step(TReplaceStep::SyncFile);
    return ::fsync(fd) == 0;
}

// Gives an unnamed file a free name of the prefix.
bool NameUnnamed(int fd, const QByteArray& stem, QByteArray& name)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int tries = 0; tries < 100; ++tries) {
        name = stem + RandomSuffix();
        // The first needs a privilege; the second a mounted /proc.
        if (::linkat(fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0 ||
            ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// The bytes in a file of the folder that is named only once it is whole and synced, so that
// a kill leaves nothing behind; false where the file system has no unnamed files.
bool WriteUnnamed(const QByteArray& folder, const QByteArray& stem, const QByteArray& bytes, mode_t mode, bool exists,
                  QByteArray& name)
{
    Step(TReplaceStep::Create);
    TDescriptor file(::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (file.Get() < 0 || !WriteSynced(file.Get(), bytes, mode, exists))
        return false;
    Step(TReplaceStep::Name);
    if (!NameUnnamed(file.Get(), stem, name))
        return false;
    if (file.Close())
        return true;
    Unlink(name);
    return false;
}

bool WriteNamed(const QByteArray& stem, const QByteArray& bytes, mode_t mode, bool exists, QByteArray& name)
{
    Step(TReplaceStep::Create);
    int fd = -1;
    for (int tries = 0; tries < 100 && fd < 0; ++tries) {
        name = stem + RandomSuffix();
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    TDescriptor file(fd);
    if (WriteSynced(file.Get(), bytes, mode, exists) && file.Close())
        return true;
    Unlink(name);
    return false;
}

// The rename is durable once the folder's entry is on disk. A file system that cannot sync a
// folder has already done what it can: that is no failed save.
void SyncFolder(const QByteArray& folder)
{
    Step(TReplaceStep::SyncFolder);
    TDescriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

}   // namespace

QByteArray EncodeName(const QString& name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF) {
            bytes += char(c - EscapeBase);
            continue;
        }
        const qsizetype run = name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate() ? 2 : 1;
        bytes += QStringView(name).mid(i, run).toUtf8();
        i += run - 1;
    }
    return bytes;
}

QString DecodeName(const QByteArray& bytes)
{
    QString name;
    name.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = Utf8SequenceLength(p + i, bytes.size() - i);
        if (length == 0) {
            name += QChar(char16_t(EscapeBase + p[i]));
            ++i;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + i, length);
        i += length;
    }
    return name;
}

QString CurrentFolder()
{
    char folder[PATH_MAX];
    return ::getcwd(folder, sizeof folder) ? DecodeName(folder) : QString();
}

bool FileExists(const QString& path)
{
    struct stat status {};
    const QByteArray bytes = EncodeName(path);
    // A NUL would cut the name short: such a name names no file.
    return !path.isEmpty() && !bytes.contains('\0') && ::stat(bytes.constData(), &status) == 0;
}

TFileRead ReadPlainFile(const QString& path, qint64 limit, QByteArray& bytes)
{
    bytes.clear();
    const QByteArray name = EncodeName(path);
    if (path.isEmpty() || name.contains('\0'))
        return TFileRead::Missing;
    // Without O_NONBLOCK opening a FIFO waits for a writer; the type is checked after opening.
    TDescriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0)
        return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode))
        return TFileRead::Unreadable;
    const qint64 wanted = std::min<qint64>(status.st_size, limit);
    bytes.resize(wanted);
    qint64 done = 0;
    while (done < wanted) {
        const ssize_t n = ::read(file.Get(), bytes.data() + done, std::size_t(wanted - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bytes.resize(done);
    return done == wanted ? TFileRead::Read : TFileRead::Unreadable;
}

bool ReplaceFile(const QString& path, const QByteArray& bytes, TReplaceRules rules, int* error)
{
    const QByteArray name = EncodeName(path);
    if (path.isEmpty() || name.contains('\0'))
        return Fail(error, ENOENT);
    struct stat old {};
    bool exists = false;
    int failure = 0;
    const QByteArray target = ReplaceTarget(name, rules.ThroughLink, old, exists, failure);
    if (target.isEmpty())
        return Fail(error, failure);
    // The rename would replace a file whatever its own permissions say: what the user may not
    // write stays as it is.
    if (exists && !rules.MakeWritable && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return Fail(error, errno);
    const mode_t mode = (exists ? old.st_mode & 07777 : 0666) | (rules.MakeWritable ? S_IWUSR : 0);
    const QByteArray folder = FolderOf(target);
    const QByteArray prefix = TemporaryPrefix(BaseNameOf(target));
    RemoveLeftovers(folder, prefix);
    const QByteArray stem = folder + '/' + prefix;
    QByteArray temporary;
    if (!(unnamedTemporaries && WriteUnnamed(folder, stem, bytes, mode, exists, temporary)) &&
        !WriteNamed(stem, bytes, mode, exists, temporary))
        return Fail(error, errno);
    Step(TReplaceStep::Rename);
    if (::rename(temporary.constData(), target.constData()) != 0) {
        Unlink(temporary);
        return Fail(error, errno);
    }
    SyncFolder(folder);
    return true;
}

void RemoveReplaceLeftovers(const QString& path, TReplaceRules rules)
{
    const QByteArray name = EncodeName(path);
    if (path.isEmpty() || name.contains('\0'))
        return;
    struct stat old {};
    bool exists = false;
    int failure = 0;
    const QByteArray target = ReplaceTarget(name, rules.ThroughLink, old, exists, failure);
    if (!target.isEmpty())
        RemoveLeftovers(FolderOf(target), TemporaryPrefix(BaseNameOf(target)));
}

QString FolderOfFile(const QString& path)
{
    return DecodeName(FolderOf(EncodeName(path)));
}

QByteArray TemporaryPrefix(const QByteArray& fileName)
{
    // A temporary's name must fit wherever the file's own does.
    constexpr qsizetype Decoration = 5 + SuffixLength;   // "." and ".~mv" around the name, the suffix after
    return '.' + fileName.left(NAME_MAX - Decoration) + ".~mv";
}

void SetReplaceStepHook(void (*hook)(TReplaceStep)) { replaceStepHook = hook; }

void UseUnnamedTemporaries(bool use) { unnamedTemporaries = use; }

bool MakeFolders(const QString& folder)
{
    const QByteArray name = EncodeName(folder);
    if (folder.isEmpty() || name.contains('\0'))
        return false;
    // Each folder from the top down; one that exists already (made meanwhile too) is no failure.
    for (qsizetype slash = name.indexOf('/', 1);; slash = name.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? name : name.left(slash);
        if (!part.isEmpty() && ::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return false;
    if (!S_ISDIR(status.st_mode))
        errno = ENOTDIR;
    return S_ISDIR(status.st_mode);
}
