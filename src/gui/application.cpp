#include "application.h"

#include "colors/pixel_format_codes.h"
#include "messages/messages.h"
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
    SetSystemColors(&SystemColorsFromPalette);
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
        ShowError("Unknown error.");
    }
    return false;
}

void TVelmoraApplication::ShowError(const std::string& text)
{
    if (m_errorHandler) {
        m_errorHandler(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, UiText(Messages::ProductName), UiText(text),
        QMessageBox::Ok, activeWindow());
    box.exec();
}

void RunGuarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (const std::exception& error) {
        if (auto* app = qobject_cast<TVelmoraApplication*>(QCoreApplication::instance()))
            app->ShowError(error.what());
    }
}

} // namespace velmora
