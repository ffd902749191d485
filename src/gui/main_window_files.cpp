#include "main_window.h"

namespace velmora
{

void TFormQEBMain::HandleCommandLine(const QStringList&) { }

void TFormQEBMain::HandleDroppedFiles(const QStringList&) { }

} // namespace velmora
