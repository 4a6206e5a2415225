#pragma once
// The open document apart from the window: its schemes, its file's name and comment, its
// modified flag and the five most recent files, with the rules for reading it from its scheme
// and state files, writing them, starting a new one and keeping the recent-file list. The
// program makes one open document and hands it to the session; the window shows what it holds.
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "model/Scheme.h"

class TDocument {
public:
    // A document as its files give it, not yet taken over.
    struct TRead {
        TSchemeList Schemes;
        QString Comment;
        int LineMode = -1;        // from the state file; -1 without one
        QString SchemeName;       // the scheme that was selected, as far as the state file was read
        bool StateRead = false;   // the whole state file applied: the stored device modes stay
    };
    // Reads the scheme file and then its state file, apart from any open document. Nothing when
    // the scheme file cannot be read. A missing or short state file is no failure.
    static std::optional<TRead> Read(const QString& fileName);
    // The document that the read file makes of this one: its schemes, name and comment,
    // unmodified, and this one's recent files with the file at the top. Taken over whole, by a
    // swap, so that a document is never half the one and half the other.
    TDocument Opened(const QString& fileName, TRead& read) const;
    // Writes the schemes and FileComment to the document's scheme file. Each save of either file
    // removes what interrupted saves of both files left, whether or not the file changed.
    bool Save() const;
    // Writes them to another file, whose name the document takes when the writing succeeded.
    bool SaveAs(const QString& fileName);
    // Writes the state file beside the document's file; a name-less document has none.
    void WriteState(std::uint8_t lineMode, const QString& schemeName) const;
    // Leaving an unmodified document that is the most recent file rewrites its state file.
    bool KeepsStateOnLeave(bool wasModified) const;
    // The document's file is on disk (else saving asks for a name).
    bool HasFile() const;
    // A new document: one empty scheme, no comment, and the next free name beside the file.
    void StartNew();
    // The window's caption: the stem, and " - " with the file's base name when it has one.
    QString Caption(const QString& stem) const;

    // The file moves to the top (or comes in there), the others move down without a gap; the
    // oldest of a full list drops out.
    void AddLastFile(const QString& fileName);
    // The entries below the index move up over it.
    void RemoveLastFile(int index);
    // Entry index of the list, or an empty name outside it.
    QString LastFile(int index) const;

    TSchemeList Schemes;
    QString FileName;   // full path of the scheme file; empty before one was opened or named
    QString FileComment;
    std::uint8_t Modified = 0;
    std::array<QString, 5> LastFiles;   // newest first, the non-empty entries first

private:
    QString StateFileName() const;
    // The state file's leftovers, at a save of the scheme file.
    void RemoveStateLeftovers() const;
};
