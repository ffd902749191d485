#pragma once

#include <charconv>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::cli
{

/// The text with every "\r\n" turned into a plain "\n", as a terminal expects.
std::string PlainLineEnds(std::string_view text);

/// Writes text to standard error as it is.
void WriteError(std::string_view text);

/// Writes a message line to standard error with plain line ends.
void PrintError(std::string_view text);

/// Reports a usage error of a command on standard error in one line ("velmora-icon COMMAND:
/// problem"), followed by "Try 'velmora-icon COMMAND --help'."; returns the usage exit status.
/// An empty command stands for the tool itself.
int UsageError(std::string_view command, std::string_view problem);

/// Says on standard error why the file failed, in one line "velmora-icon: FILE: REASON" whose
/// reason is the innermost (last) text of the nested chain. With --verbose the whole chain
/// follows, or detail when one is given (the longer text the window shows).
void ReportFileFailure(std::string_view file, std::string_view chain, std::string_view detail = {});

/// A JSON string literal of the text (quotes included). The literal is valid UTF-8 whatever
/// the text holds: each byte that is not part of a valid UTF-8 sequence becomes the escape
/// \udcXX of its value XX, so that a file name of any bytes can be got back (as Python's
/// "surrogateescape" error handler does).
std::string JsonString(std::string_view text);

/// Text gathered for standard output, with numbers written without the locale machinery of
/// the streams.
class TTextBuffer
{
public:
    TTextBuffer& operator<<(std::string_view text)
    {
        m_text.append(text);
        return *this;
    }
    TTextBuffer& operator<<(char c)
    {
        m_text.push_back(c);
        return *this;
    }
    template <std::integral T>
    requires(!std::same_as<T, char> && !std::same_as<T, bool>) TTextBuffer& operator<<(T value)
    {
        char digits[24];
        auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_text.append(digits, end);
        return *this;
    }
    const std::string& Text() const { return m_text; }
    void Reserve(size_t size) { m_text.reserve(size); }
    /// Writes the gathered text to standard output and empties the buffer.
    void WriteOut();

private:
    std::string m_text;
};

/// Writes text to standard output. All output of the tool goes through here and FlushOut,
/// which remember why a write failed for CloseStandardOutput.
void WriteOut(std::string_view text);
/// Writes bytes (a picture, an icon file) to standard output as WriteOut does.
void WriteOutBytes(const std::vector<uint8_t>& bytes);
/// Makes the folder an extraction writes into when it is missing; false, saying why on
/// standard error, when it cannot be made.
bool MakeOutputFolder(const std::string& folder);
/// Sends what was written to standard output on its way at once.
void FlushOut();

/// Flushes and closes standard output as the last step of the program. When anything written
/// to it was lost (a full disk, a closed pipe), says so on standard error and answers the
/// failure exit status; otherwise answers status.
int CloseStandardOutput(int status);

} // namespace velmora::cli
