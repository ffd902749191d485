#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora
{

class TVersionInfo;

/// The version of the running program as the main window keeps it: taken once, from the
/// program's own version information, it gives the window its title and the About dialog
/// everything it shows. Every text is empty and every number 0 until taken, and stays so when
/// the version information cannot be read.
struct TVersionStamp {
    int32_t VersionBuild = 0; ///< the fourth number of the product version
    std::string VersionComments;
    std::string VersionLegalNotice; ///< the legal copyright
    /// The string table's product version text; it need not match the numbers.
    std::string VersionText;
    int32_t VersionMajor = 0;
    int32_t VersionMinor = 0;
    std::string VersionProductName;
    int32_t VersionRelease = 0; ///< the third number of the product version

    /// The stamp of a record that was read completely.
    static TVersionStamp FromVersionInfo(const TVersionInfo& info);
    /// Reads the version information of a file; an empty stamp when that does not give the
    /// result 0 (no file, no version information, no fixed part, ...).
    static TVersionStamp FromFile(const std::string& fileName);

    /// The main window's title: product name, major and minor version, and the comment.
    std::string WindowTitle() const;
    /// The About dialog's title.
    std::string AboutTitle() const;
    /// The three lines "Version", "Release" and "Build" of the About dialog, with their tabs;
    /// lines end in "\r\n".
    std::string VersionBlock() const;
    /// The mail link to an address, with a subject that names the product and its version,
    /// every space written as "%20".
    std::string MailLink(std::string_view mailAddress) const;

    bool operator==(const TVersionStamp&) const = default;
};

} // namespace velmora
