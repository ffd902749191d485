#pragma once

#include "support/byte_io.h"

#include <cstdint>
#include <string>

namespace velmora
{

class TByteSource;
struct TVersionResource;

/// The version information of a program or library file in one record: the fixed part (the
/// numeric version block) and the texts of the string table of one translation. It reads the
/// version resource of PE files (.exe, .dll) and the version section that this program's
/// build embeds in its own ELF executables. Every text is empty and every number 0 until read.
class TVersionInfo
{
public:
    TVersionInfo() = default;
    virtual ~TVersionInfo() = default;
    TVersionInfo(const TVersionInfo&) = default;
    TVersionInfo& operator=(const TVersionInfo&) = default;

    /// Results of LoadFromFile.
    static constexpr int ResultOk = 0; ///< read completely
    static constexpr int ResultNoFileName = -1; ///< the file name is empty
    static constexpr int ResultNoVersionInfo = -2; ///< the file holds no version information
    static constexpr int ResultNotFetched = -3; ///< the version information cannot be fetched
    static constexpr int ResultNoFixedPart = -4; ///< no fixed part; the texts were read
    /// Reading the string table with the default translation failed; texts set to "???".
    static constexpr int ResultDefaultTableFailed = -5;

    /// The default translation, used when the version information has no translation table.
    static constexpr uint16_t DefaultLanguage = 0x0407;
    static constexpr uint16_t DefaultCodePage = 1252;

    /// Empties the record: every text empty, every number 0.
    virtual void Clear();
    /// Reads the version information of a file into the record, emptied first; one of the
    /// Result codes. The string table is read for the first translation of the translation
    /// table, or for the default translation when there is none (then LanguageName begins
    /// with "DEFAULT: "). A file that is missing, damaged or hostile gives a code, never more
    /// than the headers, tables and resource it needs read.
    virtual int LoadFromFile(const std::string& fileName);
    /// LoadFromFile for the bytes of a file held in memory; FileName stays empty.
    int LoadFromBytes(ByteSpan fileBytes);

    const std::string& Comments() const { return m_comments; }
    const std::string& CompanyName() const { return m_companyName; }
    uint32_t FileDateLS() const { return m_fileDateLS; }
    uint32_t FileDateMS() const { return m_fileDateMS; }
    const std::string& FileDescription() const { return m_fileDescription; }
    uint32_t FileFlags() const { return m_fileFlags; }
    uint32_t FileFlagsMask() const { return m_fileFlagsMask; }
    /// The file whose version information was read.
    const std::string& FileName() const { return m_fileName; }
    uint32_t FileOS() const { return m_fileOS; }
    uint32_t FileSubType() const { return m_fileSubType; }
    uint32_t FileType() const { return m_fileType; }
    uint32_t FileVersionMS() const { return m_fileVersionMS; }
    uint32_t FileVersionLS() const { return m_fileVersionLS; }
    const std::string& FileVersion() const { return m_fileVersion; }
    const std::string& LicenseInfo() const { return m_licenseInfo; }
    const std::string& InternalName() const { return m_internalName; }
    /// The language identifier of the translation whose string table was read.
    uint16_t Language() const { return m_language; }
    /// The code page of the translation whose string table was read.
    uint16_t CodePage() const { return m_codePage; }
    /// The name of Language (see VerLanguageName).
    const std::string& LanguageName() const { return m_languageName; }
    const std::string& LegalCopyright() const { return m_legalCopyright; }
    const std::string& LegalTrademarks() const { return m_legalTrademarks; }
    const std::string& OriginalFilename() const { return m_originalFilename; }
    const std::string& ProductName() const { return m_productName; }
    uint32_t ProductVersionLS() const { return m_productVersionLS; }
    uint32_t ProductVersionMS() const { return m_productVersionMS; }
    /// The string table's product version text; it need not match the numbers.
    const std::string& ProductVersion() const { return m_productVersion; }
    uint32_t Signature() const { return m_signature; }
    uint32_t StrucVersion() const { return m_strucVersion; }

    /// The parts a, b, c and d of the product version a.b.c.d of the fixed part.
    uint16_t ProductMajor() const { return static_cast<uint16_t>(m_productVersionMS >> 16); }
    uint16_t ProductMinor() const { return static_cast<uint16_t>(m_productVersionMS); }
    uint16_t ProductRelease() const { return static_cast<uint16_t>(m_productVersionLS >> 16); }
    uint16_t ProductBuild() const { return static_cast<uint16_t>(m_productVersionLS); }

protected:
    /// Reads the string table of one translation from a VS_VERSIONINFO structure: sets
    /// Language and CodePage, each text from its key (empty when the key is missing), and
    /// LanguageName.
    virtual void ReadStringTable(ByteSpan info, uint16_t language, uint16_t codePage);

private:
    int ReadResource(const TVersionResource& resource);
    void ReadFixedPart(ByteSpan fixed);

    std::string m_comments;
    std::string m_companyName;
    uint32_t m_fileDateLS = 0;
    uint32_t m_fileDateMS = 0;
    std::string m_fileDescription;
    uint32_t m_fileFlags = 0;
    uint32_t m_fileFlagsMask = 0;
    std::string m_fileName;
    uint32_t m_fileOS = 0;
    uint32_t m_fileSubType = 0;
    uint32_t m_fileType = 0;
    uint32_t m_fileVersionMS = 0;
    uint32_t m_fileVersionLS = 0;
    std::string m_fileVersion;
    std::string m_licenseInfo;
    std::string m_internalName;
    uint16_t m_language = 0;
    uint16_t m_codePage = 0;
    std::string m_languageName;
    std::string m_legalCopyright;
    std::string m_legalTrademarks;
    std::string m_originalFilename;
    std::string m_productName;
    uint32_t m_productVersionLS = 0;
    uint32_t m_productVersionMS = 0;
    std::string m_productVersion;
    uint32_t m_signature = 0;
    uint32_t m_strucVersion = 0;
};

} // namespace velmora
