#pragma once

#include "platform/shell_opener.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmora
{

/// Shows a text to the user: a plain message box with an OK button in the GUI.
using TShowMessage = std::function<void(const std::string& text)>;

/// The message that tells why the shell refused an operation on fileName, for the value it
/// returned; fileName takes the place of "%s". None for a value above 32 (the operation has
/// started) and for a value without a message (1, 4, 6, 7, 9, 10, 12 to 25, any negative one).
std::optional<std::string> ShellExecuteMessage(int value, const std::string& fileName);

/// Hands an operation on a file name or link to the shell and, when the shell refuses, shows
/// the reason through showMessage (nothing is shown when it is empty). Returns the shell's
/// value unchanged: a refusal reaches the caller as a value of 32 or less, never raised.
int ShellExecuteWithMessages(IShellOpener& shell, const TShowMessage& showMessage,
    const std::string& fileName, TWindowHandle window, const std::string& operation,
    const std::string& parameters, const std::string& directory, int showCommand);

/// The text with every space written as "%20", so that a link with spaces reaches the shell
/// whole; every other character stays as it is.
std::string EscapeSpaces(std::string_view text);

} // namespace velmora
