#include "main_window.h"

#include "application.h"
#include "artwork.h"
#include "focus_keys.h"
#include "frame_icon_directory.h"
#include "menu_entry.h"
#include "messages/messages.h"
#include "qt_prompts.h"
#include "velmora_version.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace velmora
{

namespace
{

using A = TPaneAction;

constexpr int DesignClientWidth = 695;
constexpr int DesignClientHeight = 450;
constexpr int PanelFirstWidth = 287;
constexpr int SplitterWidth = 8;
constexpr int StatusBarHeight = 19;
constexpr int SmallestPanel = 30;
// The sunken frame and the margin of a panel around its pane, on both sides.
constexpr int PanelBorder = 8;

QFrame* MakePanel(const QString& name, TFrameIconDirectory* frame, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setBackgroundRole(QPalette::Base);
    panel->setAutoFillBackground(true);
    panel->setMinimumWidth(SmallestPanel);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(frame);
    return panel;
}

// The upper case of a name, ASCII letters only.
QString UpperAscii(const QString& name)
{
    QString result = name;
    for (QChar& c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

// The long part of a hint: what follows its first "|", or all of it.
QString LongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

} // namespace

TFormQEBMain::TFormQEBMain(QStringList arguments, IPanePrompts* prompts, IClipboard* clipboard)
    : m_arguments(std::move(arguments))
{
    m_startupPending = true;
    setObjectName(QStringLiteral("FormQEBMain"));
    setWindowTitle(UiText(Messages::ProductName));

    m_frameIcon1 = new TFrameIconDirectory(nullptr, prompts, clipboard);
    m_frameIcon1->setObjectName(QStringLiteral("FrameIcon1"));
    m_frameIcon2 = new TFrameIconDirectory(nullptr, prompts, clipboard);
    m_frameIcon2->setObjectName(QStringLiteral("FrameIcon2"));

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("SplitterMainBottom"));
    m_splitter->addWidget(MakePanel(QStringLiteral("PanelFirst"), m_frameIcon1, m_splitter));
    m_splitter->addWidget(MakePanel(QStringLiteral("PanelSecond"), m_frameIcon2, m_splitter));
    m_splitter->setHandleWidth(SplitterWidth);
    m_splitter->setChildrenCollapsible(false);
    // While dragging only a line moves; the panes take the new width on release.
    m_splitter->setOpaqueResize(false);
    // Both panes get the width that shows their whole toolbar and the common sizes' columns,
    // and share any width the window gains or loses alike.
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    const int paneWidth = std::max({ PanelFirstWidth, m_frameIcon1->PreferredWidth(),
                              m_frameIcon2->PreferredWidth() })
        + PanelBorder;
    m_splitter->setSizes({ paneWidth, paneWidth });
    setCentralWidget(m_splitter);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] { UpdateMinimumWidth(); });
    // The layout places the splitter after the window's own resize: follow its handle too.
    m_splitter->handle(1)->installEventFilter(this);

    statusBar()->setObjectName(QStringLiteral("StatusBarMain"));
    statusBar()->setMinimumHeight(StatusBarHeight);
    statusBar()->setSizeGripEnabled(true);

    m_frameIcon1->Pane().SetIconNumber(1);
    m_frameIcon2->Pane().SetIconNumber(2);
    m_frameIcon1->SetPartner(m_frameIcon2);
    m_frameIcon2->SetPartner(m_frameIcon1);
    m_frameIcon1->Pane().UpdateActions();
    m_frameIcon2->Pane().UpdateActions();

    CreateActions();
    CreateMenus();
    UpdateShortcuts();
    CreateFocusKeys();
    setAcceptDrops(true);
    resize(std::max(DesignClientWidth, 2 * paneWidth + SplitterWidth),
        DesignClientHeight + menuBar()->sizeHint().height());
    FitToScreen();
    CreateAboutDialog(prompts);
}

TFormQEBMain::~TFormQEBMain()
{
    // The widgets that go after this point move the focus; the window is no longer whole then.
    disconnect(m_focusWatch);
}

void TFormQEBMain::CreateActions()
{
    m_actionFileOpen = new QAction(MainMenuIcon(0), QStringLiteral("&Open icon..."), this);
    m_actionFileOpen->setObjectName(QStringLiteral("ActionFileOpen"));
    ShowShortcutOnly(m_actionFileOpen, QKeySequence(QStringLiteral("Ctrl+O")));
    connect(m_actionFileOpen, &QAction::triggered, this,
        [this] { m_frameIcon1->Action(A::IconOpen)->trigger(); });

    // Saves the focused pane's icon while its Save is enabled; Ctrl+S is one of the keys
    // that go to the focused pane, so this action carries none.
    m_actionFileSave = new QAction(QStringLiteral("&Save"), this);
    m_actionFileSave->setObjectName(QStringLiteral("ActionFileSave"));
    connect(m_actionFileSave, &QAction::triggered, this, [this] {
        QAction* save = (m_focusedPane ? m_focusedPane : m_frameIcon1)->Action(A::IconSave);
        if (save->isEnabled())
            RunGuarded([save] { save->trigger(); });
    });

    m_actionFileExit = new QAction(MainMenuIcon(1), QStringLiteral("E&xit"), this);
    m_actionFileExit->setObjectName(QStringLiteral("ActionFileExit"));
    m_actionFileExit->setStatusTip(QStringLiteral("Close velmora icon manager"));
    ShowShortcutOnly(m_actionFileExit, QKeySequence(QStringLiteral("Alt+X")));
    connect(m_actionFileExit, &QAction::triggered, this, &QWidget::close);
    // Ctrl+Q quits as in every desktop program; Alt+X stays the key the menu shows.
    auto* quitKey = new QShortcut(QKeySequence(QKeySequence::Quit), this);
    quitKey->setContext(Qt::WindowShortcut);
    connect(quitKey, &QShortcut::activated, this, &QWidget::close);

    m_actionHelp = new QAction(QStringLiteral("&Help"), this);
    m_actionHelp->setObjectName(QStringLiteral("ActionHelp_"));

    m_actionHelpAbout = new QAction(QStringLiteral("&About..."), this);
    m_actionHelpAbout->setObjectName(QStringLiteral("ActionHelpAbout"));
    ShowShortcutOnly(m_actionHelpAbout, QKeySequence(QStringLiteral("F1")));
    connect(m_actionHelpAbout, &QAction::triggered, this, &TFormQEBMain::ShowAbout);
}

void TFormQEBMain::CreateMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenuMain"));

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->menuAction()->setObjectName(QStringLiteral("MIFile"));
    auto* open = new TMenuEntry(QStringLiteral("MIFileOpen"), file, m_actionFileOpen);
    file->addAction(open);
    // Hidden, yet its key opens an icon in pane 1.
    open->setVisible(false);
    file->addSeparator();
    file->addAction(new TMenuEntry(QStringLiteral("MIFileExit"), file, m_actionFileExit));

    auto makeIconMenu = [bar](const QString& caption, const QString& name,
                            TFrameIconDirectory* pane, const QString& suffix, bool first) {
        QMenu* menu = bar->addMenu(caption);
        menu->menuAction()->setObjectName(name);
        auto entry = [&](const QString& entryName, A action, bool bound) {
            auto* item = new TMenuEntry(entryName, menu, bound ? pane->Action(action) : nullptr);
            if (!bound) {
                // Until the start-up work binds it, the entry shows its caption only.
                item->setText(pane->Action(action)->text());
            }
            return item;
        };
        auto add = [&](QMenu* target, const QString& entryName, A action, bool bound) {
            target->addAction(entry(entryName, action, bound));
        };
        add(menu, first ? QStringLiteral("New1") : QStringLiteral("MIIconNew") + suffix, A::IconNew,
            true);
        add(menu, QStringLiteral("MIIconOpen") + suffix, A::IconOpen, true);
        add(menu, QStringLiteral("MIIconSave") + suffix, A::IconSave, true);
        add(menu, QStringLiteral("MIIconSaveAs") + suffix, A::IconSaveAs, true);
        add(menu, QStringLiteral("MIIconClose") + suffix, A::IconClose, true);
        menu->addSeparator();
        add(menu, QStringLiteral("MIIconBackColor") + suffix, A::IconBackColor, true);
        add(menu, QStringLiteral("MIIconTransparentcolor") + suffix, A::IconTransparentColor, true);
        QMenu* zoom = menu->addMenu(pane->Action(A::IconZoom_)->text());
        zoom->menuAction()->setObjectName(QStringLiteral("MIIconZoom") + suffix);
        add(zoom, QStringLiteral("MIIconZoom_100") + suffix, A::IconZoom100, true);
        add(zoom, QStringLiteral("MIIconZoom_200") + suffix, A::IconZoom200, true);
        add(zoom, QStringLiteral("MIIconZoom_300") + suffix, A::IconZoom300, true);
        add(zoom, QStringLiteral("MIIconZoom_400") + suffix, A::IconZoom400, true);
        menu->addSeparator();
        add(menu, QStringLiteral("MIEditUndo") + suffix, A::EditUndo, true);
        add(menu, QStringLiteral("MIEditRedo") + suffix, A::EditRedo, true);
        add(menu, QStringLiteral("MIEditCut") + suffix, A::EditCut, true);
        add(menu, QStringLiteral("MIEditCopy") + suffix, A::EditCopy, true);
        add(menu, QStringLiteral("MIEditPaste") + suffix, A::EditPaste, true);
        add(menu, QStringLiteral("MIEditDelete") + suffix, A::EditDelete, true);
        menu->addSeparator();
        add(menu, QStringLiteral("MIImageSort") + suffix, A::ImageSort, false);
        menu->addSeparator();
        add(menu, QStringLiteral("MIImageInsertFrom") + suffix, A::ImageInsertFrom, false);
        add(menu, QStringLiteral("MIImageAddTo") + suffix, A::ImageAddTo, false);
        add(menu, QStringLiteral("MIImageImportBitmap") + suffix, A::ImageImportBitmap, false);
        add(menu, QStringLiteral("MIImageImportSizes") + suffix, A::ImageImportSizes, false);
        add(menu, QStringLiteral("MIImageExportBitmap") + suffix, A::ImageExportBitmap, false);
        menu->addSeparator();
        // The cursor entries share a submenu: the Icon menu has no letter left for them.
        QMenu* cursor = menu->addMenu(CursorMenuCaption());
        cursor->menuAction()->setObjectName(QStringLiteral("MICursor") + suffix);
        add(cursor, QStringLiteral("MIImageHotspot") + suffix, A::ImageHotspot, true);
        add(cursor, QStringLiteral("MIIconNewCursor") + suffix, A::IconNewCursor, true);
        add(cursor, QStringLiteral("MIIconSaveAsCursor") + suffix, A::IconSaveAsCursor, true);
        add(cursor, QStringLiteral("MIIconSaveAsIcon") + suffix, A::IconSaveAsIcon, true);
        return menu;
    };
    m_menuIcon1 = makeIconMenu(QStringLiteral("Icon &1"), QStringLiteral("MIIcon_1"), m_frameIcon1,
        QStringLiteral("_1"), true);
    m_menuIcon2 = makeIconMenu(QStringLiteral("Icon &2"), QStringLiteral("MIIcon_2"), m_frameIcon2,
        QStringLiteral("_2"), false);

    QMenu* help = bar->addMenu(m_actionHelp->text());
    help->menuAction()->setObjectName(QStringLiteral("Help1"));
    help->addAction(new TMenuEntry(QStringLiteral("About1"), help, m_actionHelpAbout));
}

void TFormQEBMain::WireIconMenu(QMenu* menu, TFrameIconDirectory* pane)
{
    for (QAction* item : menu->actions()) {
        const QString name = UpperAscii(item->objectName());
        if (!name.startsWith(QLatin1String("MI")))
            continue;
        const QString key = name.mid(2).chopped(std::min<qsizetype>(2, name.size() - 2));
        for (QAction* action : pane->ActionListFrameMain()) {
            QString actionName = UpperAscii(action->objectName());
            if (actionName.startsWith(QLatin1String("ACTION")))
                actionName = actionName.mid(6);
            if (actionName != key)
                continue;
            if (auto* entry = qobject_cast<TMenuEntry*>(item))
                entry->Bind(action);
            break;
        }
    }
}

void TFormQEBMain::UpdateShortcuts()
{
    for (QShortcut* shortcut : m_shortcuts)
        delete shortcut;
    m_shortcuts.clear();
    // Menu order, depth first, hidden entries included: the first entry with a key owns it.
    // A disabled owner swallows the key.
    std::set<QString> taken;
    std::function<void(QMenu*)> visit = [&](QMenu* menu) {
        for (QAction* item : menu->actions()) {
            if (item->menu()) {
                visit(item->menu());
                continue;
            }
            auto* entry = qobject_cast<TMenuEntry*>(item);
            const QKeySequence key = entry ? entry->Key() : QKeySequence();
            // The edit keys belong to the focused pane, not to the first entry showing them.
            if (key.isEmpty() || IsFocusKey(key)
                || !taken.insert(key.toString(QKeySequence::PortableText)).second)
                continue;
            auto* shortcut = new QShortcut(key, this);
            shortcut->setContext(Qt::WindowShortcut);
            // A hidden entry is never enabled in Qt; its action's state decides.
            connect(shortcut, &QShortcut::activated, entry, [entry] {
                QAction* action = entry->BoundAction();
                if (action && action->isEnabled())
                    RunGuarded([action] { action->trigger(); });
            });
            m_shortcuts.push_back(shortcut);
        }
    };
    for (QAction* top : menuBar()->actions())
        if (top->menu())
            visit(top->menu());
}

void TFormQEBMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Qt reports the first size before the window is shown; the start-up work waits until the
    // window has appeared, and runs once.
    if (m_startupPending && !m_startupQueued) {
        m_startupQueued = true;
        QTimer::singleShot(0, this, [this] { RunGuarded([this] { StartupWork(); }); });
    }
}

void TFormQEBMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_startupPending)
        SetTitleOnce();
}

void TFormQEBMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    UpdateMinimumWidth();
}

bool TFormQEBMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_splitter->handle(1) && event->type() == QEvent::Move)
        UpdateMinimumWidth();
    return QMainWindow::eventFilter(watched, event);
}

bool TFormQEBMain::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowHintInStatusBar(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TFormQEBMain::ShowHintInStatusBar(const QString& hint)
{
    statusBar()->showMessage(LongHint(hint));
}

void TFormQEBMain::StartupWork()
{
    m_startupPending = false;
    // Without a window manager no activation may have come: the title is set now.
    SetTitleOnce();
    struct TDone {
        TFormQEBMain* Window;
        ~TDone()
        {
            Window->m_startupPending = false;
            emit Window->StartupDone();
        }
    } done { this };
    // Now that the window is mapped, its frame counts in the minimum width.
    UpdateMinimumWidth();
    WireIconMenu(m_menuIcon1, m_frameIcon1);
    WireIconMenu(m_menuIcon2, m_frameIcon2);
    UpdateShortcuts();
    // The keys act on pane 1 until the user moves the focus, from the first moment: without a
    // window manager nobody else makes the window the one that takes the keys.
    activateWindow();
    m_frameIcon1->TakeFocus();
    HandleCommandLine(m_arguments);
}

void TFormQEBMain::SetTitleOnce()
{
    if (m_titleSet)
        return;
    m_titleSet = true;
    FormActivate();
}

void TFormQEBMain::UpdateMinimumWidth()
{
    const QSplitterHandle* handle = m_splitter->handle(1);
    if (!handle)
        return;
    const int left = handle->mapTo(this, QPoint(0, 0)).x();
    // The rule is about the outer width; Qt's minimum is the inner one.
    const int frame = std::max(0, frameGeometry().width() - geometry().width());
    setMinimumWidth(std::max(0, left + 64 - frame));
}

} // namespace velmora
