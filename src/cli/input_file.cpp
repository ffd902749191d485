#include "input_file.h"

#include "support/error.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmora::cli
{

namespace
{

// Closes a descriptor when it goes.
struct TDescriptor {
    int Fd;
    ~TDescriptor()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
};

[[noreturn]] void Fail(const std::string& why)
{
    throw Exception(why);
}

} // namespace

TInputFile::TInputFile(const std::string& name, bool copy)
    : m_path(name)
{
    const bool standardInput = name == "-";
    struct stat info {
    };
    if (!standardInput && ::stat(name.c_str(), &info) != 0)
        return; // the command's own reading says why (a missing file, no permission)
    if (!standardInput && S_ISDIR(info.st_mode))
        Fail("is a folder");
    if (!standardInput && S_ISREG(info.st_mode) && !copy)
        return;

    TDescriptor input { standardInput ? ::dup(STDIN_FILENO) : ::open(name.c_str(), O_RDONLY) };
    if (input.Fd < 0)
        Fail(std::strerror(errno));
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/velmora-icon-XXXXXX";
    const TDescriptor made { ::mkstemp(pattern.data()) };
    if (made.Fd < 0)
        Fail(std::string("no temporary file: ") + std::strerror(errno));
    m_path = pattern;
    m_temporary = true;
    try {
        CopyFrom(input.Fd, made.Fd);
    } catch (...) {
        ::unlink(m_path.c_str());
        throw;
    }
}

void TInputFile::CopyFrom(int fd, int copy)
{
    std::vector<char> buffer(1 << 16);
    uint64_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail(std::strerror(errno));
        if (got == 0)
            break;
        total += static_cast<uint64_t>(got);
        if (total > MaxBytes)
            Fail("larger than " + std::to_string(MaxBytes >> 20) + " MiB");
        for (ssize_t done = 0; done < got;) {
            const ssize_t put
                = ::write(copy, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                Fail(std::string("cannot keep a copy: ") + std::strerror(errno));
            done += put;
        }
    }
}

void TInputFile::NameCopyWith(const std::string& suffix)
{
    if (!m_temporary || suffix.empty())
        return;
    // A link never replaces a file of that name that someone else made meanwhile.
    const std::string named = m_path + suffix;
    if (::link(m_path.c_str(), named.c_str()) != 0)
        Fail(std::string("cannot keep a copy: ") + std::strerror(errno));
    ::unlink(m_path.c_str());
    m_path = named;
}

TInputFile::~TInputFile()
{
    if (m_temporary)
        ::unlink(m_path.c_str());
}

TTemporaryFile::TTemporaryFile()
{
    const char* folder = std::getenv("TMPDIR");
    m_path = std::string(folder && *folder ? folder : "/tmp") + "/velmora-icon-XXXXXX";
    const TDescriptor made { ::mkstemp(m_path.data()) };
    if (made.Fd < 0)
        Fail(std::string("no temporary file: ") + std::strerror(errno));
}

TTemporaryFile::~TTemporaryFile()
{
    ::unlink(m_path.c_str());
}

} // namespace velmora::cli
