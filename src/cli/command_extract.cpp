// velmora-icon extract: writes every image of an icon as a bitmap or PNG file.

#include "cli_output.h"
#include "commands.h"
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
    = "Usage: velmora-icon extract [--background RRGGBB] [--png] ICON OUTDIR\n"
      "       velmora-icon extract [--group ID | --group-index N] [--png] PROGRAM OUTDIR|-\n"
      "\n"
      "Writes every image of ICON into OUTDIR as <stem>-<index>.bmp, rendered at the image's\n"
      "own colour depth over the background colour (default FF00FF), or with --png as\n"
      "<stem>-<index>.png: the image's own size and colours with their transparency.\n"
      "OUTDIR is made when missing; files there are replaced. Prints each written path.\n"
      "\n"
      "  --background RRGGBB   background of the bitmaps (hexadecimal, red first, # optional)\n"
      "  --png                 write PNG files instead of bitmaps\n"
      "\n"
      "Of a Windows program (PE or NE; also named as setup.exe,-101 for the group numbered\n"
      "101 or setup.exe,2 for the third group) each icon group is written as\n"
      "<stem>-<group>.ico, its images byte for byte; with --png its images as\n"
      "<stem>-<group>-<index>.png. OUTDIR - writes the one chosen group to standard output.\n"
      "  --group ID            only the group with this number or name\n"
      "  --group-index N       only the group at this index (0 is the first)\n"
      "  --help                show this help\n"
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
    return UsageError("extract", problem, ExtractHelp);
}

} // namespace

int RunExtract(const Arguments& args)
{
    TColor background = RGB(0xFF, 0x00, 0xFF);
    bool png = false;
    TProgramExtract program;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--help") {
            WriteOut(ExtractHelp);
            return ExitOk;
        } else if (!optionsEnded && arg == "--png") {
            png = true;
        } else if (!optionsEnded && (arg == "--background" || arg.rfind("--background=", 0) == 0)) {
            std::string value;
            if (arg == "--background") {
                if (i + 1 >= args.size())
                    return Usage("--background needs a colour");
                value = args[++i];
            } else {
                value = arg.substr(std::string("--background=").size());
            }
            std::optional<TColor> color = ParseColor(value);
            if (!color)
                return Usage("not a colour (RRGGBB): " + value);
            background = *color;
        } else if (!optionsEnded && (arg == "--group" || arg == "--group-index")) {
            if (i + 1 >= args.size())
                return Usage(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--group") {
                program.Group = value;
            } else {
                if (value.empty() || value.size() > 9
                    || value.find_first_not_of("0123456789") != std::string::npos)
                    return Usage("not an index: " + value);
                program.GroupIndex = std::stoul(value);
            }
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option " + arg);
        } else {
            operands.push_back(arg);
        }
    }
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

    TIconDirectory document;
    if (!LoadIconFile(document, iconName).Loaded)
        return ExitFailed;
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (!std::filesystem::is_directory(outDir)) {
        PrintError("velmora-icon extract: cannot make the folder " + outDir.string()
            + (ec ? ": " + ec.message() : ""));
        return ExitFailed;
    }

    const std::string stem = std::filesystem::path(iconName).stem().string();
    int status = ExitOk;
    for (int i = 0; i < document.Count(); ++i) {
        const std::filesystem::path target
            = outDir / (stem + "-" + std::to_string(i) + (png ? ".png" : ".bmp"));
        try {
            if (png)
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

} // namespace velmora::cli
