// velmora-icon build: makes an icon file from bitmap files, as the desktop program's import
// does, optionally on top of the images of an existing icon.

#include "cli_output.h"
#include "cli_pane_platform.h"
#include "commands.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/size_sources.h"
#include "support/error.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace velmora::cli
{

const char* const BuildHelp
    = "Usage: velmora-icon build -o OUT.ico [--into ICON] [FILE...]\n"
      "       velmora-icon build -o OUT.ico [--into ICON] --sizes N,N,... PICTURE\n"
      "       velmora-icon build -o OUT.ico [--into ICON] [--sizes N,N,...] [--source N=FILE]...\n"
      "                          [--sources auto] PICTURE.svg\n"
      "\n"
      "Writes the icon file OUT.ico made of the picture files FILE..., imported as the desktop\n"
      "program imports them. Each FILE whose name ends in \".bmp\" becomes one image: a\n"
      "true-colour bitmap (15, 16, 24 or 32 bits per pixel) of 4 to 72 pixels a side, whose\n"
      "pixels of its bottom-left pixel's colour become transparent. A file NAMEmask.bmp given\n"
      "with NAME.bmp is its mask: it gives that image its transparency. Each FILE whose name\n"
      "ends in \".png\" becomes a 32-bit image with the PNG's transparency, of 1 to 256 pixels\n"
      "a side (any PNG colour type and depth); a 256-pixel image is stored PNG-compressed.\n"
      "The files are taken in the order of their names regardless of case; a file whose size\n"
      "and depth the icon already holds ends the import.\n"
      "\n"
      "With --sizes, one PICTURE (PNG or bitmap, up to 8192 pixels a side) becomes a 32-bit\n"
      "image of each listed size (1 to 256), made with a Lanczos filter on premultiplied\n"
      "alpha; a picture that is not square is fitted inside the square, centred on\n"
      "transparency. A size the icon already holds is refused; the others are still made.\n"
      "An SVG PICTURE (or SVGZ) is drawn with librsvg at each size instead, and without\n"
      "--sizes makes 16,24,32,48,64,128,256. --source N=FILE makes size N from FILE (an SVG,\n"
      "or a PNG or bitmap of exactly N x N pixels, taken as it is, or larger); --sources auto\n"
      "takes NAME-N.svg, or else NAME-N.png, beside PICTURE NAME.svg for each size N.\n"
      "\n"
      "With --into the images are added to those of ICON, which itself is not changed. OUT.ico\n"
      "is replaced when it exists. Messages go to standard error.\n"
      "\n"
      "  -o, --output OUT.ico   the icon file to write\n"
      "  --into ICON            start from the images of this icon file\n"
      "  --sizes N,N,...        make these sizes from one PICTURE, such as 16,24,32,48,256\n"
      "  --source N=FILE        make size N from FILE (may be given again for other sizes)\n"
      "  --sources auto         make size N from NAME-N.svg or NAME-N.png beside PICTURE\n"
      "  --help                 show this help\n"
      "\n"
      "Exit status: 0 when OUT.ico was written and every FILE ending in \".bmp\" or \".png\"\n"
      "became an image or the mask of one (with --sizes: every size became an image); 1\n"
      "otherwise, naming on standard error each file or size not imported and why; 2 for a\n"
      "usage error. OUT.ico is not written when ICON cannot be opened or the icon has no image.\n";

namespace
{

constexpr std::string_view Prefix = "velmora-icon build: ";

void Report(const std::string& text)
{
    std::string line(Prefix);
    line += text;
    PrintError(line);
}

int Usage(const std::string& problem)
{
    return UsageError("build", problem, BuildHelp);
}

// The value of an option given as "--name VALUE" or "--name=VALUE"; none when arg is another
// option. A missing value leaves value empty and sets missing.
std::optional<std::string> OptionValue(
    const Arguments& args, size_t& i, std::initializer_list<std::string_view> names, bool& missing)
{
    const std::string& arg = args[i];
    for (std::string_view name : names) {
        if (arg == name) {
            if (i + 1 >= args.size()) {
                missing = true;
                return std::string();
            }
            return args[++i];
        }
        if (name.size() > 2 && arg.size() > name.size() && arg.compare(0, name.size(), name) == 0
            && arg[name.size()] == '=')
            return arg.substr(name.size() + 1);
    }
    return std::nullopt;
}

// Why a file of the import did not become an image; empty when it did (or served as a mask).
std::string WhyNotImported(const TImportFileReport& file, const std::string& stoppedAt)
{
    switch (file.Outcome) {
    case TImportOutcome::Imported:
    case TImportOutcome::Replaced:
    case TImportOutcome::UsedAsMask:
        return std::string();
    case TImportOutcome::Refused:
        return file.Reason;
    case TImportOutcome::FormatExists: {
        std::string why = FormatText(Messages::BuildFormatExists, { file.Reason });
        if (file.FileName == stoppedAt)
            why += Messages::BuildImportStopped;
        return why;
    }
    case TImportOutcome::LoneMask:
        return std::string(Messages::BuildLoneMask);
    case TImportOutcome::WrongExtension:
        return std::string(Messages::BuildWrongExtension);
    case TImportOutcome::NotReached:
        return FormatText(Messages::BuildNotReached, { stoppedAt });
    }
    return std::string();
}

// Opens ICON in the pane; false, with the reason on standard error, when it cannot.
bool OpenInto(TIconPane& pane, const std::string& iconName)
{
    std::string reason;
    try {
        pane.OpenIconFile(iconName);
        if (pane.IconDirectory().Status() == ResultOk)
            return true;
        // The pane has shown "Error - icon file not opened"; the reason follows.
        reason = StatusText(pane.IconDirectory().Status());
    } catch (const std::exception& error) {
        PrintError(FormatText(Messages::IconFileNotOpened, { iconName }));
        reason = error.what();
    }
    PrintError(reason);
    return false;
}

// The sides of a --sizes list: numbers of 1 to 256 separated by commas, each once.
std::optional<std::vector<int>> ParseSides(const std::string& text)
{
    std::vector<int> sides;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, end - start);
        if (item.empty() || item.size() > 3
            || item.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        const int side = std::stoi(item);
        if (side < 1 || side > 256 || std::find(sides.begin(), sides.end(), side) != sides.end())
            return std::nullopt;
        sides.push_back(side);
        start = end + 1;
    }
    return sides;
}

// One --source value: a size of 1 to 256, "=" and a file name.
bool AddSource(const std::string& text, TSizeSources& sources)
{
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0 || equals > 3 || equals + 1 >= text.size()
        || text.find_first_not_of("0123456789") < equals)
        return false;
    const int side = std::stoi(text.substr(0, equals));
    if (side < 1 || side > 256 || sources.count(side) != 0)
        return false;
    sources[side] = text.substr(equals + 1);
    return true;
}

// The sizes an SVG makes when no --sizes list is given.
const std::vector<int> SvgDefaultSides { 16, 24, 32, 48, 64, 128, 256 };

} // namespace

int RunBuild(const Arguments& args)
{
    std::optional<std::string> output;
    std::optional<std::string> into;
    std::optional<std::vector<int>> sides;
    TSizeSources sources;
    bool autoSources = false;
    TStringList files;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool missing = false;
        if (optionsEnded) {
            files.Add(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            WriteOut(BuildHelp);
            return ExitOk;
        } else if (std::optional<std::string> value
            = OptionValue(args, i, { "-o", "--output" }, missing)) {
            if (missing || value->empty())
                return Usage(arg + " needs the name of the icon file to write");
            if (output)
                return Usage("only one -o OUT.ico can be given");
            output = *value;
        } else if (std::optional<std::string> icon = OptionValue(args, i, { "--into" }, missing)) {
            if (missing || icon->empty())
                return Usage("--into needs the name of an icon file");
            if (into)
                return Usage("only one --into ICON can be given");
            into = *icon;
        } else if (std::optional<std::string> list = OptionValue(args, i, { "--sizes" }, missing)) {
            if (sides)
                return Usage("only one --sizes list can be given");
            sides = missing ? std::nullopt : ParseSides(*list);
            if (!sides)
                return Usage("--sizes needs sizes of 1 to 256 separated by commas, each once");
        } else if (std::optional<std::string> source
            = OptionValue(args, i, { "--source" }, missing)) {
            if (missing || !AddSource(*source, sources))
                return Usage("--source needs N=FILE with a size N of 1 to 256, each size once");
        } else if (std::optional<std::string> how
            = OptionValue(args, i, { "--sources" }, missing)) {
            if (missing || *how != "auto")
                return Usage("--sources takes only auto");
            autoSources = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option " + arg);
        } else {
            files.Add(arg);
        }
    }
    if (!output)
        return Usage("-o OUT.ico is missing");
    const bool anySvg = std::any_of(files.Lines().begin(), files.Lines().end(),
        [](const std::string& file) { return IsVectorPictureName(file); });
    if (anySvg && !sides && files.Count() == 1)
        sides = SvgDefaultSides;
    if (anySvg && files.Count() != 1)
        return Usage("an SVG PICTURE is built alone: give it as the only file");
    if ((!sources.empty() || autoSources) && !sides)
        return Usage("--source and --sources need --sizes or an SVG PICTURE");
    if (sides && files.Count() != 1)
        return Usage("--sizes needs exactly one PICTURE");
    for (const auto& [side, file] : sources) {
        if (std::find(sides->begin(), sides->end(), side) == sides->end())
            return Usage(
                "--source " + std::to_string(side) + "=" + file + " names a size that is not made");
    }
    if (autoSources) {
        // A size given by --source keeps that file.
        for (const auto& [side, file] : FindSizeSources(files[0], *sides))
            sources.emplace(side, file);
    }

    TCliPanePlatform platform;
    TIconPane pane(platform);
    pane.SetIconNumber(1);
    if (into && !OpenInto(pane, *into))
        return ExitFailed;

    // Quietly, a format that exists ends the import instead of asking.
    pane.SetQuietMode(true);
    if (sides)
        pane.ImportPictureSizes(files[0], *sides, sources);
    else
        pane.ImportBitmapFiles(files);
    const TImportReport& report = pane.LastImportReport();
    std::string stoppedAt;
    for (const TImportFileReport& file : report.Files) {
        if (report.Stopped && file.Outcome == TImportOutcome::FormatExists)
            stoppedAt = file.FileName;
    }
    for (const TImportFileReport& file : report.Files) {
        const std::string why = WhyNotImported(file, stoppedAt);
        if (!why.empty())
            Report(FormatText(Messages::BuildFileNotImported, { file.FileName, why }));
    }

    if (pane.IconDirectory().Count() == 0) {
        Report(FormatText(Messages::BuildNoImage, { *output }));
        return ExitFailed;
    }
    bool saved = false;
    try {
        pane.SaveIconFile(*output);
        saved = pane.IconDirectory().Status() == ResultOk;
        if (!saved)
            PrintError(StatusText(pane.IconDirectory().Status()));
    } catch (const std::exception& error) {
        std::string text(Messages::FileNotSaved);
        text += *output;
        PrintError(text);
        PrintError(error.what());
    }
    if (saved)
        WriteOut(*output + "\n");
    // With --sizes every made size must have become an image.
    const bool allUsed = sides
        ? std::all_of(report.Files.begin(), report.Files.end(),
            [](const TImportFileReport& file) { return WhyNotImported(file, "").empty(); })
        : report.AllBitmapsUsed();
    return saved && allUsed ? ExitOk : ExitFailed;
}

} // namespace velmora::cli
