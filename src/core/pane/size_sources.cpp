// The sizes of the sizes import, each made from the main picture or from a file of its own.

#include "pane/size_sources.h"

#include "graphics/picture_file.h"
#include "graphics/resample.h"
#include "messages/messages.h"
#include "messages/result_codes.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>
#include <cctype>

namespace velmora
{

bool IsVectorPictureName(std::string_view fileName)
{
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string extension(fileName.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".svg" || extension == ".svgz";
}

namespace
{

// A raster picture taken as one size: exactly that size as it is, larger ones resampled.
TBitmap RasterSize(const TBitmap& picture, int side)
{
    if (picture.Width() == side && picture.Height() == side)
        return picture;
    if (std::max(picture.Width(), picture.Height()) < side)
        throw Exception(FormatText(Messages::SourceTooSmall,
            { std::to_string(picture.Width()), std::to_string(picture.Height()),
                std::to_string(side) }));
    return MakeSquareSizes(picture, std::span<const int>(&side, 1)).front();
}

// Makes the given sides of one file; every result names the file and holds a picture or an
// error.
void MakeFromFile(IVectorPictureDrawer* drawer, const std::string& fileName,
    const std::vector<size_t>& slots, std::vector<TMadeSize>& made)
{
    std::vector<int> sides;
    for (size_t slot : slots) {
        made[slot].FileName = fileName;
        sides.push_back(made[slot].Side);
    }
    auto failAll = [&](const std::string& reason) {
        for (size_t slot : slots)
            made[slot].Error = reason;
    };
    if (!FileExists(fileName))
        return failAll(std::string(StatusText(ResultBitmapFileMissing)));
    try {
        if (IsVectorPictureName(fileName)) {
            if (!drawer)
                return failAll(std::string(Messages::SvgNotAvailable));
            std::vector<TBitmap> drawn = drawer->DrawSquares(fileName, sides);
            for (size_t i = 0; i < slots.size() && i < drawn.size(); ++i)
                made[slots[i]].Picture = std::move(drawn[i]);
            return;
        }
        const TBitmap picture = LoadPictureFile(fileName, LargestSourceSide);
        for (size_t slot : slots) {
            try {
                made[slot].Picture = RasterSize(picture, made[slot].Side);
            } catch (const Exception& error) {
                made[slot].Error = error.what();
            }
        }
    } catch (const Exception& error) {
        failAll(error.what());
    }
}

} // namespace

TSizeSources FindSizeSources(const std::string& fileName, std::span<const int> sides)
{
    const size_t slash = fileName.rfind('/');
    const size_t dot = fileName.rfind('.');
    const std::string stem
        = (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        ? fileName
        : fileName.substr(0, dot);
    TSizeSources sources;
    for (int side : sides) {
        for (const char* extension : { ".svg", ".png" }) {
            const std::string candidate = stem + "-" + std::to_string(side) + extension;
            if (candidate != fileName && FileExists(candidate)) {
                sources[side] = candidate;
                break;
            }
        }
    }
    return sources;
}

std::vector<TMadeSize> MakePictureSizes(IVectorPictureDrawer* drawer, const std::string& fileName,
    std::span<const int> sides, const TSizeSources& sources)
{
    std::vector<TMadeSize> made(sides.size());
    // The slots of each file, so that every file is read once.
    std::map<std::string, std::vector<size_t>> byFile;
    for (size_t i = 0; i < sides.size(); ++i) {
        made[i].Side = sides[i];
        const auto source = sources.find(sides[i]);
        byFile[source == sources.end() ? fileName : source->second].push_back(i);
    }
    for (const auto& [name, slots] : byFile)
        MakeFromFile(drawer, name, slots, made);
    return made;
}

} // namespace velmora
