#pragma once

#include "programs/version_stamp.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QMimeData;
class QShortcut;
class QSplitter;

namespace velmora
{

class IClipboard;
class IPanePrompts;
class TFileListHandler;
class TFormDlgAbout;
class TFrameIconDirectory;
class TMenuEntry;

/// The main window: two icon panes side by side over a status bar, the menu bar with the
/// "Icon &1" and "Icon &2" menus, the one-time start-up steps and the drop target.
class TFormQEBMain : public QMainWindow
{
    Q_OBJECT
public:
    /// prompts and clipboard go to both panes (nullptr: Qt's dialogs and the desktop's
    /// clipboard). arguments: the program's command-line arguments after its own name.
    explicit TFormQEBMain(QStringList arguments = {}, IPanePrompts* prompts = nullptr,
        IClipboard* clipboard = nullptr);
    ~TFormQEBMain() override;

    TFrameIconDirectory* FrameIcon1() const { return m_frameIcon1; }
    TFrameIconDirectory* FrameIcon2() const { return m_frameIcon2; }
    QSplitter* SplitterMainBottom() const { return m_splitter; }
    /// True until the one-time start-up work has run.
    bool StartupPending() const { return m_startupPending; }
    /// True once the title has been set.
    bool TitleSet() const { return m_titleSet; }
    /// The name of the script file last run; empty before the first.
    std::string ScriptFileName() const;
    /// The program's version, taken at the first activation; empty and 0 before.
    const TVersionStamp& VersionStamp() const { return m_versionStamp; }
    /// The pane that the edit keys act on: the one that last had the keyboard focus.
    TFrameIconDirectory* FocusedPane() const { return m_focusedPane; }
    /// The About dialog, made with the window and hidden until "&About..." shows it.
    TFormDlgAbout* FormDlgAbout() const { return m_formDlgAbout; }

    /// Binds the direct entries of an Icon menu to the same-named actions of a pane.
    static void WireIconMenu(QMenu* menu, TFrameIconDirectory* pane);
    /// The minimum outer width follows the splitter: its left position plus 64 pixels.
    void UpdateMinimumWidth();

signals:
    /// Files were dropped on the window (their local names, in the order given).
    void FilesDropped(const QStringList& files);
    /// The start-up work has run.
    void StartupDone();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    /// Closing asks about each pane's unsaved changes; Cancel keeps the window.
    void closeEvent(QCloseEvent* event) override;

    /// The title at the first activation: "%s %d.%d - %s" from the program's version.
    virtual void FormActivate();
    /// The command-line handling of the start-up work.
    virtual void HandleCommandLine(const QStringList& arguments);
    /// What a drop does with its file names.
    virtual void HandleDroppedFiles(const QStringList& files);
    /// A drop: an image cell goes to the other pane, icons open in the pane under the mouse,
    /// scripts and bitmaps go to the file-list handling; anything else is refused with a reason.
    void HandleDrop(const QMimeData* mime, const QPoint& position);

private:
    void CreateActions();
    void CreateMenus();
    void StartupWork();
    void SetTitleOnce();
    /// Gives the first menu entry of each key, in menu order, the window's live shortcut.
    void UpdateShortcuts();
    void ShowHintInStatusBar(const QString& hint);
    void ShowAbout();
    /// The live keys of the focused pane (edit keys, F6 and Ctrl+Tab).
    void CreateFocusKeys();
    void FocusChanged(QWidget* now);
    void FocusOtherPane();
    /// True when every pane may close: asked about unsaved changes, none was kept.
    bool QueryClose();
    /// Shrinks the first window to the screen's available area (a high-density screen may
    /// have fewer device-independent pixels than the design size).
    void FitToScreen();
    /// The pane under a point of the window, or nullptr.
    TFrameIconDirectory* PaneAt(const QPoint& position) const;
    /// Opens an icon dropped on a pane, after the question about its unsaved changes.
    void OpenDroppedIcon(TFrameIconDirectory* frame, const QString& file);
    /// Imports dropped bitmaps and pictures into the pane, as one undoable step: an SVG
    /// through the pane's sizes dialog, the other names as the pane's bitmap import takes them.
    void ImportDroppedFiles(TFrameIconDirectory* frame, const QStringList& files);
    void CreateAboutDialog(IPanePrompts* prompts);
    /// The handling of dropped files and command-line arguments over the first pane, made at
    /// its first use; it keeps the name of the script file last run.
    TFileListHandler& FileListHandler();

    QStringList m_arguments;
    bool m_startupPending = true;
    bool m_startupQueued = false;
    bool m_titleSet = false;

    QSplitter* m_splitter = nullptr;
    TFrameIconDirectory* m_frameIcon1 = nullptr;
    TFrameIconDirectory* m_frameIcon2 = nullptr;
    TFrameIconDirectory* m_focusedPane = nullptr;
    QMetaObject::Connection m_focusWatch;
    QMenu* m_menuIcon1 = nullptr;
    QMenu* m_menuIcon2 = nullptr;
    QAction* m_actionFileOpen = nullptr;
    QAction* m_actionFileSave = nullptr;
    QAction* m_actionFileExit = nullptr;
    QAction* m_actionHelp = nullptr;
    QAction* m_actionHelpAbout = nullptr;
    std::vector<QShortcut*> m_shortcuts;
    std::shared_ptr<TFileListHandler> m_fileListHandler;
    TVersionStamp m_versionStamp;
    TFormDlgAbout* m_formDlgAbout = nullptr;
};

} // namespace velmora
