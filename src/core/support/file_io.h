#pragma once

#include "support/byte_io.h"

#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace velmora
{

/// True for a regular file or a link to one; a folder is no file.
bool FileExists(const std::filesystem::path& name);

/// Reads at most maxBytes from the start of a file; raises EInOutError on failure.
Bytes ReadFileBytes(const std::filesystem::path& name, uint64_t maxBytes = UINT64_MAX);

/// A file opened for reading, closed when the reader goes.
class TFileReader
{
public:
    /// Opens an existing file; raises EInOutError when it cannot be opened.
    explicit TFileReader(const std::string& name);
    /// Opens a regular file (or a link to one); none when there is no such file (nothing there,
    /// a folder, a device). Raises EInOutError when the file exists but cannot be opened.
    static std::unique_ptr<TFileReader> OpenIfFile(const std::string& name);
    /// A reader over bytes held in memory, named name in its errors.
    static std::unique_ptr<TFileReader> FromBytes(const std::string& name, Bytes bytes);
    ~TFileReader();
    TFileReader(const TFileReader&) = delete;
    TFileReader& operator=(const TFileReader&) = delete;

    /// The file's size when it was opened.
    uint64_t Size() const { return m_size; }
    /// Reads up to count bytes from a position; fewer at the end of the file.
    Bytes ReadAt(uint64_t offset, uint64_t count) const;
    TByteBuffer ReadBufferAt(uint64_t offset, uint64_t count) const;
    /// Reads up to count bytes from a position into data; the number read, fewer at the end.
    size_t ReadInto(uint64_t offset, uint8_t* data, size_t count) const;

private:
    TFileReader(const std::string& name, int fd, uint64_t size);

    // A plain string: the reader is opened once per file of a listing, and a path would be
    // taken apart into its components each time.
    std::string m_name;
    int m_fd = -1;
    uint64_t m_size = 0;
    Bytes m_memory; // the bytes read when there is no file (m_fd < 0)
};

/// Writes a file so that the file it replaces is never lost: the bytes go to a temporary file
/// in the target's folder, which is flushed to disk and only then moved over the target. The
/// target's permission bits, owner and group are kept; a symbolic link keeps pointing to the
/// file, whose content is replaced. A target with several hard links is rewritten in place
/// once the new bytes are complete, so that all its names see them. Until Commit succeeds
/// the target is untouched, and a writer destroyed without a commit removes its temporary
/// file. An existing target that the user may not write, or whose owner and group the new
/// file could not keep, is refused before anything is written.
class TAtomicFileWriter
{
public:
    /// Creates the temporary file; raises EInOutError when that is not possible.
    explicit TAtomicFileWriter(const std::filesystem::path& target);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    /// Writes bytes at a position of the temporary file; raises EInOutError on failure.
    void WriteAt(uint64_t offset, ByteSpan bytes);
    /// Flushes the temporary file and moves it over the target; raises EInOutError on failure.
    void Commit();

    const std::filesystem::path& Target() const { return m_target; }

private:
    /// Gives the temporary file the target's owner and group; raises when not allowed.
    void KeepOwner(const struct stat& target);
    /// Writes the temporary file's bytes over the content of the target itself.
    void WriteThrough(const struct stat& target);

    std::filesystem::path m_target; // the file finally written (a link's destination)
    std::filesystem::path m_temporary;
    int m_fd = -1;
};

/// Writes a whole file through TAtomicFileWriter.
void WriteFileAtomically(const std::filesystem::path& name, ByteSpan bytes);

} // namespace velmora
