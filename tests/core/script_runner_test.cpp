#include "fakes/fake_pane_platform.h"
#include "graphics/bmp_codec.h"
#include "icon_test_files.h"
#include "pane_test_panes.h"
#include "scripts/file_list_handler.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;
using TStrings = std::vector<std::string>;

const std::string Header = "velmora icon manager script file\r\n";
const std::string NotOpened = "Error - icon file not opened: ";

/// Pane 1 and its file-list handling over a scripted platform, which raises an error at the
/// message numbered ThrowAt.
struct TScriptPane : TFakePanePlatform {
    size_t ThrowAt = 0;
    TIconPane Pane { *this };
    TFileListHandler Handler { Pane, *this };
    TScriptRunner& Runner = Handler.Runner();

    void ShowMessage(const std::string& text) override
    {
        TFakePanePlatform::ShowMessage(text);
        if (Messages.size() == ThrowAt)
            throw Exception("message failed");
    }
};

std::string WriteScript(const TTempDir& dir, const std::string& name, const std::string& text)
{
    WriteFile(dir.Path(name), Bytes(text.begin(), text.end()));
    return dir.Path(name).string();
}

// 24-bit bitmaps in a folder (made as needed), each of a size a side.
void SaveBitmaps(
    const std::filesystem::path& dir, const std::vector<std::pair<std::string, int>>& files)
{
    std::filesystem::create_directories(dir);
    for (const auto& [name, size] : files)
        SaveBitmapToFile(MakeSolidBitmap(size, size, RGB(10, 200, 30)), dir / name);
}

TEST(ScriptRunner, ExecutesTheFirstCommandWordOfTheOrder)
{
    const struct {
        std::string Line;
        int Count;
        TStrings Messages;
        int PendingEventRuns; // the pane's repaint lets events run, then the script again
    } rows[] = {
        { "openicon /no/My Icons/a b.ico", 1, { NotOpened + "/no/My Icons/a b.ico" }, 0 },
        { "SaveIcon /x/OpenIcon/b.ico", 1, { NotOpened + "SaveIcon /x//b.ico" }, 0 },
        { "; OpenIcon \"/a.ico\"", 1, { NotOpened + ";  \"/a.ico\"" }, 0 },
        { "ShowComment Done.  Really.", 1, { "Done.  Really." }, 0 },
        { "ShowComment CloseIcon now", 1, {}, 2 },
        { "ImportBitmaps /no/such/folder/*.bmp", 0, {}, 0 },
        { "Open Icon Save-Icon", 0, {}, 0 },
    };
    for (const auto& row : rows) {
        TScriptPane s;
        EXPECT_EQ(s.Runner.ExecuteScriptLine(row.Line), row.Count) << row.Line;
        EXPECT_EQ(s.Messages, row.Messages) << row.Line;
        EXPECT_EQ(s.PendingEventRuns, row.PendingEventRuns) << row.Line;
    }
}

TEST(ScriptRunner, ResultCodesHeaderAndLines)
{
    TTempDir dir;
    std::filesystem::create_directories(dir.Path("folder"));
    const std::string error = "Script error - ";
    const std::string zero(1, '\0');
    const struct {
        std::string Text;
        int Result;
        TStrings Messages;
    } rows[] = {
        { zero + Header, -2, { error + "QEB Header not found in script file." } },
        { Header + "OpenIcon\nSaveIcon \nShowComment\t\n; CloseIcon\n", 0,
            { error + "Script file is empty." } },
        { "\xEF\xBB\xBF## VELMORA ICON MANAGER SCRIPT FILE\rShowComment a\r\n ;ShowComment b\n", 2,
            { "a", "; b" } },
        { "Velmora Icon Manager Script File ShowComment x\n", 1,
            { "Velmora Icon Manager Script File  x" } },
        { Header + "ShowComment a\r\rCloseIcon\n" + zero + "ShowComment b\n", 2, { "a" } },
    };
    for (const auto& row : rows) {
        TScriptPane s;
        const std::string file = WriteScript(dir, "s.txt", row.Text);
        const int result = s.Runner.RunScriptFile(file);
        s.Runner.ReportScriptResult(result);
        EXPECT_EQ(result, row.Result) << row.Text;
        EXPECT_EQ(s.Messages, row.Messages) << row.Text;
        EXPECT_EQ(s.Runner.ScriptFileName(), file);
    }
}

TEST(ScriptRunner, QuietImportFromTheWorkingFolderStopsAndRestoresTheMode)
{
    TTempDir dir;
    SaveBitmaps(dir.Root(), { { "a.bmp", 16 } });
    SaveBitmaps(dir.Path("sub"), { { "b.bmp", 24 } });
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Root());
    for (const bool quietBefore : { false, true }) {
        TScriptPane s;
        s.Pane.SetQuietMode(quietBefore);
        // Each bitmap is listed twice; the second a.bmp meets its own format: the import stops
        // there, without a question.
        EXPECT_EQ(s.Runner.ExecuteScriptLine("ImportBitmaps *.bmp ; *.bmp"), 4);
        EXPECT_EQ(s.Pane.IconDirectory().Count(), 1);
        EXPECT_TRUE(s.Pane.LastImportReport().Stopped);
        EXPECT_EQ(s.Runner.ExecuteScriptLine("ImportBitmaps sub/b.bmp"), 1);
        EXPECT_EQ(s.Pane.IconDirectory().Count(), 2);
        EXPECT_TRUE(s.Questions.empty());
        EXPECT_EQ(s.Pane.QuietMode(), quietBefore);
    }
    std::filesystem::current_path(before);
}

TEST(ScriptRunner, AnErrorInsideACommandEndsTheRunAndRestoresTheQuietMode)
{
    TTempDir dir;
    // A bitmap too small to import makes the pane show a message, which raises here.
    SaveBitmaps(dir.Path("pics"), { { "tiny.bmp", 2 } });
    const std::string script = WriteScript(dir, "s.txt",
        Header + "ShowComment one\nImportBitmaps " + dir.Path("pics").string()
            + "/*.bmp\nShowComment two\n");
    TScriptPane s;
    s.ThrowAt = 2;
    EXPECT_EQ(ErrorOf([&] { s.Runner.RunScriptFile(script); }), "message failed");
    EXPECT_EQ(s.Messages.size(), 2u);
    EXPECT_FALSE(s.Pane.QuietMode());
}

TEST(FileListHandler, RunsAScriptOrImportsTheList)
{
    TTempDir dir;
    SaveBitmaps(dir.Root(), { { "logo.bmp", 16 } });
    const std::string bitmap = dir.Path("logo.bmp").string();
    const std::string icon = dir.Path("a.ico").string();
    WriteFile(icon, MakeIconFile({ BmpImage(32, 32, 8) }));
    const std::string script = WriteScript(dir, "myqebscript.txt.bak", Header + "ShowComment ran");
    const std::string upper = WriteScript(dir, "QEBSCRIPT.TXT", Header + "ShowComment ran");
    const std::string gone = dir.Path("qebscript.txt/x").string();
    const struct {
        TStrings Names;
        int Images;
        TStrings Messages;
    } rows[] = {
        { { icon }, 0, {} },
        { { bitmap, icon, script }, 1, {} },
        { { "", script, bitmap }, 0, { "ran" } },
        { { upper }, 0, {} },
        { { gone, bitmap }, 0, { "Script error - Script file not found." } },
    };
    for (const auto& row : rows) {
        TScriptPane s;
        s.Handler.HandleDroppedFiles(row.Names);
        EXPECT_EQ(s.Pane.IconDirectory().Count(), row.Images) << row.Names.back();
        EXPECT_EQ(s.Messages, row.Messages) << row.Names.back();
    }
}

// Command-line arguments that all name icon files open in the two panes; any other list keeps
// the script and bitmap-import handling.

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
            { NotOpened + missing + "\r\nthe file does not exist" } },
        { "a script-like icon name", { scriptLike }, {}, {},
            { NotOpened + scriptLike + "\r\nthe file is shorter than 13 bytes" }, {} },
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
    WriteFile(damaged, With(good, 18, 999, 4)); // its one image starts past the end
    const std::string second = dir.Path("second.ico").string();
    WriteFile(second, good);

    TCommandLine s;
    const std::string error = ErrorOf([&] { s.Handler.HandleCommandLine({ damaged, second }); });
    EXPECT_TRUE(error.starts_with(NotOpened + damaged + "\r\nIconDirEntry.LoadFromFile")) << error;
    EXPECT_EQ(s.Pane1.IconDirectory().Count(), 0);
    EXPECT_EQ(Formats(s.Pane2.IconDirectory()), (TFormats { { 16, 16, 4 } }));
}

} // namespace
} // namespace velmora
