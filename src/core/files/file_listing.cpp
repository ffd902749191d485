#include "files/file_listing.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fnmatch.h>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace velmora
{

namespace
{

constexpr char Separator = '/';

struct TFolderEntry {
    std::string Name;
    unsigned char Type = DT_UNKNOWN; // as readdir reports it
};

struct TFolderCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

/// One folder opened for reading its entries, closed when it goes.
class TOpenFolder
{
public:
    /// Opens path as a folder. Without followLink a symbolic link is not opened, so a folder
    /// that was swapped for a link after it was found is not entered either.
    TOpenFolder(const std::string& path, bool followLink)
    {
        int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
        int fd = open(path.c_str(), flags);
        if (fd < 0) {
            m_error = errno;
            return;
        }
        m_dir.reset(fdopendir(fd));
        if (!m_dir) {
            m_error = errno;
            close(fd);
        }
    }

    bool IsOpen() const { return m_dir != nullptr; }
    /// The error that kept the folder closed.
    int Error() const { return m_error; }
    int Fd() const { return dirfd(m_dir.get()); }

    /// The folder's entries sorted by name in byte order, "." and ".." included. An error in
    /// the middle of reading ends the list there.
    std::vector<TFolderEntry> ReadEntries()
    {
        std::vector<TFolderEntry> entries;
        while (const dirent* entry = readdir(m_dir.get()))
            entries.push_back({ entry->d_name, entry->d_type });
        // std::string compares its characters as unsigned bytes.
        std::sort(entries.begin(), entries.end(),
            [](const TFolderEntry& a, const TFolderEntry& b) { return a.Name < b.Name; });
        return entries;
    }

private:
    std::unique_ptr<DIR, TFolderCloser> m_dir;
    int m_error = 0;
};

/// folder + name, and a separator after it for a folder; built by appending, since GCC 12
/// misreads chained string concatenation at -O2.
std::string JoinPath(std::string_view folder, std::string_view name, bool asFolder)
{
    std::string path;
    path.reserve(folder.size() + name.size() + 1);
    path.append(folder);
    path.append(name);
    if (asFolder)
        path.push_back(Separator);
    return path;
}

/// The folder with a separator at its end; the current working directory for an empty folder.
/// Empty when the working directory cannot be found (it may have been removed).
std::string FolderPath(std::string_view folder)
{
    std::string path;
    if (folder.empty()) {
        std::error_code error;
        path = std::filesystem::current_path(error).string();
        if (error || path.empty())
            return {};
    } else {
        path.assign(folder);
    }
    if (path.back() != Separator)
        path.push_back(Separator);
    return path;
}

/// True when the entry of the open folder is itself a folder (not a link to one) on the given
/// file system.
bool IsFolderOnDevice(int folderFd, const TFolderEntry& entry, dev_t device)
{
    if (entry.Type != DT_DIR && entry.Type != DT_UNKNOWN)
        return false;
    struct stat info = {};
    if (fstatat(folderFd, entry.Name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_dev == device;
}

/// True for an entry that a caller may list as a name to open: a file, a folder, or a link to
/// one of them or to nothing. Named pipes, sockets and devices are left out, since opening one
/// as a picture file could block or read without end.
bool IsListableKind(int folderFd, const TFolderEntry& entry)
{
    switch (entry.Type) {
    case DT_REG:
    case DT_DIR:
        return true;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return false;
    }
    struct stat info = {};
    if (fstatat(folderFd, entry.Name.c_str(), &info, 0) == 0)
        return S_ISREG(info.st_mode) || S_ISDIR(info.st_mode);
    // A link whose target is missing is still an entry of the folder.
    return fstatat(folderFd, entry.Name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISLNK(info.st_mode);
}

void AddMatching(
    TStringList& list, const std::string& folderPath, const std::vector<std::string>& maskList)
{
    TOpenFolder folder(folderPath, true);
    if (!folder.IsOpen())
        return;
    std::vector<TFolderEntry> entries = folder.ReadEntries();
    enum class TKind : unsigned char { Unknown, Listable, Special };
    std::vector<TKind> kinds(entries.size(), TKind::Unknown);
    for (const std::string& mask : maskList) {
        if (mask.empty())
            continue;
        for (size_t i = 0; i < entries.size(); ++i) {
            const TFolderEntry& entry = entries[i];
            if (entry.Name == ".." || !MatchesMask(mask, entry.Name))
                continue;
            if (kinds[i] == TKind::Unknown)
                kinds[i] = IsListableKind(folder.Fd(), entry) ? TKind::Listable : TKind::Special;
            if (kinds[i] == TKind::Listable)
                list.Add(JoinPath(folderPath, entry.Name, false));
        }
    }
}

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

int ListFilesRecursive(TStringList* list, std::string_view folder, std::string_view masks)
{
    if (!list)
        return -1;
    list->Clear();
    TStringList folders;
    ListFolders(&folders, folder);
    const std::vector<std::string> maskList = SplitMasks(masks);
    for (const std::string& folderPath : folders.Lines())
        AddMatching(*list, folderPath, maskList);
    return list->Count();
}

int ListFolders(TStringList* list, std::string_view folder)
{
    if (!list)
        return -1;
    const std::string start = FolderPath(folder);
    if (start.empty())
        return list->Count();
    // The start folder may be named through a link; below it no link is followed.
    struct stat startInfo = {};
    if (stat(start.c_str(), &startInfo) != 0 || !S_ISDIR(startInfo.st_mode))
        return list->Count();
    const dev_t device = startInfo.st_dev;

    // A walk with its own stack of folders still to visit, so that no depth of the tree can
    // exhaust the call stack. Each folder's subfolders are pushed in reverse name order, so the
    // first name is walked first: each folder comes before its children, depth first.
    struct TPending {
        std::string Path;
        bool FollowLink;
    };
    std::vector<TPending> pending;
    pending.push_back({ start, true });
    // Bind mounts can show one folder at two places of the same file system; each folder is
    // walked once, at its first place, so such a mount cannot make the walk endless.
    std::set<std::pair<dev_t, ino_t>> visited;

    while (!pending.empty()) {
        TPending current = std::move(pending.back());
        pending.pop_back();
        TOpenFolder opened(current.Path, current.FollowLink);
        if (opened.IsOpen()) {
            struct stat info = {};
            if (fstat(opened.Fd(), &info) != 0 || info.st_dev != device)
                continue;
            if (!visited.insert({ info.st_dev, info.st_ino }).second)
                continue;
        } else if (opened.Error() != EACCES) {
            continue; // gone, or no longer a folder, since it was found
        }
        list->Add(current.Path);
        if (!opened.IsOpen())
            continue; // a folder that may not be read has nothing to show below it

        const size_t firstChild = pending.size();
        for (const TFolderEntry& entry : opened.ReadEntries()) {
            // Names beginning with "." are hidden; this also passes over "." and "..".
            if (entry.Name.empty() || entry.Name.front() == '.')
                continue;
            if (IsFolderOnDevice(opened.Fd(), entry, device))
                pending.push_back({ JoinPath(current.Path, entry.Name, true), false });
        }
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstChild), pending.end());
    }
    return list->Count();
}

void AddMatchingFiles(TStringList* list, std::string_view folder, std::string_view masks)
{
    if (!list)
        return;
    const std::string folderPath = FolderPath(folder);
    if (folderPath.empty())
        return;
    AddMatching(*list, folderPath, SplitMasks(masks));
}

std::vector<std::string> SplitMasks(std::string_view masks)
{
    std::vector<std::string> result;
    while (true) {
        const size_t end = masks.find(';');
        result.emplace_back(Trimmed(masks.substr(0, end)));
        if (end == std::string_view::npos)
            break;
        masks.remove_prefix(end + 1);
    }
    return result;
}

bool MatchesMask(std::string_view mask, std::string_view name)
{
    if (mask.empty())
        return false;
    // Without regard to case, as "*.bmp" finds "LOGO.BMP" on the system the scripts come from.
    return fnmatch(std::string(mask).c_str(), std::string(name).c_str(), FNM_CASEFOLD) == 0;
}

} // namespace velmora
