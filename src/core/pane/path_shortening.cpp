#include "pane/path_shortening.h"

namespace velmora
{

namespace
{

std::string Marker(char separator)
{
    return std::string("...") + separator;
}

} // namespace

void CutFirstFolder(std::string& folders, char separator)
{
    const std::string root(1, separator);
    if (folders == root) {
        folders.clear();
        return;
    }
    const bool rooted = !folders.empty() && folders.front() == separator;
    if (rooted)
        folders.erase(0, 1);
    const std::string marker = Marker(separator);
    if (folders.starts_with(marker))
        folders.erase(0, marker.size());
    const size_t next = folders.find(separator);
    if (next != std::string::npos)
        folders = marker + folders.substr(next + 1);
    else
        folders.clear();
    if (rooted)
        folders.insert(folders.begin(), separator);
}

std::string ShortenPathToWidth(
    std::string_view path, const TTextMeasure& measure, int maxWidth, char separator, bool drives)
{
    std::string result(path);
    size_t split = path.find_last_of(separator);
    if (drives) {
        const size_t colon = path.find_last_of(':');
        if (colon != std::string_view::npos && (split == std::string_view::npos || colon > split))
            split = colon;
    }
    std::string folders(
        split == std::string_view::npos ? std::string_view() : path.substr(0, split + 1));
    const std::string name(split == std::string_view::npos ? path : path.substr(split + 1));
    std::string drive;
    if (drives && folders.size() >= 2 && folders[1] == ':') {
        drive = folders.substr(0, 2);
        folders.erase(0, 2);
    }

    // A rooted path reaches the root marker "/.../" after its folders are folded; that marker
    // goes as a whole, together with the drive.
    std::string rootMarker(1, separator);
    rootMarker += Marker(separator);
    while ((!folders.empty() || !drive.empty()) && measure(result) > maxWidth) {
        if (folders == rootMarker) {
            drive.clear();
            folders = Marker(separator);
        } else if (!folders.empty()) {
            CutFirstFolder(folders, separator);
        } else {
            drive.clear();
        }
        result = drive;
        result += folders;
        result += name;
    }
    return result;
}

} // namespace velmora
