// Fuzz target: loads the input as an icon file and, when it loads, saves it and loads the
// saved file again, which must give the same entries and images. The lenient load must account
// for every entry the strict load keeps (kept or named; it refuses a file none of whose images
// decodes), and what it keeps must save as a sound icon file.

#include "icons/icon_directory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

std::string ScratchName(const char* suffix)
{
    static const std::string base
        = (std::filesystem::temp_directory_path() / ("velmora-fuzz-" + std::to_string(::getpid())))
              .string();
    return base + suffix;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = ScratchName(".in.ico");
    const std::string output = ScratchName(".out.ico");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    velmora::TIconDirectory document;
    bool loaded = false;
    try {
        loaded = document.LoadFromFile(input);
    } catch (const std::exception&) {
        if (document.Count() != 0)
            std::abort(); // a refused load must leave the empty document as it was
    }
    velmora::TIconDirectory readable;
    std::vector<velmora::TUnreadableImage> lost;
    bool readableLoaded = false;
    try {
        readableLoaded = readable.LoadReadableFromFile(input, lost);
    } catch (const std::exception&) {
        if (readable.Count() != 0)
            std::abort();
    }
    if (loaded && readableLoaded
        && readable.Count() + static_cast<int>(lost.size()) != document.Count())
        std::abort();
    if (readableLoaded && !lost.empty()) {
        try {
            if (readable.SaveToFile(output)) {
                velmora::TIconDirectory again;
                if (!again.LoadFromFile(output) || again.Count() != readable.Count())
                    std::abort();
            }
        } catch (const std::exception&) {
        }
    }
    if (loaded) {
        bool saved = false;
        try {
            saved = document.SaveToFile(output);
        } catch (const std::exception&) {
        }
        if (saved) {
            velmora::TIconDirectory again;
            if (!again.LoadFromFile(output) || again.Count() != document.Count())
                std::abort();
            for (int i = 0; i < document.Count(); ++i) {
                if (!(again.GetEntry(i) == document.GetEntry(i))
                    || again.GetImage(i).Icon->Data() != document.GetImage(i).Icon->Data())
                    std::abort();
            }
        }
    }
    std::remove(input.c_str());
    std::remove(output.c_str());
    return 0;
}
