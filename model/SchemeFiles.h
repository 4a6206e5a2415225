#pragma once
// Scheme files (".mvs") and their state files (".mvi"). Readers and writers report failure by
// a false result only; the document commands show the messages.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

#include "model/Scheme.h"

inline constexpr int MaxFileImage = 65536;

// The reader sets the comment once the file's head is read, also when a later record fails.
bool LoadSchemeFile(const QString& fileName, TSchemeList& schemes, QString& comment);
bool SaveSchemeFile(const QString& fileName, const TSchemeList& schemes, const QString& comment);
bool LoadInfoFile(const QString& fileName, TSchemeList& schemes, int& lineMode, QString& currentScheme);
bool SaveInfoFile(const QString& fileName, const TSchemeList& schemes, std::uint8_t lineMode,
                  const QString& currentScheme);

// True when a NUL byte lies in [p, end); false when p is not below end.
bool IsTerminatedWithin(const std::uint8_t* p, const std::uint8_t* end);

// The file images in memory; the file functions above read or write them whole. A parser
// looks at no more than the first MaxFileImage bytes, as the loaders read no more. A builder
// gives nothing when the image would exceed MaxFileImage bytes or an object holds a type, or
// the state a mode, that its reader would reject.
std::optional<QByteArray> BuildSchemeImage(const TSchemeList& schemes, const QString& comment);
bool ParseSchemeImage(const QByteArray& image, TSchemeList& schemes, QString& comment);
std::optional<QByteArray> BuildInfoImage(const TSchemeList& schemes, std::uint8_t lineMode,
                                         const QString& currentScheme);
bool ParseInfoImage(const QByteArray& image, TSchemeList& schemes, int& lineMode, QString& currentScheme);
