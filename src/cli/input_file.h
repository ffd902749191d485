#pragma once

#include <cstdint>
#include <string>

namespace velmora::cli
{

/// A file named as a command's input, made readable as a regular file. "-" is standard input;
/// a pipe, a device such as /dev/stdin or a process substitution is read, up to MaxBytes,
/// into a temporary file that goes with the object. A regular file is used as it is.
class TInputFile
{
public:
    /// The most bytes taken from an input that is not a regular file.
    static constexpr uint64_t MaxBytes = uint64_t { 1 } << 30;

    /// Raises an error when the input is a folder, cannot be read or exceeds MaxBytes. With
    /// copy, a regular file is copied too.
    explicit TInputFile(const std::string& name, bool copy = false);
    ~TInputFile();
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    /// The name to read the input by.
    const std::string& Path() const { return m_path; }
    /// True when the input was copied into a temporary file.
    bool Copied() const { return m_temporary; }
    /// Renames the temporary copy so that its name ends in suffix (such as ".png"), for
    /// readers that go by the name; raises an error when it cannot.
    void NameCopyWith(const std::string& suffix);

private:
    void CopyFrom(int fd, int copy);

    std::string m_path;
    bool m_temporary = false;
};

/// An empty temporary file, removed when the object goes.
class TTemporaryFile
{
public:
    TTemporaryFile();
    ~TTemporaryFile();
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace velmora::cli
