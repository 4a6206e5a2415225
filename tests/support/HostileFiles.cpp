// Hostile files and the FIFO guard; see HostileFiles.h.
#include "support/HostileFiles.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/Files.h"

namespace {

bool MakeSocket(const QString& path)
{
    const QByteArray name = EncodeName(path);
    sockaddr_un address{};
    if (std::size_t(name.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

}   // namespace

bool MakeFifo(const QString& path) { return ::mkfifo(EncodeName(path).constData(), 0600) == 0; }

bool RemoveFile(const QString& path) { return ::unlink(EncodeName(path).constData()) == 0; }

TOrdinaryUser::TOrdinaryUser() : Root(::geteuid() == 0)
{
    constexpr uid_t Nobody = 65534;
    if (Root && (::setegid(Nobody) != 0 || ::seteuid(Nobody) != 0))
        std::abort();
}

TOrdinaryUser::~TOrdinaryUser()
{
    if (Root && (::seteuid(0) != 0 || ::setegid(0) != 0))
        std::abort();
}

bool SetMode(const QString& path, unsigned mode) { return ::chmod(EncodeName(path).constData(), mode) == 0; }

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

unsigned FileType(const QString& path)
{
    struct stat status {};
    return ::lstat(EncodeName(path).constData(), &status) == 0 ? unsigned(status.st_mode & S_IFMT) : 0u;
}

std::vector<THostileFile> MakeHostileFiles(const QString& folder)
{
    const QDir dir(folder);
    const auto at = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    return {
        {"directory", at("folder.mvs"), QDir().mkpath(at("folder.mvs")), true},
        {"FIFO", at("fifo.mvs"), MakeFifo(at("fifo.mvs")), true},
        {"socket", at("socket.mvs"), MakeSocket(at("socket.mvs")), true},
        {"device node", QStringLiteral("/dev/null"), true, true},
        {"link loop", at("loop.mvs"), QFile::link(at("loop.mvs"), at("loop.mvs")), true},
        {"dangling link", at("dangling.mvs"), QFile::link(at("nowhere.mvs"), at("dangling.mvs")), false},
        {"missing file", at("missing.mvs"), true, false},
    };
}

TFifoGuard::TFifoGuard(QStringList fifos, int patienceMs)
{
    Watcher = std::jthread([this, fifos = std::move(fifos), patienceMs](const std::stop_token& stop) {
        std::mutex mutex;
        std::condition_variable_any wake;   // woken only by the guard's end
        std::unique_lock lock(mutex);
        const auto ended = [&stop] { return stop.stop_requested(); };
        if (wake.wait_for(lock, stop, std::chrono::milliseconds(patienceMs), ended))
            return;
        // Opening the writing end frees a reader waiting to open; closing it ends its read.
        while (!wake.wait_for(lock, stop, std::chrono::milliseconds(100), ended))
            for (const QString& fifo : fifos) {
                const int fd = ::open(EncodeName(fifo).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    ReleasedFlag = true;
                    ::close(fd);
                }
            }
    });
}
