#include "fakes/fake_pane_platform.h"

#include <gtest/gtest.h>

namespace velmora::test
{

TFakePanePlatform::TFakePanePlatform(IClipboard* clipboard)
    : m_clipboard(clipboard ? clipboard : &m_ownClipboard)
{
}

void TFakePanePlatform::ShowMessage(const std::string& text)
{
    Messages.push_back(text);
}

bool TFakePanePlatform::AskQuestion(const std::string& text, const std::string& caption)
{
    Questions.push_back({ text, caption });
    if (Answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        return false;
    }
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

TSaveChangesAnswer TFakePanePlatform::AskSaveChanges(const std::string& text)
{
    SaveChangesQuestions.push_back(text);
    if (SaveChangesAnswers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        return TSaveChangesAnswer::Cancel;
    }
    const TSaveChangesAnswer answer = SaveChangesAnswers.front();
    SaveChangesAnswers.pop_front();
    return answer;
}

std::vector<std::string> TFakePanePlatform::OpenFileDialog(const TFileDialogSetup& setup)
{
    Dialogs.push_back(setup);
    if (OpenAnswers.empty()) {
        ADD_FAILURE() << "unscripted open dialog: " << setup.Title;
        return {};
    }
    std::vector<std::string> answer = OpenAnswers.front();
    OpenAnswers.pop_front();
    return answer;
}

std::optional<std::string> TFakePanePlatform::SaveFileDialog(const TFileDialogSetup& setup)
{
    Dialogs.push_back(setup);
    if (SaveAnswers.empty()) {
        ADD_FAILURE() << "unscripted save dialog: " << setup.Title;
        return std::nullopt;
    }
    std::optional<std::string> answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return answer;
}

std::optional<TColor> TFakePanePlatform::ChooseColor(TColor color, TStringList& customColors)
{
    ColorsGiven.push_back(color);
    for (const std::string& line : customColors.Lines())
        CustomColorsGiven.push_back(line);
    if (ColorAnswers.empty()) {
        ADD_FAILURE() << "unscripted colour dialog";
        return std::nullopt;
    }
    std::optional<TColor> answer = ColorAnswers.front();
    ColorAnswers.pop_front();
    if (answer && CustomColorsAnswer) {
        customColors.Clear();
        for (const std::string& line : *CustomColorsAnswer)
            customColors.Add(line);
    }
    return answer;
}

int TFakePanePlatform::TextWidth(std::string_view text)
{
    return static_cast<int>(text.size()) * 6;
}

} // namespace velmora::test
