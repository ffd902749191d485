#pragma once

#include "pane/pane_platform.h"
#include "platform/memory_clipboard.h"

namespace velmora
{

/// A pane platform that asks no one: messages are dropped, questions refused, dialogs cancelled,
/// and text is measured at 7 pixels a character. Benchmarks and fuzz targets drive panes with it.
class TQuietPanePlatform : public IPanePlatform
{
public:
    void ShowMessage(const std::string&) override { }
    bool AskQuestion(const std::string&, const std::string&) override { return false; }
    std::vector<std::string> OpenFileDialog(const TFileDialogSetup&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const TFileDialogSetup&) override { return {}; }
    std::optional<TColor> ChooseColor(TColor, TStringList&) override { return {}; }
    int TextWidth(std::string_view text) override { return static_cast<int>(text.size()) * 7; }
    IClipboard& Clipboard() override { return m_clipboard; }
    void ProcessPendingEvents() override { }
    void RepaintGrid() override { }

private:
    TMemoryClipboard m_clipboard;
};

} // namespace velmora
