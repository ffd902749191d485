// Icon and cursor groups read from PE32, PE32+, .mun-style and NE programs built byte by byte.

#include "core/pane_test_panes.h"
#include "core/program_test_files.h"
#include "icons/icon_directory.h"
#include "programs/byte_source.h"
#include "programs/program_icon_groups.h"
#include "scripts/file_list_handler.h"

#include <gtest/gtest.h>

namespace velmora::test
{
namespace
{

void PutU16(Bytes& bytes, size_t at, uint16_t value)
{
    WriteU16(bytes.data() + at, value);
}
void PutU32(Bytes& bytes, size_t at, uint32_t value)
{
    WriteU32(bytes.data() + at, value);
}

struct TSample {
    TTestImage Small = BmpImage(16, 16, 4, 3);
    TTestImage Large = PngImage(256, 256, 5); // stored as 0 x 0
    TTestImage Cursor = BmpImage(32, 32, 1, 7);
    Bytes CursorData() const
    {
        Bytes data = Cursor.Data;
        const uint8_t hotspot[] = { 3, 0, 4, 0 }; // (3, 4)
        data.insert(data.begin(), std::begin(hotspot), std::end(hotspot));
        return data;
    }
    // The cursor file of the cursor group: type 2, the hotspot in place of planes and depth.
    Bytes CursorFile() const
    {
        return With(With(With(MakeIconFile({ Cursor }), 2, 2, 2), 10, 3, 2), 12, 4, 2);
    }
    std::vector<TTestResource> Resources(bool ne) const
    {
        std::vector<TTestResource> r { { 3, 1, "", 0x0409, Small.Data },
            { 3, 2, "", 0x0409, Large.Data }, { 1, 9, "", 0x0409, CursorData() },
            { 14, 0, "MAINICON", 0x0409, MakeGroup({ Small }, { 1 }) },
            { 14, 101, "", 0x0409, MakeGroup({ Small, Large }, { 1, 2 }) },
            { 12, 5, "", 0x0409, MakeGroup({ Cursor }, { 9 }, true) } };
        if (!ne) // a second language of group 101, which is listed, not read
            r.insert(r.begin() + 5, { 14, 101, "", 0x0407, MakeGroup({ Small }, { 7 }) });
        return r;
    }
};

TEST(ProgramIcons, ReadsGroupsOfEveryProgramKind)
{
    const TSample sample;
    for (TTestProgram kind :
        { TTestProgram::Pe32, TTestProgram::Pe32Plus, TTestProgram::Mun, TTestProgram::Ne }) {
        SCOPED_TRACE(static_cast<int>(kind));
        const bool ne = kind == TTestProgram::Ne;
        const Bytes file = MakeProgram(kind, sample.Resources(ne));
        const TByteSource source(file);
        const TProgramIcons icons(source);
        EXPECT_EQ(icons.Format(),
            ne                               ? TProgramFormat::Ne
                : kind == TTestProgram::Pe32 ? TProgramFormat::Pe32
                                             : TProgramFormat::Pe32Plus);
        ASSERT_EQ(icons.Groups().size(), 3u);
        ASSERT_EQ(icons.IconGroupCount(), 2u);
        const TProgramIconGroup& text = icons.Groups()[0];
        const TProgramIconGroup& number = icons.Groups()[1];
        EXPECT_EQ(text.Reference(), "MAINICON");
        EXPECT_EQ(number.Reference(), "-101");
        EXPECT_EQ(number.Language, ne ? 0 : 0x0409);
        EXPECT_EQ(number.OtherLanguages,
            ne ? std::vector<uint16_t> {} : std::vector<uint16_t> { 0x0407 });

        // Each image byte for byte, the group written as an icon file of the same images.
        const TProgramGroupImages images = icons.ReadImages(number);
        EXPECT_TRUE(images.Notes.empty());
        EXPECT_EQ(IconFileBytes(images), MakeIconFile({ sample.Small, sample.Large }));
        TIconDirectory document;
        ASSERT_TRUE(TakeProgramImages(document, images, "setup.exe,-101"));
        EXPECT_EQ(document.GetEntry(1).ImageWidth(), 256);
        EXPECT_TRUE(document.GetImage(1).IsPng());

        // A cursor keeps its hotspot apart from its image.
        const TProgramIconGroup& cursor = icons.Groups()[2];
        ASSERT_TRUE(cursor.IsCursor);
        const TProgramGroupImages cursors = icons.ReadImages(cursor);
        ASSERT_EQ(cursors.Images.size(), 1u);
        EXPECT_EQ(std::tuple(cursors.Images[0].HotspotX, cursors.Images[0].HotspotY,
                      cursors.Images[0].Entry.Height),
            std::tuple(3, 4, 32));
        EXPECT_EQ(cursors.Images[0].Data, sample.Cursor.Data);
        EXPECT_EQ(IconFileBytes(cursors), sample.CursorFile());
        ASSERT_TRUE(TakeProgramImages(document, cursors, "setup.exe,-5"));
        const TIconDirectoryEntry& hotspot = document.GetEntry(0);
        EXPECT_EQ(std::tuple(document.IsCursor(), hotspot.HotspotX, hotspot.HotspotY,
                      hotspot.Planes, hotspot.BitCount),
            std::tuple(true, 3, 4, 1, 1));
    }
}

TEST(ProgramIcons, SkipsWhatIsMissingAndRefusesDamage)
{
    const TSample sample;
    TTestImage overstated = sample.Small;
    overstated.BytesInRes = static_cast<uint32_t>(sample.Small.Data.size() + 10);
    const Bytes file = MakeProgram(TTestProgram::Pe32,
        { { 3, 1, "", 0, sample.Small.Data },
            { 14, 1, "", 0, MakeGroup({ overstated, sample.Small }, { 1, 8 }) } });
    const TByteSource source(file);
    const TProgramIcons icons(source);
    const TProgramGroupImages images = icons.ReadImages(icons.Groups()[0]);
    EXPECT_EQ(images.Notes,
        std::vector<std::string> {
            "Group 1: image 1 (resource 8) skipped: the program holds no such image." });
    ASSERT_EQ(images.Images.size(), 1u);
    // The group's larger count wins; the bytes it adds are zeros.
    Bytes expected = sample.Small.Data;
    expected.resize(expected.size() + 10);
    EXPECT_EQ(images.Images[0].Data, expected);

    const Bytes none = MakeProgram(TTestProgram::Pe32, { { 16, 1, "", 0, Bytes(64, 1) } });
    EXPECT_TRUE(TProgramIcons(TByteSource(none)).Groups().empty());

    // Hostile tables end in a clear error: a directory claiming 131070 entries past its end,
    // 400 names sharing one directory of 400 languages (the budget of entries ends it), an NE
    // alignment of 2^20, no program at all.
    const Bytes pe = MakeProgram(TTestProgram::Pe32, { { 14, 1, "", 0, Bytes(6) } });
    const uint32_t root = 0x400;
    Bytes shared = MakeProgram(TTestProgram::Pe32, { { 14, 1, "", 0, Bytes(7000) } });
    for (uint32_t i = 0, names = 24, languages = 3240; i < 400; ++i) { // 400 x 400 entries
        PutU16(shared, root + names + 14, 400);
        PutU32(shared, root + names + 20 + 8 * i, 0x80000000 | languages);
        PutU16(shared, root + languages + 14, 400);
        PutU32(shared, root + languages + 20 + 8 * i, 6456);
    }
    const Bytes ne = MakeProgram(TTestProgram::Ne, { { 14, 1, "", 0, Bytes(6) } });
    const std::pair<Bytes, std::string> bad[] = {
        { With(With(pe, root + 12, 0xFFFF, 2), root + 14, 0xFFFF, 2),
            "The program's resources are damaged: the resource directory lies outside the resource "
            "section." },
        { shared, "The program's resource directory holds more than 131072 entries." },
        { With(ne, 0x80, 20, 2),
            "The program's resources are damaged: the alignment shift is larger than 16." },
        { Bytes { 'M', 'Z', 0, 0 },
            "The file is no Windows program: it is neither a PE nor an NE file." },
    };
    for (const auto& [bytes, error] : bad)
        EXPECT_EQ(ErrorOf([&] { TProgramIcons read { TByteSource(bytes) }; }), error);
}

TEST(FuzzSeeds, ProgramIcons)
{
    const char* root = std::getenv("VELMORA_FUZZ_SEED_DIR");
    if (!root)
        GTEST_SKIP() << "VELMORA_FUZZ_SEED_DIR not set";
    const std::filesystem::path dir = std::filesystem::path(root) / "fuzz_program_icons";
    std::filesystem::create_directories(dir);
    const char* names[] = { "pe32.exe", "pe64.dll", "resources.mun", "library.icl" };
    TSample small;
    small.Large = PngImage(16, 16, 5);
    for (int kind = 0; kind < 4; ++kind)
        WriteFile(dir / names[kind],
            MakeProgram(static_cast<TTestProgram>(kind), small.Resources(kind == 3)));
}

TEST(ProgramIcons, ParsesTheWindowsFormOfAnIcon)
{
    const struct {
        std::string name, file;
        std::optional<uint16_t> id;
        std::optional<size_t> index;
    } rows[] = { { "setup.exe,-101", "setup.exe", 101, {} }, { "a,b.dll,2", "a,b.dll", {}, 2 },
        { "setup.exe", "setup.exe", {}, {} }, { "x.exe,-99999", "x.exe,-99999", {}, {} },
        { "x.exe,", "x.exe,", {}, {} } };
    for (const auto& row : rows) {
        const TProgramIconReference reference = ParseProgramIconReference(row.name);
        EXPECT_EQ(std::tuple(reference.File, reference.GroupId, reference.GroupIndex),
            std::tuple(row.file, row.id, row.index))
            << row.name;
    }
}

// The command-line tool on a built PE32 and NE program, and beside wrestool where it is
// installed: each group file holds wrestool's images byte for byte (wrestool appends spare
// bytes after them).
TEST(ProgramIcons, CommandLineListsAndExtractsGroups)
{
    const std::string cli = VELMORA_CLI_PATH;
    TTempDir dir;
    const TSample sample;
    for (TTestProgram kind : { TTestProgram::Pe32, TTestProgram::Ne }) {
        const std::filesystem::path file
            = dir.Path(kind == TTestProgram::Ne ? "app.icl" : "app.exe");
        WriteFile(file, MakeProgram(kind, sample.Resources(true)));
        std::string out;
        ASSERT_EQ(RunCommand(cli + " info '" + file.string() + "'", &out), 0);
        const bool ne = kind == TTestProgram::Ne;
        EXPECT_NE(out.find(std::string(ne ? "NE" : "PE32")
                      + " program, 2 icon groups, 1 cursor group\n  group MAINICON (MAINICON, "
                        "language "
                      + (ne ? "0x0000" : "0x0409")
                      + "): 1 image\n    0: 16x16, 4 bpp, bmp, 296 bytes (resource 1)\n"),
            std::string::npos)
            << out;
        ASSERT_EQ(
            RunCommand(cli + " extract '" + file.string() + "' " + dir.Path("out").string(), &out),
            0);
        const Bytes group = ReadFile(dir.Path("out") / "app-101.ico");
        EXPECT_EQ(group, MakeIconFile({ sample.Small, sample.Large }));
        ASSERT_EQ(RunCommand(cli + " extract '" + file.string() + ",1' - > "
                      + dir.Path("one.ico").string()),
            0);
        EXPECT_EQ(ReadFile(dir.Path("one.ico")), group);
        // A cursor group: its hotspot listed, written as a .cur that icotool reads with it.
        EXPECT_NE(out.find("), hotspot 3,4\n"), std::string::npos) << out;
        ASSERT_EQ(RunCommand(cli + " info --json '" + file.string() + "'", &out), 0);
        EXPECT_NE(out.find(",\"hotspotX\":3,\"hotspotY\":4}"), std::string::npos) << out;
        EXPECT_EQ(ReadFile(dir.Path("out") / "app-5.cur"), sample.CursorFile());
        ASSERT_EQ(RunCommand(cli + " extract --group 5 '" + file.string() + "' - > "
                      + dir.Path("one.cur").string()),
            0);
        EXPECT_EQ(ReadFile(dir.Path("one.cur")), sample.CursorFile());
        if (HaveProgram("icotool")) {
            ASSERT_EQ(RunCommand("icotool -l " + dir.Path("one.cur").string(), &out), 0);
            EXPECT_NE(out.find("--hotspot-x=3 --hotspot-y=4"), std::string::npos) << out;
        }
        if (!HaveProgram("wrestool"))
            continue;
        ASSERT_EQ(RunCommand("wrestool -x -t14 -n101 -o " + dir.Path("w.ico").string() + " '"
                      + file.string() + "' 2>/dev/null"),
            0);
        const Bytes theirs = ReadFile(dir.Path("w.ico"));
        EXPECT_EQ(
            Bytes(theirs.begin(), theirs.begin() + std::min(theirs.size(), group.size())), group);
    }
}

// A program opened in a pane: several groups bring the chooser, whose answer becomes a new
// document named after program and group; one group opens at once; a cancel changes nothing.
TEST(ProgramPane, OpensAChosenGroupAsANewDocument)
{
    TTwoPanes panes;
    TIconPane& pane = panes.Pane1;
    TFakePanePlatform& platform = panes.Platform1;
    TTempDir dir;
    const TSample sample;
    const std::string program = dir.Path("app.dll").string();
    const Bytes programBytes = MakeProgram(TTestProgram::Pe32, sample.Resources(true));
    WriteFile(program, programBytes);
    EXPECT_TRUE(TFileListHandler::IsIconFileName("Setup.EXE,-101"));
    EXPECT_FALSE(TFileListHandler::IsIconFileName("notes.txt,2"));

    const auto open = [&](const std::string& name) {
        platform.OpenAnswers = { { name } };
        ASSERT_TRUE(pane.Execute(TPaneAction::IconOpen));
    };
    platform.GroupAnswers = { std::nullopt, 2 };
    open(program);
    EXPECT_EQ(pane.IconDirectory().Count(), 0);
    std::vector<std::string> texts;
    for (const TFrameChoice& choice : platform.GroupChoices)
        texts.push_back(choice.Text + ", drawn " + std::to_string(choice.Picture.Width()));
    EXPECT_EQ(texts,
        (std::vector<std::string> { "Icon group MAINICON: 1 image, largest 16 x 16, drawn 16",
            "Icon group 101: 2 images, largest 256 x 256, drawn 256",
            "Cursor group 5: 1 image, largest 32 x 32, drawn 32" }));
    open(program);
    EXPECT_TRUE(pane.Headline().starts_with("Cursor #1, 1 image: ")) << pane.Headline();
    EXPECT_TRUE(pane.Headline().ends_with("app.dll,-5")) << pane.Headline();

    // Save asks for a name, proposing one beside the program, which stays as it was.
    platform.SaveAnswers = { dir.Path("saved.cur").string() };
    ASSERT_TRUE(pane.Execute(TPaneAction::IconSave));
    EXPECT_EQ(platform.Dialogs.back().InitialName, dir.Path("app-5.cur").string());
    const Bytes saved = ReadFile(dir.Path("saved.cur"));
    const auto image = static_cast<std::ptrdiff_t>(sample.Cursor.Data.size());
    EXPECT_EQ(std::tuple(ReadU16(saved.data() + 2), ReadU16(saved.data() + 10),
                  ReadU16(saved.data() + 12), Bytes(saved.end() - image, saved.end())),
        std::tuple(2, 3, 4, sample.Cursor.Data));
    EXPECT_EQ(ReadFile(program), programBytes);

    const std::string one = dir.Path("one.exe").string();
    WriteFile(one,
        MakeProgram(TTestProgram::Pe32Plus,
            { { 3, 1, "", 0, sample.Small.Data },
                { 14, 7, "", 0, MakeGroup({ sample.Small }, { 1 }) } }));
    open(one);
    EXPECT_TRUE(pane.Headline().ends_with("one.exe,-7")) << pane.Headline();
    EXPECT_FALSE(pane.IconDirectory().IsCursor());

    WriteFile(dir.Path("none.exe"), MakeProgram(TTestProgram::Pe32, {}));
    open(dir.Path("none.exe").string());
    EXPECT_EQ(platform.Messages,
        std::vector<std::string> { "Error - icon file not opened: " + dir.Path("none.exe").string()
            + "\r\nno icons in this program" });
    EXPECT_TRUE(pane.Headline().ends_with("one.exe,-7")) << pane.Headline();
}

} // namespace
} // namespace velmora::test
