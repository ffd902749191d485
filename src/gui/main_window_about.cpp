#include "about_dialog.h"
#include "main_window.h"
#include "pane/pane_platform.h"
#include "programs/running_program_version.h"

namespace velmora
{

void TFormQEBMain::CreateAboutDialog(IPanePrompts* prompts)
{
    // Scripted prompts (the tests') also take the shell's refusals; otherwise the dialog shows
    // them in a message box of its own.
    TShowMessage showMessage;
    if (prompts)
        showMessage = [prompts](const std::string& text) { prompts->ShowMessage(text); };
    m_formDlgAbout = new TFormDlgAbout(this, nullptr, std::move(showMessage));
}

void TFormQEBMain::FormActivate()
{
    // The stamp is read once: the version of a running program does not change.
    m_versionStamp = TVersionStamp::FromFile(RunningProgramFileName());
    setWindowTitle(QString::fromStdString(m_versionStamp.WindowTitle()));
}

void TFormQEBMain::ShowAbout()
{
    m_formDlgAbout->SetVersionStamp(m_versionStamp);
    m_formDlgAbout->exec();
}

} // namespace velmora
