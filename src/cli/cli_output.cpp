#include "cli_output.h"

#include "command_line.h"
#include "commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdio_ext.h>

namespace velmora::cli
{

void WriteError(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
}

int UsageError(std::string_view command, std::string_view problem)
{
    const std::string tool
        = command.empty() ? "velmora-icon" : "velmora-icon " + std::string(command);
    PrintError(tool + ": " + std::string(problem));
    WriteError("Try '" + tool + " --help'.\n");
    return ExitUsage;
}

std::string PlainLineEnds(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        result += text[i];
    }
    return result;
}

void PrintError(std::string_view text)
{
    WriteError(PlainLineEnds(text) + '\n');
}

void ReportFileFailure(std::string_view file, std::string_view chain, std::string_view detail)
{
    const std::string lines = PlainLineEnds(chain);
    const size_t last = lines.find_last_of('\n');
    std::string line = "velmora-icon: ";
    line.append(file).append(": ").append(
        last == std::string::npos ? lines : lines.substr(last + 1));
    PrintError(line);
    if (Verbose() && !detail.empty())
        PrintError(detail);
    else if (Verbose() && last != std::string::npos)
        PrintError(lines);
}

namespace
{

// The length of the well-formed UTF-8 sequence at the start of text, or 0 when none starts
// there (a stray continuation byte, an overlong form, a surrogate, a value past U+10FFFF, a
// sequence cut short).
size_t Utf8SequenceLength(std::string_view text)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

} // namespace

std::string JsonString(std::string_view text)
{
    static constexpr char Hex[] = "0123456789abcdef";
    std::string result = "\"";
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const size_t length = Utf8SequenceLength(text.substr(i));
            if (length > 0) {
                result.append(text.substr(i, length));
                i += length;
            } else {
                result += "\\udc";
                result += Hex[byte >> 4];
                result += Hex[byte & 15];
                ++i;
            }
            continue;
        }
        ++i;
        switch (c) {
        case '"':
            result += "\\\"";
            break;
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            if (byte < 0x20) {
                result += "\\u00";
                result += Hex[byte >> 4];
                result += Hex[byte & 15];
            } else {
                result += c;
            }
        }
    }
    result += '"';
    return result;
}

namespace
{

// The cause of the first write to standard output that failed; 0 while none did.
int OutputError = 0;

void NoteOutputError()
{
    if (OutputError == 0)
        OutputError = errno != 0 ? errno : EIO;
}

} // namespace

void WriteOut(std::string_view text)
{
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
        NoteOutputError();
}

void WriteOutBytes(const std::vector<uint8_t>& bytes)
{
    WriteOut(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool MakeOutputFolder(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (std::filesystem::is_directory(folder))
        return true;
    PrintError(
        "velmora-icon extract: cannot make the folder " + folder + (ec ? ": " + ec.message() : ""));
    return false;
}

void FlushOut()
{
    errno = 0;
    if (std::fflush(stdout) != 0)
        NoteOutputError();
}

void TTextBuffer::WriteOut()
{
    cli::WriteOut(m_text);
    m_text.clear();
}

int CloseStandardOutput(int status)
{
    const bool pending = __fpending(stdout) != 0;
    const bool failedBefore = std::ferror(stdout) != 0 || OutputError != 0;
    errno = 0;
    if (std::fclose(stdout) != 0) {
        // Closing a standard output that was closed from the start, and never written to,
        // is no failure.
        if (!failedBefore && !pending && errno == EBADF)
            return status;
        NoteOutputError();
    } else if (!failedBefore) {
        return status;
    }
    std::string text = "velmora-icon: write error";
    if (OutputError != 0)
        text.append(": ").append(std::strerror(OutputError));
    PrintError(text);
    return ExitFailed;
}

} // namespace velmora::cli
