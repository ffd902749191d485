#include "cli_output.h"

#include "commands.h"

#include <cstdio>
#include <iostream>

namespace velmora::cli
{

int UsageError(std::string_view command, std::string_view problem, std::string_view help)
{
    std::string line = "velmora-icon ";
    line += command;
    line += ": ";
    line += problem;
    PrintError(line);
    std::cerr << help;
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
    std::cerr << PlainLineEnds(text) << '\n';
}

std::string JsonString(std::string_view text)
{
    std::string result = "\"";
    for (char c : text) {
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
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                result += escaped;
            } else {
                result += c;
            }
        }
    }
    result += '"';
    return result;
}

} // namespace velmora::cli
