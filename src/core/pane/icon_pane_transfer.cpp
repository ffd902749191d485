#include "pane/icon_pane.h"

namespace velmora
{

void TIconPane::ActionEditCutExecute()
{
}
void TIconPane::ActionEditCopyExecute()
{
}
void TIconPane::ActionEditPasteExecute()
{
}
void TIconPane::ActionEditDeleteExecute()
{
}
void TIconPane::ActionImageSortExecute()
{
}
void TIconPane::ActionImageInsertFromExecute()
{
}
void TIconPane::ActionImageAddToExecute()
{
}
void TIconPane::ActionImageImportBitmapExecute()
{
}
void TIconPane::ActionImageExportBitmapExecute()
{
}
void TIconPane::ImportBitmapFiles(const TStringList&)
{
}

} // namespace velmora
