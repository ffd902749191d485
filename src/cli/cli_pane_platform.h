#pragma once

#include "pane/pane_platform.h"
#include "platform/memory_clipboard.h"
#include "svg_drawer.h"

namespace velmora::cli
{

/// The platform of an icon pane run from the command line, where there is no window and nobody
/// to answer. Messages go to standard error with plain line ends. Questions are not waited
/// for: each is written to standard error and answered No. File and colour dialogs count as
/// cancelled. Texts measure a fixed width per byte, the clipboard lives in memory, and
/// repaints and pending events are nothing to do.
class TCliPanePlatform : public IPanePlatform
{
public:
    /// The width that TextWidth gives each byte of a text.
    static constexpr int CharacterWidth = 7;

    void ShowMessage(const std::string& text) override;
    bool AskQuestion(const std::string& text, const std::string& caption) override;
    /// Never reached from a script; answered Cancel, which keeps the document.
    TSaveChangesAnswer AskSaveChanges(const std::string& text) override;
    std::vector<std::string> OpenFileDialog(const TFileDialogSetup& setup) override;
    std::optional<std::string> SaveFileDialog(const TFileDialogSetup& setup) override;
    std::optional<TColor> ChooseColor(TColor color, TStringList& customColors) override;
    /// Nobody chooses a program's group: says how a script names one, and answers none.
    std::optional<int> ChooseGroup(
        const std::string& title, const std::vector<TFrameChoice>& groups) override;
    int TextWidth(std::string_view text) override;
    IClipboard& Clipboard() override { return m_clipboard; }
    void ProcessPendingEvents() override { }
    void RepaintGrid() override { }
    IVectorPictureDrawer* VectorPictures() override { return m_svgDrawer.get(); }

    /// Silent, messages are only counted: the caller says in its own words what went wrong.
    void SetSilent(bool silent) { m_silent = silent; }

    /// How many messages and questions the pane has shown so far.
    int MessageCount() const { return m_messages; }
    int QuestionCount() const { return m_questions; }

private:
    TMemoryClipboard m_clipboard;
    std::unique_ptr<IVectorPictureDrawer> m_svgDrawer = MakeSvgDrawer();
    int m_messages = 0;
    int m_questions = 0;
    bool m_silent = false;
};

} // namespace velmora::cli
