// Fuzz target of the reader of icon and cursor groups in programs: reads the input as a PE or
// NE file, reads every group's images and makes the icon file and the document of each. No
// input may crash or read out of bounds; a refusal is a raised error of the core, and every
// image read keeps the size its entry gives.
#include "icons/icon_directory.h"
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
            if (group.IsCursor)
                continue;
            (void)IconFileBytes(images);
            TIconDirectory document;
            (void)TakeProgramImages(document, images, group.Reference());
        }
    } catch (const Exception&) {
        // a refused file
    }
    return 0;
}
