// velmora-icon info: describes the images of icon files.

#include "cli_output.h"
#include "commands.h"
#include "icon_loading.h"
#include "icons/icon_directory.h"
#include "program_files.h"

namespace velmora::cli
{

const char* const InfoHelp = "Usage: velmora-icon info [--json] FILE...\n"
                             "\n"
                             "Loads each icon file and describes its images: size, colour depth,\n"
                             "encoding (bmp or png), data size and offset, and the bitmap header.\n"
                             "A Windows program (.exe, .dll, .mun, .icl; PE or NE) is described\n"
                             "by its icon and cursor groups: name, language and images.\n"
                             "\n"
                             "  --json   print one JSON array with one object per file; the\n"
                             "           output is valid UTF-8: each byte of a file name that is\n"
                             "           not part of valid UTF-8 is written as \\udcXX (XX its\n"
                             "           value in hexadecimal), which Python's json and\n"
                             "           os.fsencode turn back into that byte\n"
                             "  --help   show this help\n"
                             "\n"
                             "Exit status: 0 when every file loaded, 1 when any file was refused,\n"
                             "2 for a usage error.\n";

namespace
{

void WriteImageJson(TTextBuffer& out, const TIconDirectory& document, int index)
{
    const TIconDirectoryEntry& entry = document.GetEntry(index);
    const TIconDirectoryImage& image = document.GetImage(index);
    out << "{\"index\":" << index << ",\"width\":" << int { entry.Width }
        << ",\"height\":" << int { entry.Height } << ",\"colorCount\":" << int { entry.ColorCount }
        << ",\"reserved\":" << int { entry.Reserved } << ",\"planes\":" << entry.Planes
        << ",\"bitCount\":" << entry.BitCount << ",\"bytesInRes\":" << entry.BytesInRes
        << ",\"imageOffset\":" << entry.ImageOffset
        << ",\"encoding\":" << (image.IsPng() ? "\"png\"" : "\"bmp\"");
    if (!image.IsPng())
        out << ",\"header\":{\"width\":" << image.Header.biWidth
            << ",\"height\":" << image.Header.biHeight
            << ",\"bitCount\":" << image.Header.biBitCount << "}";
    if (image.Truncated)
        out << ",\"truncated\":true,\"storedBytesInRes\":" << image.StoredBytesInRes;
    out << "}";
}

void WriteImageText(TTextBuffer& out, const TIconDirectory& document, int index)
{
    const TIconDirectoryEntry& entry = document.GetEntry(index);
    const TIconDirectoryImage& image = document.GetImage(index);
    out << "  " << index << ": " << entry.ImageWidth() << "x" << entry.ImageHeight() << ", "
        << entry.BitCount << " bpp, " << (image.IsPng() ? "png" : "bmp") << ", " << entry.BytesInRes
        << " bytes at offset " << entry.ImageOffset;
    if (!image.IsPng())
        out << " (header " << image.Header.biWidth << "x" << image.Header.biHeight << ", "
            << image.Header.biBitCount << " bpp)";
    if (image.Truncated)
        out << ", truncated: the directory says " << image.StoredBytesInRes << " bytes";
    out << "\n";
}

} // namespace

int RunInfo(const Arguments& args)
{
    bool json = false;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--help") {
            WriteOut(InfoHelp);
            return ExitOk;
        } else if (!optionsEnded && arg == "--json") {
            json = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return UsageError("info", "unknown option " + arg, InfoHelp);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        return UsageError("info", "no FILE given", InfoHelp);
    }

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
        TIconDirectory document;
        // The description needs no pixels: the images' data is not read.
        TLoadResult result = LoadIconFile(document, name, TLoadContent::Headers);
        if (!result.Loaded)
            exitStatus = ExitFailed;
        if (json) {
            out << (f ? "," : "") << "\n{\"file\":" << JsonString(name);
            if (result.Loaded) {
                out << ",\"images\":[";
                for (int i = 0; i < document.Count(); ++i) {
                    out << (i ? "," : "") << "\n  ";
                    WriteImageJson(out, document, i);
                }
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
            out << name << ": " << document.Count()
                << (document.Count() == 1 ? " image\n" : " images\n");
            for (int i = 0; i < document.Count(); ++i)
                WriteImageText(out, document, i);
        }
        if (out.Text().size() >= pieceSize)
            out.WriteOut();
    }
    if (json)
        out << "\n]\n";
    out.WriteOut();
    return exitStatus;
}

} // namespace velmora::cli
