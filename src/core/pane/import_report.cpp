#include "pane/import_report.h"

#include <algorithm>
#include <string_view>

namespace velmora
{

bool TImportReport::AllBitmapsUsed() const
{
    auto endsWith = [](const std::string& name, std::string_view suffix) {
        return name.size() >= suffix.size()
            && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    return std::all_of(Files.begin(), Files.end(), [&](const TImportFileReport& file) {
        const bool picture = endsWith(file.FileName, ".bmp") || endsWith(file.FileName, ".png");
        return !picture || file.Outcome == TImportOutcome::Imported
            || file.Outcome == TImportOutcome::Replaced
            || file.Outcome == TImportOutcome::UsedAsMask;
    });
}

} // namespace velmora
