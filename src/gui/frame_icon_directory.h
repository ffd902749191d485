#pragma once

#include "pane/icon_pane.h"

#include <QFrame>
#include <array>
#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QToolButton;

namespace velmora
{

class TImageGridView;
class TImagePreview;
class TMenuEntry;
class TQtPrompts;

/// One icon pane on screen: headline, toolbar with its overflow button, image grid and status
/// line over a headless TIconPane, which holds every rule. It is the pane's platform: prompts
/// go to the given prompts (Qt's dialogs by default), text widths come from the grid's font,
/// pictures travel through the desktop's clipboard.
class TFrameIconDirectory : public QFrame, public IPanePlatform
{
    Q_OBJECT
public:
    /// prompts: where messages, questions and dialogs go (not owned; nullptr: Qt's dialogs).
    /// clipboard: likewise (nullptr: the desktop's clipboard).
    explicit TFrameIconDirectory(QWidget* parent = nullptr, IPanePrompts* prompts = nullptr,
        IClipboard* clipboard = nullptr);
    ~TFrameIconDirectory() override;

    TIconPane& Pane() { return *m_pane; }
    const TIconPane& Pane() const { return *m_pane; }
    /// The pane's action list `ActionListFrameMain`, in order.
    const std::vector<QAction*>& ActionListFrameMain() const { return m_actionList; }
    QAction* Action(TPaneAction action) const;
    /// Pairs two panes as the main window does.
    void SetPartner(TFrameIconDirectory* partner);
    /// Gives the pane the keyboard focus: its grid while shown, the pane itself otherwise.
    void TakeFocus();
    /// Marks the pane as the one that the edit keys act on: its headline in the desktop's
    /// selection colours.
    void SetFocusMarked(bool marked);
    bool FocusMarked() const { return m_focusMarked; }
    /// The width that shows the whole toolbar and the grid's columns of 16 to 64 pixels.
    int PreferredWidth() const;
    /// The preview of the selected image beside the grid.
    const TImagePreview* Preview() const { return m_preview; }

    // IPanePlatform
    void ShowMessage(const std::string& text) override;
    bool AskQuestion(const std::string& text, const std::string& caption) override;
    TReplaceAnswer AskReplace(const std::string& text, const std::string& caption) override;
    TSaveChangesAnswer AskSaveChanges(const std::string& text) override;
    std::vector<std::string> OpenFileDialog(const TFileDialogSetup& setup) override;
    std::optional<std::string> SaveFileDialog(const TFileDialogSetup& setup) override;
    std::optional<TColor> ChooseColor(TColor color, TStringList& customColors) override;
    std::optional<std::vector<int>> ChooseSides(
        const std::vector<int>& offered, const std::vector<int>& chosen) override;
    std::optional<std::pair<int, int>> ChooseHotspot(const TBitmap& picture, int x, int y) override
    {
        return m_prompts->ChooseHotspot(picture, x, y);
    }
    std::optional<int> ChooseFrame(
        const std::string& title, const std::vector<TFrameChoice>& frames) override
    {
        return m_prompts->ChooseFrame(title, frames);
    }
    std::optional<int> ChooseGroup(
        const std::string& title, const std::vector<TFrameChoice>& groups) override
    {
        return m_prompts->ChooseGroup(title, groups);
    }
    std::optional<TSizesChoice> ChooseSizes(const std::vector<int>& offered,
        const std::vector<int>& chosen, const std::string& fileName, const TSizeSources& sources,
        const TSizePreview& preview) override;
    IVectorPictureDrawer* VectorPictures() override { return m_svgDrawer.get(); }
    int TextWidth(std::string_view text) override;
    IClipboard& Clipboard() override { return *m_clipboard; }
    void ProcessPendingEvents() override;
    void RepaintGrid() override;
    void GridChanged() override;
    void TextsChanged() override;
    void ActionsChanged() override;
    void FocusGrid() override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    /// An empty pane holds the focus itself: the grid's function keys work there too.
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateToolBar();
    void CreateMenus();
    void DrawOverflowButton();
    void PanelToolBarResize();
    TMenuEntry* AddEntry(QMenu* menu, const QString& name, TPaneAction action);
    /// Paste follows the desktop's clipboard whenever its content changes.
    void WatchClipboard();

    std::unique_ptr<TQtPrompts> m_ownPrompts;
    IPanePrompts* m_prompts;
    std::unique_ptr<IClipboard> m_ownClipboard;
    IClipboard* m_clipboard;
    std::unique_ptr<IVectorPictureDrawer> m_svgDrawer;

    QLabel* m_headline = nullptr;
    QWidget* m_toolPanel = nullptr;
    QWidget* m_toolBar = nullptr;
    QWidget* m_morePanel = nullptr;
    QToolButton* m_moreButton = nullptr;
    TImageGridView* m_grid = nullptr;
    TImagePreview* m_preview = nullptr;
    QLabel* m_status = nullptr;
    QMenu* m_popupFrame = nullptr;
    QMenu* m_popupToolBar = nullptr;

    std::array<QAction*, PaneActionCount> m_actions {};
    std::vector<QAction*> m_actionList;
    /// The toolbar's items in order: the button or separator, and the pane action of a button
    /// (nullptr for a separator).
    struct TToolItem {
        QWidget* Item;
        QAction* PaneAction;
    };
    std::vector<TToolItem> m_toolItems;
    std::vector<QAction*> m_overflowEntries;

    std::unique_ptr<TIconPane> m_pane;
    bool m_focusMarked = false;
};

} // namespace velmora
