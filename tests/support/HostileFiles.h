#pragma once
// What a user's disk can hold where a file is expected, made in a test's folder, and a guard that
// frees a reader stuck on a FIFO after a generous time, so that a reader that blocks fails its
// test instead of hanging it (the time measures nothing).
#include <QString>
#include <QStringList>
#include <atomic>
#include <thread>
#include <vector>

struct THostileFile {
    const char* Kind;
    QString Path;
    bool Made;     // the test's folder could hold it
    bool Exists;   // false: the name leads nowhere (a reader finds no file)
};

// A folder, a FIFO, a socket, a device node, a link loop, a dangling link and a missing file,
// each under `folder`.
std::vector<THostileFile> MakeHostileFiles(const QString& folder);
bool MakeFifo(const QString& path);
// Removes a file whatever bytes its name holds (Qt's own removal cannot name every file).
bool RemoveFile(const QString& path);
// The file type bits of what the name itself is (a link is not followed), 0 when nothing.
unsigned FileType(const QString& path);
// What a plain file holds, read without the program's own reader; empty when it cannot be read.
QByteArray FileBytes(const QString& path);

// While it lives, the process checks file permissions as an ordinary user (nobody) when the
// tests run as root, who may write anything; an ordinary user stays who they are.
class TOrdinaryUser {
public:
    TOrdinaryUser();
    ~TOrdinaryUser();
    TOrdinaryUser(const TOrdinaryUser&) = delete;
    TOrdinaryUser& operator=(const TOrdinaryUser&) = delete;

private:
    bool Root;
};
// Sets a file's or folder's permission bits, whatever bytes its name holds.
bool SetMode(const QString& path, unsigned mode);

class TFifoGuard {
public:
    explicit TFifoGuard(QStringList fifos, int patienceMs = 20000);
    // True when a reader was found waiting on a FIFO and had to be freed.
    bool Released() const { return ReleasedFlag; }

private:
    std::atomic<bool> ReleasedFlag{false};
    std::jthread Watcher;   // stopped and joined with the guard
};
