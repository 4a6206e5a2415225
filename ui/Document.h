#pragma once
// The open document apart from the window: its schemes, its modified flag and the five most
// recent files, with the rules for reading it from its scheme and state files, writing them and
// keeping the recent-file list. The file's name (`CurrentFileName`) and comment (`FileComment`)
// stay the globals that the other units read; the window shows what this holds.
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
        int LineMode = -1;       // from the state file; -1 without one
        QString SchemeName;      // the scheme that was selected, as far as the state file was read
        bool StateRead = false;  // the whole state file applied: the stored device modes stay
    };
    // Reads the scheme file and then its state file. Nothing when the scheme file cannot be
    // read; `FileComment` is then left as it was. A missing or short state file is no failure.
    static std::optional<TRead> Read(const QString& fileName);
    // Writes the schemes and `FileComment` to the scheme file.
    bool Write(const QString& fileName) const;
    // Writes the state file beside the scheme file; a name-less document has none.
    void WriteState(const QString& fileName, std::uint8_t lineMode, const QString& schemeName) const;
    // Leaving an unmodified document that is the most recent file rewrites its state file.
    bool KeepsStateOnLeave(bool wasModified, const QString& fileName) const;

    // The file moves to the top (or comes in there), the others move down without a gap; the
    // oldest of a full list drops out.
    void AddLastFile(const QString& fileName);
    // The entries below the index move up over it.
    void RemoveLastFile(int index);

    TSchemeList Schemes;
    std::uint8_t Modified = 0;
    std::array<QString, 5> LastFiles;   // newest first, the non-empty entries first
};
