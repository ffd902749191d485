#include "pane/program_group_choices.h"

#include "graphics/icon_picture.h"
#include "icons/icon_directory.h"
#include "messages/messages.h"
#include "programs/program_icon_groups.h"
#include "support/error.h"

namespace velmora
{

namespace
{

// The image bytes read and the pixels drawn for the pictures of one chooser together.
constexpr uint64_t ChooserPictureBudget = uint64_t { 64 } << 20;

std::string Num(uint64_t value)
{
    return std::to_string(value);
}

// The entry of a group's largest image: the most pixels, then the deepest colours.
size_t LargestEntry(const TProgramIconGroup& group)
{
    size_t best = 0;
    auto area
        = [](const TIconDirectoryEntry& entry) { return entry.ImageWidth() * entry.ImageHeight(); };
    for (size_t i = 1; i < group.Entries.size(); ++i) {
        const TIconDirectoryEntry& entry = group.Entries[i].Entry;
        const TIconDirectoryEntry& held = group.Entries[best].Entry;
        if (area(entry) > area(held)
            || (area(entry) == area(held) && entry.BitCount > held.BitCount))
            best = i;
    }
    return best;
}

// The picture of one entry of a group, empty when it cannot be read or drawn; adds what it
// cost to spent.
TBitmap EntryPicture(
    const TProgramIcons& icons, const TProgramIconGroup& group, size_t index, uint64_t& spent)
{
    TProgramIconGroup one;
    one.Name = group.Name;
    one.IsCursor = group.IsCursor;
    one.Language = group.Language;
    one.Entries.push_back(group.Entries[index]);
    try {
        const TProgramGroupImages images = icons.ReadImages(one);
        if (images.Images.empty())
            return {};
        spent += images.Images.front().Data.size();
        TIconDirectory document;
        if (!TakeProgramImages(document, images, group.Reference()))
            return {};
        TBitmap picture = IconPicture(*document.GetImage(0).Icon);
        spent += uint64_t { 4 } * static_cast<uint64_t>(picture.Width())
            * static_cast<uint64_t>(picture.Height());
        return picture;
    } catch (const std::exception&) {
        // A group that cannot be drawn is still offered; opening it reports why.
        return {};
    }
}

} // namespace

TBitmap ProgramGroupPicture(const TProgramIcons& icons, const TProgramIconGroup& group)
{
    uint64_t spent = 0;
    return group.Entries.empty() ? TBitmap()
                                 : EntryPicture(icons, group, LargestEntry(group), spent);
}

std::vector<TFrameChoice> ProgramGroupChoices(const TProgramIcons& icons)
{
    std::vector<TFrameChoice> choices;
    choices.reserve(icons.Groups().size());
    uint64_t spent = 0;
    for (const TProgramIconGroup& group : icons.Groups()) {
        TFrameChoice choice;
        const std::string_view kind
            = group.IsCursor ? Messages::GroupKindCursor : Messages::GroupKindIcon;
        const std::string name = group.Name.Display();
        if (group.Entries.empty()) {
            choice.Text = FormatText(Messages::GroupChoiceUnreadable,
                { kind, name, group.Problem.empty() ? "it holds no image" : group.Problem });
            choices.push_back(std::move(choice));
            continue;
        }
        const size_t largest = LargestEntry(group);
        const TIconDirectoryEntry& entry = group.Entries[largest].Entry;
        const std::string count = group.Entries.size() == 1
            ? std::string(Messages::GroupOneImage)
            : FormatText(Messages::GroupImages, { Num(group.Entries.size()) });
        choice.Text = FormatText(Messages::GroupChoice,
            { kind, name, count, Num(static_cast<uint64_t>(entry.ImageWidth())),
                Num(static_cast<uint64_t>(entry.ImageHeight())) });
        if (spent < ChooserPictureBudget)
            choice.Picture = EntryPicture(icons, group, largest, spent);
        choices.push_back(std::move(choice));
    }
    return choices;
}

} // namespace velmora
