#include "programs/version_stamp.h"

#include "messages/messages.h"
#include "platform/shell_execute.h"
#include "programs/version_info_verbose.h"
#include "support/error.h"

namespace velmora
{

TVersionStamp TVersionStamp::FromVersionInfo(const TVersionInfo& info)
{
    TVersionStamp stamp;
    stamp.VersionBuild = info.ProductBuild();
    stamp.VersionComments = info.Comments();
    stamp.VersionLegalNotice = info.LegalCopyright();
    stamp.VersionText = info.ProductVersion();
    stamp.VersionMajor = info.ProductMajor();
    stamp.VersionMinor = info.ProductMinor();
    stamp.VersionProductName = info.ProductName();
    stamp.VersionRelease = info.ProductRelease();
    return stamp;
}

TVersionStamp TVersionStamp::FromFile(const std::string& fileName)
{
    TVersionInfoVerbose info;
    if (info.LoadFromFile(fileName) != TVersionInfo::ResultOk)
        return {};
    return FromVersionInfo(info);
}

std::string TVersionStamp::WindowTitle() const
{
    return FormatText(Messages::WindowTitleFormat,
        { VersionProductName, std::to_string(VersionMajor), std::to_string(VersionMinor),
            VersionComments });
}

std::string TVersionStamp::AboutTitle() const
{
    return FormatText(Messages::AboutTitle, { VersionProductName });
}

std::string TVersionStamp::VersionBlock() const
{
    return FormatText(Messages::AboutVersionBlock,
        { VersionText, VersionLegalNotice, std::to_string(VersionRelease),
            std::to_string(VersionBuild), VersionComments });
}

std::string TVersionStamp::MailLink(std::string_view mailAddress) const
{
    return EscapeSpaces(FormatText(Messages::AboutMailLinkFormat,
        { mailAddress, VersionProductName, VersionText, std::to_string(VersionRelease),
            std::to_string(VersionBuild) }));
}

} // namespace velmora
