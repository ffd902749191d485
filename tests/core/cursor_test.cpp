#include "icon_test_files.h"
#include "icons/animated_cursor.h"
#include "icons/icon_directory.h"
#include "pane_test_panes.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

// A cursor file: an icon file of type 2 whose entries hold the hotspots.
Bytes MakeCursorFile(std::vector<TTestImage> images, const std::vector<std::pair<int, int>>& hot)
{
    for (size_t i = 0; i < images.size(); ++i) {
        images[i].Planes = static_cast<uint16_t>(hot[i].first);
        images[i].BitCount = static_cast<uint16_t>(hot[i].second);
    }
    return With(MakeIconFile(images), 2, 2, 2);
}

Bytes Chunk(const char* id, const Bytes& data, bool pad = true)
{
    Bytes chunk(8 + data.size() + (pad ? data.size() % 2 : 0), 0);
    std::copy(id, id + 4, chunk.begin());
    WriteU32(chunk.data() + 4, static_cast<uint32_t>(data.size()));
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    return chunk;
}

Bytes Words(std::vector<uint32_t> words, size_t size = 0)
{
    Bytes bytes(std::max(size, 4 * words.size()));
    for (size_t i = 0; i < words.size(); ++i)
        WriteU32(bytes.data() + 4 * i, words[i]);
    return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes AniHeader(uint32_t frames, uint32_t flags)
{
    return Chunk("anih", Words({ 36, frames, 3, 0, 0, 0, 0, 10, flags }));
}

Bytes List(const char* type, std::initializer_list<Bytes> chunks, bool pad = true)
{
    Bytes body(type, type + 4);
    for (const Bytes& chunk : chunks)
        body.insert(body.end(), chunk.begin(), chunk.end());
    return Chunk("LIST", body, pad);
}

Bytes Riff(const Bytes& body, uint32_t size = 0)
{
    Bytes file = Chunk("RIFF", Join({ { 'A', 'C', 'O', 'N' }, body }));
    return size ? With(file, 4, size) : file;
}

const Bytes Frame0 = MakeCursorFile({ BmpImage(16, 16, 4) }, { { 1, 2 } });
const Bytes Frame1 = Join({ MakeCursorFile({ BmpImage(16, 16, 8) }, { { 7, 7 } }), { 0 } });
const Bytes Info
    = List("INFO", { Chunk("INAM", { 'W', 'a', 'i', 't', 0 }), Chunk("IART", { 'A', 'n', 'n' }) });

Bytes Frames(bool pad = true)
{
    return List("fram", { Chunk("icon", Frame0, pad), Chunk("icon", Frame1, pad) }, pad);
}

TEST(CursorDocument, LoadsHotspotsAndSavesTheFileBack)
{
    TTempDir dir;
    const Bytes file
        = MakeCursorFile({ BmpImage(16, 16, 4), PngImage(32, 32) }, { { 3, 5 }, { 31, 0 } });
    WriteFile(dir.Path("a.cur"), file);
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("a.cur")));
    EXPECT_TRUE(document.IsCursor());
    const TIconDirectoryEntry& first = document.GetEntry(0);
    EXPECT_EQ((std::vector<int> { first.HotspotX, first.HotspotY, first.Planes, first.BitCount,
                  document.GetEntry(1).HotspotX, document.GetEntry(1).BitCount }),
        (std::vector<int> { 3, 5, 1, 4, 31, 32 }));
    ASSERT_TRUE(document.SaveToFile(dir.Path("b.cur")));
    EXPECT_EQ(ReadFile(dir.Path("b.cur")), file);

    // Into an icon the image takes planes 1 and its own depth; back into a cursor it keeps
    // no hotspot, while one from a cursor keeps its own.
    TIconDirectory icon;
    ASSERT_EQ(icon.AddImage(&document.GetImage(0), &document.GetEntry(0)), ResultOk);
    ASSERT_TRUE(icon.SaveToFile(dir.Path("c.ico")));
    EXPECT_EQ(ReadU32(ReadFile(dir.Path("c.ico")).data() + 6 + 4), 0x00040001u);
    TIconDirectory cursor;
    cursor.SetKind(TIconDirectory::EKind::Cursor);
    ASSERT_EQ(cursor.AddImage(&icon.GetImage(0), &icon.GetEntry(0)), ResultOk);
    ASSERT_EQ(cursor.AddImage(&document.GetImage(1), &document.GetEntry(1)), ResultOk);
    EXPECT_EQ(cursor.GetEntry(0).HotspotX + cursor.GetEntry(0).HotspotY, 0);
    EXPECT_EQ(cursor.GetEntry(1).HotspotX, 31);

    // A hotspot must lie on the image; an icon has none.
    EXPECT_FALSE(document.SetHotspot(0, 16, 0));
    EXPECT_TRUE(document.SetHotspot(0, 15, 15));
    document.SetKind(TIconDirectory::EKind::Icon);
    ASSERT_TRUE(document.SaveToFile(dir.Path("d.ico")));
    TIconDirectory again;
    ASSERT_TRUE(again.LoadFromFile(dir.Path("d.ico")));
    EXPECT_FALSE(again.IsCursor());
    EXPECT_EQ(again.GetEntry(0).HotspotX + again.GetEntry(0).BitCount, 4);
}

TEST(CursorDocument, IcotoolCursorLoadsWithItsHotspotAndSavesBack)
{
    if (!HaveProgram("icotool"))
        GTEST_SKIP() << "icotool is not installed";
    TTempDir dir;
    WriteFile(dir.Path("p.png"), PngImage(24, 24).Data);
    ASSERT_EQ(RunCommand("icotool -c --cursor --hotspot-x 3 --hotspot-y 5 -o '"
                  + dir.Path("t.cur").string() + "' '" + dir.Path("p.png").string() + "'"),
        0);
    TIconDirectory document;
    ASSERT_TRUE(document.LoadFromFile(dir.Path("t.cur")));
    EXPECT_EQ(document.GetEntry(0).HotspotX * 100 + document.GetEntry(0).HotspotY, 305);
    ASSERT_TRUE(document.SaveToFile(dir.Path("u.cur")));
    EXPECT_EQ(ReadFile(dir.Path("u.cur")), ReadFile(dir.Path("t.cur")));
}

TEST(AnimatedCursor, ReadsRealFilesLeniently)
{
    struct Row {
        const char* name;
        Bytes file;
        std::vector<uint32_t> sequence;
        std::vector<uint32_t> rates;
        std::string error {};
    };
    const Bytes seq = Chunk("seq ", Words({ 1, 0, 1 }));
    const Row rows[] = {
        { "sequence and rates",
            Riff(
                Join({ Info, AniHeader(2, 3), Chunk("rate", Words({ 5, 6 })), seq, Frames(true) })),
            { 1, 0, 1 }, { 5, 6, 10 } },
        { "wrong RIFF size, no pad bytes, no icon flag",
            Riff(Join({ AniHeader(2, 0), Frames(false), Info }), 4), { 0, 1 }, { 10, 10 } },
        { "not RIFF", Chunk("RIFX", Bytes(8)), {}, {},
            "The file is no animated cursor (no RIFF ACON form)." },
        { "no frames", Riff(AniHeader(0, 1)), {}, {}, "The animated cursor holds no frames." },
        { "step to a missing frame",
            Riff(Join({ AniHeader(2, 3), Chunk("seq ", Words({ 0, 2 })), Frames(true) })), {}, {},
            "Step 1 shows frame 2, but the animated cursor has 2 frames." },
        { "frame of a bitmap",
            Riff(Join({ AniHeader(1, 1),
                Chunk("LIST", Join({ { 'f', 'r', 'a', 'm' }, Chunk("icon", Bytes(40)) })) })),
            {}, {}, "Frame 0 is no cursor or icon file." },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TAnimatedCursor cursor;
        EXPECT_EQ(ErrorOf([&] { cursor = ReadAnimatedCursor(row.file); }), row.error);
        if (!row.error.empty())
            continue;
        EXPECT_EQ(cursor.Sequence, row.sequence);
        EXPECT_EQ(cursor.Rates, row.rates);
        EXPECT_EQ(cursor.Title + "/" + cursor.Artist, "Wait/Ann");
        ASSERT_EQ(cursor.Frames.size(), 2u);
        TIconDirectory document;
        ASSERT_TRUE(document.LoadFromBytes("frame", cursor.Frames[1]));
        EXPECT_EQ(document.GetEntry(0).HotspotX + document.GetEntry(0).BitCount, 15);
    }
}

TEST(CliCursor, BuildsDescribesAndExtractsCursors)
{
    TTempDir dir;
    WriteFile(dir.Path("a.png"), PngImage(32, 32).Data);
    WriteFile(dir.Path("b.png"), PngImage(16, 16, 2).Data);
    WriteFile(dir.Path("w.ani"), Riff(Join({ AniHeader(2, 1), Frames(), Info })));
    const std::string cli = "cd '" + dir.Root().string() + "' && '" VELMORA_CLI_PATH "' ";
    struct Row {
        std::string args;
        int status;
        std::string out; // a part of standard output and error
    };
    const Row rows[] = {
        { "build --cursor --hotspot 32:3,5 --hotspot 1,2 -o x.cur a.png b.png", 0, "x.cur\n" },
        { "info x.cur", 0, "x.cur: cursor, 2 images\n  0: 32x32, 32 bpp, bmp" },
        { "info --json x.cur", 0, "\"bitCount\":32},\"hotspot\":{\"x\":3,\"y\":5}}" },
        { "build -o y.cur a.png", 2,
            "build: y.cur names a cursor file: give --cursor to write a cursor, or a name ending "
            "in "
            ".ico\n" },
        { "build --cursor --hotspot 40,1 -o y.cur a.png", 1,
            "The hotspot (40, 1) lies outside the image of 32 x 32 pixels." },
        { "build --into x.cur -o y.cur b.png", 1, "the import stopped here" },
        { "info w.ani", 0,
            "w.ani: animated cursor, 2 frames, 2 steps, title \"Wait\", artist \"Ann\"\n"
            "  frame 0: 16x16, 4 bpp, hotspot 1,2\n  frame 1: 16x16, 8 bpp, hotspot 7,7\n"
            "  steps: 0 1\n  rates (1/60 s): 10 10\n" },
        { "info --json w.ani", 0, "\"steps\":[0,1],\"rates\":[10,10]}" },
        { "extract w.ani out", 0, "out/w-0.cur\nout/w-1.cur\n" },
        { "extract --png x.cur out", 0, "out/x-0.png\nout/x-1.png\n" },
        { "extract x.cur out", 0, "out/x-0.cur\nout/x-1.cur\n" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        std::string out;
        EXPECT_EQ(RunCommand(cli + row.args + " 2>&1", &out), row.status);
        EXPECT_NE(out.find(row.out), std::string::npos) << out;
    }
    EXPECT_EQ(ReadFile(dir.Path("out/w-1.cur")), Frame1);
    TIconDirectory single;
    ASSERT_TRUE(single.LoadFromFile(dir.Path("out/x-1.cur")));
    EXPECT_EQ(single.GetEntry(0).HotspotX * 100 + single.GetEntry(0).HotspotY, 102);

    // Outside readers: icotool gives the hotspots, Pillow reads the cursor.
    std::string listed;
    if (HaveProgram("icotool")) {
        ASSERT_EQ(
            RunCommand("icotool -l '" + dir.Path("x.cur").string() + "' 2>/dev/null", &listed), 0);
        EXPECT_EQ(listed,
            "--cursor --index=1 --width=32 --height=32 --bit-depth=32 --palette-size=0 "
            "--hotspot-x=3 --hotspot-y=5\n--cursor --index=2 --width=16 --height=16 "
            "--bit-depth=32 --palette-size=0 --hotspot-x=1 --hotspot-y=2\n");
    }
    if (HavePillow()) {
        listed.clear();
        ASSERT_EQ(RunCommand("/usr/bin/python3 -c \"from PIL import Image; im = Image.open('"
                          + dir.Path("x.cur").string() + "'); print(im.format, im.size)\"",
                      &listed),
            0);
        EXPECT_EQ(listed, "CUR (32, 32)\n");
    }
}

TEST(CursorPane, HotspotCrosshairConversionAndAnimatedFrames)
{
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    TFakePanePlatform& platform = panes.Platform1;
    ASSERT_TRUE(pane.Execute(TPaneAction::IconNewCursor));
    EXPECT_EQ(pane.Headline(), "Cursor #1, 1 image: ./new.cur");
    SelectImages(pane, 0, 0);
    pane.SetZoom(2);
    const auto paint = [&] {
        TBitmap canvas(64, 64, TPixelFormat::pf32bit);
        pane.PaintImageCell(1, 1, canvas, TRect { 0, 0, 64, 64 });
        return canvas;
    };
    const TBitmap before = paint();
    platform.HotspotAnswers = { std::pair(3, 4) };
    ASSERT_TRUE(pane.Execute(TPaneAction::ImageHotspot));
    EXPECT_TRUE(pane.StatusText().ends_with(", hotspot 3,4")) << pane.StatusText();
    // At zoom 2 the cross runs through the pixel's middle (7, 9), which keeps its colour.
    const TBitmap marked = paint();
    EXPECT_EQ(PixelAt(marked, 7, 9), PixelAt(before, 7, 9));
    EXPECT_NE(PixelAt(marked, 8, 9), PixelAt(before, 8, 9));
    EXPECT_NE(PixelAt(marked, 7, 13), PixelAt(before, 7, 13));

    TTempDir dir;
    platform.SaveAnswers = { dir.Path("n.ico").string() };
    ASSERT_TRUE(pane.Execute(TPaneAction::IconSaveAsIcon));
    EXPECT_EQ(ReadU16(ReadFile(dir.Path("n.ico")).data() + 2), 1);
    EXPECT_TRUE(pane.Headline().starts_with("Icon #1, 1 image: ")) << pane.Headline();
    ASSERT_TRUE(pane.Execute(TPaneAction::EditUndo));
    EXPECT_TRUE(pane.StatusText().ends_with(", hotspot 3,4")) << pane.StatusText();

    WriteFile(dir.Path("w.ani"), Riff(Join({ AniHeader(2, 1), Frames(), Info })));
    platform.FrameAnswers = { 1 };
    platform.SaveChangesAnswers = { TSaveChangesAnswer::Discard };
    pane.OpenIconFile(dir.Path("w.ani").string());
    EXPECT_TRUE(pane.Headline().ends_with("/w-1.cur (Wait)")) << pane.Headline();
    EXPECT_EQ(pane.IconDirectory().GetEntry(0).HotspotX, 7);
}

} // namespace
} // namespace velmora
