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

TFileReader::~TFileReader()
{
    ::close(m_fd);
}

size_t TFileReader::ReadInto(uint64_t offset, uint8_t* data, size_t count) const
{
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

void TAtomicFileWriter::Commit()
{
    // New files get the usual permissions of the user's umask; replaced files keep theirs.
    struct stat st {
    };
    const bool replacing = ::stat(m_target.c_str(), &st) == 0;
    mode_t mode;
    if (replacing) {
        mode = st.st_mode & 07777;
        if (::fchown(m_fd, st.st_uid, st.st_gid) != 0) {
            // Only the owner's identity is lost; the content and mode still follow.
        }
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

void WriteFileAtomically(const fs::path& name, ByteSpan bytes)
{
    TAtomicFileWriter writer(name);
    writer.WriteAt(0, bytes);
    writer.Commit();
}

} // namespace velmora
