#pragma once

// The text rules of script files: how the file's bytes become lines, how a line is trimmed,
// how command words are found in it and how a command's parameter is cut out of it.

#include <string>
#include <string_view>

namespace velmora
{

/// The text that line 1 of a script file must contain, in any letter case.
inline constexpr std::string_view ScriptHeaderText = "velmora icon manager script file";

/// The part of a file name that makes the file a script file, compared with letter case.
inline constexpr std::string_view ScriptFileNameMark = "qebscript.txt";

/// The text of a script file's bytes: everything before the first zero byte, without a UTF-8
/// byte-order mark at its start.
std::string_view ScriptTextOf(std::string_view bytes);

/// Takes the first line off text and returns it without its end. A line ends with CR LF, LF
/// alone or CR alone; the last line may have no end. A line end at the very end of the text
/// leaves text empty, so it does not start another line.
std::string_view TakeScriptLine(std::string_view& text);

/// The text without the blanks and control characters (bytes up to the space) at both ends.
std::string_view TrimScriptText(std::string_view text);

/// The position of the first occurrence of word in text, letter case of ASCII letters aside;
/// npos when there is none. An empty word is found at 0.
size_t FindTextIgnoringCase(std::string_view text, std::string_view word);

/// True when text contains word, letter case of ASCII letters aside.
inline bool ContainsTextIgnoringCase(std::string_view text, std::string_view word)
{
    return FindTextIgnoringCase(text, word) != std::string_view::npos;
}

/// The parameter of a command line: the trimmed line with the first occurrence of the command
/// word (letter case aside) removed, trimmed again. The texts before and after the word are
/// joined directly, blanks inside stay. Without the word the parameter is the trimmed line.
std::string GetScriptParameter(std::string_view line, std::string_view word);

} // namespace velmora
