#include "icon_loading.h"

#include "cli_output.h"
#include "messages/messages.h"
#include "support/error.h"

namespace velmora::cli
{

TLoadResult LoadIconFile(TIconDirectory& document, const std::string& name, TLoadContent content)
{
    TLoadResult result;
    try {
        switch (content) {
        case TLoadContent::Headers:
            result.Loaded = document.LoadHeadersFromFile(name);
            break;
        case TLoadContent::Readable:
            result.Loaded = document.LoadReadableFromFile(name, result.Unreadable);
            break;
        case TLoadContent::Images:
            result.Loaded = document.LoadFromFile(name);
            break;
        }
        result.Status = document.Status();
        if (!result.Loaded)
            result.Error = std::string(StatusText(document.Status()));
    } catch (const std::exception& error) {
        if (document.Status() < 0)
            result.Status = document.Status();
        result.Error = error.what();
    }
    if (!result.Loaded) {
        PrintError(FormatText(Messages::IconFileNotOpened, { name }));
        PrintError(result.Error);
    }
    return result;
}

} // namespace velmora::cli
