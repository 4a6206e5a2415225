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

// Writes the bytes to a temporary file beside the target (the target of a link) and renames it
// over the target, keeping the old file's permissions (`ownerWritable` adds the owner's write
// permission), so that a failed write leaves the old file as it was. A target that exists and
// is not a plain file is left alone: false.
bool ReplaceFile(const QString& path, const QByteArray& bytes, bool ownerWritable = false);
