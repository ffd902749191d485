#include "icon_loading.h"

#include "cli_output.h"
#include "commands.h"
#include "input_file.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

#include <algorithm>

namespace velmora::cli
{

namespace
{

// What a file that is no icon is, by its first bytes; empty when it is none of these kinds.
std::string_view KindOfStart(const Bytes& start)
{
    const auto is = [&](std::string_view bytes) {
        return start.size() >= bytes.size()
            && std::equal(bytes.begin(), bytes.end(), start.begin(),
                [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
    };
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

} // namespace

std::string KindOfFile(const std::string& name)
{
    try {
        return std::string(KindOfStart(ReadFileBytes(name, 8)));
    } catch (const std::exception&) {
        return std::string();
    }
}

TLoadResult LoadIconFile(TIconDirectory& document, const std::string& name, TLoadContent content)
{
    TLoadResult result;
    try {
        const TInputFile input(name);
        switch (content) {
        case TLoadContent::Headers:
            result.Loaded = document.LoadHeadersFromFile(input.Path());
            break;
        case TLoadContent::Readable:
            result.Loaded = document.LoadReadableFromFile(input.Path(), result.Unreadable);
            break;
        case TLoadContent::Images:
            result.Loaded = document.LoadFromFile(input.Path());
            break;
        }
        result.Status = document.Status();
        if (!result.Loaded) {
            result.Error = std::string(StatusText(document.Status()));
            // A file of another kind says what it is.
            const std::string kind = KindOfFile(input.Path());
            if (!kind.empty())
                result.Error = kind;
        }
    } catch (const std::exception& error) {
        if (document.Status() < 0)
            result.Status = document.Status();
        result.Error = error.what();
    }
    if (!result.Loaded)
        ReportFileFailure(name, result.Error);
    return result;
}

} // namespace velmora::cli
