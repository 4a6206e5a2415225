#pragma once
// The names of a document's files: the scheme and state file extensions, when two names name
// one file, and the free name proposed for a new file.
#include <QString>

inline const QString SchemeFileExt = QStringLiteral(".mvs");
inline const QString StateFileExt = QStringLiteral(".mvi");

// The name with its last extension replaced (or ext appended when it has none).
QString ChangeFileExt(const QString& fileName, const QString& ext);
// Two names of one file: compared as absolute, cleaned paths (file names are case-sensitive
// here). Empty names name no file.
bool SameFile(const QString& a, const QString& b);
// The name itself while no such file exists; else the next free numbered name in its folder
// ("Кран.mvs" -> "Кран1.mvs", "Кран2.mvs" ...). An empty name stays empty.
QString ProposeFreeFileName(const QString& fileName);
