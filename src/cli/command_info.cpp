// velmora-icon info: describes the images of icon files.

#include "cli_output.h"
#include "commands.h"
#include "icon_loading.h"
#include "icons/icon_directory.h"

#include <iostream>
#include <sstream>

namespace velmora::cli
{

const char* const InfoHelp = "Usage: velmora-icon info [--json] FILE...\n"
                             "\n"
                             "Loads each icon file and describes its images: size, colour depth,\n"
                             "encoding (bmp or png), data size and offset, and the bitmap header.\n"
                             "\n"
                             "  --json   print one JSON array with one object per file\n"
                             "  --help   show this help\n"
                             "\n"
                             "Exit status: 0 when every file loaded, 1 when any file was refused,\n"
                             "2 for a usage error.\n";

namespace
{

void WriteImageJson(std::ostream& out, const TIconDirectory& document, int index)
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

void WriteImageText(std::ostream& out, const TIconDirectory& document, int index)
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
            std::cout << InfoHelp;
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
    std::ostringstream out;
    if (json)
        out << "[";
    for (size_t f = 0; f < files.size(); ++f) {
        const std::string& name = files[f];
        TIconDirectory document;
        TLoadResult result = LoadIconFile(document, name);
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
                out << ",\"status\":" << (result.Status ? std::to_string(*result.Status) : "null")
                    << ",\"error\":" << JsonString(PlainLineEnds(result.Error)) << "}";
            }
        } else if (result.Loaded) {
            out << name << ": " << document.Count()
                << (document.Count() == 1 ? " image\n" : " images\n");
            for (int i = 0; i < document.Count(); ++i)
                WriteImageText(out, document, i);
        }
    }
    if (json)
        out << "\n]\n";
    std::cout << out.str();
    return exitStatus;
}

} // namespace velmora::cli
