#pragma once

#include <QIcon>

namespace velmora
{

/// The name of the program's icon in the desktop's icon theme; the program installs it into
/// the hicolor theme, named after its application id like its desktop entry.
inline constexpr char ProgramIconName[] = "com.example.VelmoraIconManager";

/// The resource path of the multi-image .ico that the build makes with velmora-icon.
inline constexpr char ProgramIconResource[] = ":/velmora/icons/velmora-icon-manager.ico";

/// The program's icon: the icon theme's icon of ProgramIconName where the desktop has it
/// installed, otherwise EmbeddedProgramIcon.
QIcon ProgramIcon();

/// The icon built into the program: the images of its .ico (for each size the one of the most
/// colour bits), decoded by the core as every other icon, and the theme's larger pictures
/// that an .ico made from bitmaps cannot hold.
QIcon EmbeddedProgramIcon();

} // namespace velmora
