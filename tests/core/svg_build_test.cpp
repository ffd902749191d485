// SVG pictures through the command-line tool, which links the SVG drawer.

#include "graphics/picture_file.h"
#include "icon_test_files.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

const std::string Cli = VELMORA_CLI_PATH;

const std::string Logo
    = "<svg xmlns='http://www.w3.org/2000/svg' width='64' height='64' viewBox='0 0 64 64'>"
      "<defs><linearGradient id='g' x2='1' y2='1'><stop offset='0' stop-color='#e33'/>"
      "<stop offset='1' stop-color='#33e' stop-opacity='0.5'/></linearGradient></defs>"
      "<circle cx='32' cy='32' r='27' fill='url(#g)'/>"
      "<rect x='18' y='18' width='28' height='28' rx='6' fill='#fff' fill-opacity='0.7'/></svg>";

void WriteText(const TTempDir& dir, const std::string& name, const std::string& text)
{
    WriteFile(dir.Path(name), Bytes(text.begin(), text.end()));
}

int Tool(const TTempDir& dir, const std::string& args, std::string* err = nullptr)
{
    const std::string errFile = dir.Path("err.txt").string();
    const int status = RunCommand(
        "cd '" + dir.Root().string() + "' && '" + Cli + "' " + args + " >/dev/null 2>" + errFile);
    if (err) {
        const Bytes bytes = ReadFile(errFile);
        err->assign(bytes.begin(), bytes.end());
    }
    return status;
}

// The images of out.ico as pictures, extracted in the icon's order.
std::vector<TBitmap> Images(const TTempDir& dir, int count)
{
    EXPECT_EQ(Tool(dir, "extract --png out.ico x"), 0);
    std::vector<TBitmap> images;
    for (int i = 0; i < count; ++i)
        images.push_back(LoadPictureFile(dir.Path("x/out-" + std::to_string(i) + ".png"), 256));
    return images;
}

int WorstVisibleDifference(const TBitmap& a, const TBitmap& b)
{
    int worst = 0;
    for (size_t i = 0; i + 3 < a.Pixels().size(); i += 4) {
        if (a.Pixels()[i + 3] == 0 && b.Pixels()[i + 3] == 0)
            continue;
        for (size_t c = 0; c < 4; ++c)
            worst = std::max(worst, std::abs(a.Pixels()[i + c] - b.Pixels()[i + c]));
    }
    return worst;
}

} // namespace

#if VELMORA_HAVE_SVG

TEST(SvgBuild, DrawsEverySizeAsRsvgConvertDoes)
{
    if (!HaveProgram("rsvg-convert"))
        GTEST_SKIP() << "rsvg-convert is not installed";
    TTempDir dir;
    WriteText(dir, "logo.svg", Logo);
    ASSERT_EQ(Tool(dir, "build -o out.ico logo.svg"), 0);
    const int sides[] = { 16, 24, 32, 48, 64, 128, 256 };
    const std::vector<TBitmap> images = Images(dir, 7);
    for (int i = 0; i < 7; ++i) {
        const std::string side = std::to_string(sides[i]);
        ASSERT_EQ(RunCommand("cd '" + dir.Root().string() + "' && rsvg-convert -w " + side + " -h "
                      + side + " logo.svg > r.png"),
            0);
        EXPECT_LE(WorstVisibleDifference(images[i], LoadPictureFile(dir.Path("r.png"), 256)), 1)
            << side;
    }
}

TEST(SvgBuild, SizesFromFilesOfTheirOwn)
{
    TTempDir dir;
    WriteText(dir, "logo.svg", Logo);
    WriteText(dir, "logo-24.svg",
        "<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'>"
        "<rect width='8' height='8' fill='#0f0'/></svg>");
    ASSERT_EQ(Tool(dir, "build -o own.ico --sizes 16 logo.svg"), 0);
    ASSERT_EQ(Tool(dir, "extract --png own.ico x && mv x/own-0.png logo-16.png"), 0);
    // logo-16.png, found beside, is taken exactly; logo-24.svg is drawn; 32 is its own file.
    ASSERT_EQ(Tool(dir,
                  "build -o out.ico --sizes 16,24,32 --sources auto --source 32=logo-24.svg "
                  "logo.svg"),
        0);
    const std::vector<TBitmap> images = Images(dir, 3);
    EXPECT_EQ(images[0].Pixels(), LoadPictureFile(dir.Path("logo-16.png"), 256).Pixels());
    for (const TBitmap& green : { images[1], images[2] })
        EXPECT_EQ(green.Pixels()[0] | green.Pixels()[1] << 8 | green.Pixels()[2] << 16, 0x00FF00);

    std::string err;
    EXPECT_EQ(Tool(dir, "build -o out.ico --sizes 32 --source 32=logo-16.png logo.svg", &err), 1);
    EXPECT_NE(
        err.find("velmora-icon: logo-16.png: the picture is 16 x 16, smaller than the size 32 it "
                 "should give"),
        std::string::npos)
        << err;
    EXPECT_EQ(Tool(dir, "build -o out.ico --source 20=logo-16.png logo.svg"), 2);
    EXPECT_EQ(Tool(dir, "build -o out.ico logo.svg logo-16.png"), 2);
}

TEST(SvgBuild, HostilePicturesAreRefusedOrBounded)
{
    TTempDir dir;
    WriteText(dir, "outside.svg",
        "<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'>"
        "<rect width='8' height='8' fill='#00f'/></svg>");
    const std::string head = "<svg xmlns='http://www.w3.org/2000/svg' "
                             "xmlns:xlink='http://www.w3.org/1999/xlink' width='8' height='8'>";
    std::string nested = head;
    for (int i = 0; i < 20000; ++i)
        nested += "<g>";
    WriteText(dir, "nested.svg", nested);
    WriteText(dir, "huge.svg", head + std::string(17 * 1024 * 1024, ' ') + "</svg>");
    WriteText(dir, "nosize.svg", "<svg xmlns='http://www.w3.org/2000/svg'/>");
    // References to another file: neither drawn nor read.
    WriteText(dir, "refers.svg",
        head
            + "<image width='8' height='8' xlink:href='outside.svg'/>"
              "<use xlink:href='file://"
            + dir.Path("outside.svg").string() + "#r'/></svg>");
    for (const char* refused : { "nested.svg", "huge.svg", "nosize.svg" })
        EXPECT_EQ(Tool(dir, std::string("build -o out.ico ") + refused), 1) << refused;
    ASSERT_EQ(Tool(dir, "build -o out.ico --sizes 8 refers.svg"), 0);
    EXPECT_EQ(Images(dir, 1)[0].Pixels(), Bytes(8 * 8 * 4, 0));
}

#else

TEST(SvgBuild, SaysSvgIsNotAvailable)
{
    TTempDir dir;
    WriteText(dir, "logo.svg", Logo);
    std::string err;
    EXPECT_EQ(Tool(dir, "build -o out.ico logo.svg", &err), 1);
    EXPECT_NE(err.find("SVG pictures are not available"), std::string::npos) << err;
}

#endif

} // namespace velmora
