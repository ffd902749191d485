// Writes the seed inputs of the fuzz targets when VELMORA_FUZZ_SEED_DIR names a folder:
//   VELMORA_FUZZ_SEED_DIR=fuzz/corpus build/tests/core/velmora_core_tests
//   --gtest_filter='FuzzSeeds*'

#include "icon_test_files.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

TEST(FuzzSeeds, IconFiles)
{
    const char* root = std::getenv("VELMORA_FUZZ_SEED_DIR");
    if (!root)
        GTEST_SKIP() << "VELMORA_FUZZ_SEED_DIR not set";
    std::filesystem::path dir = std::filesystem::path(root) / "fuzz_icon_file";
    std::filesystem::create_directories(dir);
    WriteFile(dir / "bmp-1-4-8.ico",
        MakeIconFile({ BmpImage(8, 8, 1), BmpImage(8, 8, 4), BmpImage(8, 8, 8) }));
    WriteFile(dir / "bmp-16-24-32.ico",
        MakeIconFile({ BmpImage(4, 4, 16), BmpImage(5, 5, 24), BmpImage(6, 6, 32) }));
    WriteFile(dir / "png.ico", MakeIconFile({ PngImage(4, 4) }));
    Bytes truncated = MakeIconFile({ BmpImage(16, 16, 32) });
    truncated.resize(truncated.size() - 100);
    WriteFile(dir / "truncated.ico", truncated);
}

} // namespace
} // namespace velmora
