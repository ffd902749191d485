// velmora-icon extract: writes every image of an icon as a bitmap or PNG file.

#include "cli_output.h"
#include "commands.h"
#include "graphics/bmp_codec.h"
#include "graphics/icon_decoder.h"
#include "graphics/icon_picture.h"
#include "graphics/png_codec.h"
#include "icon_loading.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace velmora::cli
{

const char* const ExtractHelp
    = "Usage: velmora-icon extract [--background RRGGBB] [--png] [--index N,N,...]\n"
      "                            [--size WxH] [--depth BPP] ICON OUTDIR\n"
      "\n"
      "Writes every image of ICON into OUTDIR as <stem>-<index>.bmp, rendered at the image's\n"
      "own colour depth over the background colour (default FF00FF), or with --png as\n"
      "<stem>-<index>.png: the image's own size and colours with their transparency.\n"
      "OUTDIR is made when missing; files there are replaced. Prints each written path.\n"
      "With --index, --size or --depth only the images that match all of them are written.\n"
      "ICON - reads standard input (stem \"stdin\"); OUTDIR - writes the one selected image\n"
      "to standard output and refuses when more than one is selected.\n"
      "\n"
      "  --background RRGGBB   background of the bitmaps (hexadecimal, red first, # optional)\n"
      "  --png                 write PNG files instead of bitmaps\n"
      "  --index N,N,...       only the images of these numbers (0 is the first)\n"
      "  --size WxH            only the images of this size, such as 32x32\n"
      "  --depth BPP           only the images of this colour depth, such as 32\n"
      "  -h, --help            show this help\n"
      "\n"
      "Exit status: 0 when every selected image was written, 1 when the icon could not be\n"
      "loaded, no image was selected or an image failed, 2 for a usage error.\n";

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

// The image at its own size as 8-bit RGBA: an image with alpha keeps it; any other image is
// transparent exactly where its mask is.
Bytes ImageAsPng(const TIcon& icon)
{
    return EncodePng(IconPicture(icon));
}

int Usage(const std::string& problem)
{
    return UsageError("extract", problem);
}

struct TExtractOptions {
    std::optional<std::string> Background;
    bool Png = false;
    std::optional<std::string> Indices, Size;
    std::optional<int> Depth;
    std::vector<std::string> Operands;
};

// The numbers of a list such as "0,3"; none when an item is no number.
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
    const std::string& iconName = operands[0];
    const std::filesystem::path outDir = operands[1];

    TIconDirectory document;
    if (!LoadIconFile(document, iconName).Loaded)
        return ExitFailed;
    // The images that every given selection takes, as icotool's -i, -w, -h and -b do.
    std::vector<int> selected;
    for (int i = 0; i < document.Count(); ++i) {
        const TIconDirectoryEntry& entry = document.GetEntry(i);
        if ((!indices || std::find(indices->begin(), indices->end(), i) != indices->end())
            && (!size || (entry.ImageWidth() == size->first && entry.ImageHeight() == size->second))
            && (!options.Depth || entry.BitCount == *options.Depth))
            selected.push_back(i);
    }
    if (selected.empty()) {
        PrintError("velmora-icon extract: " + iconName + ": no image is selected");
        return ExitFailed;
    }
    auto encode = [&](int i) {
        return png ? ImageAsPng(*document.GetImage(i).Icon)
                   : WriteBmp(document.RenderImageToBitmap(i, background));
    };
    if (outDir == "-") {
        // Standard output takes one picture.
        if (selected.size() > 1) {
            return Usage(std::to_string(selected.size())
                + " images are selected, but standard output takes one; choose with --index, "
                  "--size or --depth");
        }
        const Bytes bytes = encode(selected.front());
        WriteOut(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        return ExitOk;
    }
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (!std::filesystem::is_directory(outDir)) {
        PrintError("velmora-icon extract: cannot make the folder " + outDir.string()
            + (ec ? ": " + ec.message() : ""));
        return ExitFailed;
    }

    const std::string stem
        = iconName == "-" ? std::string("stdin") : std::filesystem::path(iconName).stem().string();
    int status = ExitOk;
    for (int i : selected) {
        const std::filesystem::path target
            = outDir / (stem + "-" + std::to_string(i) + (png ? ".png" : ".bmp"));
        try {
            WriteFileAtomically(target, encode(i));
            WriteOut(target.string() + "\n");
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
    app->add_option("--index", options->Indices, "needs image numbers, such as 0,3");
    app->add_option("--size", options->Size, "needs WIDTHxHEIGHT, such as 32x32");
    app->add_option("--depth", options->Depth, "needs a number of bits per pixel, such as 32");
    app->add_option("ICON OUTDIR", options->Operands);
    return { app, [options] { return RunExtract(*options); } };
}

} // namespace velmora::cli
