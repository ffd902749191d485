#include "files/file_extension.h"

#include <algorithm>

namespace velmora
{

namespace
{

bool SameLetter(char a, char b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(a) == lower(b);
}

} // namespace

bool EndsWithIgnoringCase(std::string_view name, std::string_view suffix)
{
    return name.size() >= suffix.size()
        && std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<long>(suffix.size()),
            SameLetter);
}

size_t FindIgnoringCase(std::string_view name, std::string_view part)
{
    const auto found = std::search(name.begin(), name.end(), part.begin(), part.end(), SameLetter);
    return found == name.end() && !part.empty() ? std::string_view::npos
                                                : static_cast<size_t>(found - name.begin());
}

} // namespace velmora
