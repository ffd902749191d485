#pragma once

#include "input_file.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace velmora::cli
{

/// The files that one build reads, made readable by name. Standard input ("-"), a pipe, a
/// device such as /dev/stdin or a process substitution is copied, bounded as TInputFile
/// copies, into a temporary file named after what its bytes hold (".png", ".bmp", ".svg",
/// ".svgz"), since the import goes by the name. The copies last as long as the object.
class TBuildInputs
{
public:
    /// The name to read the input name by; raises an error when it cannot be read (such as
    /// "is a folder"). A regular or missing file is read by its own name, unless it is named
    /// by a device such as /dev/stdin.
    std::string Take(const std::string& name);
    /// The name the user gave for a name that Take answered.
    std::string Shown(const std::string& path) const;
    /// True when path is a copy of an input whose bytes are no picture the build takes.
    bool Unknown(const std::string& path) const;

private:
    std::vector<std::unique_ptr<TInputFile>> m_copies;
    std::map<std::string, std::string> m_shown;
    std::set<std::string> m_unknown;
};

/// The name ending that a picture file's first bytes ask for: ".png", ".bmp", ".svg" (text
/// that starts with "<" after any byte order mark and blanks) or ".svgz" (gzip); empty for
/// anything else.
std::string PictureSuffix(const std::vector<uint8_t>& start);

/// What a picture file of the build holds when its bytes are of another kind than its name
/// says ("an icon file, not a PNG picture"); empty when they agree or are not told apart.
std::string OtherKindOfPicture(const std::string& path);

} // namespace velmora::cli
