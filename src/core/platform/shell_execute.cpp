#include "platform/shell_execute.h"

#include "messages/messages.h"
#include "support/error.h"

namespace velmora
{

std::optional<std::string> ShellExecuteMessage(int value, const std::string& fileName)
{
    std::string_view format;
    switch (value) {
    case 0: // out of memory or resources
    case 8: // ERROR_NOT_ENOUGH_MEMORY
        format = Messages::ShellOutOfMemory;
        break;
    case 2: // ERROR_FILE_NOT_FOUND
        format = Messages::ShellFileNotFound;
        break;
    case 3: // ERROR_PATH_NOT_FOUND
        format = Messages::ShellPathNotFound;
        break;
    case 5: // SE_ERR_ACCESSDENIED
        format = Messages::ShellAccessDenied;
        break;
    case 11: // ERROR_BAD_FORMAT
        format = Messages::ShellInvalidExecutable;
        break;
    case 26: // SE_ERR_SHARE
        format = Messages::ShellSharingViolation;
        break;
    case 27: // SE_ERR_ASSOCINCOMPLETE
        format = Messages::ShellIncompleteFileName;
        break;
    case 28: // SE_ERR_DDETIMEOUT
        format = Messages::ShellDdeTimeOut;
        break;
    case 29: // SE_ERR_DDEFAIL
        format = Messages::ShellDdeFailed;
        break;
    case 30: // SE_ERR_DDEBUSY
        format = Messages::ShellDdeBusy;
        break;
    case 31: // SE_ERR_NOASSOC
        format = Messages::ShellNoAssociation;
        break;
    case 32: // SE_ERR_DLLNOTFOUND
        format = Messages::ShellDllNotFound;
        break;
    default:
        return std::nullopt;
    }
    return FormatText(format, { fileName });
}

int ShellExecuteWithMessages(IShellOpener& shell, const TShowMessage& showMessage,
    const std::string& fileName, TWindowHandle window, const std::string& operation,
    const std::string& parameters, const std::string& directory, int showCommand)
{
    int value = shell.ShellExecute(window, operation, fileName, parameters, directory, showCommand);
    if (value > 32)
        return value;
    if (std::optional<std::string> message = ShellExecuteMessage(value, fileName);
        message && showMessage)
        showMessage(*message);
    return value;
}

std::string EscapeSpaces(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == ' ')
            escaped += "%20";
        else
            escaped += c;
    }
    return escaped;
}

} // namespace velmora
