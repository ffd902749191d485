#include "cli_pane_platform.h"

#include "cli_output.h"
#include "messages/messages.h"
#include "support/error.h"

#include <algorithm>
#include <climits>

namespace velmora::cli
{

void TCliPanePlatform::ShowMessage(const std::string& text)
{
    ++m_messages;
    if (!m_silent)
        PrintError(text);
}

bool TCliPanePlatform::AskQuestion(const std::string& text, const std::string& caption)
{
    ++m_questions;
    PrintError(FormatText(Messages::QuestionNotAsked, { caption, text }));
    return false;
}

TSaveChangesAnswer TCliPanePlatform::AskSaveChanges(const std::string&)
{
    ++m_questions;
    return TSaveChangesAnswer::Cancel;
}

std::vector<std::string> TCliPanePlatform::OpenFileDialog(const TFileDialogSetup&)
{
    return {};
}

std::optional<std::string> TCliPanePlatform::SaveFileDialog(const TFileDialogSetup&)
{
    return std::nullopt;
}

std::optional<TColor> TCliPanePlatform::ChooseColor(TColor, TStringList&)
{
    return std::nullopt;
}

int TCliPanePlatform::TextWidth(std::string_view text)
{
    constexpr size_t longest = INT_MAX / CharacterWidth;
    return static_cast<int>(std::min(text.size(), longest)) * CharacterWidth;
}

std::optional<int> TCliPanePlatform::ChooseGroup(
    const std::string& title, const std::vector<TFrameChoice>& groups)
{
    ShowMessage(FormatText(Messages::ProgramNameAGroup, { title, std::to_string(groups.size()) }));
    return std::nullopt;
}

} // namespace velmora::cli
