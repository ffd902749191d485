#include "programs/version_info.h"

#include "messages/messages.h"
#include "programs/byte_source.h"
#include "programs/language_names.h"
#include "programs/version_query.h"
#include "programs/version_resource.h"

#include <array>
#include <cstdio>
#include <exception>
#include <utility>

namespace velmora
{

void TVersionInfo::Clear()
{
    *this = TVersionInfo();
}

int TVersionInfo::LoadFromFile(const std::string& fileName)
{
    Clear();
    if (fileName.empty())
        return ResultNoFileName;
    m_fileName = fileName;
    return ReadResource(FindVersionResourceInFile(fileName));
}

int TVersionInfo::LoadFromBytes(ByteSpan fileBytes)
{
    Clear();
    return ReadResource(FindVersionResource(TByteSource(fileBytes)));
}

int TVersionInfo::ReadResource(const TVersionResource& resource)
{
    if (resource.Status == TVersionResourceStatus::NotPresent)
        return ResultNoVersionInfo;
    if (resource.Status != TVersionResourceStatus::Found)
        return ResultNotFetched;
    const ByteSpan info = resource.Data;

    int result = ResultOk;
    // A root value too short for the fixed part counts as none: its fields are not there.
    std::optional<TVersionValue> root = VerQueryValue(info, "\\");
    if (root && root->Binary().size() >= FixedFileInfoSize)
        ReadFixedPart(root->Binary());
    else
        result = ResultNoFixedPart;

    std::optional<TVersionValue> translation = VerQueryValue(info, "\\VarFileInfo\\Translation");
    if (translation && translation->Binary().size() >= 4) {
        const uint8_t* pair = translation->Binary().data();
        ReadStringTable(info, ReadU16(pair + 0), ReadU16(pair + 2));
        return result;
    }
    try {
        ReadStringTable(info, DefaultLanguage, DefaultCodePage);
        std::string name(Messages::DefaultLanguagePrefix);
        name += m_languageName;
        m_languageName = std::move(name);
    } catch (const std::exception&) {
        const std::string unknown(Messages::VersionTextUnknown);
        for (std::string* text : { &m_companyName, &m_fileDescription, &m_fileVersion,
                 &m_internalName, &m_legalCopyright, &m_originalFilename, &m_productName,
                 &m_productVersion, &m_languageName })
            *text = unknown;
        result = ResultDefaultTableFailed;
    }
    return result;
}

void TVersionInfo::ReadFixedPart(ByteSpan fixed)
{
    // VS_FIXEDFILEINFO: thirteen 32-bit values, taken as stored.
    const std::array<uint32_t*, 13> fields = {
        &m_signature, // dwSignature
        &m_strucVersion, // dwStrucVersion
        &m_fileVersionMS, // dwFileVersionMS
        &m_fileVersionLS, // dwFileVersionLS
        &m_productVersionMS, // dwProductVersionMS
        &m_productVersionLS, // dwProductVersionLS
        &m_fileFlagsMask, // dwFileFlagsMask
        &m_fileFlags, // dwFileFlags
        &m_fileOS, // dwFileOS
        &m_fileType, // dwFileType
        &m_fileSubType, // dwFileSubtype
        &m_fileDateMS, // dwFileDateMS
        &m_fileDateLS, // dwFileDateLS
    };
    for (size_t i = 0; i < fields.size(); ++i)
        *fields[i] = ReadU32(fixed.data() + 4 * i);
}

void TVersionInfo::ReadStringTable(ByteSpan info, uint16_t language, uint16_t codePage)
{
    m_language = language;
    m_codePage = codePage;
    const std::array<std::pair<const char*, std::string*>, 11> keys = { {
        { "Comments", &m_comments },
        { "CompanyName", &m_companyName },
        { "FileDescription", &m_fileDescription },
        { "FileVersion", &m_fileVersion },
        { "LicenseInfo", &m_licenseInfo },
        { "InternalName", &m_internalName },
        { "LegalCopyright", &m_legalCopyright },
        { "LegalTrademarks", &m_legalTrademarks },
        { "OriginalFilename", &m_originalFilename },
        { "ProductName", &m_productName },
        { "ProductVersion", &m_productVersion },
    } };
    for (const auto& [key, field] : keys) {
        // The string table's key: language and code page as four lower-case hexadecimal
        // digits each, "040904e4"; keys match without regard to case.
        char subBlock[64];
        std::snprintf(subBlock, sizeof(subBlock), "\\StringFileInfo\\%04x%04x\\%s",
            static_cast<unsigned>(language), static_cast<unsigned>(codePage), key);
        std::optional<TVersionValue> value = VerQueryValue(info, subBlock);
        *field = value ? value->Text() : std::string();
    }
    std::string name = VerLanguageName(language);
    if (!name.empty())
        m_languageName = std::move(name);
}

} // namespace velmora
