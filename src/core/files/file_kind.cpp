#include "files/file_kind.h"

#include "support/file_io.h"

#include <algorithm>
#include <filesystem>

namespace velmora
{

bool HasBytesAt(const Bytes& data, std::string_view bytes, size_t at)
{
    return data.size() >= at && data.size() - at >= bytes.size()
        && std::equal(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
            [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

std::string_view KindOfFile(const Bytes& start)
{
    const auto is = [&](std::string_view bytes) { return HasBytesAt(start, bytes); };
    // "Shorter than 13 bytes" is true of an empty file, but not what a user calls it.
    if (start.empty())
        return "the file is empty";
    if (is(std::string_view("\0\0\2\0", 4)))
        return "a cursor file (type 2)";
    if (is("\x89PNG"))
        return "a PNG picture, not an icon";
    if (is("BM"))
        return "a bitmap picture, not an icon";
    if (is("MZ"))
        return "a Windows program, not an icon";
    return {};
}

std::string_view KindOfFileNamed(const std::string& name)
{
    try {
        // The document tells a folder from a missing file no better than "does not exist".
        std::error_code error;
        if (std::filesystem::is_directory(name, error))
            return "a folder, not an icon file";
        return KindOfFile(ReadFileBytes(name, 8));
    } catch (const std::exception&) {
        // The reason the file was not opened stands on its own then.
        return {};
    }
}

} // namespace velmora
