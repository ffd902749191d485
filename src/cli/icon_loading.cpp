#include "icon_loading.h"

#include "cli_output.h"
#include "commands.h"
#include "files/file_kind.h"
#include "input_file.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

namespace velmora::cli
{

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
            const Bytes start = ReadFileBytes(input.Path(), 8);
            const std::string_view kind = KindOfFile(start);
            if (!kind.empty())
                result.Error = kind;
        }
    } catch (const std::exception& error) {
        if (document.Status() < 0)
            result.Status = document.Status();
        result.Error = error.what();
    }
    if (!result.Loaded) {
        // One line with the innermost reason: the last text of the nested chain.
        const std::string chain = PlainLineEnds(result.Error);
        const size_t last = chain.find_last_of('\n');
        PrintError("velmora-icon: " + name + ": "
            + (last == std::string::npos ? chain : chain.substr(last + 1)));
        if (Verbose() && last != std::string::npos)
            PrintError(chain);
    }
    return result;
}

} // namespace velmora::cli
