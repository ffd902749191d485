#pragma once

#include "pane/pane_platform.h"

#include <vector>

namespace velmora
{

class TProgramIcons;
struct TProgramIconGroup;

/// The lines of a chooser of a program's groups, one per group in the reader's order: its
/// kind, name and image count with the size of its largest image, which is drawn while a
/// budget of bytes lasts; the later groups are offered by their text alone, so that a
/// program of thousands of large groups costs no more than a few.
std::vector<TFrameChoice> ProgramGroupChoices(const TProgramIcons& icons);

/// The largest image of a group (the most pixels, then the deepest colours), drawn; empty
/// when the group has none that can be read and drawn.
TBitmap ProgramGroupPicture(const TProgramIcons& icons, const TProgramIconGroup& group);

} // namespace velmora
