#pragma once
// File names of the document commands: the scheme and state file extensions, the free name
// proposed for a new file, and how the recent-file menus show a path.
#include <QString>

class QFontMetrics;

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
// A recent file as its menu item shows it: the bare name in startDir (with a trailing "/"),
// "./" and the relative path below it, or else the full path.
QString LastFileDisplayName(const QString& fileName, const QString& startDir);
// The path with leading folders replaced by "..." until it fits maxWidth pixels; the file name
// itself always stays whole.
QString ShortenPath(const QString& path, const QFontMetrics& metrics, int maxWidth);
