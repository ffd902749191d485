#include "pane/import_report.h"

#include "files/file_extension.h"

#include <algorithm>
#include <string_view>

namespace velmora
{

bool TImportReport::AllBitmapsUsed() const
{
    return std::all_of(Files.begin(), Files.end(), [&](const TImportFileReport& file) {
        const bool picture = EndsWithIgnoringCase(file.FileName, ".bmp")
            || EndsWithIgnoringCase(file.FileName, ".png");
        return !picture || file.Outcome == TImportOutcome::Imported
            || file.Outcome == TImportOutcome::Replaced
            || file.Outcome == TImportOutcome::UsedAsMask;
    });
}

} // namespace velmora
