#include "support/file_io.h"

#include "messages/messages.h"
#include "support/error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora
{

namespace fs = std::filesystem;

namespace
{

std::string SystemErrorText(int error)
{
    return std::strerror(error);
}

[[noreturn]] void RaiseFileError(std::string_view format, const fs::path& name, int error)
{
    throw EInOutError(FormatText(format, { name.string(), SystemErrorText(error) }));
}

// Follows symbolic links so that a save through a link replaces the file it points to and
// keeps the link itself.
fs::path ResolveLinks(const fs::path& name)
{
    fs::path current = name;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)))
            return current;
        fs::path next = fs::read_symlink(current, ec);
        if (ec)
            return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

class TFileDescriptor
{
public:
    explicit TFileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~TFileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

bool FileExists(const fs::path& name)
{
    std::error_code ec;
    return !name.empty() && fs::is_regular_file(name, ec);
}

TFileReader::TFileReader(const std::string& name)
    : m_name(name)
{
    m_fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        RaiseFileError(Messages::CannotOpenFile, name, errno);
    struct stat st {
    };
    if (::fstat(m_fd, &st) != 0) {
        int error = errno;
        ::close(m_fd);
        RaiseFileError(Messages::CannotReadFile, name, error);
    }
    m_size = static_cast<uint64_t>(st.st_size);
}

TFileReader::TFileReader(const std::string& name, int fd, uint64_t size)
    : m_name(name)
    , m_fd(fd)
    , m_size(size)
{
}

std::unique_ptr<TFileReader> TFileReader::OpenIfFile(const std::string& name)
{
    if (name.empty())
        return nullptr;
    // Not blocking: opening a FIFO for reading would otherwise wait for a writer.
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == ENXIO || errno == ELOOP)
            return nullptr;
        RaiseFileError(Messages::CannotOpenFile, name, errno);
    }
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<TFileReader>(
        new TFileReader(name, fd, static_cast<uint64_t>(st.st_size)));
}

std::unique_ptr<TFileReader> TFileReader::FromBytes(const std::string& name, Bytes bytes)
{
    auto reader = std::unique_ptr<TFileReader>(new TFileReader(name, -1, bytes.size()));
    reader->m_memory = std::move(bytes);
    return reader;
}

TFileReader::~TFileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

size_t TFileReader::ReadInto(uint64_t offset, uint8_t* data, size_t count) const
{
    if (m_fd < 0) {
        const size_t done = offset >= m_memory.size()
            ? 0
            : static_cast<size_t>(std::min<uint64_t>(count, m_memory.size() - offset));
        if (done > 0)
            std::memcpy(data, m_memory.data() + offset, done);
        return done;
    }
    size_t done = 0;
    while (done < count) {
        ssize_t got = ::pread(m_fd, data + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            RaiseFileError(Messages::CannotReadFile, m_name, errno);
        }
        if (got == 0)
            break; // the file shrank meanwhile: keep what was there
        done += static_cast<size_t>(got);
    }
    return done;
}

Bytes TFileReader::ReadAt(uint64_t offset, uint64_t count) const
{
    if (offset >= m_size)
        return {};
    Bytes bytes(std::min(count, m_size - offset));
    bytes.resize(ReadInto(offset, bytes.data(), bytes.size()));
    return bytes;
}

TByteBuffer TFileReader::ReadBufferAt(uint64_t offset, uint64_t count) const
{
    if (offset >= m_size)
        return {};
    TByteBuffer bytes(std::min(count, m_size - offset));
    bytes.Shrink(ReadInto(offset, bytes.data(), bytes.size()));
    return bytes;
}

Bytes ReadFileBytes(const fs::path& name, uint64_t maxBytes)
{
    return TFileReader(name).ReadAt(0, maxBytes);
}

TAtomicFileWriter::TAtomicFileWriter(const fs::path& target)
    : m_target(ResolveLinks(target))
{
    // A file that the user may not write is not replaced either, as cp would not: that it is
    // read-only is the owner's decision, which a rename would pass over.
    struct stat st {
    };
    const bool replacing = ::stat(m_target.c_str(), &st) == 0;
    if (replacing && ::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0)
        RaiseFileError(Messages::CannotWriteFile, target, errno);

    fs::path folder = m_target.parent_path();
    // A hidden name beside the target; shortened so that it stays within the longest name
    // the folder allows.
    constexpr size_t longestName = 255;
    constexpr size_t suffix = 7; // ".XXXXXX"
    std::string name(1, '.');
    name += m_target.filename().string();
    if (name.size() + suffix > longestName)
        name.resize(longestName - suffix);
    std::string pattern
        = (folder.empty() ? fs::path(".") : folder).string() + "/" + name + ".XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        RaiseFileError(Messages::CannotCreateFile, target, errno);
    m_temporary = pattern;
    // Whether the replacement can keep the target's owner and group is known before anything
    // is written. A file with several names is written in place and keeps them anyway.
    if (replacing && st.st_nlink == 1) {
        try {
            KeepOwner(st);
        } catch (...) {
            ::close(m_fd);
            m_fd = -1;
            ::unlink(m_temporary.c_str());
            throw;
        }
    }
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

void TAtomicFileWriter::WriteAt(uint64_t offset, ByteSpan bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = ::pwrite(
            m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            RaiseFileError(Messages::CannotWriteFile, m_target, errno);
        }
        done += static_cast<size_t>(put);
    }
}

void TAtomicFileWriter::KeepOwner(const struct stat& target)
{
    struct stat own {
    };
    if (::fstat(m_fd, &own) != 0)
        RaiseFileError(Messages::CannotWriteFile, m_target, errno);
    if (own.st_uid == target.st_uid && own.st_gid == target.st_gid)
        return;
    // Only the system's administrator gives a file away; a user may choose among the groups
    // he belongs to. Saving over someone else's file that the user may write would otherwise
    // make it the user's own.
    if (::fchown(m_fd, target.st_uid, target.st_gid) != 0)
        RaiseFileError(Messages::CannotKeepOwner, m_target, errno);
}

void TAtomicFileWriter::Commit()
{
    // New files get the usual permissions of the user's umask; replaced files keep theirs.
    struct stat st {
    };
    const bool replacing = ::stat(m_target.c_str(), &st) == 0;
    if (replacing && S_ISREG(st.st_mode) && st.st_nlink > 1) {
        WriteThrough(st);
        return;
    }
    mode_t mode;
    if (replacing) {
        mode = st.st_mode & 07777;
        KeepOwner(st);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(m_fd, mode) != 0)
        RaiseFileError(Messages::CannotWriteFile, m_target, errno);
    // A file that replaces another reaches the disk before the rename, so that a crash leaves
    // the old file or the new one, never an empty one. A new file replaces nothing and is
    // left to the system's own flushing, which keeps exports of many files fast.
    if (replacing && ::fsync(m_fd) != 0)
        RaiseFileError(Messages::CannotWriteFile, m_target, errno);
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        RaiseFileError(Messages::CannotWriteFile, m_target, errno);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        RaiseFileError(Messages::CannotWriteFile, m_target, errno);
    // The folder is not flushed after the rename: until the system writes it, a crash brings
    // back the old file, which is whole.
    m_temporary.clear();
}

void TAtomicFileWriter::WriteThrough(const struct stat& target)
{
    // A rename would give only this name the new content and leave the file's other names
    // with the old one. So the file itself is rewritten, once the new bytes are complete:
    // they are read back from the temporary file before the target is touched.
    struct stat own {
    };
    if (::fstat(m_fd, &own) != 0)
        RaiseFileError(Messages::CannotWriteFile, m_target, errno);
    Bytes bytes(static_cast<size_t>(own.st_size));
    for (size_t done = 0; done < bytes.size();) {
        ssize_t got
            = ::pread(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            RaiseFileError(Messages::CannotWriteFile, m_target, got < 0 ? errno : EIO);
        done += static_cast<size_t>(got);
    }
    TFileDescriptor file(::open(m_target.c_str(), O_WRONLY | O_CLOEXEC));
    if (file.Get() < 0)
        RaiseFileError(Messages::CannotWriteFile, m_target, errno);
    // Room for a longer content is taken first, so that a full disk fails the save before
    // the old content is overwritten (where the file system can tell in advance).
    if (bytes.size() > static_cast<uint64_t>(target.st_size)
        && ::fallocate(file.Get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS)
        RaiseFileError(Messages::CannotWriteFile, m_target, errno);
    for (size_t done = 0; done < bytes.size();) {
        ssize_t put = ::pwrite(
            file.Get(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            RaiseFileError(Messages::CannotWriteFile, m_target, errno);
        done += static_cast<size_t>(put);
    }
    if (::ftruncate(file.Get(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(file.Get()) != 0)
        RaiseFileError(Messages::CannotWriteFile, m_target, errno);
}

void WriteFileAtomically(const fs::path& name, ByteSpan bytes)
{
    TAtomicFileWriter writer(name);
    writer.WriteAt(0, bytes);
    writer.Commit();
}

} // namespace velmora
