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

std::string KindOfFile(const std::string& name)
{
    return std::string(KindOfFileNamed(name));
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
