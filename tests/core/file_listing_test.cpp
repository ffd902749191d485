#include "files/file_listing.h"
#include "files/folder_and_masks.h"
#include "icon_test_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmora
{
namespace
{

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

/// Creates the items below root: a name ending in "/" is a folder, any other an empty file.
void MakeTree(const fs::path& root, const Names& items)
{
    for (const std::string& item : items) {
        if (item.back() == '/') {
            fs::create_directories(root / item);
        } else {
            fs::create_directories((root / item).parent_path());
            test::WriteFile(root / item, {});
        }
    }
}

/// The lines of the list with prefix removed; a line without the prefix is marked with "!".
Names WithoutPrefix(const TStringList& list, const std::string& prefix)
{
    Names names;
    for (const std::string& line : list.Lines())
        names.push_back(line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : "!" + line);
    return names;
}

/// The folder as the listing writes it, with "/" at its end.
std::string Slashed(const fs::path& folder)
{
    std::string text = folder.string();
    text.push_back('/');
    return text;
}

TEST(FileListingTest, ListsMatchingEntriesOfTheWholeTreeInOrder)
{
    struct Row {
        const char* what;
        Names tree;
        const char* masks;
        Names expected;
    };
    const Names basic = { "z.bmp", "a.bmp", "a.txt", "sub/b.bmp", "sub/c.txt" };
    const Row rows[] = {
        { "names in byte order, files before subfolders, subfolders depth first",
            { "b/x.bmp", "b/c/y.bmp", "a/z.bmp", "B/w.bmp", "b/a/v.bmp", "b.bmp", "_.bmp",
                "\xC3\xA4.bmp" },
            "*.bmp",
            { "_.bmp", "b.bmp", "\xC3\xA4.bmp", "B/w.bmp", "a/z.bmp", "b/x.bmp", "b/a/v.bmp",
                "b/c/y.bmp" } },
        // Within each folder the masks go in their order, blanks around them ignored, and an
        // entry that two masks match is listed twice.
        { "masks in their order", basic, "  *.txt ;\t*.bmp;a* ",
            { "a.txt", "a.bmp", "z.bmp", "a.bmp", "a.txt", "sub/c.txt", "sub/b.bmp" } },
        { "any letter case, ? is one character", { "a.BMP", "b.bmp", "ab.BMP", ".BMP" }, "?.BMP",
            { "a.BMP", "b.bmp" } },
        { "hidden folders are not entered, hidden files are listed",
            { ".cache/a.bmp", ".h.bmp", "sub/.cache/b.bmp", "sub/c.bmp" }, "*.bmp",
            { ".h.bmp", "sub/c.bmp" } },
        { "* lists '.' and folders like files, never '..'", { "a.bmp", "sub/b" }, "*",
            { ".", "a.bmp", "sub", "sub/.", "sub/b" } },
        { "*.* lists '.' and the names with a dot", { "a.bmp", "noext", "sub/b.x" }, "*.*",
            { ".", "a.bmp", "sub/.", "sub/b.x" } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TTempDir dir;
        MakeTree(dir.Root(), row.tree);
        // The folder gives the same names with or without a separator at its end.
        for (const std::string& folder : { dir.Root().string(), Slashed(dir.Root()) }) {
            TStringList list;
            list.Add("left over");
            const int count = ListFilesRecursive(&list, folder, row.masks);
            EXPECT_EQ(WithoutPrefix(list, Slashed(dir.Root())), row.expected);
            EXPECT_EQ(count, static_cast<int>(row.expected.size()));
        }
    }
}

TEST(FileListingTest, MissingFolderOrNoListGivesNothing)
{
    test::TTempDir dir;
    MakeTree(dir.Root(), { "file.bmp" });
    for (const fs::path& folder : { dir.Path("missing"), dir.Path("file.bmp") }) {
        SCOPED_TRACE(folder.string());
        TStringList list;
        list.Add("left over");
        EXPECT_EQ(ListFilesRecursive(&list, folder.string(), "*"), 0);
        EXPECT_EQ(list.Count(), 0); // cleared even so
        list.Add("kept");
        EXPECT_EQ(ListFolders(&list, folder.string()), 1);
        AddMatchingFiles(&list, folder.string(), "*");
        EXPECT_EQ(list.Lines(), Names { "kept" });
    }
}

TEST(FileListingTest, ListFoldersAppendsEachFolderBeforeItsSubfolders)
{
    test::TTempDir dir;
    MakeTree(dir.Root(), { "b/y/", "b/x/deep/", "a/", ".hidden/inner/", "file", "b/.git/" });
    TStringList list;
    list.Add("kept");
    EXPECT_EQ(ListFolders(&list, dir.Root().string()), 7);
    EXPECT_EQ(WithoutPrefix(list, Slashed(dir.Root())),
        (Names { "!kept", "", "a/", "b/", "b/x/", "b/x/deep/", "b/y/" }));
}

TEST(FileListingTest, LinksToFoldersAreNotFollowedButListed)
{
    test::TTempDir dir;
    MakeTree(dir.Root(), { "a.bmp", "sub/b.bmp", "outside/c.bmp" });
    fs::create_directory_symlink(dir.Path("sub"), dir.Path("sub/loop"));
    fs::create_directory_symlink(dir.Path("outside"), dir.Path("sub/link.bmp"));
    fs::create_symlink(dir.Path("a.bmp"), dir.Path("sub/file-link.bmp"));
    fs::create_symlink(dir.Path("missing"), dir.Path("sub/broken.bmp"));
    ASSERT_EQ(mkfifo(dir.Path("sub/pipe.bmp").c_str(), 0600), 0);

    TStringList folders;
    ListFolders(&folders, dir.Path("sub").string());
    EXPECT_EQ(folders.Lines(), Names { Slashed(dir.Path("sub")) });

    // Links are entries of their folder; the named pipe is no file to open.
    TStringList list;
    EXPECT_EQ(ListFilesRecursive(&list, dir.Path("sub").string(), "*.bmp;loop"), 5);
    EXPECT_EQ(WithoutPrefix(list, Slashed(dir.Path("sub"))),
        (Names { "b.bmp", "broken.bmp", "file-link.bmp", "link.bmp", "loop" }));

    // A start folder named through a link is walked.
    EXPECT_EQ(ListFilesRecursive(&list, dir.Path("sub/link.bmp").string(), "*.bmp"), 1);
    EXPECT_EQ(list.Lines(), Names { Slashed(dir.Path("sub/link.bmp")) + "c.bmp" });
}

TEST(FileListingTest, EmptyFolderIsTheWorkingDirectoryAndRelativeNamesStayRelative)
{
    test::TTempDir dir;
    MakeTree(dir.Root(), { "a.bmp", "sub/b.bmp", "sub/deeper/c.bmp" });
    const fs::path saved = fs::current_path();
    fs::current_path(dir.Root());
    const std::string cwd = Slashed(fs::current_path());

    TStringList list;
    ListFilesRecursive(&list, "", "*.bmp");
    EXPECT_EQ(list.Lines(), (Names { cwd + "a.bmp", cwd + "sub/b.bmp", cwd + "sub/deeper/c.bmp" }));
    ListFilesRecursive(&list, "sub", "*.bmp");
    EXPECT_EQ(list.Lines(), (Names { "sub/b.bmp", "sub/deeper/c.bmp" }));
    list.Clear();
    AddMatchingFiles(&list, "", "*.bmp");
    EXPECT_EQ(list.Lines(), Names { cwd + "a.bmp" });
    fs::current_path(saved);
}

TEST(FileListingTest, UnreadableFolderIsPassedOver)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    test::TTempDir dir;
    MakeTree(dir.Root(), { "a.bmp", "locked/b.bmp", "locked/inner/c.bmp", "open/d.bmp" });
    fs::permissions(dir.Path("locked"), fs::perms::none);

    TStringList list;
    const int count = ListFilesRecursive(&list, dir.Root().string(), "*.bmp");
    fs::permissions(dir.Path("locked"), fs::perms::owner_all);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(WithoutPrefix(list, Slashed(dir.Root())), (Names { "a.bmp", "open/d.bmp" }));
}

TEST(FileListingTest, WalkStaysOnTheFileSystemItStartedOn)
{
    // /dev usually holds /dev/pts and /dev/shm, mounted from other file systems, and links
    // such as /dev/fd into /proc.
    struct stat dev = {}, pts = {}, info = {};
    if (stat("/dev", &dev) != 0 || stat("/dev/pts", &pts) != 0 || dev.st_dev == pts.st_dev)
        GTEST_SKIP() << "no file system mounted at /dev/pts";
    TStringList folders;
    ListFolders(&folders, "/dev");
    for (const std::string& folder : folders.Lines())
        EXPECT_TRUE(lstat(folder.c_str(), &info) == 0 && info.st_dev == dev.st_dev) << folder;
    EXPECT_EQ(folders.IndexOf("/dev/pts/"), -1);
}

TEST(FileListingTest, ParameterIsSplitAfterItsLastSeparator)
{
    // A colon is an ordinary character on this platform.
    for (auto [parameter, folder, masks] :
        { std::tuple { "/pics/*.bmp;*.dib", "/pics/", "*.bmp;*.dib" },
            std::tuple { "/a:b/c:*.bmp", "/a:b/", "c:*.bmp" },
            std::tuple { "*.bmp", "", "*.bmp" } }) {
        const TFolderAndMasks split = SplitFolderAndMasks(parameter);
        EXPECT_EQ(split.Folder, folder) << parameter;
        EXPECT_EQ(split.Masks, masks) << parameter;
    }
}

} // namespace
} // namespace velmora
