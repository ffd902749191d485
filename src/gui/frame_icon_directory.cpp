#include "frame_icon_directory.h"

#include "application.h"
#include "artwork.h"
#include "cell_drag.h"
#include "check_dialog.h"
#include "colors/chevron.h"
#include "focus_keys.h"
#include "graphics/bitmap_ops.h"
#include "image_grid_view.h"
#include "image_preview.h"
#include "menu_entry.h"
#include "messages/messages.h"
#include "pane/toolbar_overflow.h"
#include "qt_bitmap.h"
#include "qt_platform.h"
#include "qt_prompts.h"
#include "selected_cell_delegate.h"
#include "svg_drawer.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora
{

namespace
{

using A = TPaneAction;

// The toolbar's buttons in order; Separator marks a separator.
constexpr int Separator = -1;
constexpr int ToolBarOrder[] = { static_cast<int>(A::IconOpen), static_cast<int>(A::IconSave),
    static_cast<int>(A::IconClose), Separator, static_cast<int>(A::IconBackColor), Separator,
    static_cast<int>(A::EditCut), static_cast<int>(A::EditCopy), static_cast<int>(A::EditPaste),
    static_cast<int>(A::EditDelete), Separator, static_cast<int>(A::ImageSort), Separator,
    static_cast<int>(A::ImageInsertFrom), static_cast<int>(A::ImageAddTo),
    static_cast<int>(A::ImageImportBitmap), static_cast<int>(A::ImageExportBitmap) };

const char* const ToolButtonNames[] = { "ToolButtonIconOpen", "ToolButtonIconSave",
    "ToolButtonIconClose", "", "ToolButtonIconBkColor", "", "ToolButtonEditCut",
    "ToolButtonEditCopy", "ToolButtonEditPaste", "ToolButtonImageDelete", "", "ToolButtonIconSort",
    "", "ToolButtonImageInsertFrom", "ToolButtonImageAddTo", "ToolButtonImageImportBitmap",
    "ToolButtonImageExportBitmap" };

constexpr int ButtonWidth = 31;
constexpr int ButtonHeight = 30;
constexpr int MoreButtonWidth = 11;
constexpr int SeparatorWidth = 8;
constexpr int PanelLineHeight = 21;

// A caption without its accelerator marks, for tool tips.
QString WithoutMarks(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

// A one-line panel with a left-aligned text and a border of 2 pixels; its width follows the
// pane, never its text.
QLabel* MakeLine(QWidget* parent, const char* name)
{
    auto* line = new QLabel(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setMinimumHeight(PanelLineHeight);
    line->setMargin(2);
    line->setFrameStyle(QFrame::Panel | QFrame::Raised);
    line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // File names are shown as they are, never read as markup.
    line->setTextFormat(Qt::PlainText);
    return line;
}

} // namespace

TFrameIconDirectory::TFrameIconDirectory(
    QWidget* parent, IPanePrompts* prompts, IClipboard* clipboard)
    : QFrame(parent)
    , m_ownPrompts(prompts ? nullptr : std::make_unique<TQtPrompts>(this))
    , m_prompts(prompts ? prompts : m_ownPrompts.get())
    , m_ownClipboard(clipboard ? nullptr : std::make_unique<TQtClipboard>())
    , m_clipboard(clipboard ? clipboard : m_ownClipboard.get())
    , m_svgDrawer(MakeSvgDrawer())
{
    setObjectName(QStringLiteral("TFrameIconDirectory"));
    setMinimumWidth(30);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_headline = MakeLine(this, "PanelHeadline");
    m_headline->installEventFilter(this);
    layout->addWidget(m_headline);

    m_grid = nullptr;
    CreateActions();
    CreateToolBar();
    layout->addWidget(m_toolPanel);

    m_pane = std::make_unique<TIconPane>(*this);
    m_grid = new TImageGridView(*m_pane, this);
    m_grid->setItemDelegate(new TSelectedCellDelegate(*m_pane, m_grid));
    new TCellDragger(*m_pane, m_grid, this);
    // A click on a pane without images gives it the focus, so that its keys act on it.
    setFocusPolicy(Qt::ClickFocus);
    auto* gridArea = new QWidget(this);
    auto* gridLayout = new QHBoxLayout(gridArea);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSpacing(0);
    gridLayout->addWidget(m_grid, 1);
    m_preview = new TImagePreview(*m_pane, gridArea);
    m_preview->setVisible(m_pane->Grid().Visible());
    gridLayout->addWidget(m_preview);
    layout->addWidget(gridArea, 1);

    m_status = MakeLine(this, "PanelStatus");
    layout->addWidget(m_status);

    CreateMenus();
    DrawOverflowButton();
    WatchClipboard();
    TextsChanged();
    ActionsChanged();
}

TFrameIconDirectory::~TFrameIconDirectory()
{
    // The grid view refers to the pane; it goes first.
    delete m_grid;
    m_grid = nullptr;
    delete m_preview;
    m_preview = nullptr;
}

QAction* TFrameIconDirectory::Action(TPaneAction action) const
{
    return m_actions.at(static_cast<size_t>(action));
}

void TFrameIconDirectory::SetPartner(TFrameIconDirectory* partner)
{
    m_pane->SetPartnerPane(partner ? &partner->Pane() : nullptr);
}

void TFrameIconDirectory::CreateActions()
{
    for (const TPaneActionInfo& info : PaneActions()) {
        auto* action = new QAction(this);
        action->setObjectName(
            QString::fromUtf8(info.Name.data(), static_cast<int>(info.Name.size())));
        action->setText(UiText(info.Caption));
        action->setStatusTip(UiText(info.Hint));
        action->setToolTip(
            info.Hint.empty() ? WithoutMarks(UiText(info.Caption)) : UiText(info.Hint));
        if (info.ImageIndex >= 0)
            action->setIcon(PaneActionIcon(info.ImageIndex));
        if (!info.ShortCut.empty())
            ShowShortcutOnly(
                action, QKeySequence(UiText(info.ShortCut), QKeySequence::PortableText));
        // The edit keys that every editor has; the main window sends them to the focused pane.
        if (const QKeySequence key = EditKey(info.Action); !key.isEmpty())
            ShowShortcutOnly(action, key);
        // The zoom entries mark the zoom the grid shows.
        action->setCheckable(info.Tag > 0);
        const TPaneAction which = info.Action;
        connect(action, &QAction::triggered, this,
            [this, which] { RunGuarded([&] { m_pane->Execute(which); }); });
        m_actions.at(static_cast<size_t>(which)) = action;
        m_actionList.push_back(action);
    }
}

void TFrameIconDirectory::CreateToolBar()
{
    m_toolPanel = new QWidget(this);
    m_toolPanel->setObjectName(QStringLiteral("PanelToolBar"));
    m_toolPanel->installEventFilter(this);
    auto* row = new QHBoxLayout(m_toolPanel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    // A flat row of buttons: the pane decides itself which buttons fit, and offers the others
    // through its overflow button.
    m_toolBar = new QWidget(m_toolPanel);
    m_toolBar->setObjectName(QStringLiteral("ToolBarFrameIcons"));
    m_toolBar->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* buttons = new QHBoxLayout(m_toolBar);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    for (size_t i = 0; i < std::size(ToolBarOrder); ++i) {
        if (ToolBarOrder[i] == Separator) {
            auto* separator = new QFrame(m_toolBar);
            separator->setFrameStyle(QFrame::VLine | QFrame::Sunken);
            separator->setFixedSize(SeparatorWidth, ButtonHeight - 6);
            buttons->addWidget(separator);
            m_toolItems.push_back({ separator, nullptr });
            continue;
        }
        QAction* action = m_actions.at(static_cast<size_t>(ToolBarOrder[i]));
        auto* button = new QToolButton(m_toolBar);
        button->setObjectName(QString::fromLatin1(ToolButtonNames[i]));
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setFixedSize(ButtonWidth, ButtonHeight);
        button->setIconSize(QSize(24, 24));
        button->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(button);
        m_toolItems.push_back({ button, action });
    }
    buttons->addStretch(1);
    row->addWidget(m_toolBar, 1);

    m_morePanel = new QWidget(m_toolPanel);
    m_morePanel->setObjectName(QStringLiteral("PanelToolBarMore"));
    auto* moreLayout = new QHBoxLayout(m_morePanel);
    moreLayout->setContentsMargins(0, 0, 0, 0);
    m_moreButton = new QToolButton(m_morePanel);
    m_moreButton->setObjectName(QStringLiteral("SpeedButtonToolBarMore"));
    m_moreButton->setAutoRaise(true);
    m_moreButton->setFixedSize(MoreButtonWidth, ButtonHeight);
    m_moreButton->setFocusPolicy(Qt::NoFocus);
    moreLayout->addWidget(m_moreButton);
    m_morePanel->setFixedWidth(MoreButtonWidth);
    m_morePanel->hide();
    row->addWidget(m_morePanel);
    connect(m_moreButton, &QToolButton::clicked, this,
        [this] { m_popupToolBar->popup(QCursor::pos()); });
    m_toolPanel->setFixedHeight(ButtonHeight + 2);
}

TMenuEntry* TFrameIconDirectory::AddEntry(QMenu* menu, const QString& name, TPaneAction action)
{
    // The pane, not the pop-up window, owns the entry, so that its hint reaches the status bar.
    auto* entry = new TMenuEntry(name, this, Action(action));
    menu->addAction(entry);
    return entry;
}

void TFrameIconDirectory::CreateMenus()
{
    m_popupFrame = new QMenu(this);
    m_popupFrame->setObjectName(QStringLiteral("PopupMenuFrame"));
    AddEntry(m_popupFrame, QStringLiteral("MI_IconNew"), A::IconNew);
    AddEntry(m_popupFrame, QStringLiteral("MI_IconOpen"), A::IconOpen);
    AddEntry(m_popupFrame, QStringLiteral("MI_IconSave"), A::IconSave);
    AddEntry(m_popupFrame, QStringLiteral("MI_IconClose"), A::IconClose)
        ->SetOwnCaption(QStringLiteral("C&lose"));
    m_popupFrame->addSeparator();
    AddEntry(m_popupFrame, QStringLiteral("MI_IconBkColor"), A::IconBackColor);
    AddEntry(m_popupFrame, QStringLiteral("MI_IconTransparentColor"), A::IconTransparentColor);
    QMenu* zoom = m_popupFrame->addMenu(Action(A::IconZoom_)->text());
    zoom->menuAction()->setObjectName(QStringLiteral("MI_IconZoom"));
    AddEntry(zoom, QStringLiteral("MI_IconZoom100"), A::IconZoom100);
    AddEntry(zoom, QStringLiteral("MI_IconZoom200"), A::IconZoom200);
    AddEntry(zoom, QStringLiteral("MI_IconZoom300"), A::IconZoom300);
    AddEntry(zoom, QStringLiteral("MI_IconZoom400"), A::IconZoom400);
    m_popupFrame->addSeparator();
    AddEntry(m_popupFrame, QStringLiteral("MI_EditUndo"), A::EditUndo);
    AddEntry(m_popupFrame, QStringLiteral("MI_EditRedo"), A::EditRedo);
    AddEntry(m_popupFrame, QStringLiteral("MI_EditCut"), A::EditCut);
    AddEntry(m_popupFrame, QStringLiteral("MI_EditCopy"), A::EditCopy);
    AddEntry(m_popupFrame, QStringLiteral("MI_EditPaste"), A::EditPaste);
    AddEntry(m_popupFrame, QStringLiteral("MI_EditDelete"), A::EditDelete);
    m_popupFrame->addSeparator();
    AddEntry(m_popupFrame, QStringLiteral("MI_IconSort"), A::ImageSort);
    m_popupFrame->addSeparator();
    AddEntry(m_popupFrame, QStringLiteral("MI_ImageInsertFrom"), A::ImageInsertFrom);
    AddEntry(m_popupFrame, QStringLiteral("MI_ImageAddTo"), A::ImageAddTo);
    AddEntry(m_popupFrame, QStringLiteral("MI_ImageImportBitmap"), A::ImageImportBitmap);
    AddEntry(m_popupFrame, QStringLiteral("MI_ImageImportSizes"), A::ImageImportSizes);
    AddEntry(m_popupFrame, QStringLiteral("MI_ImageExportBitmap"), A::ImageExportBitmap);
    m_popupFrame->addSeparator();
    QMenu* cursor = m_popupFrame->addMenu(CursorMenuCaption());
    cursor->menuAction()->setObjectName(QStringLiteral("MI_Cursor"));
    AddEntry(cursor, QStringLiteral("MI_ImageHotspot"), A::ImageHotspot);
    AddEntry(cursor, QStringLiteral("MI_IconNewCursor"), A::IconNewCursor);
    AddEntry(cursor, QStringLiteral("MI_IconSaveAsCursor"), A::IconSaveAsCursor);
    AddEntry(cursor, QStringLiteral("MI_IconSaveAsIcon"), A::IconSaveAsIcon);
    // The check of the icon, with the repairs it offers, in a dialog of its own.
    QAction* check = m_popupFrame->addAction(QStringLiteral("Chec&k icon..."));
    check->setObjectName(QStringLiteral("MI_IconCheck"));
    connect(check, &QAction::triggered, this,
        [this] { RunGuarded([this] { ShowCheckDialog(*this); }); });
    connect(m_popupFrame, &QMenu::aboutToShow, check,
        [this, check] { check->setEnabled(m_pane->IconDirectory().Count() > 0); });

    // The overflow menu: one entry per toolbar item, in order.
    m_popupToolBar = new QMenu(this);
    m_popupToolBar->setObjectName(QStringLiteral("PopupMenuToolBar"));
    for (const TToolItem& item : m_toolItems) {
        QAction* entry = item.PaneAction ? static_cast<QAction*>(
                             new TMenuEntry(item.PaneAction->objectName(), this, item.PaneAction))
                                         : m_popupToolBar->addSeparator();
        if (item.PaneAction)
            m_popupToolBar->addAction(entry);
        entry->setVisible(item.PaneAction ? item.PaneAction->isVisible() : !item.Item->isHidden());
        m_overflowEntries.push_back(entry);
    }
}

void TFrameIconDirectory::DrawOverflowButton()
{
    // Two right-pointing chevrons on a picture 4 pixels smaller than the button each way,
    // drawn again at twice the size for high-density screens.
    QIcon icon;
    for (int scale : { 1, 2 }) {
        TBitmap picture(
            (MoreButtonWidth - 4) * scale, (ButtonHeight - 4) * scale, TPixelFormat::pf32bit);
        // Drawn over a key colour that becomes transparent.
        constexpr TColor key = RGB(255, 0, 255);
        FillBitmap(picture, key);
        // Centred on the height, so that the arrows sit in line with the toolbar's pictures.
        constexpr int top = (ButtonHeight - 4 - 5) / 2;
        DrawChevron(picture, cdRight, 0, top * scale, 0xFF000008, scale);
        DrawChevron(picture, cdRight, 3 * scale, top * scale, 0xFF000008, scale);
        QImage image = ToQImage(picture);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = (line[x] & 0xFFFFFF) == 0xFF00FF ? 0 : (line[x] | 0xFF000000);
        }
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    m_moreButton->setIcon(icon);
    m_moreButton->setIconSize(QSize(MoreButtonWidth - 4, ButtonHeight - 4));
}

void TFrameIconDirectory::PanelToolBarResize()
{
    m_morePanel->hide();
    std::vector<TToolbarButton> buttons;
    for (const TToolItem& item : m_toolItems)
        buttons.push_back({ item.PaneAction ? ButtonWidth : SeparatorWidth,
            item.PaneAction == nullptr, item.PaneAction ? item.PaneAction->isVisible() : true });
    const TToolbarOverflow result
        = CheckToolbarOverflow(buttons, m_toolPanel->width(), MoreButtonWidth);
    for (size_t i = 0; i < m_toolItems.size(); ++i)
        m_toolItems[i].Item->setVisible(result.Visible[i]);
    if (!result.Overflow)
        return;
    for (size_t i = 0; i < m_toolItems.size(); ++i) {
        const QAction* paneAction = m_toolItems[i].PaneAction;
        m_overflowEntries[i]->setVisible(
            paneAction && paneAction->isVisible() && !result.Visible[i]);
    }
    m_morePanel->show();
}

void TFrameIconDirectory::contextMenuEvent(QContextMenuEvent* event)
{
    m_popupFrame->popup(event->globalPos());
    event->accept();
}

bool TFrameIconDirectory::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        // The headline's client width: its text area and the 2-pixel border around it.
        if (watched == m_headline && m_pane)
            RunGuarded([this] {
                m_pane->SetHeadlineWidth(
                    m_headline->contentsRect().width() + 2 * TIconPane::HeadlineBorderWidth);
            });
        else if (watched == m_toolPanel)
            RunGuarded([this] { PanelToolBarResize(); });
    }
    return QFrame::eventFilter(watched, event);
}

void TFrameIconDirectory::ShowMessage(const std::string& text)
{
    m_prompts->ShowMessage(text);
}

bool TFrameIconDirectory::AskQuestion(const std::string& text, const std::string& caption)
{
    return m_prompts->AskQuestion(text, caption);
}

TReplaceAnswer TFrameIconDirectory::AskReplace(const std::string& text, const std::string& caption)
{
    return m_prompts->AskReplace(text, caption);
}

TSaveChangesAnswer TFrameIconDirectory::AskSaveChanges(const std::string& text)
{
    return m_prompts->AskSaveChanges(text);
}

std::vector<std::string> TFrameIconDirectory::OpenFileDialog(const TFileDialogSetup& setup)
{
    return m_prompts->OpenFileDialog(setup);
}

std::optional<std::string> TFrameIconDirectory::SaveFileDialog(const TFileDialogSetup& setup)
{
    return m_prompts->SaveFileDialog(setup);
}

std::optional<TColor> TFrameIconDirectory::ChooseColor(TColor color, TStringList& customColors)
{
    return m_prompts->ChooseColor(color, customColors);
}

std::optional<std::vector<int>> TFrameIconDirectory::ChooseSides(
    const std::vector<int>& offered, const std::vector<int>& chosen)
{
    return m_prompts->ChooseSides(offered, chosen);
}

std::optional<TSizesChoice> TFrameIconDirectory::ChooseSizes(const std::vector<int>& offered,
    const std::vector<int>& chosen, const std::string& fileName, const TSizeSources& sources,
    const TSizePreview& preview)
{
    return m_prompts->ChooseSizes(offered, chosen, fileName, sources, preview);
}

int TFrameIconDirectory::TextWidth(std::string_view text)
{
    const QFont font = m_grid ? m_grid->font() : this->font();
    return QFontMetrics(font).horizontalAdvance(UiText(text));
}

void TFrameIconDirectory::ProcessPendingEvents()
{
    QCoreApplication::processEvents();
}

void TFrameIconDirectory::RepaintGrid()
{
    if (m_grid && m_grid->isVisible())
        m_grid->viewport()->repaint();
}

void TFrameIconDirectory::GridChanged()
{
    if (!m_grid)
        return;
    // A grid that goes hidden with the focus hands it to its pane first; Qt would pass it on
    // to the next widget, the other pane, whose images the next key would then delete.
    if (!m_pane->Grid().Visible() && window()->focusWidget() == m_grid)
        setFocus(Qt::OtherFocusReason);
    m_grid->Rebuild();
    // The preview belongs to the grid: a pane without images shows neither.
    if (m_preview) {
        m_preview->setVisible(m_pane->Grid().Visible());
        m_preview->Refresh();
    }
    for (const TPaneActionInfo& info : PaneActions())
        if (info.Tag > 0)
            Action(info.Action)->setChecked(info.Tag == m_pane->Zoom());
    // The pane held the focus for its hidden grid; the grid takes it once shown (the window
    // need not be active yet: at start-up the focus is given before it is).
    if (window()->focusWidget() == this && m_grid->isVisible())
        m_grid->setFocus(Qt::OtherFocusReason);
}

void TFrameIconDirectory::TextsChanged()
{
    if (!m_pane || !m_headline || !m_status)
        return;
    m_headline->setText(UiText(m_pane->Headline()));
    m_status->setText(UiText(m_pane->StatusText()));
    // The status line follows the selection and every change of the document: so does the
    // preview.
    if (m_preview)
        m_preview->Refresh();
}

void TFrameIconDirectory::ActionsChanged()
{
    if (!m_pane)
        return;
    for (const TPaneActionInfo& info : PaneActions())
        Action(info.Action)->setEnabled(m_pane->IsEnabled(info.Action));
    // Undo and Redo name the step they take back or do again.
    for (TPaneAction action : { A::EditUndo, A::EditRedo })
        Action(action)->setText(UiText(m_pane->ActionCaption(action)));
}

void TFrameIconDirectory::FocusGrid()
{
    if (m_grid && m_grid->isVisible())
        m_grid->setFocus();
}

} // namespace velmora
