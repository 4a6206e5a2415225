#pragma once
// How the recent-file menus show a path; the names of a document's files come with it.
#include <QString>
#include <functional>

#include "model/FileNames.h"

class QFontMetrics;

// A recent file as its menu item shows it: the bare name in startDir (with a trailing "/"),
// "./" and the relative path below it, or else the full path.
QString LastFileDisplayName(const QString& fileName, const QString& startDir);
// A path relative to the start folder is shown so only when it neither climbs out ("..") nor
// holds a ':'.
bool IsStoredRelative(const QString& path);
// The path with leading folders replaced by "..." until it fits maxWidth pixels; the file name
// itself always stays whole. Linear in the path's length: each character is measured a bounded
// number of times, however many folders the path holds.
QString ShortenPath(const QString& path, const QFontMetrics& metrics, int maxWidth);
// The same with the width of a text given by `width`.
QString ShortenPath(const QString& path, const std::function<int(const QString&)>& width, int maxWidth);
