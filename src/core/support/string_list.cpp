#include "support/string_list.h"

#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>

namespace velmora
{

namespace
{

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int CompareText(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
        auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

const std::string& TStringList::operator[](int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(FormatText(Messages::ListIndexOutOfBounds, { std::to_string(index) }));
    return m_lines[static_cast<size_t>(index)];
}

int TStringList::IndexOf(std::string_view text) const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (CompareText(m_lines[i], text) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void TStringList::Sort()
{
    std::stable_sort(m_lines.begin(), m_lines.end(),
        [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
}

} // namespace velmora
