#pragma once
// Code page 1251, the byte form of every text in scheme and state files.
#include <QByteArray>
#include <QString>

// Characters outside the code page become '?'; an embedded NUL is dropped (a NUL ends a
// stored string).
QByteArray ToCp1251(const QString& text);
QString FromCp1251(const char* bytes, qsizetype length);
inline QString FromCp1251(const QByteArray& bytes) { return FromCp1251(bytes.constData(), bytes.size()); }
