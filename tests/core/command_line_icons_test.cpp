// Command-line arguments that all name icon files open in the two panes; any other list keeps
// the script and bitmap-import handling.

#include "graphics/bmp_codec.h"
#include "icon_test_files.h"
#include "pane_test_panes.h"
#include "scripts/file_list_handler.h"

#include <gtest/gtest.h>

namespace velmora::test
{
namespace
{

using TStrings = std::vector<std::string>;

const std::string NotOpened = "Error - icon file not opened: ";

/// Both panes, paired as in the main window, with the handling over pane 1.
struct TCommandLine : TTwoPanes {
    TFileListHandler Handler { Pane1, Platform1 };
};

TEST(CommandLineIcons, IconArgumentsOpenInPaneOneAndTwo)
{
    TTempDir dir;
    const std::string a = dir.Path("a.ico").string();
    const std::string b = dir.Path("B.ICO").string();
    const std::string c = dir.Path("c.Ico").string();
    WriteFile(a, MakeIconFile({ BmpImage(16, 16, 32), BmpImage(32, 32, 24) }));
    WriteFile(b, MakeIconFile({ BmpImage(48, 48, 8) }));
    WriteFile(c, MakeIconFile({ BmpImage(24, 24, 4) }));
    const std::string bitmap = dir.Path("logo.bmp").string();
    SaveBitmapToFile(MakeSolidBitmap(20, 20, RGB(0, 90, 200)), bitmap);
    const std::string missing = dir.Path("missing.ico").string();
    // Its name ends in ".ico", so it is an icon to open, not a script to run.
    const std::string scriptLike = dir.Path("qebscript.txt.ico").string();
    WriteFile(scriptLike, Bytes { 'v', 'e', 'l' });

    const struct {
        const char* Case;
        TStrings Arguments;
        TFormats Pane1;
        TFormats Pane2;
        TStrings Messages1;
        TStrings Messages2;
    } rows[] = {
        { "two icons, extensions in any case", { a, b }, { { 16, 16, 32 }, { 32, 32, 24 } },
            { { 48, 48, 8 } }, {}, {} },
        { "a third icon has no pane", { c, b, a }, { { 24, 24, 4 } }, { { 48, 48, 8 } }, {}, {} },
        { "the second fails alone", { a, missing }, { { 16, 16, 32 }, { 32, 32, 24 } }, {}, {},
            { NotOpened + missing } },
        { "a script-like icon name", { scriptLike }, {}, {}, { NotOpened + scriptLike }, {} },
        // Not all icons: the bitmap import takes the list and ignores the icon, as before.
        { "an icon and a bitmap", { a, bitmap }, { { 20, 20, 24 } }, {}, {}, {} },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        TCommandLine s;
        s.Handler.HandleCommandLine(row.Arguments);
        EXPECT_EQ(Formats(s.Pane1.IconDirectory()), row.Pane1);
        EXPECT_EQ(Formats(s.Pane2.IconDirectory()), row.Pane2);
        EXPECT_EQ(s.Platform1.Messages, row.Messages1);
        EXPECT_EQ(s.Platform2.Messages, row.Messages2);
        // Both panes' actions follow what they now hold, as after the panes' own Open.
        EXPECT_EQ(s.Pane1.IsEnabled(TPaneAction::IconSave), !row.Pane1.empty());
        EXPECT_EQ(s.Pane2.IsEnabled(TPaneAction::IconSave), !row.Pane2.empty());
    }
}

TEST(CommandLineIcons, ADamagedFirstIconRaisesAfterTheSecondOpened)
{
    TTempDir dir;
    const Bytes good = MakeIconFile({ BmpImage(16, 16, 4) });
    const std::string damaged = dir.Path("damaged.ico").string();
    WriteFile(damaged, With(good, 4, 40, 2)); // a directory of 40 images in a short file
    const std::string second = dir.Path("second.ico").string();
    WriteFile(second, good);

    TCommandLine s;
    const std::string error = ErrorOf([&] { s.Handler.HandleCommandLine({ damaged, second }); });
    EXPECT_TRUE(error.starts_with(NotOpened + damaged + "\r\nIconDirEntry.LoadFromFile")) << error;
    EXPECT_EQ(s.Pane1.IconDirectory().Count(), 0);
    EXPECT_EQ(Formats(s.Pane2.IconDirectory()), (TFormats { { 16, 16, 4 } }));
}

} // namespace
} // namespace velmora::test
