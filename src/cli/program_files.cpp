// The icon groups of Windows programs for `info` and `extract`.

#include "program_files.h"

#include "commands.h"
#include "graphics/icon_picture.h"
#include "graphics/png_codec.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "programs/byte_source.h"
#include "programs/program_icon_groups.h"
#include "support/error.h"
#include "support/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace velmora::cli
{

namespace
{

const char* FormatName(TProgramFormat format)
{
    switch (format) {
    case TProgramFormat::Pe32:
        return "PE32";
    case TProgramFormat::Pe32Plus:
        return "PE32+";
    case TProgramFormat::Ne:
        return "NE";
    }
    return "";
}

std::string Hex4(uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

// The program, read; none (reported) when it cannot be.
struct TOpenProgram {
    std::unique_ptr<TFileReader> File;
    std::unique_ptr<TByteSource> Source;
    std::unique_ptr<TProgramIcons> Icons;
};

std::optional<TOpenProgram> OpenProgram(const std::string& file)
{
    TOpenProgram program;
    try {
        program.File = std::make_unique<TFileReader>(file);
        program.Source = std::make_unique<TByteSource>(*program.File);
        program.Icons = std::make_unique<TProgramIcons>(*program.Source);
    } catch (const std::exception& error) {
        PrintError(FormatText(Messages::IconFileNotOpened, { file }));
        PrintError(error.what());
        return std::nullopt;
    }
    return program;
}

void WriteImage(TTextBuffer& out, const TProgramImage& image, size_t index, bool cursor, bool json)
{
    const TIconDirectoryEntry& entry = image.Entry;
    const bool png = IsPngData(image.Data);
    if (json) {
        out << "{\"index\":" << index << ",\"width\":" << entry.ImageWidth()
            << ",\"height\":" << entry.ImageHeight() << ",\"bitCount\":" << entry.BitCount
            << ",\"bytesInRes\":" << entry.BytesInRes << ",\"resource\":" << image.ResourceId
            << ",\"encoding\":" << (png ? "\"png\"" : "\"bmp\"");
        if (cursor)
            out << ",\"hotspotX\":" << image.HotspotX << ",\"hotspotY\":" << image.HotspotY;
        out << "}";
        return;
    }
    out << "    " << index << ": " << entry.ImageWidth() << "x" << entry.ImageHeight() << ", "
        << entry.BitCount << " bpp, " << (png ? "png" : "bmp") << ", " << entry.BytesInRes
        << " bytes (resource " << image.ResourceId << ")";
    if (cursor)
        out << ", hotspot " << image.HotspotX << "," << image.HotspotY;
    out << "\n";
}

void WriteGroup(
    TTextBuffer& out, const TProgramIcons& icons, const TProgramIconGroup& group, bool json)
{
    const TProgramGroupImages images = icons.ReadImages(group);
    if (json) {
        out << "{\"group\":" << JsonString(group.Name.Display())
            << ",\"reference\":" << JsonString(group.Reference())
            << ",\"cursor\":" << (group.IsCursor ? "true" : "false")
            << ",\"language\":" << group.Language << ",\"otherLanguages\":[";
        for (size_t i = 0; i < group.OtherLanguages.size(); ++i)
            out << (i ? "," : "") << group.OtherLanguages[i];
        out << "],\"images\":[";
        for (size_t i = 0; i < images.Images.size(); ++i) {
            out << (i ? "," : "");
            WriteImage(out, images.Images[i], i, group.IsCursor, true);
        }
        out << "],\"notes\":[";
        for (size_t i = 0; i < images.Notes.size(); ++i)
            out << (i ? "," : "") << JsonString(images.Notes[i]);
        out << "]";
        if (!group.Problem.empty())
            out << ",\"problem\":" << JsonString(group.Problem);
        out << "}";
        return;
    }
    out << "  " << (group.IsCursor ? "cursor group " : "group ") << group.Name.Display() << " ("
        << group.Reference() << ", language " << Hex4(group.Language);
    for (uint16_t language : group.OtherLanguages)
        out << ", also " << Hex4(language);
    out << "): " << images.Images.size() << (images.Images.size() == 1 ? " image" : " images");
    if (!group.Problem.empty())
        out << ", " << group.Problem;
    out << "\n";
    for (size_t i = 0; i < images.Images.size(); ++i)
        WriteImage(out, images.Images[i], i, group.IsCursor, false);
    for (const std::string& note : images.Notes)
        out << "    " << note << "\n";
}

// Writes a group file. A file that does not exist yet is made in place, which spares the
// temporary file and the rename of a replacement (the larger part of the time when hundreds
// of groups are written); a failed write removes it again, so no part of a file is left. A
// file that exists is replaced atomically.
void WriteGroupFile(const std::filesystem::path& target, const Bytes& bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
        WriteFileAtomically(target, bytes);
        return;
    }
    if (fd < 0)
        throw EInOutError(
            FormatText(Messages::CannotCreateFile, { target.string(), std::strerror(errno) }));
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    const int writeError = written == bytes.size() ? 0 : errno;
    if (::close(fd) != 0 || writeError != 0 || written != bytes.size()) {
        const int error = writeError ? writeError : errno;
        ::unlink(target.c_str());
        throw EInOutError(FormatText(
            Messages::CannotWriteFile, { target.string(), std::strerror(error ? error : EIO) }));
    }
}

std::string FileNamePart(std::string text)
{
    for (char& c : text)
        if (c == '/' || c == '\0')
            c = '_';
    return text;
}

} // namespace

bool NamesProgram(const std::string& name)
{
    return IsProgramFileName(ParseProgramIconReference(name).File);
}

bool DescribeProgram(TTextBuffer& out, const std::string& name, bool json)
{
    const TProgramIconReference reference = ParseProgramIconReference(name);
    std::optional<TOpenProgram> program = OpenProgram(reference.File);
    if (!program)
        return false;
    const TProgramIcons& icons = *program->Icons;
    try {
        if (json) {
            out << "{\"file\":" << JsonString(name) << ",\"program\":\""
                << FormatName(icons.Format()) << "\",\"groups\":[";
            for (size_t i = 0; i < icons.Groups().size(); ++i) {
                out << (i ? "," : "") << "\n  ";
                WriteGroup(out, icons, icons.Groups()[i], true);
            }
            out << "]}";
            return true;
        }
        const size_t cursors = icons.Groups().size() - icons.IconGroupCount();
        out << name << ": " << FormatName(icons.Format()) << " program, " << icons.IconGroupCount()
            << (icons.IconGroupCount() == 1 ? " icon group" : " icon groups");
        if (cursors)
            out << ", " << cursors << (cursors == 1 ? " cursor group" : " cursor groups");
        out << "\n";
        if (icons.Groups().empty())
            out << "  " << Messages::ProgramNoIcons << "\n";
        for (const TProgramIconGroup& group : icons.Groups())
            WriteGroup(out, icons, group, false);
    } catch (const std::exception& error) {
        PrintError(FormatText(Messages::IconFileNotOpened, { name }));
        PrintError(error.what());
        return false;
    }
    return true;
}

int ExtractProgram(const TProgramExtract& request)
{
    const TProgramIconReference reference = ParseProgramIconReference(request.Name);
    std::optional<TOpenProgram> program = OpenProgram(reference.File);
    if (!program)
        return ExitFailed;
    const TProgramIcons& icons = *program->Icons;
    auto refuse = [&](std::string_view why) {
        PrintError(FormatText(Messages::IconFileNotOpened, { request.Name }));
        PrintError(why);
        return ExitFailed;
    };
    if (icons.Groups().empty())
        return refuse(Messages::ProgramNoIcons);

    // The groups asked for: one by number or name, one by index, or all.
    std::vector<size_t> chosen;
    std::optional<size_t> index = request.GroupIndex ? request.GroupIndex : reference.GroupIndex;
    std::optional<TResourceName> name;
    if (reference.GroupId)
        name = TResourceName { *reference.GroupId, "", false };
    if (request.Group) {
        const std::string& g = *request.Group;
        const bool number = !g.empty() && g.size() <= 5
            && g.find_first_not_of("0123456789") == std::string::npos && std::stoul(g) <= 0xFFFF;
        name = number ? TResourceName { static_cast<uint16_t>(std::stoul(g)), "", false }
                      : TResourceName { 0, g, true };
    }
    if (name) {
        const int found = icons.FindGroup(*name);
        if (found < 0)
            return refuse(FormatText(Messages::ProgramNoSuchGroup, { name->Display() }));
        chosen.push_back(static_cast<size_t>(found));
    } else if (reference.GroupIndex && !request.GroupIndex) {
        // The Windows form counts icon groups only.
        if (*index >= icons.IconGroupCount())
            return refuse(
                FormatText(Messages::ProgramNoSuchGroup, { "at index " + std::to_string(*index) }));
        chosen.push_back(*index);
    } else if (index) {
        // --group-index counts the groups as info lists them: icon groups, then cursor groups.
        if (*index >= icons.Groups().size())
            return refuse(
                FormatText(Messages::ProgramNoSuchGroup, { "at index " + std::to_string(*index) }));
        chosen.push_back(*index);
    } else {
        for (size_t i = 0; i < icons.Groups().size(); ++i)
            chosen.push_back(i);
    }
    const bool toStandardOutput = request.OutDir == "-";
    if (toStandardOutput && chosen.size() != 1)
        return UsageError("extract",
            "writing to standard output needs one group (--group ID or --group-index N)");
    const std::filesystem::path outDir = request.OutDir;
    if (!toStandardOutput && !MakeOutputFolder(outDir.string()))
        return ExitFailed;

    const std::string stem = std::filesystem::path(reference.File).stem().string();
    int status = ExitOk;
    for (size_t i : chosen) {
        const TProgramIconGroup& group = icons.Groups()[i];
        std::filesystem::path target;
        try {
            const TProgramGroupImages images = icons.ReadImages(group);
            for (const std::string& note : images.Notes)
                PrintError(note);
            if (images.Images.empty())
                throw Exception(FormatText(Messages::ProgramGroupUnreadable,
                    { group.Name.Display(),
                        group.Problem.empty() ? "it holds no image" : group.Problem }));
            const std::string base = stem + "-" + FileNamePart(group.Name.Display());
            if (toStandardOutput) {
                const Bytes file = IconFileBytes(images);
                WriteOutBytes(file);
            } else if (request.Png) {
                TIconDirectory document;
                TakeProgramImages(document, images, base);
                for (int image = 0; image < document.Count(); ++image) {
                    target = outDir / (base + "-" + std::to_string(image) + ".png");
                    WriteFileAtomically(
                        target, EncodePng(IconPicture(*document.GetImage(image).Icon)));
                    WriteOut(target.string() + "\n");
                }
            } else {
                target = outDir / (base + (group.IsCursor ? ".cur" : ".ico"));
                WriteGroupFile(target, IconFileBytes(images));
                WriteOut(target.string() + "\n");
            }
        } catch (const std::exception& error) {
            if (!target.empty())
                PrintError(std::string(Messages::FileNotSaved) + target.string());
            PrintError(error.what());
            status = ExitFailed;
        }
    }
    return status;
}

} // namespace velmora::cli
