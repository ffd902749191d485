#pragma once

// Icon files and images built byte by byte for the tests.

#include "support/byte_io.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::test
{

/// Data of a BMP-style icon image of w x h pixels at bpp bits (1, 4, 8, 16, 24, 32): header,
/// colour table, colour rows with a pattern that depends on seed, and an AND mask whose
/// left column is transparent.
Bytes MakeBmpImage(int w, int h, int bpp, uint8_t seed = 1);

/// A real, decodable PNG stream of w x h RGBA pixels.
Bytes MakePngImage(int w, int h, uint8_t seed = 1);

/// One image of an icon file to build.
struct TTestImage {
    Bytes Data;
    uint8_t Width = 0; // stored as in the file: 0 means 256
    uint8_t Height = 0;
    uint16_t BitCount = 0;
    uint8_t ColorCount = 0;
    uint16_t Planes = 1;
    // Overrides of the directory entry's size and offset (0: the real ones).
    uint32_t BytesInRes = 0;
    uint32_t ImageOffset = 0;
};

/// A bitmap-style image of the given format with matching entry fields.
TTestImage BmpImage(int w, int h, int bpp, uint8_t seed = 1);
/// A PNG image with matching entry fields (32 bits).
TTestImage PngImage(int w, int h, uint8_t seed = 1);

/// An icon file: header, directory, then the images back to back from 6 + 16 x N on (or at
/// their given offsets).
Bytes MakeIconFile(const std::vector<TTestImage>& images);

/// A folder of its own for one test, removed with everything in it at the end.
class TTempDir
{
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    std::filesystem::path Path(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& Root() const { return m_path; }

private:
    std::filesystem::path m_path;
};

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadFile(const std::filesystem::path& path);

/// Runs a shell command; its exit status, with its standard output in out.
int RunCommand(const std::string& command, std::string* out = nullptr);
/// True when a program is on the PATH.
bool HaveProgram(const std::string& name);

} // namespace velmora::test
