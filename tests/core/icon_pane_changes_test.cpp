#include "pane_test_panes.h"
#include "scripts/file_list_handler.h"
#include "scripts/script_runner.h"

#include <gtest/gtest.h>

namespace velmora::test
{

namespace
{

using A = TPaneAction;
using S = TSaveChangesAnswer;

} // namespace

TEST(IconPaneChanges, QuestionBeforeAChangedDocumentGoes)
{
    TTempDir dir;
    const std::string saved = dir.Path("saved.ico").string();
    const std::string unwritable = dir.Path("no-folder/x.ico").string();
    struct TRow {
        A Command;
        S Answer;
        std::optional<std::string> SaveAs; // the save dialog's answer
        bool Goes; // the document is closed or replaced
    };
    const TRow rows[] = {
        { A::IconClose, S::Cancel, {}, false },
        { A::IconClose, S::Discard, {}, true },
        { A::IconClose, S::Save, std::nullopt, false },
        { A::IconClose, S::Save, saved, true },
        { A::IconNew, S::Discard, {}, true },
        { A::IconOpen, S::Save, saved, true },
    };
    for (const TRow& row : rows) {
        TTwoPanes panes;
        TIconPane& pane = panes.Pane1;
        ImportPictures(pane, { Picture(20, 8) });
        ASSERT_TRUE(pane.Changed());
        EXPECT_EQ(pane.Headline(), "Icon #1, 1 image: *(new)");
        panes.Platform1.SaveChangesAnswers.push_back(row.Answer);
        if (row.Answer == S::Save)
            panes.Platform1.SaveAnswers.push_back(row.SaveAs);
        if (row.Command == A::IconOpen && row.Goes)
            panes.Platform1.OpenAnswers.push_back({ saved });
        ASSERT_TRUE(pane.Execute(row.Command));
        EXPECT_EQ(panes.Platform1.SaveChangesQuestions,
            std::vector<std::string> { "Save changes to (new) in icon #1?" });
        const bool kept = pane.IconDirectory().Count() == 1
            && pane.IconDirectory().GetEntry(0).Width == 20 && pane.Changed();
        EXPECT_EQ(kept, !row.Goes)
            << static_cast<int>(row.Command) << " " << static_cast<int>(row.Answer);
    }

    // A save that fails raises its error for the application's handler: nothing closes.
    TTwoPanes panes;
    ImportPictures(panes.Pane1, { Picture(20, 8) });
    panes.Platform1.SaveChangesAnswers.push_back(S::Save);
    panes.Platform1.SaveAnswers.push_back(unwritable);
    EXPECT_FALSE(ErrorOf([&] { panes.Pane1.Execute(A::IconClose); }).empty());
    EXPECT_EQ(panes.Pane1.IconDirectory().Count(), 1);
    EXPECT_TRUE(panes.Pane1.Changed());
    // A saved document goes without a question; a script asks nothing either.
    panes.Pane1.SaveIconFile(saved);
    EXPECT_FALSE(panes.Pane1.Changed());
    EXPECT_EQ(panes.Pane1.Headline().find('*'), std::string::npos);
    ImportPictures(panes.Pane1, { Picture(8, 8) });
    const std::string script
        = "velmora icon manager script file\nCloseIcon\nOpenIcon " + saved + "\n";
    WriteFile(dir.Path("s-qebscript.txt"), Bytes(script.begin(), script.end()));
    TScriptRunner runner(panes.Pane1, panes.Platform1);
    EXPECT_EQ(runner.RunScriptFile(dir.Path("s-qebscript.txt").string()), 2);
    EXPECT_EQ(panes.Platform1.SaveChangesQuestions.size(), 1u);
    EXPECT_FALSE(panes.Pane1.Changed());
    // After every script command the actions follow the document.
    EXPECT_TRUE(panes.Pane1.IsEnabled(A::IconSave));
    EXPECT_FALSE(panes.Pane1.IsEnabled(A::EditUndo));
}

TEST(IconPaneChanges, UndoAndRedoEveryKindOfChange)
{
    TTempDir dir;
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    OpenImages(pane, dir, { BmpImage(32, 32, 24), BmpImage(16, 16, 24), BmpImage(8, 8, 32) });
    OpenImages(panes.Pane2, dir, { BmpImage(20, 20, 24) });
    const TFormats opened = Formats(pane.IconDirectory());
    const std::vector<Bytes> openedData = ImageData(pane.IconDirectory());
    EXPECT_FALSE(pane.IsEnabled(A::EditUndo));

    // Each command, and what the document holds after it; the partner's add is pane 2's step.
    SelectImages(pane, 2, 2);
    ASSERT_TRUE(pane.Execute(A::EditCopy));
    panes.Platform1.Answers.push_back(true); // replace the 8 x 8 image
    ASSERT_TRUE(pane.Execute(A::EditPaste));
    EXPECT_EQ(
        Formats(pane.IconDirectory()), (TFormats { { 32, 32, 24 }, { 16, 16, 24 }, { 8, 8, 32 } }));
    EXPECT_EQ(pane.ActionCaption(A::EditUndo), "&Undo Paste image");
    ASSERT_TRUE(pane.Execute(A::ImageSort));
    const TFormats sorted = Formats(pane.IconDirectory());
    EXPECT_EQ(pane.ActionCaption(A::EditUndo), "&Undo Sort by format");
    for (const A action : { A::EditDelete, A::EditCut, A::ImageAddTo }) {
        SelectImages(pane, 0, 0);
        ASSERT_TRUE(pane.Execute(action));
    }
    EXPECT_EQ(panes.Pane2.IconDirectory().Count(), 2);
    EXPECT_EQ(panes.Pane2.ActionCaption(A::EditUndo), "&Undo Add image to icon");
    SelectImages(panes.Pane2, 0, 0);
    pane.UpdateActions();
    ASSERT_TRUE(pane.Execute(A::ImageInsertFrom));
    panes.Platform1.SaveChangesAnswers.push_back(S::Discard);
    ASSERT_TRUE(pane.Execute(A::IconClose));
    ASSERT_TRUE(pane.Execute(A::IconNew));

    // Back step by step: New, Close, Insert, Cut, Delete, Sort, Paste.
    const char* const steps[]
        = { "New icon", "Close icon", "Insert image from icon", "Cut image", "Delete image" };
    for (const char* step : steps) {
        EXPECT_EQ(pane.ActionCaption(A::EditUndo), std::string("&Undo ") + step);
        ASSERT_TRUE(pane.Execute(A::EditUndo));
    }
    EXPECT_EQ(pane.IconDirectory().FileName(), dir.Path("pane1").string());
    EXPECT_EQ(Formats(pane.IconDirectory()), sorted);
    ASSERT_TRUE(pane.Execute(A::EditUndo));
    ASSERT_TRUE(pane.Execute(A::EditUndo));
    // Back at the opened file: the changed mark goes, and Redo names the paste.
    EXPECT_EQ(Formats(pane.IconDirectory()), opened);
    EXPECT_EQ(ImageData(pane.IconDirectory()), openedData);
    EXPECT_FALSE(pane.Changed());
    EXPECT_FALSE(pane.IsEnabled(A::EditUndo));
    EXPECT_EQ(pane.ActionCaption(A::EditRedo), "&Redo Paste image");
    ASSERT_TRUE(pane.Execute(A::EditRedo));
    ASSERT_TRUE(pane.Execute(A::EditRedo));
    EXPECT_EQ(Formats(pane.IconDirectory()), sorted);
    EXPECT_TRUE(pane.Changed());
    // A new change drops what could be redone; the partner's own undo takes its add back.
    pane.SetZoom(2);
    EXPECT_TRUE(pane.IsEnabled(A::EditRedo));
    ImportPictures(pane, { Picture(40, 40) });
    EXPECT_FALSE(pane.IsEnabled(A::EditRedo));
    ASSERT_TRUE(panes.Pane2.Execute(A::EditUndo));
    EXPECT_EQ(panes.Pane2.IconDirectory().Count(), 1);
    EXPECT_FALSE(panes.Pane2.Changed());
    // A save names the document; undoing past it keeps the name and marks the change.
    const std::string saved = dir.Path("saved.ico").string();
    pane.SaveIconFile(saved);
    ASSERT_TRUE(pane.Execute(A::EditUndo));
    EXPECT_EQ(pane.IconDirectory().FileName(), saved);
    EXPECT_TRUE(pane.Changed());
    ASSERT_TRUE(pane.Execute(A::EditRedo));
    EXPECT_FALSE(pane.Changed());
}

TEST(IconPaneChanges, HistoryKeepsItsLimits)
{
    TIconDirectory document;
    ASSERT_EQ(document.ImportBitmap(Picture(32, 32)), 0);
    const size_t size = TDocumentSnapshot::Take(document, 0).Size();
    struct TRow {
        size_t StepLimit;
        size_t Budget;
        size_t Kept;
    };
    // The step limit, then the byte budget decides; a step larger than the budget is not kept.
    for (const TRow row : { TRow { 500, size * 1000, 150 }, TRow { 100, size * 1000, 100 },
             TRow { 500, size * 120 + size / 2, 120 }, TRow { 500, size / 2, 0 } }) {
        TUndoHistory history(row.StepLimit, row.Budget);
        for (int i = 0; i < 150; ++i)
            history.Record(std::to_string(i), false, TDocumentSnapshot::Take(document, i));
        EXPECT_EQ(history.UndoCount(), row.Kept);
        EXPECT_LE(history.Bytes(), row.Budget);
        EXPECT_EQ(history.UndoName(), row.Kept > 0 ? "149" : "");
    }
}

// A platform whose pending events hold commands for both panes.
class TBusyPlatform : public TFakePanePlatform
{
public:
    using TFakePanePlatform::TFakePanePlatform;
    std::vector<std::pair<TIconPane*, A>> Pending;
    std::vector<bool> Ran;
    void ProcessPendingEvents() override
    {
        for (auto [pane, action] : std::exchange(Pending, {}))
            Ran.push_back(pane->Execute(action));
    }
};

TEST(IconPaneChanges, CommandGuardHoldsPerPane)
{
    TTempDir dir;
    TTwoPanesOf<TBusyPlatform> panes;
    TIconPane& pane1 = panes.Pane1;
    TIconPane& pane2 = panes.Pane2;
    OpenImages(pane1, dir, { BmpImage(16, 16, 24), BmpImage(32, 32, 24) });
    OpenImages(pane2, dir, { BmpImage(20, 20, 24) });
    pane2.StringGridMainClick({ 1, 1, 1, 1 });
    pane2.UpdateActions();
    SelectImages(pane1, 0, 0);
    // Pane 1's cut repaints; meanwhile come a delete for pane 1, a zoom for pane 2 (which may
    // run) and an add from pane 2 into pane 1 (which may not).
    panes.Platform1.Pending
        = { { &pane1, A::EditDelete }, { &pane2, A::IconZoom200 }, { &pane2, A::ImageAddTo } };
    ASSERT_TRUE(pane1.Execute(A::EditCut));
    EXPECT_EQ(panes.Platform1.Ran, (std::vector<bool> { false, true, false }));
    EXPECT_EQ(pane1.IconDirectory().Count(), 1);
    EXPECT_FALSE(pane1.Busy());
    // A guard taken from outside (a drop or a script) keeps the pane's commands out.
    {
        const TIconPane::TCommandGuard guard(pane1);
        ASSERT_TRUE(guard.Acquired());
        EXPECT_FALSE(pane1.Execute(A::IconZoom200));
        EXPECT_FALSE(TIconPane::TCommandGuard(pane2, &pane1).Acquired());
    }
    EXPECT_TRUE(pane1.Execute(A::IconZoom200));
}

// Save writes a named icon back without a dialog; a new one, and Save As, ask, proposing the
// name; a picture's extension is refused with its reason and a bare name gets ".ico".
TEST(IconPaneChanges, SaveAndSaveAs)
{
    TTempDir dir;
    const std::string named = dir.Path("named").string();
    const std::string picture = dir.Path("a.PNG").string();
    TTwoPanes panes;
    TIconPane& pane = panes.Pane2;
    TFakePanePlatform& platform = panes.Platform2;
    ImportPictures(pane, { Picture(20, 8) });
    platform.SaveAnswers = { picture, named };
    ASSERT_TRUE(pane.Execute(A::IconSave));
    EXPECT_EQ(platform.Messages,
        std::vector<std::string> { "The name " + picture
            + " ends in .png: the icon is written as an .ico file, so give it a name that ends "
              "in .ico (or no extension)." });
    EXPECT_EQ(platform.Dialogs.at(0).InitialName, "");
    EXPECT_EQ(platform.Dialogs.at(1).InitialName, picture);
    EXPECT_EQ(pane.IconDirectory().FileName(), named + ".ico");
    ImportPictures(pane, { Picture(24, 8) });
    ASSERT_TRUE(pane.Execute(A::IconSave));
    EXPECT_FALSE(pane.Changed());
    platform.SaveAnswers = { std::nullopt };
    ASSERT_TRUE(pane.Execute(A::IconSaveAs));
    EXPECT_EQ(platform.Dialogs.size(), 3u);
    EXPECT_EQ(platform.Dialogs.back().InitialName, named + ".ico");
}

// In the window a script asks about pane 1's unsaved work first (Cancel: it does not run), and
// undo takes the whole run back.
TEST(IconPaneChanges, AScriptRunIsOneStep)
{
    TTempDir dir;
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    OpenImages(pane, dir, { BmpImage(16, 16, 24), BmpImage(32, 32, 24) });
    const std::string icon = pane.IconDirectory().FileName();
    ImportPictures(pane, { Picture(20, 8) });
    const std::string script
        = "velmora icon manager script file\nCloseIcon\nOpenIcon " + icon + "\nCloseIcon\n";
    const std::string scriptFile = dir.Path("s-qebscript.txt").string();
    WriteFile(scriptFile, Bytes(script.begin(), script.end()));
    TFileListHandler handler(pane, panes.Platform1);
    TStringList list;
    list.Add(scriptFile);
    panes.Platform1.SaveChangesAnswers = { S::Cancel, S::Discard };
    handler.TakeFileList(list);
    EXPECT_EQ(pane.IconDirectory().Count(), 3);
    handler.TakeFileList(list);
    EXPECT_EQ(pane.IconDirectory().Count(), 0);
    EXPECT_EQ(panes.Platform1.SaveChangesQuestions.size(), 2u);
    EXPECT_EQ(pane.ActionCaption(A::EditUndo), "&Undo Run script s-qebscript.txt");
    ASSERT_TRUE(pane.Execute(A::EditUndo));
    EXPECT_EQ(pane.IconDirectory().Count(), 3);
    EXPECT_EQ(pane.IconDirectory().FileName(), icon);
    EXPECT_TRUE(pane.Changed());
}

} // namespace velmora::test
