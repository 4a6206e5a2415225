#pragma once
// Files that a user or another file names (documents, state files, the settings file, recent
// files): their paths as the file system's bytes, and reading and replacing them without ever
// blocking on, or replacing, something that is not a plain file.
#include <QByteArray>
#include <QString>

// A path's bytes and back, losslessly: bytes that are no UTF-8 become the characters
// U+DC80..U+DCFF in the text (as no valid UTF-8 text holds them) and turn back into themselves.
// A name that is valid UTF-8 reads as QFile::decodeName reads it.
QByteArray EncodeName(const QString& name);
QString DecodeName(const QByteArray& bytes);

// The process's current folder, as DecodeName gives its bytes.
QString CurrentFolder();

// True when the path names something (a link is followed), as QFileInfo::exists.
bool FileExists(const QString& path);

enum class TFileRead {
    Read,
    Missing,      // no such file
    Unreadable,   // not a plain file (directory, FIFO, socket, device, link loop), or unreadable
};

// Reads min(file size, limit) bytes of a plain file; Read only when all of them arrived. The file
// is opened without blocking and checked on the opened descriptor, so what is checked is what
// is read. A file whose size the system does not know (as under /proc) gives no bytes.
TFileRead ReadPlainFile(const QString& path, qint64 limit, QByteArray& bytes);

// How a replacement treats what it finds at the name.
struct TReplaceRules {
    // A link at the name is followed to the file it names (a document the user opened through
    // a link); otherwise a link is left alone like every entry that is not a plain file.
    bool ThroughLink = true;
    // A file the user may not write is made writable (the owner's write permission added)
    // instead of being refused.
    bool MakeWritable = false;
};

// Writes the bytes to a temporary file beside the target and renames it over the target,
// keeping the old file's permissions, so that a failed or interrupted write leaves the old file
// as it was: the temporary is synced before the rename and the folder after it. The temporary
// has no name while it is written where the file system allows; otherwise, and for the moment
// between naming it and the rename, its name is the target's TemporaryPrefix, and such leftovers
// of an interrupted save of the same file go at its next save (RemoveReplaceLeftovers). False,
// and the old file as it was, when the target exists and is no plain file, or the user may not
// write it, or the folder takes no new entry; `error` then tells why: the system's error number,
// or NotAPlainFile.
bool ReplaceFile(const QString& path, const QByteArray& bytes, TReplaceRules rules = {}, int* error = nullptr);
// The error of a replacement whose name holds something else than a plain file (a folder, a
// FIFO, a device, a link that is not followed): no system error number says so.
inline constexpr int NotAPlainFile = -1;
// Removes the temporaries that interrupted replacements of the file left (plain files of its
// TemporaryPrefix and a suffix beside the file that `rules` make the target), as a replacement
// does first.
void RemoveReplaceLeftovers(const QString& path, TReplaceRules rules = {});

// The name a temporary of the file's replacement starts with: "." + the file's name (cut so
// that the temporary's name stays within the longest name a folder takes) + ".~mv".
QByteArray TemporaryPrefix(const QByteArray& fileName);

// The steps of a replacement, in their order; a test sees each one before it is taken.
enum class TReplaceStep { Create,
                          Write,
                          SyncFile,
                          Name,
                          Rename,
                          SyncFolder };
void SetReplaceStepHook(void (*hook)(TReplaceStep));
// Off, every replacement names its temporary from the start, as on the file systems that have
// no unnamed files (vfat, NFS and the like); a test plays such a file system so.
void UseUnnamedTemporaries(bool use);

// Makes the folder and the folders above it that are missing, with the name's own bytes; on
// failure errno tells why.
bool MakeFolders(const QString& folder);
// The folder part of a file's path ("." for a bare name), its characters as they are.
QString FolderOfFile(const QString& path);
