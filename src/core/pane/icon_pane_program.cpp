// What the pane does with a Windows program: it opens one of its icon or cursor groups as a
// new document, which a save writes to a file of its own; the program is only read.

#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/program_group_choices.h"
#include "programs/byte_source.h"
#include "programs/program_icon_groups.h"
#include "support/error.h"
#include "support/file_io.h"

#include <filesystem>
#include <memory>

namespace velmora
{

namespace
{

// A group's name as a part of a file name: no folder separators, no zero bytes.
std::string FileNamePart(std::string text)
{
    for (char& c : text)
        if (c == '/' || c == '\\' || c == '\0')
            c = '_';
    return text;
}

} // namespace

void TIconPane::OpenProgramGroup(const std::string& fileName)
{
    const TProgramIconReference reference = ParseProgramIconReference(fileName);
    auto notOpened = [this](const std::string& name, std::string_view why) {
        m_platform.ShowMessage(
            FormatText(Messages::IconFileNotOpened, { name }) + "\r\n" + std::string(why));
    };
    // The reader keeps the file and its byte source for the groups' images.
    std::unique_ptr<TFileReader> file;
    std::unique_ptr<TByteSource> source;
    std::unique_ptr<TProgramIcons> icons;
    try {
        file = std::make_unique<TFileReader>(reference.File);
        source = std::make_unique<TByteSource>(*file);
        icons = std::make_unique<TProgramIcons>(*source);
    } catch (const std::exception& cause) {
        throw Exception(
            FormatText(Messages::IconFileNotOpened, { fileName }) + "\r\n" + cause.what());
    }
    const std::vector<TProgramIconGroup>& groups = icons->Groups();
    if (groups.empty()) {
        notOpened(fileName, Messages::ProgramNoIcons);
        return;
    }

    size_t chosen = 0;
    if (reference.GroupId) {
        const int found = icons->FindGroup(TResourceName { *reference.GroupId, "", false });
        if (found < 0) {
            notOpened(fileName,
                FormatText(Messages::ProgramNoSuchGroup, { std::to_string(*reference.GroupId) }));
            return;
        }
        chosen = static_cast<size_t>(found);
    } else if (reference.GroupIndex) {
        // The Windows form counts the icon groups only.
        if (*reference.GroupIndex >= icons->IconGroupCount()) {
            notOpened(fileName,
                FormatText(Messages::ProgramNoSuchGroup,
                    { "at index " + std::to_string(*reference.GroupIndex) }));
            return;
        }
        chosen = *reference.GroupIndex;
    } else if (groups.size() > 1) {
        const std::filesystem::path path(reference.File);
        const std::optional<int> answer = m_platform.ChooseGroup(
            FormatText(Messages::ChooseGroupTitle, { path.filename().string() }),
            ProgramGroupChoices(*icons));
        if (!answer || *answer < 0 || static_cast<size_t>(*answer) >= groups.size())
            return;
        chosen = static_cast<size_t>(*answer);
    }

    const TProgramIconGroup& group = groups[chosen];
    const std::string documentName = reference.File + "," + group.Reference();
    TProgramGroupImages images;
    try {
        images = icons->ReadImages(group);
    } catch (const std::exception& cause) {
        throw Exception(
            FormatText(Messages::IconFileNotOpened, { documentName }) + "\r\n" + cause.what());
    }
    if (images.Images.empty()) {
        notOpened(documentName,
            FormatText(Messages::ProgramGroupUnreadable,
                { group.Name.Display(),
                    group.Problem.empty() ? "it holds no image" : group.Problem }));
        return;
    }
    // A group of more images than a document holds leaves the document shown alone.
    if (!TakeProgramImages(m_iconDirectory, images, documentName)) {
        notOpened(documentName,
            FormatText(Messages::ProgramGroupUnreadable,
                { group.Name.Display(), "it holds more images than a document can" }));
        return;
    }
    const std::filesystem::path path(reference.File);
    m_programDocumentName = documentName;
    m_programSaveName = (path.parent_path()
        / FormatText(
            Messages::GroupSaveName, { path.stem().string(), FileNamePart(group.Name.Display()) }))
                            .string();
    m_animationTitle.clear();
    MarkOpened();
    RefreshView();
    SetGridVisible(true);
    RepaintGrid();
    if (!images.Notes.empty()) {
        std::string notes;
        for (const std::string& note : images.Notes)
            notes += (notes.empty() ? "" : "\r\n") + note;
        m_platform.ShowMessage(FormatText(Messages::GroupImagesSkipped, { notes }));
    }
}

} // namespace velmora
