#include "model/Document.h"

#include <QFileInfo>

#include "model/FileNames.h"
#include "model/SchemeFiles.h"
#include "platform/Files.h"

namespace {

const QString FirstSchemeName = QStringLiteral("Схема 1");

}   // namespace

std::optional<TDocument::TRead> TDocument::Read(const QString& fileName)
{
    TRead read;
    if (!LoadSchemeFile(fileName, read.Schemes, read.Comment))
        return std::nullopt;
    read.StateRead = LoadInfoFile(ChangeFileExt(fileName, StateFileExt), read.Schemes, read.LineMode, read.SchemeName);
    return read;
}

TDocument TDocument::Opened(const QString& fileName, TRead& read) const
{
    TDocument opened;
    opened.Schemes = std::move(read.Schemes);
    opened.FileName = fileName;
    opened.FileComment = read.Comment;
    opened.LastFiles = LastFiles;
    opened.AddLastFile(fileName);
    return opened;
}

bool TDocument::Save() const
{
    const bool saved = SaveSchemeFile(FileName, Schemes, FileComment);
    RemoveStateLeftovers();
    return saved;
}

bool TDocument::SaveAs(const QString& fileName)
{
    if (!SaveSchemeFile(fileName, Schemes, FileComment))
        return false;
    FileName = fileName;
    RemoveStateLeftovers();
    return true;
}

void TDocument::WriteState(std::uint8_t lineMode, const QString& schemeName) const
{
    if (FileName.isEmpty())
        return;
    // The scheme file's own leftovers go here too: a document that is only opened and closed
    // never saves its scheme file.
    RemoveReplaceLeftovers(FileName);
    SaveInfoFile(StateFileName(), Schemes, lineMode, schemeName);
}

QString TDocument::StateFileName() const { return ChangeFileExt(FileName, StateFileExt); }

void TDocument::RemoveStateLeftovers() const
{
    if (!FileName.isEmpty())
        RemoveReplaceLeftovers(StateFileName(), {.ThroughLink = false});
}

bool TDocument::KeepsStateOnLeave(bool wasModified) const
{
    return !wasModified && SameFile(FileName, LastFiles[0]);
}

bool TDocument::HasFile() const { return !FileName.isEmpty() && FileExists(FileName); }

void TDocument::StartNew()
{
    Schemes.clear();
    Schemes.push_back(std::make_unique<TDeviceScheme>(FirstSchemeName));
    FileName = ProposeFreeFileName(FileName);
    FileComment.clear();
}

QString TDocument::Caption(const QString& stem) const
{
    return FileName.isEmpty() ? stem : stem + QStringLiteral(" - ") + QFileInfo(FileName).completeBaseName();
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

QString TDocument::LastFile(int index) const
{
    return index >= 0 && index < int(LastFiles.size()) ? LastFiles[std::size_t(index)] : QString();
}
