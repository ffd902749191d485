// velmora-icon extract: writes every image of an icon as a bitmap or PNG file.

#include "cli_output.h"
#include "commands.h"
#include "cursor_output.h"
#include "graphics/icon_decoder.h"
#include "graphics/icon_picture.h"
#include "graphics/png_codec.h"
#include "icon_loading.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <filesystem>
#include <optional>

namespace velmora::cli
{

const char* const ExtractHelp
    = "Usage: velmora-icon extract [--background RRGGBB] [--png] ICON OUTDIR\n"
      "\n"
      "Writes every image of ICON into OUTDIR as <stem>-<index>.bmp, rendered at the image's\n"
      "own colour depth over the background colour (default FF00FF), or with --png as\n"
      "<stem>-<index>.png: the image's own size and colours with their transparency.\n"
      "Of a cursor each image becomes a one-image cursor <stem>-<index>.cur with its hotspot\n"
      "(PNG with --png); of an animated cursor each frame becomes <stem>-<frame>.cur as the\n"
      "file holds it (with --png <stem>-<frame>.png, <stem>-<frame>-<image>.png for frames of\n"
      "several images).\n"
      "OUTDIR is made when missing; files there are replaced. Prints each written path.\n"
      "\n"
      "  --background RRGGBB   background of the bitmaps (hexadecimal, red first, # optional)\n"
      "  --png                 write PNG files instead of bitmaps\n"
      "  -h, --help            show this help\n"
      "\n"
      "Exit status: 0 when every image was written, 1 when the icon could not be loaded or an\n"
      "image failed, 2 for a usage error.\n";

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
    std::vector<std::string> Operands;
};

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
    if (operands.size() != 2)
        return Usage("expected ICON and OUTDIR");
    const std::string& iconName = operands[0];
    const std::filesystem::path outDir = operands[1];

    const bool animated = IsAnimatedCursorFile(iconName);
    TIconDirectory document;
    if (!animated && !LoadIconFile(document, iconName).Loaded)
        return ExitFailed;
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (!std::filesystem::is_directory(outDir)) {
        PrintError("velmora-icon extract: cannot make the folder " + outDir.string()
            + (ec ? ": " + ec.message() : ""));
        return ExitFailed;
    }

    if (animated)
        return ExtractAnimatedCursor(iconName, outDir, png);
    const std::string stem = std::filesystem::path(iconName).stem().string();
    const bool cursor = document.IsCursor() && !png;
    int status = ExitOk;
    for (int i = 0; i < document.Count(); ++i) {
        const std::filesystem::path target = outDir
            / (stem + "-" + std::to_string(i)
                + (png           ? ".png"
                        : cursor ? ".cur"
                                 : ".bmp"));
        try {
            if (cursor)
                SaveCursorImage(document, i, target.string());
            else if (png)
                WriteFileAtomically(target, ImageAsPng(*document.GetImage(i).Icon));
            else
                document.ExportImageToBitmapFile(target.string(), i, background);
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
    app->add_option("ICON OUTDIR", options->Operands);
    return { app, [options] { return RunExtract(*options); } };
}

} // namespace velmora::cli
