#pragma once

#include "check/icon_finding.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora
{

class TIconDirectory;

/// Applies one repair to the images of a document that the check of the document finds in
/// need of it, and answers what it changed, one line each. Images that need no repair keep
/// their bytes; when an image's size changes, the images are laid out anew (their bytes kept).
/// Decoding and encoding errors are raised.
std::vector<std::string> ApplyRepair(TIconDirectory& document, TRepair repair);

/// Every repair that the check of a document asks for (adding sizes only when addSizes), each
/// on what the ones before it left, so that the findings they answer are gone. The lines of
/// what changed; empty when nothing needed a repair.
std::vector<std::string> RepairDocument(TIconDirectory& document, bool addSizes);

/// The distinct repairs that findings offer, in the order RepairDocument applies them.
std::vector<TRepair> RepairsFor(const std::vector<TFinding>& findings);

/// The caption of a repair's button.
std::string_view RepairCaption(TRepair repair);

} // namespace velmora
