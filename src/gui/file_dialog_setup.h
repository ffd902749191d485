#pragma once

class QFileDialog;

namespace velmora
{

/// Sets a file dialog up as a desktop user expects it: a comfortable size, the folder used
/// last, and beside the list a preview of the icon or bitmap under the cursor.
void PrepareFileDialog(QFileDialog& dialog);

/// Remembers the folder of a confirmed dialog for the next one.
void RememberDialogFolder(const QFileDialog& dialog);

} // namespace velmora
