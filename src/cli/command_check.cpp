// velmora-icon check: findings on icon files as Windows and browsers will read them, and a
// repaired copy of one file.

#include "check/icon_check.h"
#include "check/icon_repair.h"
#include "cli_output.h"
#include "commands.h"
#include "files/file_extension.h"
#include "icon_loading.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "support/error.h"

namespace velmora::cli
{

const char* const CheckHelp
    = "Usage: velmora-icon check [--json] FILE...\n"
      "       velmora-icon check --fix -o OUT.ico|OUT.cur [--add-sizes] FILE\n"
      "\n"
      "Checks icon files the way Windows and other readers will see them and prints one line\n"
      "per finding: the file, the entry (0-based), the level and what happens. Errors are\n"
      "faults on which a reader fails or shows the wrong thing, warnings are faults on which\n"
      "readers differ, notes tell which image Windows shows at each shell size (16, 20, 24, 32,\n"
      "40, 48, 64, 96 and 256 pixels) and a browser tab at 1x and 2x, and which of the sizes\n"
      "16, 24, 32, 48 and 256 are missing. A cursor is checked as a cursor: its hotspots,\n"
      "which its entries hold in place of planes and bit count, must lie inside the images,\n"
      "and the shell sizes are not looked at; --fix writes it to OUT.cur, hotspots kept.\n"
      "\n"
      "With --fix, FILE is written to OUT.ico repaired: directory fields taken from the\n"
      "images, AND masks remade from alpha, all-zero alpha taken from the AND mask, PNG images\n"
      "stored as 8-bit RGBA, 256-pixel bitmaps stored as PNG, the data laid out anew where it\n"
      "overlaps or lies outside the file; with --add-sizes also the missing Windows sizes made\n"
      "from the largest image. Images that need no repair keep their bytes. Each change is\n"
      "listed on standard output.\n"
      "\n"
      "  --json        print one JSON array with one object per file\n"
      "  --fix         write a repaired copy of FILE\n"
      "  -o, --output  the file that --fix writes\n"
      "  --add-sizes   with --fix: add the missing Windows sizes\n"
      "  --help        show this help\n"
      "\n"
      "Exit status: 0 when nothing above note level was found (with --fix: in the copy\n"
      "written), 1 otherwise or when a file cannot be read, 2 for a usage error.\n";

namespace
{

std::string EntryLabel(int entry)
{
    return entry < 0 ? std::string(Messages::CheckFileLabel)
                     : FormatText(Messages::CheckEntryLabel, { std::to_string(entry) });
}

void WriteText(TTextBuffer& out, const std::string& name, const std::vector<TFinding>& findings)
{
    for (const TFinding& finding : findings)
        out << name << ": " << EntryLabel(finding.Entry) << ": " << LevelText(finding.Level) << ": "
            << finding.Text << "\n";
}

void WriteJson(TTextBuffer& out, const std::vector<TFinding>& findings)
{
    out << ",\"findings\":[";
    for (size_t i = 0; i < findings.size(); ++i) {
        const TFinding& finding = findings[i];
        out << (i ? "," : "") << "\n  {\"entry\":" << finding.Entry << ",\"level\":\""
            << LevelText(finding.Level) << "\",\"rule\":\"" << finding.Rule
            << "\",\"text\":" << JsonString(finding.Text) << "}";
    }
    out << "]}";
}

int Fix(const std::string& input, const std::string& output, bool addSizes)
{
    TIconDirectory document;
    if (!LoadIconFile(document, input).Loaded)
        return ExitFailed;
    // The repaired copy keeps the kind of the file, and its name must not say the other kind.
    const bool cursor = document.IsCursor();
    if (EndsWithIgnoringCase(output, cursor ? ".ico" : ".cur"))
        return UsageError("check",
            output
                + (cursor ? " names an icon file, but " + input
                            + " is a cursor: give a name "
                              "ending in .cur"
                          : " names a cursor file, but " + input
                            + " is an icon: give a name "
                              "ending in .ico"));
    std::vector<std::string> changes = RepairDocument(document, addSizes);
    if (changes.empty())
        changes.emplace_back(Messages::RepairNothing);
    if (!document.SaveToFile(output)) {
        PrintError("velmora-icon check: " + std::string(StatusText(document.Status())));
        return ExitFailed;
    }
    TTextBuffer out;
    for (const std::string& line : changes)
        out << output << ": " << line << "\n";
    const std::vector<TFinding> left = CheckIconFile(output);
    WriteText(out, output, left);
    out.WriteOut();
    return AnyAboveNote(left) ? ExitFailed : ExitOk;
}

} // namespace

namespace
{

struct TCheckOptions {
    bool Json = false;
    bool Fix = false;
    bool AddSizes = false;
    std::string Output;
    std::vector<std::string> Files;
};

int RunCheck(const TCheckOptions& options)
{
    const bool json = options.Json;
    const bool fix = options.Fix;
    const bool addSizes = options.AddSizes;
    const std::string& output = options.Output;
    const std::vector<std::string>& files = options.Files;
    if (files.empty())
        return UsageError("check", "no FILE given");
    if (fix) {
        if (output.empty() || files.size() != 1 || json)
            return UsageError("check", "--fix takes -o OUT.ico and one FILE, without --json");
        return Fix(files.front(), output, addSizes);
    }
    if (addSizes || !output.empty())
        return UsageError("check", "--add-sizes and -o go with --fix");

    int exitStatus = ExitOk;
    TTextBuffer out;
    if (json)
        out << "[";
    for (size_t f = 0; f < files.size(); ++f) {
        const std::string& name = files[f];
        std::vector<TFinding> findings;
        std::string error;
        try {
            findings = CheckIconFile(name);
        } catch (const std::exception& failure) {
            error = failure.what();
            exitStatus = ExitFailed;
        }
        if (AnyAboveNote(findings))
            exitStatus = ExitFailed;
        if (json) {
            out << (f ? "," : "") << "\n{\"file\":" << JsonString(name);
            if (!error.empty())
                out << ",\"error\":" << JsonString(PlainLineEnds(error)) << "}";
            else
                WriteJson(out, findings);
        } else if (!error.empty()) {
            PrintError("velmora-icon check: " + name + ": " + error);
        } else {
            WriteText(out, name, findings);
        }
        out.WriteOut();
    }
    if (json)
        out << "\n]\n";
    out.WriteOut();
    return exitStatus;
}

} // namespace

TCommand SetupCheck(CLI::App& tool)
{
    CLI::App* app = AddCommand(tool, "check", CheckHelp);
    auto options = std::make_shared<TCheckOptions>();
    app->add_flag("--json", options->Json);
    app->add_flag("--fix", options->Fix);
    app->add_flag("--add-sizes", options->AddSizes);
    app->add_option("-o,--output", options->Output, "needs a file");
    app->add_option("FILE", options->Files);
    return { app, [options] { return RunCheck(*options); } };
}

} // namespace velmora::cli
