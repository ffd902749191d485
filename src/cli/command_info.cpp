// velmora-icon info: describes the images of icon files.

#include "cli_output.h"
#include "commands.h"
#include "cursor_output.h"
#include "graphics/icon_decoder.h"
#include "icon_loading.h"
#include "icons/icon_directory.h"
#include "program_files.h"

#include <map>
#include <utility>

namespace velmora::cli
{

const char* const InfoHelp
    = "Usage: velmora-icon info [--json] FILE...\n"
      "\n"
      "Loads each icon file and describes its images: size, colour depth,\n"
      "encoding (bmp or png), data size and offset, and the bitmap header;\n"
      "of a cursor (.cur) each image's hotspot; of an animated cursor\n"
      "(.ani) its frames, step sequence, rates (1/60 s), title and artist.\n"
      "A Windows program (.exe, .dll, .mun, .icl; PE or NE) is described\n"
      "by its icon and cursor groups: name, language and images.\n"
      "Each image is decoded far enough to find its own size and depth\n"
      "(given first, the directory's beside it where it differs) and to\n"
      "name what cannot be read or decoded. --json gives the directory's\n"
      "bytes as stored and imageWidth, imageHeight and imageBitCount.\n"
      "\n"
      "  --json   print one JSON array with one object per file; the\n"
      "           output is valid UTF-8: each byte of a file name that is\n"
      "           not part of valid UTF-8 is written as \\udcXX (XX its\n"
      "           value in hexadecimal), which Python's json and\n"
      "           os.fsencode turn back into that byte\n"
      "  -h, --help  show this help\n"
      "\n"
      "Exit status: 0 when every image of every file can be decoded, 1 when a\n"
      "file was refused or an image cannot be read or decoded,\n"
      "2 for a usage error.\n";

namespace
{

// The image's own size and depth, or the reason it cannot be decoded.
struct TImageCheck {
    TIconImageShape Shape;
    std::string Problem;
};

// The checks of one file's images by offset and size: entries that share their data are
// decoded once, however many a hostile directory holds.
using TImageChecks = std::map<std::pair<uint32_t, uint32_t>, TImageCheck>;

const TImageCheck& CheckImage(
    TImageChecks& checks, const TIconDirectoryEntry& entry, const TIconDirectoryImage& image)
{
    const auto [found, first] = checks.try_emplace({ entry.ImageOffset, entry.BytesInRes });
    if (first) {
        try {
            found->second.Shape = InspectIcon(*image.Icon);
        } catch (const std::exception& error) {
            found->second.Problem = error.what();
        }
    }
    return found->second;
}

void WriteEntryJson(TTextBuffer& out, int index, const TIconDirectoryEntry& entry)
{
    out << "{\"index\":" << index << ",\"width\":" << int { entry.Width }
        << ",\"height\":" << int { entry.Height } << ",\"colorCount\":" << int { entry.ColorCount }
        << ",\"reserved\":" << int { entry.Reserved } << ",\"planes\":" << entry.Planes
        << ",\"bitCount\":" << entry.BitCount << ",\"bytesInRes\":" << entry.BytesInRes
        << ",\"imageOffset\":" << entry.ImageOffset;
}

void WriteImageJson(TTextBuffer& out, TImageChecks& checks, const TIconDirectoryEntry& entry,
    const TIconDirectoryImage& image, int index, bool cursor)
{
    WriteEntryJson(out, index, entry);
    out << ",\"encoding\":" << (image.IsPng() ? "\"png\"" : "\"bmp\"");
    const TImageCheck& check = CheckImage(checks, entry, image);
    if (check.Problem.empty())
        out << ",\"imageWidth\":" << check.Shape.Width << ",\"imageHeight\":" << check.Shape.Height
            << ",\"imageBitCount\":" << check.Shape.BitCount;
    else
        out << ",\"error\":" << JsonString(PlainLineEnds(check.Problem));
    if (!image.IsPng())
        out << ",\"header\":{\"width\":" << image.Header.biWidth
            << ",\"height\":" << image.Header.biHeight
            << ",\"bitCount\":" << image.Header.biBitCount << "}";
    if (image.Truncated)
        out << ",\"truncated\":true,\"storedBytesInRes\":" << image.StoredBytesInRes;
    if (cursor)
        out << ",\"hotspot\":{\"x\":" << entry.HotspotX << ",\"y\":" << entry.HotspotY << "}";
    out << "}";
}

void WriteImageText(TTextBuffer& out, TImageChecks& checks, const TIconDirectoryEntry& entry,
    const TIconDirectoryImage& image, int index, bool cursor)
{
    const TImageCheck& check = CheckImage(checks, entry, image);
    out << "  " << index << ": ";
    if (check.Problem.empty()) {
        // The image's own size and depth first; the directory's where it says otherwise.
        const TIconImageShape& shape = check.Shape;
        out << shape.Width << "x" << shape.Height;
        if (shape.Width != entry.ImageWidth() || shape.Height != entry.ImageHeight())
            out << " (directory: " << entry.ImageWidth() << "x" << entry.ImageHeight() << ")";
        out << ", " << shape.BitCount << " bpp";
        if (shape.BitCount != entry.BitCount)
            out << " (directory: " << entry.BitCount << ")";
    } else {
        out << entry.ImageWidth() << "x" << entry.ImageHeight() << ", " << entry.BitCount << " bpp";
    }
    out << ", " << (image.IsPng() ? "png" : "bmp") << ", " << entry.BytesInRes
        << " bytes at offset " << entry.ImageOffset;
    if (!image.IsPng())
        out << " (header " << image.Header.biWidth << "x" << image.Header.biHeight << ", "
            << image.Header.biBitCount << " bpp)";
    if (image.Truncated)
        out << ", truncated: the directory says " << image.StoredBytesInRes << " bytes";
    if (!check.Problem.empty())
        out << ", cannot be decoded: " << PlainLineEnds(check.Problem);
    if (cursor)
        out << ", hotspot " << entry.HotspotX << "," << entry.HotspotY;
    out << "\n";
}

// The document's images and the file's unreadable entries, in the file's order.
template <typename Readable, typename Unreadable>
void ForEachEntry(const TIconDirectory& document, const std::vector<TUnreadableImage>& lost,
    Readable readable, Unreadable unreadable)
{
    size_t next = 0;
    int index = 0;
    for (int i = 0; i < document.Count(); ++i, ++index) {
        for (; next < lost.size() && lost[next].Index == index; ++next, ++index)
            unreadable(lost[next]);
        readable(document.GetEntry(i), document.GetImage(i), index);
    }
    for (; next < lost.size(); ++next)
        unreadable(lost[next]);
}

} // namespace

namespace
{

struct TInfoOptions {
    bool Json = false;
    std::vector<std::string> Files;
};

int RunInfo(const TInfoOptions& options)
{
    const bool json = options.Json;
    const std::vector<std::string>& files = options.Files;
    if (files.empty())
        return UsageError("info", "no FILE given");

    int exitStatus = ExitOk;
    // Written out in pieces of a bounded size, so that any number of files can be described
    // in a buffer that is made once.
    constexpr size_t pieceSize = 16 * 1024;
    TTextBuffer out;
    out.Reserve(2 * pieceSize);
    if (json)
        out << "[";
    for (size_t f = 0; f < files.size(); ++f) {
        const std::string& name = files[f];
        if (NamesProgram(name)) {
            // A program: its icon groups, as "setup.exe" or "setup.exe,-101" names it.
            if (json)
                out << (f ? "," : "") << "\n";
            if (!DescribeProgram(out, name, json))
                exitStatus = ExitFailed;
            continue;
        }
        if (IsAnimatedCursorFile(name)) {
            if (json)
                out << (f ? "," : "") << "\n{\"file\":" << JsonString(name);
            if (!DescribeAnimatedCursor(out, name, json))
                exitStatus = ExitFailed;
            continue;
        }
        TIconDirectory document;
        // Every entry is listed: what cannot be read or decoded is named with its reason.
        TLoadResult result = LoadIconFile(document, name, TLoadContent::Readable);
        if (!result.Loaded || !result.Unreadable.empty())
            exitStatus = ExitFailed;
        const std::vector<TUnreadableImage>& lost = result.Unreadable;
        TImageChecks checks;
        if (json) {
            out << (f ? "," : "") << "\n{\"file\":" << JsonString(name);
            if (result.Loaded) {
                if (document.IsCursor())
                    out << ",\"kind\":\"cursor\"";
                out << ",\"images\":[";
                bool first = true;
                auto separate = [&] {
                    out << (first ? "" : ",") << "\n  ";
                    first = false;
                };
                ForEachEntry(
                    document, lost,
                    [&](const TIconDirectoryEntry& entry, const TIconDirectoryImage& image,
                        int index) {
                        separate();
                        WriteImageJson(out, checks, entry, image, index, document.IsCursor());
                    },
                    [&](const TUnreadableImage& image) {
                        separate();
                        WriteEntryJson(out, image.Index, image.Entry);
                        out << ",\"error\":" << JsonString(PlainLineEnds(image.Reason)) << "}";
                    });
                out << "]}";
            } else {
                out << ",\"status\":";
                if (result.Status)
                    out << *result.Status;
                else
                    out << "null";
                out << ",\"error\":" << JsonString(PlainLineEnds(result.Error)) << "}";
            }
        } else if (result.Loaded) {
            const size_t count = document.Count() + lost.size();
            out << name << ": " << (document.IsCursor() ? "cursor, " : "") << count
                << (count == 1 ? " image\n" : " images\n");
            ForEachEntry(
                document, lost,
                [&](const TIconDirectoryEntry& entry, const TIconDirectoryImage& image, int index) {
                    WriteImageText(out, checks, entry, image, index, document.IsCursor());
                },
                [&](const TUnreadableImage& image) {
                    out << "  " << image.Index
                        << ": cannot be read: " << PlainLineEnds(image.Reason) << "\n";
                });
        }
        if (out.Text().size() >= pieceSize)
            out.WriteOut();
    }
    if (json)
        out << "\n]\n";
    out.WriteOut();
    return exitStatus;
}

} // namespace

TCommand SetupInfo(CLI::App& tool)
{
    CLI::App* app = AddCommand(tool, "info", InfoHelp);
    auto options = std::make_shared<TInfoOptions>();
    app->add_flag("--json", options->Json);
    app->add_option("FILE", options->Files);
    return { app, [options] { return RunInfo(*options); } };
}

} // namespace velmora::cli
