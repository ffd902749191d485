#include "build_inputs.h"

#include "files/file_extension.h"
#include "files/file_kind.h"
#include "support/file_io.h"

#include <algorithm>

namespace velmora::cli
{

std::string PictureSuffix(const std::vector<uint8_t>& start)
{
    const auto is
        = [&](std::string_view bytes, size_t at = 0) { return HasBytesAt(start, bytes, at); };
    if (is("\x89PNG\r\n\x1a\n"))
        return ".png";
    if (is("BM"))
        return ".bmp";
    if (is("\x1f\x8b"))
        return ".svgz";
    size_t at = is("\xef\xbb\xbf") ? 3 : 0;
    while (at < start.size()
        && (start[at] == ' ' || start[at] == '\t' || start[at] == '\r' || start[at] == '\n'))
        ++at;
    return is("<", at) ? ".svg" : std::string();
}

namespace
{

// What a picture of the suffix is, in words.
std::string_view PictureKind(std::string_view suffix)
{
    if (suffix == ".png")
        return "a PNG picture";
    if (suffix == ".bmp")
        return "a bitmap";
    return "an SVG picture";
}

} // namespace

std::string OtherKindOfPicture(const std::string& path)
{
    Bytes start;
    try {
        start = ReadFileBytes(path, 12);
    } catch (const std::exception&) {
        return std::string();
    }
    const auto is = [&](std::string_view bytes, size_t at = 0) {
        return start.size() >= at + bytes.size()
            && std::equal(bytes.begin(), bytes.end(), start.begin() + static_cast<long>(at),
                [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
    };
    std::string_view kind;
    if (is(std::string_view("\0\0\1\0", 4)))
        kind = "an icon file";
    else if (is(std::string_view("\0\0\2\0", 4)))
        kind = "a cursor file";
    else if (is("RIFF") && is("ACON", 8))
        kind = "an animated cursor";
    else if (is("MZ"))
        kind = "a Windows program";
    const std::string suffix = PictureSuffix(start);
    if (kind.empty() && !suffix.empty() && !EndsWithIgnoringCase(path, suffix))
        kind = PictureKind(suffix);
    if (kind.empty())
        return std::string();
    std::string text(kind);
    text += ", not ";
    text += PictureKind(EndsWithIgnoringCase(path, ".png") ? ".png" : ".bmp");
    return text;
}

std::string TBuildInputs::Take(const std::string& name)
{
    // A device name (/dev/stdin, /dev/fd/N) says nothing of its bytes, even when it leads to a
    // regular file.
    auto input = std::make_unique<TInputFile>(name, name.starts_with("/dev/"));
    if (!input->Copied())
        return name;
    // The first bytes decide; an SVG's blanks and byte order mark come before its "<".
    const std::string suffix = PictureSuffix(ReadFileBytes(input->Path(), 256));
    input->NameCopyWith(suffix);
    const std::string path = input->Path();
    m_shown[path] = name;
    if (suffix.empty())
        m_unknown.insert(path);
    m_copies.push_back(std::move(input));
    return path;
}

std::string TBuildInputs::Shown(const std::string& path) const
{
    const auto found = m_shown.find(path);
    return found == m_shown.end() ? path : found->second;
}

bool TBuildInputs::Unknown(const std::string& path) const
{
    return m_unknown.count(path) != 0;
}

} // namespace velmora::cli
