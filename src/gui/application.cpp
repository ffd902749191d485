#include "application.h"

#include "colors/pixel_format_codes.h"
#include "dialog_focus_return.h"
#include "messages/messages.h"
#include "program_icon.h"
#include "qt_platform.h"
#include "qt_prompts.h"
#include "velmora_version.h"

#include <QMessageBox>
#include <QScreen>

namespace velmora
{

namespace
{

TQtSystemColors SystemColorsFromPalette;

} // namespace

TVelmoraApplication::TVelmoraApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(UiText(Messages::ProductName));
    setApplicationVersion(QStringLiteral(VELMORA_VERSION_TEXT));
    setOrganizationDomain(QStringLiteral("example.com"));
    setDesktopFileName(QStringLiteral("com.example.VelmoraIconManager"));
    // Every window of the program, the About dialog's included, shows the program's icon.
    setWindowIcon(ProgramIcon());
    SetSystemColors(&SystemColorsFromPalette);
    installEventFilter(new TDialogFocusReturn(this));
    // The core paints as the screen would: 24- and 32-bit screens blend images by alpha.
    if (const QScreen* screen = primaryScreen())
        SetScreenColorDepth(screen->depth());
}

TVelmoraApplication::~TVelmoraApplication()
{
    SetSystemColors(nullptr);
}

bool TVelmoraApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(error.what());
    } catch (...) {
        ShowError(std::string(Messages::UnknownError));
    }
    return false;
}

void TVelmoraApplication::ShowError(const std::string& text)
{
    if (m_errorHandler) {
        m_errorHandler(text);
        return;
    }
    // One box at a time: an error raised again while the box is up (a repaint behind it)
    // is not shown a second time.
    if (m_showingError)
        return;
    m_showingError = true;
    QMessageBox box(QMessageBox::Critical, UiText(Messages::ProductName), QString(),
        QMessageBox::Ok, activeWindow());
    SetMessageText(box, text);
    box.exec();
    m_showingError = false;
}

void RunGuarded(const std::function<void()>& step)
{
    auto* app = qobject_cast<TVelmoraApplication*>(QCoreApplication::instance());
    try {
        step();
    } catch (const std::exception& error) {
        if (app)
            app->ShowError(error.what());
    } catch (...) {
        if (app)
            app->ShowError(std::string(Messages::UnknownError));
    }
}

} // namespace velmora
