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
        result.Loaded = content == TLoadContent::Headers ? document.LoadHeadersFromFile(name)
                                                         : document.LoadFromFile(name);
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
