#include "ui/Document.h"

#include "model/SchemeFiles.h"
#include "ui/DocumentNames.h"

std::optional<TDocument::TRead> TDocument::Read(const QString& fileName)
{
    const QString previousComment = FileComment;
    TRead read;
    if (!LoadSchemeFile(fileName, read.Schemes)) {
        FileComment = previousComment;
        return std::nullopt;
    }
    read.StateRead = LoadInfoFile(ChangeFileExt(fileName, StateFileExt), read.Schemes, read.LineMode, read.SchemeName);
    return read;
}

bool TDocument::Write(const QString& fileName) const { return SaveSchemeFile(fileName, Schemes); }

void TDocument::WriteState(const QString& fileName, std::uint8_t lineMode, const QString& schemeName) const
{
    if (!fileName.isEmpty())
        SaveInfoFile(ChangeFileExt(fileName, StateFileExt), Schemes, lineMode, schemeName);
}

bool TDocument::KeepsStateOnLeave(bool wasModified, const QString& fileName) const
{
    return !wasModified && !fileName.isEmpty() && SameFile(fileName, LastFiles[0]);
}

void TDocument::AddLastFile(const QString& fileName)
{
    std::size_t k = 0;
    while (!LastFiles[k].isEmpty() && !SameFile(LastFiles[k], fileName) && k < LastFiles.size() - 1)
        ++k;
    for (std::size_t j = k; j >= 1; --j)
        LastFiles[j] = LastFiles[j - 1];
    LastFiles[0] = fileName;
}

void TDocument::RemoveLastFile(int index)
{
    std::size_t i = std::size_t(index);
    for (; i + 1 < LastFiles.size(); ++i) {
        LastFiles[i] = LastFiles[i + 1];
        if (LastFiles[i].isEmpty())
            break;
    }
    if (i + 1 == LastFiles.size())
        LastFiles[i].clear();
}
