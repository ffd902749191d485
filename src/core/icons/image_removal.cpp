#include "icons/image_removal.h"

#include <charconv>

namespace velmora
{

namespace
{

// A number of 1 to digits decimal digits at the start of text, which it then leaves.
std::optional<int> TakeNumber(std::string_view& text, size_t digits)
{
    size_t length = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9')
        ++length;
    if (length == 0 || length > digits)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + length, value);
    text.remove_prefix(length);
    return value;
}

bool Matches(const TImageChoice& choice, const TIconDirectoryEntry& entry)
{
    return entry.ImageWidth() == choice.Width && entry.ImageHeight() == choice.Height
        && (!choice.BitCount || *choice.BitCount == entry.BitCount);
}

} // namespace

std::optional<TImageChoice> ParseImageChoice(const std::string& text)
{
    TImageChoice choice;
    choice.Text = text;
    std::string_view rest = text;
    const std::optional<int> first = TakeNumber(rest, 5);
    if (!first)
        return std::nullopt;
    if (rest.empty()) {
        choice.Index = *first;
        return choice;
    }
    if (*first > 256 || rest[0] != 'x')
        return std::nullopt;
    rest.remove_prefix(1);
    const std::optional<int> height = TakeNumber(rest, 3);
    if (!height || *height > 256)
        return std::nullopt;
    choice.Width = *first;
    choice.Height = *height;
    if (!rest.empty()) {
        if (rest[0] != '@')
            return std::nullopt;
        rest.remove_prefix(1);
        choice.BitCount = TakeNumber(rest, 2);
        if (!choice.BitCount || !rest.empty())
            return std::nullopt;
    }
    return choice;
}

std::optional<std::string> RemoveImages(
    TIconDirectory& document, const std::vector<TImageChoice>& choices)
{
    std::vector<int> doomed;
    for (const TImageChoice& choice : choices) {
        bool found = false;
        if (choice.Index) {
            found = *choice.Index < document.Count();
            if (found)
                doomed.push_back(*choice.Index);
        } else {
            for (int i = 0; i < document.Count(); ++i) {
                if (Matches(choice, document.GetEntry(i))) {
                    doomed.push_back(i);
                    found = true;
                }
            }
        }
        if (!found)
            return choice.Text;
    }
    document.DeleteImages(doomed);
    return std::nullopt;
}

} // namespace velmora
