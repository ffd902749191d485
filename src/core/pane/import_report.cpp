#include "pane/import_report.h"

#include <algorithm>
#include <string_view>

namespace velmora
{

bool TImportReport::AllBitmapsUsed() const
{
    constexpr std::string_view bitmapSuffix = ".bmp";
    return std::all_of(Files.begin(), Files.end(), [&](const TImportFileReport& file) {
        const bool bitmap = file.FileName.size() >= bitmapSuffix.size()
            && file.FileName.compare(
                   file.FileName.size() - bitmapSuffix.size(), bitmapSuffix.size(), bitmapSuffix)
                == 0;
        return !bitmap || file.Outcome == TImportOutcome::Imported
            || file.Outcome == TImportOutcome::Replaced
            || file.Outcome == TImportOutcome::UsedAsMask;
    });
}

} // namespace velmora
