#include "fakes/fake_pane_platform.h"

#include <gtest/gtest.h>

namespace velmora::test
{

namespace
{

// The next scripted answer; without one, what is asked fails the test and is cancelled.
template <class T> T Next(std::deque<T>& answers, const std::string& what, T cancelled = T {})
{
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted " << what;
        return cancelled;
    }
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

bool TFakePanePlatform::AskQuestion(const std::string& text, const std::string&)
{
    Questions.push_back({ text });
    return Next(Answers, "question: " + text);
}

TReplaceAnswer TFakePanePlatform::AskReplace(const std::string& text, const std::string& caption)
{
    if (ReplaceAnswers.empty())
        return IPanePlatform::AskReplace(text, caption);
    Questions.push_back({ text });
    return Next(ReplaceAnswers, "question: " + text);
}

TSaveChangesAnswer TFakePanePlatform::AskSaveChanges(const std::string& text)
{
    SaveChangesQuestions.push_back(text);
    return Next(SaveChangesAnswers, "question: " + text, TSaveChangesAnswer::Cancel);
}

std::vector<std::string> TFakePanePlatform::OpenFileDialog(const TFileDialogSetup& setup)
{
    Dialogs.push_back(setup);
    return Next(OpenAnswers, "open dialog: " + setup.Title);
}

std::optional<std::string> TFakePanePlatform::SaveFileDialog(const TFileDialogSetup& setup)
{
    Dialogs.push_back(setup);
    return Next(SaveAnswers, "save dialog: " + setup.Title);
}

std::optional<TColor> TFakePanePlatform::ChooseColor(TColor, TStringList&)
{
    ADD_FAILURE() << "unscripted colour dialog";
    return std::nullopt;
}

std::optional<std::vector<int>> TFakePanePlatform::ChooseSides(
    const std::vector<int>&, const std::vector<int>&)
{
    return SidesAnswers.empty() ? std::nullopt : Next(SidesAnswers, "");
}

std::optional<std::pair<int, int>> TFakePanePlatform::ChooseHotspot(const TBitmap&, int, int)
{
    return Next(HotspotAnswers, "hotspot");
}

std::optional<int> TFakePanePlatform::ChooseFrame(
    const std::string& title, const std::vector<TFrameChoice>&)
{
    return Next(FrameAnswers, "frame of " + title);
}

std::optional<int> TFakePanePlatform::ChooseGroup(
    const std::string& title, const std::vector<TFrameChoice>& groups)
{
    GroupChoices = groups;
    return Next(GroupAnswers, "group of " + title);
}

} // namespace velmora::test
