#include "icon_loading.h"

#include "cli_output.h"
#include "input_file.h"
#include "messages/messages.h"
#include "support/error.h"

namespace velmora::cli
{

TLoadResult LoadIconFile(TIconDirectory& document, const std::string& name, TLoadContent content)
{
    TLoadResult result;
    try {
        const TInputFile input(name);
        result.Loaded = content == TLoadContent::Headers
            ? document.LoadHeadersFromFile(input.Path())
            : document.LoadFromFile(input.Path());
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
