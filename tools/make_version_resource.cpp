// Writes the program's version information as a C++ source file: a VS_VERSIONINFO structure
// (the fixed file information, a string table for US English and code page 1252, and the
// translation table) held in a byte array that the compiler places in the ELF section
// ".velmora_version", where the program's version reader finds it in its own executable.
//
// Usage: make_version_resource OUTPUT.cpp VERSION [Key=Value]...
//   VERSION is a.b.c.d (missing parts are 0); each Key=Value becomes one text of the string
//   table, in the order given.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;

// US English, Windows code page 1252: "040904E4".
constexpr uint16_t Language = 0x0409;
constexpr uint16_t CodePage = 0x04E4;

void AppendU16(Bytes& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void AppendU32(Bytes& out, uint32_t value)
{
    AppendU16(out, static_cast<uint16_t>(value));
    AppendU16(out, static_cast<uint16_t>(value >> 16));
}

void PadTo4(Bytes& out)
{
    while (out.size() % 4 != 0)
        out.push_back(0);
}

// UTF-8 to UTF-16 code units; the texts come from the build files and are valid UTF-8.
std::u16string ToUtf16(const std::string& text)
{
    std::u16string units;
    for (size_t i = 0; i < text.size();) {
        auto byte = static_cast<uint8_t>(text[i]);
        uint32_t code = byte;
        size_t extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        if (extra > 0)
            code = byte & (0x3F >> extra);
        for (size_t k = 1; k <= extra && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
        i += extra + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            units += static_cast<char16_t>(0xD800 + (code >> 10));
            units += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            units += static_cast<char16_t>(code);
        }
    }
    return units;
}

void AppendText(Bytes& out, const std::u16string& text)
{
    for (char16_t unit : text)
        AppendU16(out, unit);
    AppendU16(out, 0);
}

// One block: wLength, wValueLength, wType, the key, the value and the children, each of the
// last three starting on a 32-bit boundary. The block's length covers its last child but
// not the padding after it.
Bytes Block(const std::string& key, uint16_t type, const Bytes& value, uint16_t valueLength,
    const std::vector<Bytes>& children)
{
    Bytes block(6, 0);
    AppendText(block, ToUtf16(key));
    PadTo4(block);
    block.insert(block.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        PadTo4(block);
        block.insert(block.end(), child.begin(), child.end());
    }
    if (block.size() > 0xFFFF)
        throw std::runtime_error("version block too long: " + key);
    block[0] = static_cast<uint8_t>(block.size());
    block[1] = static_cast<uint8_t>(block.size() >> 8);
    block[2] = static_cast<uint8_t>(valueLength);
    block[3] = static_cast<uint8_t>(valueLength >> 8);
    block[4] = static_cast<uint8_t>(type);
    block[5] = 0;
    return block;
}

Bytes StringBlock(const std::string& key, const std::string& value)
{
    std::u16string text = ToUtf16(value);
    Bytes bytes;
    AppendText(bytes, text);
    // The length counts the characters with the terminating zero.
    return Block(key, 1, bytes, static_cast<uint16_t>(text.size() + 1), {});
}

// a.b.c.d as the two 32-bit halves of the fixed file information.
bool ParseVersion(const std::string& text, uint32_t& ms, uint32_t& ls)
{
    uint32_t parts[4] = { 0, 0, 0, 0 };
    std::istringstream in(text);
    std::string part;
    for (int i = 0; i < 4 && std::getline(in, part, '.'); ++i) {
        if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos)
            return false;
        unsigned long value = std::stoul(part);
        if (value > 0xFFFF)
            return false;
        parts[i] = static_cast<uint32_t>(value);
    }
    ms = (parts[0] << 16) | parts[1];
    ls = (parts[2] << 16) | parts[3];
    return true;
}

Bytes FixedFileInfo(uint32_t versionMS, uint32_t versionLS)
{
    Bytes fixed;
    AppendU32(fixed, 0xFEEF04BD); // dwSignature
    AppendU32(fixed, 0x00010000); // dwStrucVersion
    AppendU32(fixed, versionMS); // dwFileVersionMS
    AppendU32(fixed, versionLS); // dwFileVersionLS
    AppendU32(fixed, versionMS); // dwProductVersionMS
    AppendU32(fixed, versionLS); // dwProductVersionLS
    AppendU32(fixed, 0x3F); // dwFileFlagsMask: VS_FFI_FILEFLAGSMASK
    AppendU32(fixed, 0); // dwFileFlags
    AppendU32(fixed, 0); // dwFileOS: VOS_UNKNOWN, this is no Windows program
    AppendU32(fixed, 1); // dwFileType: VFT_APP
    AppendU32(fixed, 0); // dwFileSubtype
    AppendU32(fixed, 0); // dwFileDateMS
    AppendU32(fixed, 0); // dwFileDateLS
    return fixed;
}

std::string SourceText(const Bytes& info, const std::string& version)
{
    std::ostringstream out;
    out << "// Generated by make_version_resource for version " << version
        << "; changes are overwritten.\n"
           "// The program's VS_VERSIONINFO structure, in the ELF section that its version "
           "reader looks for.\n\n"
           "#include <cstdint>\n\n"
           "namespace velmora\n{\n\n"
           "extern const uint8_t EmbeddedVersionInfo[];\n\n"
           "alignas(4) __attribute__((section(\".velmora_version\"), used)) const uint8_t "
           "EmbeddedVersionInfo[]\n    = {";
    for (size_t i = 0; i < info.size(); ++i) {
        if (i % 12 == 0)
            out << "\n          ";
        char hex[8];
        std::snprintf(hex, sizeof(hex), "0x%02X,", info[i]);
        out << hex << (i % 12 == 11 ? "" : " ");
    }
    out << "\n      };\n\n} // namespace velmora\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: make_version_resource OUTPUT.cpp VERSION [Key=Value]...\n";
        return 2;
    }
    const std::string output = argv[1];
    const std::string version = argv[2];
    uint32_t versionMS = 0;
    uint32_t versionLS = 0;
    if (!ParseVersion(version, versionMS, versionLS)) {
        std::cerr << "make_version_resource: not a version a.b.c.d: " << version << "\n";
        return 2;
    }
    try {
        std::vector<Bytes> strings;
        for (int i = 3; i < argc; ++i) {
            std::string pair = argv[i];
            size_t equals = pair.find('=');
            if (equals == std::string::npos || equals == 0) {
                std::cerr << "make_version_resource: not Key=Value: " << pair << "\n";
                return 2;
            }
            strings.push_back(StringBlock(pair.substr(0, equals), pair.substr(equals + 1)));
        }
        char tableKey[16];
        std::snprintf(tableKey, sizeof(tableKey), "%04X%04X", Language, CodePage);
        Bytes translation;
        AppendU16(translation, Language);
        AppendU16(translation, CodePage);

        Bytes stringFileInfo
            = Block("StringFileInfo", 1, {}, 0, { Block(tableKey, 1, {}, 0, strings) });
        Bytes varFileInfo = Block("VarFileInfo", 1, {}, 0,
            { Block(
                "Translation", 0, translation, static_cast<uint16_t>(translation.size()), {}) });
        Bytes fixed = FixedFileInfo(versionMS, versionLS);
        Bytes info = Block("VS_VERSION_INFO", 0, fixed, static_cast<uint16_t>(fixed.size()),
            { stringFileInfo, varFileInfo });

        std::ofstream out(output, std::ios::binary | std::ios::trunc);
        out << SourceText(info, version);
        out.close();
        if (!out) {
            std::cerr << "make_version_resource: cannot write " << output << "\n";
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << "make_version_resource: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
