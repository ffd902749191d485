#pragma once

// Two paired panes and the grid look-ups shared by the tests of image transfer and import.

#include "fakes/fake_pane_platform.h"
#include "icon_test_files.h"
#include "pane/icon_pane.h"

#include <gtest/gtest.h>
#include <tuple>

namespace velmora::test
{

using TFormats = std::vector<std::tuple<int, int, int>>;

/// Panes 1 and 2 as the main window sets them up; they share one clipboard. Pane 1's platform
/// may be a test's own.
template <class TPlatform1 = TFakePanePlatform> struct TTwoPanesOf {
    TFakeClipboard Clipboard;
    TPlatform1 Platform1 { &Clipboard };
    TFakePanePlatform Platform2 { &Clipboard };
    TIconPane Pane1 { Platform1 };
    TIconPane Pane2 { Platform2 };
    TTwoPanesOf()
    {
        Pane1.SetIconNumber(1);
        Pane2.SetIconNumber(2);
        Pane1.SetPartnerPane(&Pane2);
        Pane2.SetPartnerPane(&Pane1);
        Pane1.UpdateActions();
        Pane2.UpdateActions();
    }
};
using TTwoPanes = TTwoPanesOf<>;

/// Puts images made from pictures into a pane as one import command; the pane shows them as
/// after opening a file.
inline void ImportPictures(TIconPane& pane, const std::vector<TBitmap>& pictures)
{
    TIconPane::TChangeScope change(pane, "Import from bitmap");
    for (const TBitmap& picture : pictures)
        ASSERT_EQ(pane.IconDirectory().ImportBitmap(picture), 0);
    pane.RefreshView();
    pane.SetGridVisible(true);
    pane.UpdateActions();
}

/// Clicks the rectangle from the cell that shows image first to the one that shows last.
inline void SelectImages(TIconPane& pane, int first, int last)
{
    auto cellOf = [&pane](int index) {
        const TImageGrid& grid = pane.Grid();
        std::pair at(0, 0);
        std::string end = "|";
        end += std::to_string(index);
        grid.ForEachCell({ 1, 1, grid.ColCount() - 1, grid.RowCount() - 1 },
            [&](int col, int row, const std::string& text) {
                if (text.ends_with(end))
                    at = { col, row };
            });
        EXPECT_NE(at.first, 0) << "no cell shows image " << index;
        return at;
    };
    const auto [left, top] = cellOf(first);
    const auto [right, bottom] = cellOf(last);
    pane.StringGridMainClick({ left, top, right, bottom });
}

/// Opens an icon of these images in the pane, through a file in dir.
inline void OpenImages(TIconPane& pane, const TTempDir& dir, const std::vector<TTestImage>& images)
{
    std::string name = "pane";
    name += std::to_string(pane.IconNumber());
    WriteFile(dir.Path(name), MakeIconFile(images));
    pane.OpenIconFile(dir.Path(name).string());
    ASSERT_EQ(pane.IconDirectory().Count(), images.size());
}

/// Each image's (width, height, bit count), in order.
inline TFormats Formats(const TIconDirectory& document)
{
    TFormats formats;
    for (int i = 0; i < document.Count(); ++i) {
        const TIconDirectoryEntry& entry = document.GetEntry(i);
        formats.emplace_back(entry.ImageWidth(), entry.ImageHeight(), entry.BitCount);
    }
    return formats;
}

/// Each image's data, in order.
inline std::vector<Bytes> ImageData(const TIconDirectory& document)
{
    std::vector<Bytes> data;
    for (int i = 0; i < document.Count(); ++i)
        data.push_back(document.GetImage(i).Icon->Data());
    return data;
}

/// A true-colour picture whose left column, and so its bottom-left pixel (the colour that
/// becomes transparent), is magenta.
inline TBitmap Picture(
    int w, int h, uint8_t shade = 50, TPixelFormat format = TPixelFormat::pf24bit)
{
    return MakeTrueColorBitmap(w, h, format, [shade](int x, int y) {
        return x == 0 ? RGB(255, 0, 255)
                      : RGB(shade, static_cast<uint8_t>(8 * x), static_cast<uint8_t>(8 * y));
    });
}

} // namespace velmora::test
