#pragma once

#include "pane/pane_platform.h"

#include <vector>

namespace velmora
{

class TProgramIcons;

/// The lines of a chooser of a program's groups, one per group in the reader's order: its
/// kind, name and image count with the size of its largest image, which is drawn while a
/// budget of bytes lasts; the later groups are offered by their text alone, so that a
/// program of thousands of large groups costs no more than a few.
std::vector<TFrameChoice> ProgramGroupChoices(const TProgramIcons& icons);

} // namespace velmora
