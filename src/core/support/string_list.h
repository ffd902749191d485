#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora
{

/// Compares two texts without regard to ASCII case; negative, zero or positive.
int CompareText(std::string_view a, std::string_view b);

/// An ordered list of texts that can be sorted (case-insensitive text order) and searched.
class TStringList
{
public:
    int Count() const { return static_cast<int>(m_lines.size()); }
    const std::string& operator[](int index) const;
    void Add(std::string line) { m_lines.push_back(std::move(line)); }
    void Clear() { m_lines.clear(); }
    /// Index of the first line equal to text without regard to case, or -1.
    int IndexOf(std::string_view text) const;
    /// Sorts the lines ascending in case-insensitive text order (stable).
    void Sort();
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
};

} // namespace velmora
