#include "scripts/script_text.h"

#include <algorithm>

namespace velmora
{

namespace
{

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string_view ScriptTextOf(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    if (bytes.substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark)
        bytes.remove_prefix(Utf8ByteOrderMark.size());
    return bytes;
}

std::string_view TakeScriptLine(std::string_view& text)
{
    const size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        const std::string_view line = text;
        text = {};
        return line;
    }
    const std::string_view line = text.substr(0, end);
    size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n')
        ++next;
    text.remove_prefix(next);
    return line;
}

std::string_view TrimScriptText(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

size_t FindTextIgnoringCase(std::string_view text, std::string_view word)
{
    const auto found = std::search(text.begin(), text.end(), word.begin(), word.end(),
        [](char a, char b) { return UpperAscii(a) == UpperAscii(b); });
    if (found == text.end() && !word.empty())
        return std::string_view::npos;
    return static_cast<size_t>(found - text.begin());
}

std::string GetScriptParameter(std::string_view line, std::string_view word)
{
    const std::string_view trimmed = TrimScriptText(line);
    const size_t at = FindTextIgnoringCase(trimmed, word);
    if (at == std::string_view::npos)
        return std::string(trimmed);
    std::string parameter;
    parameter.reserve(trimmed.size() - word.size());
    parameter.append(trimmed.substr(0, at));
    parameter.append(trimmed.substr(at + word.size()));
    return std::string(TrimScriptText(parameter));
}

} // namespace velmora
