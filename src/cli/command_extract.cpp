// velmora-icon extract: writes every image of an icon as a bitmap or PNG file.

#include "cli_output.h"
#include "commands.h"
#include "cursor_output.h"
#include "graphics/bmp_codec.h"
#include "graphics/icon_decoder.h"
#include "graphics/icon_picture.h"
#include "graphics/png_codec.h"
#include "icon_loading.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "program_files.h"
#include "support/error.h"
#include "support/file_io.h"

#include <filesystem>
#include <optional>

namespace velmora::cli
{

const char* const ExtractHelp
    = "Usage: velmora-icon extract [--background RRGGBB] [--png] [--index N,N,...]\n"
      "                            [--size WxH] [--depth BPP] ICON OUTDIR|-\n"
      "       velmora-icon extract [--group ID | --group-index N] [--png] PROGRAM OUTDIR|-\n"
      "\n"
      "Writes every image of ICON into OUTDIR as <stem>-<index>.bmp, rendered at the image's\n"
      "own colour depth over the background colour (default FF00FF), or with --png as\n"
      "<stem>-<index>.png: PNG-compressed images as they are stored, the others at their own\n"
      "size and colours with their transparency (over the background when one is given).\n"
      "Of a damaged icon every readable image is written and the others are named.\n"
      "Of a cursor each image becomes a one-image cursor <stem>-<index>.cur with its hotspot\n"
      "(PNG with --png); of an animated cursor each frame becomes <stem>-<frame>.cur as the\n"
      "file holds it (with --png <stem>-<frame>.png, <stem>-<frame>-<image>.png for frames of\n"
      "several images).\n"
      "OUTDIR is made when missing; files there are replaced. Prints each written path.\n"
      "With --index, --size or --depth only the images that match all of them are written;\n"
      "OUTDIR - writes the one selected image to standard output.\n"
      "\n"
      "  --background RRGGBB   background of the bitmaps, and with --png of opaque pictures\n"
      "                        (hexadecimal, red first, # optional)\n"
      "  --png                 write PNG files instead of bitmaps\n"
      "  --index N,N,...       only the images of these numbers (0 is the first)\n"
      "  --size WxH            only the images of this size, such as 32x32\n"
      "  --depth BPP           only the images of this colour depth, such as 32\n"
      "  -h, --help            show this help\n"
      "\n"
      "Of a Windows program (PE or NE; also named as setup.exe,-101 for the group numbered\n"
      "101 or setup.exe,2 for the third icon group) each icon group is written as\n"
      "<stem>-<group>.ico and each cursor group as <stem>-<group>.cur with its hotspots, the\n"
      "images byte for byte; with --png its images as <stem>-<group>-<index>.png.\n"
      "OUTDIR - writes the one chosen group to standard output.\n"
      "  --group ID            only the group with this number or name; the icon groups are\n"
      "                        searched first, then the cursor groups\n"
      "  --group-index N       only the group at this index as info lists them (0 is the\n"
      "                        first; icon groups, then cursor groups)\n"
      "\n"
      "Exit status: 0 when every image was written whole, 1 when the icon could not be loaded,\n"
      "an image could not be read or written or was truncated, 2 for a usage error.\n";

namespace
{

std::optional<TColor> ParseColor(std::string text)
{
    if (!text.empty() && text[0] == '#')
        text.erase(0, 1);
    if (text.size() != 6)
        return std::nullopt;
    uint32_t value;
    try {
        value = static_cast<uint32_t>(TIconDirectory::HexToInt(text));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
    // RRGGBB as written, red first; colour values keep red in the lowest byte.
    return RGB(static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
        static_cast<uint8_t>(value));
}

// The image as a PNG file: a PNG-compressed image as it is stored; any other at its own size
// as 8-bit RGBA, with its alpha, or transparent exactly where its mask is. With a background
// the picture is drawn over it and is opaque.
Bytes ImageAsPng(const TIconDirectoryImage& image, std::optional<TColor> background)
{
    const Bytes& held = image.Icon->Data();
    if (!background && image.IsPng() && !image.Truncated)
        return Bytes(held.begin() + TIconDirectory::SingleImageHeaderSize, held.end());
    TBitmap picture = IconPicture(*image.Icon);
    if (background) {
        // Bitmap bytes are blue, green, red; colour values keep red in the lowest byte.
        const int back[3] = { static_cast<int>(*background >> 16 & 0xFF),
            static_cast<int>(*background >> 8 & 0xFF), static_cast<int>(*background & 0xFF) };
        for (int y = 0; y < picture.Height(); ++y) {
            uint8_t* row = picture.ScanLine(y);
            for (int x = 0; x < picture.Width(); ++x) {
                uint8_t* p = row + 4 * x;
                const int alpha = p[3];
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<uint8_t>(
                        (p[c] * alpha + back[c] * (255 - alpha) + 127) / 255);
                p[3] = 255;
            }
        }
    }
    return EncodePng(picture);
}

int Usage(const std::string& problem)
{
    return UsageError("extract", problem);
}

struct TExtractOptions {
    std::optional<std::string> Background;
    bool Png = false;
    std::optional<std::string> Group;
    std::optional<std::string> GroupIndex;
    std::optional<std::string> Indices, Size;
    std::optional<int> Depth;
    std::vector<std::string> Operands;
};

std::optional<std::vector<int>> ParseIndices(const std::string& text)
{
    std::vector<int> indices;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, end - start);
        if (item.empty() || item.size() > 5
            || item.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        indices.push_back(std::stoi(item));
        start = end + 1;
    }
    return indices;
}

// The width and height of "WxH" (or of "N", a square); none when the text is neither.
std::optional<std::pair<int, int>> ParseSize(const std::string& text)
{
    const size_t x = text.find('x');
    const std::string w = text.substr(0, x), h = x == std::string::npos ? w : text.substr(x + 1);
    for (const std::string& side : { w, h })
        if (side.empty() || side.size() > 3
            || side.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
    return std::pair { std::stoi(w), std::stoi(h) };
}

int RunExtract(const TExtractOptions& options)
{
    TColor background = RGB(0xFF, 0x00, 0xFF);
    TProgramExtract program;
    if (options.Group)
        program.Group = *options.Group;
    if (options.GroupIndex) {
        const std::string& value = *options.GroupIndex;
        if (value.empty() || value.size() > 9
            || value.find_first_not_of("0123456789") != std::string::npos)
            return Usage("not an index: " + value);
        program.GroupIndex = std::stoul(value);
    }
    const bool backgroundGiven = options.Background.has_value();
    if (options.Background) {
        std::optional<TColor> color = ParseColor(*options.Background);
        if (!color)
            return Usage("not a colour (RRGGBB): " + *options.Background);
        background = *color;
    }
    const bool png = options.Png;
    const std::vector<std::string>& operands = options.Operands;
    std::optional<std::vector<int>> indices;
    if (options.Indices && !(indices = ParseIndices(*options.Indices)))
        return Usage("--index needs image numbers separated by commas, such as 0,3");
    std::optional<std::pair<int, int>> size;
    if (options.Size && !(size = ParseSize(*options.Size)))
        return Usage("--size needs WIDTHxHEIGHT, such as 32x32");
    if (operands.size() != 2)
        return Usage("expected ICON and OUTDIR");
    if (NamesProgram(operands[0])) {
        program.Name = operands[0];
        program.OutDir = operands[1];
        program.Png = png;
        return ExtractProgram(program);
    }
    if (program.Group || program.GroupIndex)
        return Usage("--group and --group-index need a program file");
    const std::string& iconName = operands[0];
    const std::filesystem::path outDir = operands[1];

    const bool animated = IsAnimatedCursorFile(iconName);
    TIconDirectory document;
    // A damaged icon gives up every image it still holds.
    const TLoadResult loaded
        = animated ? TLoadResult {} : LoadIconFile(document, iconName, TLoadContent::Readable);
    if (!animated && !loaded.Loaded)
        return ExitFailed;
    if (animated)
        return MakeOutputFolder(outDir.string()) ? ExtractAnimatedCursor(iconName, outDir, png)
                                                 : ExitFailed;
    int status = ExitOk;
    for (const TUnreadableImage& lost : loaded.Unreadable) {
        PrintError("velmora-icon extract: image " + std::to_string(lost.Index)
            + " not written: " + PlainLineEnds(lost.Reason));
        status = ExitFailed;
    }
    // Images are numbered by their place in the file, also when some before them are lost;
    // the selection takes those every given choice takes, as icotool's -i, -w, -h and -b do.
    std::vector<std::pair<int, int>> selected; // document index, file index
    size_t next = 0;
    for (int i = 0, index = 0; i < document.Count(); ++i, ++index) {
        for (; next < loaded.Unreadable.size() && loaded.Unreadable[next].Index == index; ++next)
            ++index;
        const TIconDirectoryEntry& entry = document.GetEntry(i);
        if ((!indices || std::find(indices->begin(), indices->end(), index) != indices->end())
            && (!size || (entry.ImageWidth() == size->first && entry.ImageHeight() == size->second))
            && (!options.Depth || entry.BitCount == *options.Depth))
            selected.emplace_back(i, index);
    }
    if (selected.empty()) {
        PrintError("velmora-icon extract: " + iconName + ": no image is selected");
        return ExitFailed;
    }
    const bool cursor = document.IsCursor() && !png;
    auto pngBackground = [&] { return backgroundGiven ? std::optional(background) : std::nullopt; };
    if (outDir == "-") {
        // Standard output takes one picture.
        if (selected.size() > 1) {
            return Usage(std::to_string(selected.size())
                + " images are selected, but standard output takes one; choose with --index, "
                  "--size or --depth");
        }
        const int i = selected.front().first;
        const Bytes bytes = png ? ImageAsPng(document.GetImage(i), pngBackground())
                                : WriteBmp(document.RenderImageToBitmap(i, background));
        WriteOutBytes(bytes);
        return status;
    }
    if (!MakeOutputFolder(outDir.string()))
        return ExitFailed;

    const std::string stem
        = iconName == "-" ? std::string("stdin") : std::filesystem::path(iconName).stem().string();
    for (const auto& [i, index] : selected) {
        const std::filesystem::path target = outDir
            / (stem + "-" + std::to_string(index)
                + (png           ? ".png"
                        : cursor ? ".cur"
                                 : ".bmp"));
        const TIconDirectoryImage& image = document.GetImage(i);
        try {
            if (cursor)
                SaveCursorImage(document, i, target.string());
            else if (png)
                WriteFileAtomically(target, ImageAsPng(image, pngBackground()));
            else
                document.ExportImageToBitmapFile(target.string(), i, background);
            WriteOut(target.string() + "\n");
            if (image.Truncated) {
                PrintError("velmora-icon extract: warning: image " + std::to_string(index)
                    + " is truncated (the directory says " + std::to_string(image.StoredBytesInRes)
                    + " bytes, the file holds fewer); written as far as it goes: "
                    + target.string());
                status = ExitFailed;
            }
        } catch (const std::exception& error) {
            PrintError(std::string(Messages::FileNotSaved) + target.string());
            PrintError(error.what());
            status = ExitFailed;
        }
    }
    return status;
}

} // namespace

TCommand SetupExtract(CLI::App& tool)
{
    CLI::App* app = AddCommand(tool, "extract", ExtractHelp);
    auto options = std::make_shared<TExtractOptions>();
    app->add_option("--background", options->Background, "needs a colour");
    app->add_flag("--png", options->Png);
    app->add_option("--group", options->Group, "needs a number or a name");
    app->add_option("--group-index", options->GroupIndex, "needs an index");
    app->add_option("--index", options->Indices, "needs image numbers, such as 0,3");
    app->add_option("--size", options->Size, "needs WIDTHxHEIGHT, such as 32x32");
    app->add_option("--depth", options->Depth, "needs a number of bits per pixel, such as 32");
    app->add_option("ICON OUTDIR", options->Operands);
    return { app, [options] { return RunExtract(*options); } };
}

} // namespace velmora::cli
