#include "main_window.h"
#include "messages/messages.h"
#include "qt_prompts.h"
#include "velmora_version.h"

#include <QMessageBox>

namespace velmora
{

void TFormQEBMain::FormActivate()
{
    setWindowTitle(UiText(Messages::ProductName) + QStringLiteral(" ")
        + QStringLiteral(VELMORA_VERSION_TEXT).section(QLatin1Char('.'), 0, 1));
}

void TFormQEBMain::ShowAbout()
{
    QMessageBox::about(this, UiText(Messages::ProductName),
        UiText(Messages::ProductName) + QStringLiteral(" ") + QStringLiteral(VELMORA_VERSION_TEXT));
}

} // namespace velmora
