#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace velmora
{

/// The general error of the core: a failure raised by a low-level step, carrying its message
/// text. Steps that wrap a failure nest the cause's text inside their own (see NestErrors).
class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string& message)
        : std::runtime_error(message)
    {
    }
};

/// A text that is not a number in the expected notation.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

/// An index outside a list.
class EListError : public Exception
{
public:
    using Exception::Exception;
};

/// A file that cannot be opened, read or written.
class EInOutError : public Exception
{
public:
    using Exception::Exception;
};

/// Picture data that cannot be understood (a bad bitmap or icon image).
class EInvalidGraphic : public Exception
{
public:
    using Exception::Exception;
};

/// Painting an icon image failed.
class EIconPaint : public Exception
{
public:
    using Exception::Exception;
};

/// The colour reduction was given a picture it cannot hold.
class GIFException : public Exception
{
public:
    using Exception::Exception;
};

/// A buffer of the colour reduction could not be allocated.
class EOutOfMemory : public Exception
{
public:
    using Exception::Exception;
};

/// Replaces every "%s" of format, in turn, by the texts given ("%%" gives "%").
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args);

/// Runs step; an error it raises is raised again as the general error whose text is format
/// with its "%s" filled by the cause's text, so that texts nest outermost first.
template <typename Step> decltype(auto) NestErrors(std::string_view format, Step&& step)
{
    try {
        return std::forward<Step>(step)();
    } catch (const std::exception& cause) {
        throw Exception(FormatText(format, { cause.what() }));
    }
}

} // namespace velmora
