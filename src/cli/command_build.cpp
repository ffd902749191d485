// velmora-icon build: makes an icon file from bitmap files, as the desktop program's import
// does, optionally on top of the images of an existing icon.

#include "cli_output.h"
#include "cli_pane_platform.h"
#include "commands.h"
#include "input_file.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace velmora::cli
{

const char* const BuildHelp
    = "Usage: velmora-icon build -o OUT.ico [--into ICON] [FILE...]\n"
      "       velmora-icon build -o OUT.ico [--into ICON] --sizes N,N,... PICTURE\n"
      "       velmora-icon build --each OUTDIR [--into ICON] [--sizes N,N,...] PICTURE...\n"
      "\n"
      "Writes the icon file OUT.ico made of the picture files FILE..., imported as the desktop\n"
      "program imports them. Each FILE whose name ends in \".bmp\" becomes one image: a\n"
      "true-colour bitmap (15, 16, 24 or 32 bits per pixel) of 4 to 72 pixels a side, whose\n"
      "pixels of its bottom-left pixel's colour become transparent. A file NAMEmask.bmp given\n"
      "with NAME.bmp is its mask: it gives that image its transparency. Each FILE whose name\n"
      "ends in \".png\" becomes a 32-bit image with the PNG's transparency, of 1 to 256 pixels\n"
      "a side (any PNG colour type and depth); a 256-pixel image is stored PNG-compressed.\n"
      "Extensions count in any letter case. The files are taken in the order of their names\n"
      "regardless of case; a file whose size and depth the icon already holds ends the\n"
      "import.\n"
      "\n"
      "With --sizes, one PICTURE (PNG or bitmap, up to 8192 pixels a side) becomes a 32-bit\n"
      "image of each listed size (1 to 256), made with a Lanczos filter on premultiplied\n"
      "alpha; a picture that is not square is fitted inside the square, centred on\n"
      "transparency. A size the icon already holds is refused; the others are still made.\n"
      "\n"
      "With --each, each PICTURE becomes its own icon OUTDIR/NAME.ico (NAME: its name without\n"
      "the extension), made as the commands above make OUT.ico, all in one run.\n"
      "\n"
      "With --into the images are added to those of ICON, which itself is not changed. OUT.ico\n"
      "is replaced when it exists; -o - writes the icon to standard output. Messages go to\n"
      "standard error.\n"
      "\n"
      "  -o, --output OUT.ico   the icon file to write\n"
      "  --into ICON            start from the images of this icon file\n"
      "  --sizes N,N,...        make these sizes from one PICTURE, such as 16,24,32,48,256\n"
      "  --each OUTDIR          make one icon OUTDIR/NAME.ico of each PICTURE, in one run\n"
      "  -h, --help             show this help\n"
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
    return UsageError("build", problem);
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

struct TBuildOptions {
    std::optional<std::string> Output;
    std::optional<std::string> Into;
    std::optional<std::string> Sizes;
    std::optional<std::string> Each;
    std::vector<std::string> Files;
};

// Makes the one icon output of the files (or of files[0] at each of sides) on top of into.
int BuildIcon(const std::optional<std::string>& into, const std::optional<std::vector<int>>& sides,
    const TStringList& files, const std::string& outputName)
{
    const std::optional<std::string> output = outputName;
    TCliPanePlatform platform;
    TIconPane pane(platform);
    pane.SetIconNumber(1);
    if (into && !OpenInto(pane, *into))
        return ExitFailed;

    // Quietly, a format that exists ends the import instead of asking.
    pane.SetQuietMode(true);
    if (sides)
        pane.ImportPictureSizes(files[0], *sides);
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
    // "-o -" saves into a temporary file whose bytes then go to standard output.
    const bool toStandardOutput = *output == "-";
    std::optional<TTemporaryFile> temporary;
    if (toStandardOutput)
        temporary.emplace();
    const std::string target = toStandardOutput ? temporary->Path() : *output;
    try {
        pane.SaveIconFile(target);
        saved = pane.IconDirectory().Status() == ResultOk;
        if (!saved)
            PrintError(StatusText(pane.IconDirectory().Status()));
    } catch (const std::exception& error) {
        std::string text(Messages::FileNotSaved);
        text += *output;
        PrintError(text);
        PrintError(error.what());
    }
    if (saved && toStandardOutput) {
        const Bytes bytes = ReadFileBytes(target);
        WriteOut(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } else if (saved) {
        WriteOut(*output + "\n");
    }
    // With --sizes every made size must have become an image.
    const bool allUsed = sides
        ? std::all_of(report.Files.begin(), report.Files.end(),
            [](const TImportFileReport& file) { return WhyNotImported(file, "").empty(); })
        : report.AllBitmapsUsed();
    return saved && allUsed ? ExitOk : ExitFailed;
}

int RunBuild(const TBuildOptions& options)
{
    const std::optional<std::string>& output = options.Output;
    const std::optional<std::string>& into = options.Into;
    if ((output && output->empty()) || (into && into->empty()))
        return Usage(output && output->empty() ? "-o needs the name of the icon file to write"
                                               : "--into needs the name of an icon file");
    std::optional<std::vector<int>> sides;
    if (options.Sizes) {
        sides = ParseSides(*options.Sizes);
        if (!sides)
            return Usage("--sizes needs sizes of 1 to 256 separated by commas, each once");
    }
    if (options.Each) {
        // One icon per picture, all in this one process.
        if (output)
            return Usage("--each and -o cannot be given together");
        if (options.Files.empty())
            return Usage("--each needs at least one PICTURE");
        int status = ExitOk;
        for (const std::string& file : options.Files) {
            TStringList one;
            one.Add(file);
            const std::filesystem::path target
                = std::filesystem::path(*options.Each) / std::filesystem::path(file).stem();
            if (BuildIcon(into, sides, one, target.string() + ".ico") != ExitOk)
                status = ExitFailed;
        }
        return status;
    }
    TStringList files;
    for (const std::string& file : options.Files)
        files.Add(file);
    if (!output)
        return Usage("-o OUT.ico is missing");
    if (sides && files.Count() != 1)
        return Usage("--sizes needs exactly one PICTURE");
    return BuildIcon(into, sides, files, *output);
}

} // namespace

TCommand SetupBuild(CLI::App& tool)
{
    CLI::App* app = AddCommand(tool, "build", BuildHelp);
    auto options = std::make_shared<TBuildOptions>();
    app->add_option("-o,--output", options->Output, "needs the name of the icon file to write");
    app->add_option("--into", options->Into, "needs the name of an icon file");
    app->add_option(
        "--sizes", options->Sizes, "needs sizes of 1 to 256 separated by commas, each once");
    app->add_option("--each", options->Each, "needs the folder to write the icons into");
    app->add_option("FILE", options->Files);
    return { app, [options] { return RunBuild(*options); } };
}

} // namespace velmora::cli
