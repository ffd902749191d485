// velmora-icon build: makes an icon file from bitmap files, as the desktop program's import
// does, optionally on top of the images of an existing icon.

#include "build_inputs.h"
#include "cli_output.h"
#include "cli_pane_platform.h"
#include "commands.h"
#include "icon_loading.h"
#include "icons/image_removal.h"
#include "input_file.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/size_sources.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace velmora::cli
{

const char* const BuildHelp
    = "Usage: velmora-icon build -o OUT.ico [--into ICON] [FILE...]\n"
      "       velmora-icon build --into ICON [-o OUT.ico] --remove IMAGE[,IMAGE...]... [--sort]\n"
      "                          [FILE...]\n"
      "       velmora-icon build -o OUT.ico [--into ICON] --sizes N,N,... [--png-sizes N,...|all]\n"
      "                          PICTURE\n"
      "       velmora-icon build -o OUT.ico [--into ICON] [--sizes N,N,...] [--source N=FILE]...\n"
      "                          [--sources auto] PICTURE.svg\n"
      "       velmora-icon build --each OUTDIR [--into ICON] [--sizes N,N,...] PICTURE...\n"
      "       velmora-icon build --cursor [--hotspot [SIZE:]X,Y]... -o OUT.cur [FILE...]\n"
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
      "is replaced when it exists, and only once it is whole. Messages go to standard error.\n"
      "\n"
      "--remove IMAGE leaves out the images of ICON that IMAGE names: an index (0 is the first),\n"
      "every image of a size WxH such as 32x32, or of a size and depth WxH@BPP such as\n"
      "48x48@32. The images are removed first, then the FILEs are imported. Without -o ICON\n"
      "itself is rewritten (a cursor stays a cursor); an IMAGE that names no image is an error,\n"
      "and nothing is written. With --sort the images are stored in the order of the desktop\n"
      "program's \"Sort by format\"; without it they keep the order of the import.\n"
      "\n"
      "A FILE, PICTURE, ICON or --source FILE of - is read from standard input (once in a\n"
      "call); it, a pipe or /dev/fd/N is taken as PNG, bitmap or SVG by its first bytes.\n"
      "\n"
      "With --cursor OUT is a cursor file (.cur): each new image gets the hotspot of --hotspot\n"
      "X,Y (0,0 when none is given) or, with --hotspot SIZE:X,Y, the one given for its width;\n"
      "a hotspot must lie on its image. A cursor given to --into stays a cursor. An OUT whose\n"
      "name ends in \".cur\" is refused when the result would be no cursor.\n"
      "\n"
      "  -o, --output OUT.ico   the icon file to write\n"
      "  --cursor               write a cursor file\n"
      "  --hotspot [SIZE:]X,Y   the hotspot of the new cursor images (of width SIZE); repeatable\n"
      "  --into ICON            start from the images of this icon file\n"
      "  --remove IMAGE,...     leave out these images of ICON (N, WxH or WxH@BPP); repeatable\n"
      "  --sort                 store the images sorted by format\n"
      "  --verbose              with a failure, show the whole chain of reasons\n"
      "  --sizes N,N,...        make these sizes from one PICTURE, such as 16,24,32,48,256\n"
      "  --png-sizes N,N,...|all  store these of the --sizes PNG-compressed (smaller files;\n"
      "                         Windows Vista and later read them); by default only 256 is\n"
      "                         PNG and the others are 32-bit bitmaps, which every reader takes\n"
      "  --each OUTDIR          make one icon OUTDIR/NAME.ico of each PICTURE, in one run\n"
      "  --source N=FILE        make size N from FILE (may be given again for other sizes)\n"
      "  --sources auto         make size N from NAME-N.svg or NAME-N.png beside PICTURE\n"
      "  -h, --help             show this help\n"
      "\n"
      "Exit status: 0 when OUT.ico was written and every FILE ending in \".bmp\" or \".png\"\n"
      "became an image or the mask of one (with --sizes: every size became an image); 1\n"
      "otherwise (also for an IMAGE that names no image), naming on standard error each file or\n"
      "size not imported and why, one line each; 2 for a usage error. OUT.ico is not written\n"
      "when ICON cannot be opened or the icon has no image.\n";

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

// Opens ICON (read by the name path) in the pane; false, with the reason on standard error,
// when it cannot.
bool OpenInto(TIconPane& pane, const std::string& path, const std::string& iconName)
{
    std::string reason;
    try {
        pane.OpenIconFile(path);
        if (pane.IconDirectory().Status() == ResultOk)
            return true;
        reason = StatusText(pane.IconDirectory().Status());
        // A file of another kind says what it is.
        const std::string kind = KindOfFile(path);
        if (!kind.empty())
            reason = kind;
    } catch (const std::exception& error) {
        reason = error.what();
    }
    ReportFileFailure(iconName, reason);
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

using THotspot = std::pair<int, int>;

// A number of 0 to 65535 and the rest of the text after it; none when there is no number.
std::optional<int> TakeNumber(std::string_view& text)
{
    size_t digits = 0;
    while (digits < text.size() && digits < 6 && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0 || digits > 5)
        return std::nullopt;
    const int value = std::stoi(std::string(text.substr(0, digits)));
    text.remove_prefix(digits);
    return value <= 65535 ? std::optional<int>(value) : std::nullopt;
}

// "X,Y" for every size (key 0) or "SIZE:X,Y" for images of that width.
bool ParseHotspot(std::string_view text, std::map<int, THotspot>& hotspots)
{
    int size = 0;
    std::optional<int> first = TakeNumber(text);
    if (first && !text.empty() && text[0] == ':') {
        text.remove_prefix(1);
        size = *first;
        first = TakeNumber(text);
    }
    if (!first || text.empty() || text[0] != ',' || (size == 0 && hotspots.count(0)))
        return false;
    text.remove_prefix(1);
    const std::optional<int> second = TakeNumber(text);
    if (!second || !text.empty())
        return false;
    return hotspots.emplace(size, THotspot { *first, *second }).second;
}

bool EndsWithCur(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(
        end.begin(), end.end(), end.begin(), [](unsigned char c) { return std::tolower(c); });
    return end == ".cur";
}

// Gives the images from index first on the hotspots asked for; false, naming the first that
// lies outside its image, when one does.
bool SetHotspots(TIconDirectory& cursor, int first, const std::map<int, THotspot>& hotspots)
{
    for (int i = first; i < cursor.Count(); ++i) {
        const TIconDirectoryEntry& entry = cursor.GetEntry(i);
        auto found = hotspots.find(entry.ImageWidth());
        if (found == hotspots.end())
            found = hotspots.find(0);
        const THotspot hotspot = found == hotspots.end() ? THotspot {} : found->second;
        if (!cursor.SetHotspot(i, hotspot.first, hotspot.second)) {
            Report(FormatText(Messages::HotspotOutside,
                { std::to_string(hotspot.first), std::to_string(hotspot.second),
                    std::to_string(entry.ImageWidth()), std::to_string(entry.ImageHeight()) }));
            return false;
        }
    }
    return true;
}

struct TBuildOptions {
    std::optional<std::string> Output;
    std::optional<std::string> Into;
    std::optional<std::string> Sizes;
    std::optional<std::string> PngSizes;
    std::vector<std::string> Sources;
    std::optional<std::string> SourcesHow;
    std::optional<std::string> Each;
    std::vector<std::string> Files;
    bool Cursor = false;
    std::vector<std::string> Hotspots;
    std::vector<std::string> Removes;
    bool Sort = false;
};

int RunBuild(const TBuildOptions& options)
{
    std::optional<std::string> output = options.Output;
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
    std::optional<std::vector<int>> pngSides;
    if (options.PngSizes) {
        if (*options.PngSizes == "all") {
            pngSides.emplace();
            for (int side = 1; side <= 256; ++side)
                pngSides->push_back(side);
        } else {
            pngSides = ParseSides(*options.PngSizes);
        }
        if (!pngSides)
            return Usage("--png-sizes needs sizes of 1 to 256 separated by commas, or all");
    }
    TSizeSources sources;
    for (const std::string& source : options.Sources)
        if (!AddSource(source, sources))
            return Usage("--source needs N=FILE with a size N of 1 to 256, each size once");
    if (options.SourcesHow && *options.SourcesHow != "auto")
        return Usage("--sources takes only auto");
    const bool autoSources = options.SourcesHow.has_value();
    bool cursor = options.Cursor;
    std::map<int, THotspot> hotspots;
    for (const std::string& spot : options.Hotspots)
        if (!ParseHotspot(spot, hotspots))
            return Usage("--hotspot needs X,Y or SIZE:X,Y, one for all sizes and each SIZE once");
    std::vector<TImageChoice> removals;
    for (const std::string& text : options.Removes) {
        const std::optional<TImageChoice> choice = ParseImageChoice(text);
        if (!choice)
            return Usage("--remove needs an index, WxH or WxH@BPP, such as 3, 32x32 or 48x48@32");
        removals.push_back(*choice);
    }
    if (!removals.empty() && !into)
        return Usage("--remove needs --into ICON");
    // Removing images rewrites ICON unless another output is named.
    if (!removals.empty() && !output && !options.Each)
        output = into;
    // Standard input can be read once: one input of - at most.
    size_t standardInputs
        = static_cast<size_t>(std::count(options.Files.begin(), options.Files.end(), "-"));
    standardInputs += into == "-" ? 1 : 0;
    for (const std::string& source : options.Sources)
        standardInputs += source.ends_with("=-") ? 1 : 0;
    if (standardInputs > 1)
        return Usage("standard input (-) can be read only once");
    if (options.Each && standardInputs > 0)
        return Usage("--each names each icon after its PICTURE: - has no name");
    TStringList files;
    if (options.Each) {
        if (output)
            return Usage("--each and -o cannot be given together");
        if (options.Files.empty())
            return Usage("--each needs at least one PICTURE");
        if (!options.Sources.empty() || options.SourcesHow)
            return Usage("--source and --sources go with one PICTURE, not with --each");
    } else if (!output) {
        return Usage("-o OUT.ico is missing");
    }
    // Each input becomes readable by a name that says what it holds; one that cannot be read
    // is reported and left out.
    TBuildInputs inputs;
    bool allTaken = true;
    const auto take = [&](const std::string& name) -> std::optional<std::string> {
        try {
            return inputs.Take(name);
        } catch (const std::exception& error) {
            ReportFileFailure(name, error.what());
            allTaken = false;
            return std::nullopt;
        }
    };
    for (const std::string& file : options.Files)
        if (const std::optional<std::string> path = take(file))
            files.Add(*path);
    std::optional<std::string> intoPath;
    if (into && !(intoPath = take(*into)))
        return ExitFailed;
    if (files.Count() == 0 && !options.Files.empty() && (sides || options.Each))
        return ExitFailed;
    const bool anySvg = std::any_of(files.Lines().begin(), files.Lines().end(),
        [](const std::string& file) { return IsVectorPictureName(file); });
    if (anySvg && !sides && files.Count() == 1)
        sides = SvgDefaultSides;
    if (anySvg && files.Count() != 1 && !options.Each)
        return Usage("an SVG PICTURE is built alone: give it as the only file");
    if (sides && files.Count() != 1 && !options.Each)
        return Usage("--sizes needs exactly one PICTURE");
    if (pngSides && !sides)
        return Usage("--png-sizes goes with --sizes");
    if ((!sources.empty() || autoSources) && !sides)
        return Usage("--source and --sources need --sizes or an SVG PICTURE");
    for (const auto& [side, file] : sources) {
        if (std::find(sides->begin(), sides->end(), side) == sides->end())
            return Usage(
                "--source " + std::to_string(side) + "=" + file + " names a size that is not made");
    }
    for (auto& [side, file] : sources) {
        const std::optional<std::string> path = take(file);
        if (!path)
            return ExitFailed;
        file = *path;
    }
    if (autoSources) {
        // A size given by --source keeps that file.
        for (const auto& [side, file] : FindSizeSources(files[0], *sides))
            sources.emplace(side, file);
    }

    // Makes the one icon outputName of the files (or of files[0] at each of sides).
    auto buildIcon
        = [&](const TStringList& oneFiles, const std::optional<std::vector<int>>& oneSides,
              const std::string& outputName) -> int {
        const std::optional<std::string> oneOutput = outputName;
        TCliPanePlatform platform;
        // The pane's messages give way to one line per file, written here.
        platform.SetSilent(true);
        TIconPane pane(platform);
        pane.SetIconNumber(1);
        if (into && !OpenInto(pane, *intoPath, *into))
            return ExitFailed;
        if (const std::optional<std::string> unmatched
            = RemoveImages(pane.IconDirectory(), removals)) {
            ReportFileFailure(*into, FormatText(Messages::BuildNoImageMatches, { *unmatched }));
            return ExitFailed;
        }
        if (!removals.empty())
            pane.RebuildGrid();
        // A cursor given to --into stays one; an icon becomes one with --cursor.
        cursor = cursor || pane.IconDirectory().IsCursor();
        if (!cursor && !hotspots.empty())
            return Usage("--hotspot needs --cursor");
        if (!cursor && EndsWithCur(*oneOutput))
            return Usage(*oneOutput
                + " names a cursor file: give --cursor to write a cursor, or a name "
                  "ending in .ico");
        if (cursor)
            pane.IconDirectory().SetKind(TIconDirectory::EKind::Cursor);
        const int firstNew = pane.IconDirectory().Count();

        // Quietly, a format that exists ends the import instead of asking.
        pane.SetQuietMode(true);
        if (oneSides)
            pane.ImportPictureSizes(
                oneFiles[0], *oneSides, sources, pngSides.value_or(std::vector<int>()));
        else
            pane.ImportBitmapFiles(oneFiles);
        const TImportReport& report = pane.LastImportReport();
        std::string stoppedAt;
        for (const TImportFileReport& file : report.Files) {
            if (report.Stopped && file.Outcome == TImportOutcome::FormatExists)
                stoppedAt = file.FileName;
        }
        // One line per file and reason: a picture that cannot be read fails every size alike.
        std::set<std::pair<std::string, std::string>> reported;
        for (const TImportFileReport& file : report.Files) {
            std::string why = WhyNotImported(file, stoppedAt);
            if (why.empty())
                continue;
            std::string name = file.FileName;
            const size_t at = name.rfind(" @ ");
            const std::string path
                = oneSides && at != std::string::npos ? name.substr(0, at) : name;
            if (oneSides && file.Outcome == TImportOutcome::Refused)
                name = path;
            name.replace(0, path.size(), inputs.Shown(path));
            if (file.Outcome == TImportOutcome::WrongExtension && inputs.Unknown(path))
                why = Messages::BuildNoPicture;
            // A file of another kind than its name says what it is.
            const std::string kind = file.Outcome == TImportOutcome::Refused
                ? OtherKindOfPicture(path)
                : std::string();
            if (!kind.empty())
                why = kind;
            if (reported.emplace(name, why).second)
                ReportFileFailure(name, why, file.Message);
        }

        if (pane.IconDirectory().Count() == 0) {
            ReportFileFailure(*oneOutput, Messages::BuildNoImage);
            return ExitFailed;
        }
        if (cursor && !SetHotspots(pane.IconDirectory(), firstNew, hotspots))
            return ExitFailed;
        if (options.Sort)
            pane.IconDirectory().SortImages();
        bool saved = false;
        // "-o -" saves into a temporary file whose bytes then go to standard oneOutput.
        const bool toStandardOutput = *oneOutput == "-";
        std::optional<TTemporaryFile> temporary;
        if (toStandardOutput)
            temporary.emplace();
        const std::string target = toStandardOutput ? temporary->Path() : *oneOutput;
        try {
            pane.SaveIconFile(target);
            saved = pane.IconDirectory().Status() == ResultOk;
            if (!saved)
                ReportFileFailure(*oneOutput, StatusText(pane.IconDirectory().Status()));
        } catch (const std::exception& error) {
            ReportFileFailure(*oneOutput, error.what());
        }
        if (saved && toStandardOutput) {
            const Bytes bytes = ReadFileBytes(target);
            WriteOutBytes(bytes);
        } else if (saved) {
            WriteOut(*oneOutput + "\n");
        }
        // With --sizes every made size must have become an image.
        const bool allUsed = oneSides
            ? std::all_of(report.Files.begin(), report.Files.end(),
                [](const TImportFileReport& file) { return WhyNotImported(file, "").empty(); })
            : report.AllBitmapsUsed();
        return saved && allUsed && allTaken ? ExitOk : ExitFailed;
    };

    if (!options.Each)
        return buildIcon(files, sides, *output);
    // One icon per picture, all in this one process, in OUTDIR made as extract makes its own.
    std::error_code made;
    std::filesystem::create_directories(*options.Each, made);
    if (!std::filesystem::is_directory(*options.Each)) {
        ReportFileFailure(*options.Each, made ? made.message() : "not a folder");
        return ExitFailed;
    }
    int status = ExitOk;
    for (const std::string& file : files.Lines()) {
        TStringList one;
        one.Add(file);
        const std::optional<std::vector<int>> fileSides
            = !options.Sizes && IsVectorPictureName(file) ? std::optional(SvgDefaultSides)
            : options.Sizes                               ? sides
                                                          : std::nullopt;
        const std::filesystem::path target = std::filesystem::path(*options.Each)
            / std::filesystem::path(inputs.Shown(file)).stem();
        if (buildIcon(one, fileSides, target.string() + ".ico") != ExitOk)
            status = ExitFailed;
    }
    return status;
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
    app->add_option(
        "--png-sizes", options->PngSizes, "needs sizes of 1 to 256 separated by commas, or all");
    app->add_option("--source", options->Sources, "needs N=FILE")->allow_extra_args(false);
    app->add_option("--sources", options->SourcesHow, "takes only auto");
    app->add_option("--each", options->Each, "needs the folder to write the icons into");
    app->add_flag("--cursor", options->Cursor, "write a cursor file");
    app->add_option("--hotspot", options->Hotspots, "the hotspot of the new cursor images")
        ->allow_extra_args(false);
    app->add_option("--remove", options->Removes, "needs an index, WxH or WxH@BPP")
        ->allow_extra_args(false)
        ->delimiter(',');
    app->add_flag("--sort", options->Sort, "store the images sorted by format");
    app->add_option("FILE", options->Files);
    return { app, [options] { return RunBuild(*options); } };
}

} // namespace velmora::cli
