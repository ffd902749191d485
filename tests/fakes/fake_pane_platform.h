#pragma once

#include "fakes/fake_clipboard.h"
#include "pane/pane_platform.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace velmora::test
{

/// A pane platform that answers from a script and logs what the pane shows. A dialog or
/// question without a scripted answer fails the running test and is answered as cancelled
/// (the sizes dialog alone is cancelled silently). Text widths are 6 pixels per byte.
class TFakePanePlatform : public IPanePlatform
{
public:
    explicit TFakePanePlatform(IClipboard* clipboard = nullptr)
        : m_clipboard(clipboard ? clipboard : &m_ownClipboard)
    {
    }

    // Scripted answers, used in order.
    std::deque<bool> Answers;
    std::deque<TSaveChangesAnswer> SaveChangesAnswers;
    std::deque<std::vector<std::string>> OpenAnswers;
    std::deque<std::optional<std::string>> SaveAnswers;
    std::deque<std::optional<std::vector<int>>> SidesAnswers;
    std::deque<std::optional<std::pair<int, int>>> HotspotAnswers;
    std::deque<std::optional<int>> FrameAnswers;
    std::deque<std::optional<int>> GroupAnswers;
    /// Answers of the questions that offer "to All"; while empty, those ask as AskQuestion.
    std::deque<TReplaceAnswer> ReplaceAnswers;

    // What the pane did.
    std::vector<std::string> Messages;
    struct TQuestion {
        std::string Text;
    };
    std::vector<TQuestion> Questions;
    std::vector<std::string> SaveChangesQuestions;
    std::vector<TFileDialogSetup> Dialogs;
    std::vector<TFrameChoice> GroupChoices; ///< those of the last group chooser
    int Repaints = 0;
    int PendingEventRuns = 0;
    int GridChanges = 0;

    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    bool AskQuestion(const std::string& text, const std::string& caption) override;
    TReplaceAnswer AskReplace(const std::string& text, const std::string& caption) override;
    TSaveChangesAnswer AskSaveChanges(const std::string& text) override;
    std::vector<std::string> OpenFileDialog(const TFileDialogSetup& setup) override;
    std::optional<std::string> SaveFileDialog(const TFileDialogSetup& setup) override;
    std::optional<TColor> ChooseColor(TColor, TStringList&) override;
    std::optional<std::vector<int>> ChooseSides(
        const std::vector<int>&, const std::vector<int>&) override;
    std::optional<std::pair<int, int>> ChooseHotspot(const TBitmap&, int, int) override;
    std::optional<int> ChooseFrame(const std::string&, const std::vector<TFrameChoice>&) override;
    std::optional<int> ChooseGroup(
        const std::string& title, const std::vector<TFrameChoice>& groups) override;
    int TextWidth(std::string_view text) override { return static_cast<int>(text.size()) * 6; }
    IClipboard& Clipboard() override { return *m_clipboard; }
    void ProcessPendingEvents() override { ++PendingEventRuns; }
    void RepaintGrid() override { ++Repaints; }
    void GridChanged() override { ++GridChanges; }

private:
    TFakeClipboard m_ownClipboard;
    IClipboard* m_clipboard;
};

} // namespace velmora::test
