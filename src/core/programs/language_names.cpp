#include "programs/language_names.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace velmora
{

namespace
{

struct TLanguageName {
    uint16_t Id;
    std::string_view Name;
};

// Sorted by identifier. The low ten bits of an identifier are the language, the high six bits
// the sub-language (1 the language's main country).
constexpr auto LanguageNames = std::to_array<TLanguageName>({
    { 0x0000, "Language Neutral" },
    { 0x007F, "Invariant Language (Invariant Country)" },
    { 0x0400, "Process Default Language" },
    { 0x0401, "Arabic (Saudi Arabia)" },
    { 0x0402, "Bulgarian (Bulgaria)" },
    { 0x0403, "Catalan (Catalan)" },
    { 0x0404, "Chinese (Traditional, Taiwan)" },
    { 0x0405, "Czech (Czech Republic)" },
    { 0x0406, "Danish (Denmark)" },
    { 0x0407, "German (Germany)" },
    { 0x0408, "Greek (Greece)" },
    { 0x0409, "English (United States)" },
    { 0x040A, "Spanish (Spain, Traditional Sort)" },
    { 0x040B, "Finnish (Finland)" },
    { 0x040C, "French (France)" },
    { 0x040D, "Hebrew (Israel)" },
    { 0x040E, "Hungarian (Hungary)" },
    { 0x040F, "Icelandic (Iceland)" },
    { 0x0410, "Italian (Italy)" },
    { 0x0411, "Japanese (Japan)" },
    { 0x0412, "Korean (Korea)" },
    { 0x0413, "Dutch (Netherlands)" },
    { 0x0414, "Norwegian, Bokm\u00e5l (Norway)" },
    { 0x0415, "Polish (Poland)" },
    { 0x0416, "Portuguese (Brazil)" },
    { 0x0417, "Romansh (Switzerland)" },
    { 0x0418, "Romanian (Romania)" },
    { 0x0419, "Russian (Russia)" },
    { 0x041A, "Croatian (Croatia)" },
    { 0x041B, "Slovak (Slovakia)" },
    { 0x041C, "Albanian (Albania)" },
    { 0x041D, "Swedish (Sweden)" },
    { 0x041E, "Thai (Thailand)" },
    { 0x041F, "Turkish (Turkey)" },
    { 0x0420, "Urdu (Islamic Republic of Pakistan)" },
    { 0x0421, "Indonesian (Indonesia)" },
    { 0x0422, "Ukrainian (Ukraine)" },
    { 0x0423, "Belarusian (Belarus)" },
    { 0x0424, "Slovenian (Slovenia)" },
    { 0x0425, "Estonian (Estonia)" },
    { 0x0426, "Latvian (Latvia)" },
    { 0x0427, "Lithuanian (Lithuania)" },
    { 0x0429, "Persian (Iran)" },
    { 0x042A, "Vietnamese (Vietnam)" },
    { 0x042B, "Armenian (Armenia)" },
    { 0x042C, "Azerbaijani (Latin, Azerbaijan)" },
    { 0x042D, "Basque (Basque)" },
    { 0x042F, "Macedonian (North Macedonia)" },
    { 0x0436, "Afrikaans (South Africa)" },
    { 0x0437, "Georgian (Georgia)" },
    { 0x0438, "Faroese (Faroe Islands)" },
    { 0x0439, "Hindi (India)" },
    { 0x043A, "Maltese (Malta)" },
    { 0x043E, "Malay (Malaysia)" },
    { 0x043F, "Kazakh (Kazakhstan)" },
    { 0x0440, "Kyrgyz (Kyrgyzstan)" },
    { 0x0441, "Kiswahili (Kenya)" },
    { 0x0443, "Uzbek (Latin, Uzbekistan)" },
    { 0x0444, "Tatar (Russia)" },
    { 0x0445, "Bangla (India)" },
    { 0x0446, "Punjabi (India)" },
    { 0x0447, "Gujarati (India)" },
    { 0x0449, "Tamil (India)" },
    { 0x044A, "Telugu (India)" },
    { 0x044B, "Kannada (India)" },
    { 0x044C, "Malayalam (India)" },
    { 0x044E, "Marathi (India)" },
    { 0x044F, "Sanskrit (India)" },
    { 0x0450, "Mongolian (Cyrillic, Mongolia)" },
    { 0x0452, "Welsh (United Kingdom)" },
    { 0x0456, "Galician (Galician)" },
    { 0x0457, "Konkani (India)" },
    { 0x045A, "Syriac (Syria)" },
    { 0x0461, "Nepali (Nepal)" },
    { 0x0462, "Frisian (Netherlands)" },
    { 0x0464, "Filipino (Philippines)" },
    { 0x046E, "Luxembourgish (Luxembourg)" },
    { 0x0481, "Maori (New Zealand)" },
    { 0x0800, "System Default Language" },
    { 0x0801, "Arabic (Iraq)" },
    { 0x0804, "Chinese (Simplified, PRC)" },
    { 0x0807, "German (Switzerland)" },
    { 0x0809, "English (United Kingdom)" },
    { 0x080A, "Spanish (Mexico)" },
    { 0x080C, "French (Belgium)" },
    { 0x0810, "Italian (Switzerland)" },
    { 0x0813, "Dutch (Belgium)" },
    { 0x0814, "Norwegian, Nynorsk (Norway)" },
    { 0x0816, "Portuguese (Portugal)" },
    { 0x081A, "Serbian (Latin, Serbia and Montenegro (Former))" },
    { 0x081D, "Swedish (Finland)" },
    { 0x0843, "Uzbek (Cyrillic, Uzbekistan)" },
    { 0x0C01, "Arabic (Egypt)" },
    { 0x0C04, "Chinese (Traditional, Hong Kong S.A.R.)" },
    { 0x0C07, "German (Austria)" },
    { 0x0C09, "English (Australia)" },
    { 0x0C0A, "Spanish (Spain, International Sort)" },
    { 0x0C0C, "French (Canada)" },
    { 0x0C1A, "Serbian (Cyrillic, Serbia and Montenegro (Former))" },
    { 0x1004, "Chinese (Simplified, Singapore)" },
    { 0x1007, "German (Luxembourg)" },
    { 0x1009, "English (Canada)" },
    { 0x100A, "Spanish (Guatemala)" },
    { 0x100C, "French (Switzerland)" },
    { 0x101A, "Croatian (Latin, Bosnia and Herzegovina)" },
    { 0x1404, "Chinese (Traditional, Macao S.A.R.)" },
    { 0x1407, "German (Liechtenstein)" },
    { 0x1409, "English (New Zealand)" },
    { 0x140A, "Spanish (Costa Rica)" },
    { 0x140C, "French (Luxembourg)" },
    { 0x1809, "English (Ireland)" },
    { 0x180A, "Spanish (Panama)" },
    { 0x180C, "French (Monaco)" },
    { 0x1C09, "English (South Africa)" },
    { 0x1C0A, "Spanish (Dominican Republic)" },
    { 0x2009, "English (Jamaica)" },
    { 0x200A, "Spanish (Venezuela)" },
    { 0x2409, "English (Caribbean)" },
    { 0x240A, "Spanish (Colombia)" },
    { 0x2809, "English (Belize)" },
    { 0x280A, "Spanish (Peru)" },
    { 0x2C09, "English (Trinidad and Tobago)" },
    { 0x2C0A, "Spanish (Argentina)" },
    { 0x3009, "English (Zimbabwe)" },
    { 0x300A, "Spanish (Ecuador)" },
    { 0x3409, "English (Philippines)" },
    { 0x340A, "Spanish (Chile)" },
    { 0x380A, "Spanish (Uruguay)" },
    { 0x3C0A, "Spanish (Paraguay)" },
    { 0x4009, "English (India)" },
    { 0x400A, "Spanish (Bolivia)" },
    { 0x4409, "English (Malaysia)" },
    { 0x440A, "Spanish (El Salvador)" },
    { 0x4809, "English (Singapore)" },
    { 0x480A, "Spanish (Honduras)" },
    { 0x4C0A, "Spanish (Nicaragua)" },
    { 0x500A, "Spanish (Puerto Rico)" },
    { 0x540A, "Spanish (United States)" },
});

static_assert(std::is_sorted(LanguageNames.begin(), LanguageNames.end(),
                  [](const TLanguageName& a, const TLanguageName& b) { return a.Id < b.Id; }),
    "the language table is searched by halves");

std::string_view Find(uint16_t id)
{
    auto found = std::lower_bound(LanguageNames.begin(), LanguageNames.end(), id,
        [](const TLanguageName& entry, uint16_t wanted) { return entry.Id < wanted; });
    return found != LanguageNames.end() && found->Id == id ? found->Name : std::string_view();
}

} // namespace

std::string VerLanguageName(uint16_t language)
{
    std::string_view name = Find(language);
    if (!name.empty())
        return std::string(name);
    constexpr uint16_t languageBits = 0x03FF;
    constexpr uint16_t mainCountry = 0x0400; // sub-language 1
    if ((language & ~languageBits) == 0 && language != 0) {
        // The neutral sub-language: the language without a country, "German" of
        // "German (Germany)".
        std::string_view main = Find(static_cast<uint16_t>(mainCountry | language));
        if (!main.empty())
            return std::string(main.substr(0, main.find(" (")));
    }
    return "Unknown language";
}

} // namespace velmora
