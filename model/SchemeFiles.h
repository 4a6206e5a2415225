#pragma once
// Scheme files (".mvs") and their state files (".mvi"). Readers and writers report failure by
// a false result only; the document commands show the messages.
#include <QString>
#include <cstdint>

#include "model/Scheme.h"

inline constexpr int MaxFileImage = 65536;

// The comment of the open document.
extern QString FileComment;

bool LoadSchemeFile(const QString& fileName, TSchemeList& schemes);
bool SaveSchemeFile(const QString& fileName, const TSchemeList& schemes);
bool LoadInfoFile(const QString& fileName, TSchemeList& schemes, int& lineMode, QString& currentScheme);
bool SaveInfoFile(const QString& fileName, const TSchemeList& schemes, std::uint8_t lineMode,
                  const QString& currentScheme);

// True when a NUL byte lies in [p, end); false when p is not below end.
bool IsTerminatedWithin(const std::uint8_t* p, const std::uint8_t* end);
