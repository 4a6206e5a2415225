#include "platform/Files.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
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
        if (Fd >= 0)
            ::close(Fd);
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

// The file that a save replaces: the path itself when nothing is there, else what a link names;
// empty when that is no plain file.
QByteArray ReplaceTarget(const QByteArray& path, struct stat& old, bool& exists)
{
    exists = ::stat(path.constData(), &old) == 0;
    if (!exists) {
        struct stat link {};
        // A dangling link or a link loop is no place to write to.
        return errno == ENOENT && ::lstat(path.constData(), &link) != 0 ? path : QByteArray();
    }
    if (!S_ISREG(old.st_mode))
        return {};
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? QByteArray(resolved) : QByteArray();
}

// A new file of a free name beside `target`, or -1.
int CreateTemporary(const QByteArray& target, mode_t mode, QByteArray& name)
{
    for (int tries = 0; tries < 100; ++tries) {
        name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
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

bool ReplaceFile(const QString& path, const QByteArray& bytes, bool ownerWritable)
{
    const QByteArray name = EncodeName(path);
    if (path.isEmpty() || name.contains('\0'))
        return false;
    struct stat old {};
    bool exists = false;
    const QByteArray target = ReplaceTarget(name, old, exists);
    if (target.isEmpty())
        return false;
    const mode_t mode = (exists ? old.st_mode & 07777 : 0666) | (ownerWritable ? S_IWUSR : 0);
    QByteArray temporary;
    TDescriptor file(CreateTemporary(target, mode, temporary));
    if (file.Get() < 0)
        return false;
    // The creation mask may have taken bits of the old file's permissions.
    const bool written = (!exists || ::fchmod(file.Get(), mode) == 0) && WriteAll(file.Get(), bytes) &&
                         ::fsync(file.Get()) == 0 && file.Close();
    if (written && ::rename(temporary.constData(), target.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
}
