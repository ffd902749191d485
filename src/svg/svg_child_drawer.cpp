// The SVG drawer of the tool and the window: each file is drawn in a child process that is
// stopped when it takes too long or too much memory, because librsvg can neither cancel a
// drawing nor bound its memory once it has started.

#include "support/error.h"
#include "support/file_io.h"
#include "svg_drawer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora
{

namespace
{

constexpr char ReplyDrawn = 'K';
constexpr char ReplyRefused = 'E';
constexpr size_t MaxReasonBytes = 4096;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool LimitAddressSpace = false; // the sanitizer's shadow memory needs terabytes
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool LimitAddressSpace = false;
#else
constexpr bool LimitAddressSpace = true;
#endif
#else
constexpr bool LimitAddressSpace = true;
#endif

bool WriteAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// The child's whole life: draw, send the pixels or the reason, and end without running the
// parent's exit handlers.
[[noreturn]] void DrawInChild(int fd, ByteSpan data, std::span<const int> sides)
{
    signal(SIGPIPE, SIG_IGN);
    if (LimitAddressSpace) {
        const rlimit memory { SvgDrawMemoryBytes, SvgDrawMemoryBytes };
        setrlimit(RLIMIT_AS, &memory);
    }
    const rlimit cpu { SvgDrawSeconds + 1, SvgDrawSeconds + 2 };
    setrlimit(RLIMIT_CPU, &cpu);
    try {
        const std::vector<TBitmap> drawn = DrawSvgSquares(data, sides);
        bool sent = WriteAll(fd, reinterpret_cast<const uint8_t*>(&ReplyDrawn), 1);
        for (const TBitmap& bitmap : drawn)
            sent = sent && WriteAll(fd, bitmap.Pixels().data(), bitmap.Pixels().size());
        _exit(sent ? 0 : 1);
    } catch (const std::exception& error) {
        const std::string reason
            = std::string(1, ReplyRefused) + std::string(error.what()).substr(0, MaxReasonBytes);
        WriteAll(fd, reinterpret_cast<const uint8_t*>(reason.data()), reason.size());
    }
    _exit(1);
}

// Reads the child's reply until it closes its end, up to limit bytes, until the deadline.
// False when the deadline passed first.
bool ReadReply(int fd, Bytes& reply, size_t limit, std::chrono::steady_clock::time_point deadline)
{
    uint8_t buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd wait { fd, POLLIN, 0 };
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return ready == 0 ? false : true;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return true;
        const size_t take
            = std::min(static_cast<size_t>(got), limit - std::min(limit, reply.size()));
        reply.insert(reply.end(), buffer, buffer + take);
    }
}

class TFileDescriptor
{
public:
    explicit TFileDescriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~TFileDescriptor() { Close(); }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return m_fd; }
    void Close()
    {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

class TSvgChildDrawer : public IVectorPictureDrawer
{
public:
    std::vector<TBitmap> DrawSquares(
        const std::string& fileName, std::span<const int> sides) override
    {
        const Bytes data = ReadFileBytes(fileName, MaxSvgFileBytes + 1);
        if (data.size() > MaxSvgFileBytes)
            throw EInvalidGraphic("the SVG file is larger than 16 MiB");
        size_t expected = 1;
        for (int side : sides) {
            if (side < 1 || side > 256)
                throw EInvalidGraphic("SVG size " + std::to_string(side) + " is not 1 to 256");
            expected += static_cast<size_t>(side) * static_cast<size_t>(side) * 4;
        }

        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            throw Exception(std::string("the SVG could not be drawn: ") + std::strerror(errno));
        TFileDescriptor readEnd(ends[0]);
        TFileDescriptor writeEnd(ends[1]);
        const pid_t child = fork();
        if (child < 0)
            throw Exception(std::string("the SVG could not be drawn: ") + std::strerror(errno));
        if (child == 0) {
            readEnd.Close();
            DrawInChild(writeEnd.Get(), data, sides);
        }
        writeEnd.Close();

        Bytes reply;
        const auto deadline
            = std::chrono::steady_clock::now() + std::chrono::seconds(SvgDrawSeconds);
        const bool inTime
            = ReadReply(readEnd.Get(), reply, std::max(expected, MaxReasonBytes + 1), deadline);
        if (!inTime)
            kill(child, SIGKILL);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }

        if (!inTime
            || (WIFSIGNALED(status)
                && (WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL)))
            throw EInvalidGraphic("drawing the SVG took longer than "
                + std::to_string(SvgDrawSeconds) + " seconds and was stopped");
        if (!reply.empty() && reply[0] == ReplyRefused)
            throw EInvalidGraphic(std::string(reply.begin() + 1, reply.end()));
        if (reply.size() != expected || reply[0] != ReplyDrawn || !WIFEXITED(status)
            || WEXITSTATUS(status) != 0)
            throw EInvalidGraphic("drawing the SVG failed (too much memory, or librsvg stopped)");

        std::vector<TBitmap> drawn;
        size_t at = 1;
        for (int side : sides) {
            TBitmap bitmap(side, side, TPixelFormat::pf32bit);
            Bytes& pixels = bitmap.Pixels();
            std::copy_n(reply.begin() + static_cast<ptrdiff_t>(at), pixels.size(), pixels.begin());
            at += pixels.size();
            drawn.push_back(std::move(bitmap));
        }
        return drawn;
    }
};

} // namespace

std::unique_ptr<IVectorPictureDrawer> MakeSvgDrawer()
{
    return std::make_unique<TSvgChildDrawer>();
}

} // namespace velmora
