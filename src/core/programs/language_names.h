#pragma once

#include <cstdint>
#include <string>

namespace velmora
{

/// The English name of a Windows language identifier, as the platform's VerLanguageName gives
/// it: "English (United States)" for 0x0409, "German (Germany)" for 0x0407, "Language Neutral"
/// for 0. An identifier with the neutral sub-language gets its language's name alone ("German"
/// for 0x0007); any other identifier that the table does not know gets "Unknown language".
std::string VerLanguageName(uint16_t language);

} // namespace velmora
