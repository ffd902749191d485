#include "support/error.h"

namespace velmora
{

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args)
{
    std::string result;
    result.reserve(format.size() + 64);
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '%' && i + 1 < format.size()) {
            char directive = format[i + 1];
            if (directive == '%') {
                result += '%';
                ++i;
                continue;
            }
            if (directive == 's' || directive == 'd') {
                if (next != args.end())
                    result += *next++;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

} // namespace velmora
