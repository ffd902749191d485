// Fuzz target of the reader of icon and cursor groups in programs: reads the input as a PE or
// NE file, reads every group's images, makes the icon or cursor file and the document of each,
// and the lines of the chooser of the groups. No input may crash or read out of bounds; a
// refusal is a raised error of the core, and every image read keeps the size its entry gives.
#include "icons/icon_directory.h"
#include "pane/program_group_choices.h"
#include "programs/byte_source.h"
#include "programs/program_icon_groups.h"
#include "support/error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace velmora;
    const TByteSource source(ByteSpan(data, size));
    try {
        const TProgramIcons icons(source);
        if (icons.IconGroupCount() > icons.Groups().size())
            std::abort();
        for (const TProgramIconGroup& group : icons.Groups()) {
            const TProgramGroupImages images = icons.ReadImages(group);
            if (images.Images.size() + images.Notes.size() != group.Entries.size())
                std::abort(); // an entry neither read nor noted
            for (const TProgramImage& image : images.Images)
                if (image.Entry.BytesInRes != image.Data.size())
                    std::abort();
            const Bytes file = IconFileBytes(images);
            if (file.size() >= 4 && ReadU16(file.data() + 2) != (group.IsCursor ? 2 : 1))
                std::abort(); // a cursor group written as an icon, or the other way
            TIconDirectory document;
            if (TakeProgramImages(document, images, group.Reference())
                && document.IsCursor() != group.IsCursor)
                std::abort();
        }
        (void)ProgramGroupChoices(icons);
    } catch (const Exception&) {
        // a refused file
    }
    return 0;
}
