#include "core/icon_test_files.h"
#include "graphics/bmp_codec.h"
#include "started_window.h"

namespace velmora::test
{

namespace
{

const std::string Header = "velmora icon manager script file\n";

/// Scripted prompts that also note whether the window was on screen at each message.
struct TWatchingPrompts : TFakePanePlatform {
    QWidget* Window = nullptr;
    std::vector<bool> WindowVisible;
    void ShowMessage(const std::string& text) override
    {
        TFakePanePlatform::ShowMessage(text);
        WindowVisible.push_back(Window && Window->isVisible());
    }
};

/// A main window started with the arguments over prompts that watch it.
using TWindow = TStartedWindowOf<TWatchingPrompts>;

std::string SaveBitmap(const TTempDir& dir, const std::string& name, int size)
{
    SaveBitmapToFile(MakeSolidBitmap(size, size, RGB(0, 128, 255)), dir.Path(name));
    return dir.Path(name).string();
}

std::string WriteScript(const TTempDir& dir, const std::string& name, const std::string& text)
{
    WriteFile(dir.Path(name), Bytes(text.begin(), text.end()));
    return dir.Path(name).string();
}

} // namespace

TEST(MainWindowFilesTest, DroppedBitmapsAreImportedAndADroppedScriptRuns)
{
    TTempDir dir;
    const std::string bitmap = SaveBitmap(dir, "logo.bmp", 16);
    const std::string script = WriteScript(dir, "my qebscript.txt",
        Header + "ImportBitmaps " + dir.Root().string() + "/*.bmp\nShowComment Done.\n");

    TWindow w;
    // The first name is no script: the whole list goes to the import, which takes the bitmap.
    DropFiles(w.Window, w.Window.FrameIcon1(), { bitmap, script });
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 1);
    EXPECT_TRUE(w.Prompts.Messages.empty());

    // A script first: only the script runs. Its quiet import takes big.bmp and stops at the
    // format of logo.bmp, which pane 1 holds, without a question.
    SaveBitmap(dir, "big.bmp", 48);
    w.Prompts.SaveChangesAnswers = { TSaveChangesAnswer::Discard };
    DropFiles(w.Window, w.Window.FrameIcon1(), { script, SaveBitmap(dir, "other.bmp", 24) });
    EXPECT_EQ(w.Prompts.Messages, (std::vector<std::string> { "Done." }));
    EXPECT_EQ(w.Window.ScriptFileName(), script);
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 2);
    EXPECT_TRUE(w.Errors.empty());
}

TEST(MainWindowFilesTest, StartUpTakesTheArgumentsWithTheWindowShown)
{
    TTempDir dir;
    const std::string bitmap = SaveBitmap(dir, "logo.bmp", 32);
    const std::string out = dir.Path("out.ico").string();
    const std::string script = WriteScript(dir, "qebscript.txt",
        Header + "ImportBitmaps " + bitmap + "\nSaveIcon " + out + "\nShowComment Saved.\n");
    const std::string broken = WriteScript(dir, "broken-qebscript.txt",
        Header + "ImportBitmaps " + bitmap + "\nSaveIcon /no/folder/x.ico\nShowComment never\n");
    const struct {
        QStringList Arguments;
        std::vector<std::string> Messages;
        std::string ErrorStart; // of the error that reaches the window's guard
    } rows[] = {
        { { QString::fromStdString(bitmap) }, {}, "" },
        { { QString::fromStdString(script), QStringLiteral("ignored.bmp") }, { "Saved." }, "" },
        { { QString::fromStdString(broken) }, {}, "WriteIconFileHeader failed." },
    };
    for (const auto& row : rows) {
        TWindow w(false, row.Arguments);
        EXPECT_TRUE(w.Window.TitleSet());
        EXPECT_FALSE(w.Window.StartupPending());
        EXPECT_EQ(w.Pane1().IconDirectory().Count(), 1);
        EXPECT_EQ(w.Prompts.Messages, row.Messages);
        EXPECT_EQ(w.Prompts.WindowVisible, std::vector<bool>(row.Messages.size(), true));
        EXPECT_EQ(w.Errors.size(), row.ErrorStart.empty() ? 0u : 1u);
        if (!w.Errors.empty()) {
            EXPECT_EQ(w.Errors[0].rfind(row.ErrorStart, 0), 0u) << w.Errors[0];
        }
    }
    TIconDirectory saved;
    EXPECT_TRUE(saved.LoadFromFile(out));
}

} // namespace velmora::test
