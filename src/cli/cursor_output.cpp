// What velmora-icon prints and writes of cursors and animated cursors.

#include "cursor_output.h"

#include "commands.h"
#include "graphics/icon_picture.h"
#include "graphics/png_codec.h"
#include "icons/animated_cursor.h"
#include "messages/messages.h"
#include "support/error.h"
#include "support/file_io.h"

namespace velmora::cli
{

namespace
{

void WriteFrameText(TTextBuffer& out, const TIconDirectory& frame, size_t index)
{
    out << "  frame " << index << ":";
    for (int i = 0; i < frame.Count(); ++i) {
        const TIconDirectoryEntry& entry = frame.GetEntry(i);
        out << (i ? "," : "") << " " << entry.ImageWidth() << "x" << entry.ImageHeight() << ", "
            << entry.BitCount << " bpp" << HotspotText(frame, i);
    }
    out << "\n";
}

void WriteFrameJson(TTextBuffer& out, const TIconDirectory& frame, size_t index)
{
    out << (index ? "," : "") << "\n  {\"index\":" << index
        << ",\"kind\":" << (frame.IsCursor() ? "\"cursor\"" : "\"icon\"") << ",\"images\":[";
    for (int i = 0; i < frame.Count(); ++i) {
        const TIconDirectoryEntry& entry = frame.GetEntry(i);
        out << (i ? "," : "") << "{\"width\":" << entry.ImageWidth()
            << ",\"height\":" << entry.ImageHeight() << ",\"bitCount\":" << entry.BitCount
            << ",\"hotspot\":{\"x\":" << entry.HotspotX << ",\"y\":" << entry.HotspotY << "}}";
    }
    out << "]}";
}

template <typename T> void WriteList(TTextBuffer& out, const std::vector<T>& values, char separator)
{
    for (size_t i = 0; i < values.size(); ++i)
        out << (i ? std::string(1, separator) : std::string()) << values[i];
}

} // namespace

std::string HotspotText(const TIconDirectory& document, int index)
{
    if (!document.IsCursor())
        return std::string();
    const TIconDirectoryEntry& entry = document.GetEntry(index);
    std::string text(", hotspot ");
    text.append(std::to_string(entry.HotspotX)).append(",").append(std::to_string(entry.HotspotY));
    return text;
}

bool DescribeAnimatedCursor(TTextBuffer& out, const std::string& name, bool json)
{
    TAnimatedCursor cursor;
    std::string error;
    try {
        cursor = ReadAnimatedCursorFile(name);
    } catch (const std::exception& cause) {
        error = cause.what();
    }
    if (!error.empty()) {
        PrintError(FormatText(Messages::IconFileNotOpened, { name }));
        PrintError(error);
        if (json)
            out << ",\"status\":null,\"error\":" << JsonString(PlainLineEnds(error)) << "}";
        return false;
    }
    if (json)
        out << ",\"kind\":\"animated cursor\",\"title\":" << JsonString(cursor.Title)
            << ",\"artist\":" << JsonString(cursor.Artist) << ",\"frames\":[";
    else
        out << name << ": animated cursor, " << cursor.Frames.size()
            << (cursor.Frames.size() == 1 ? " frame, " : " frames, ") << cursor.Sequence.size()
            << (cursor.Sequence.size() == 1 ? " step" : " steps");
    if (!json && !cursor.Title.empty())
        out << ", title \"" << cursor.Title << "\"";
    if (!json && !cursor.Artist.empty())
        out << ", artist \"" << cursor.Artist << "\"";
    if (!json)
        out << "\n";
    bool whole = true;
    for (size_t f = 0; f < cursor.Frames.size(); ++f) {
        TIconDirectory frame;
        try {
            // The description needs the headers only.
            if (!frame.LoadFromBytes(name, cursor.Frames[f], true))
                throw Exception(std::string(StatusText(frame.Status())));
        } catch (const std::exception& cause) {
            PrintError(FormatText(Messages::AniFrameName, { name, std::to_string(f) }));
            PrintError(cause.what());
            whole = false;
        }
        if (json)
            WriteFrameJson(out, frame, f);
        else
            WriteFrameText(out, frame, f);
    }
    if (json) {
        out << "],\"steps\":[";
        WriteList(out, cursor.Sequence, ',');
        out << "],\"rates\":[";
        WriteList(out, cursor.Rates, ',');
        out << "]}";
    } else {
        out << "  steps: ";
        WriteList(out, cursor.Sequence, ' ');
        out << "\n  rates (1/60 s): ";
        WriteList(out, cursor.Rates, ' ');
        out << "\n";
    }
    return whole;
}

void SaveCursorImage(const TIconDirectory& cursor, int index, const std::string& target)
{
    TIconDirectory single;
    single.SetKind(TIconDirectory::EKind::Cursor);
    if (single.AddImage(&cursor.GetImage(index), &cursor.GetEntry(index)) != ResultOk
        || !single.SaveToFile(target))
        throw Exception(std::string(StatusText(single.Status())));
}

int ExtractAnimatedCursor(const std::string& name, const std::filesystem::path& outDir, bool png)
{
    TAnimatedCursor cursor;
    try {
        cursor = ReadAnimatedCursorFile(name);
    } catch (const std::exception& cause) {
        PrintError(FormatText(Messages::IconFileNotOpened, { name }));
        PrintError(cause.what());
        return ExitFailed;
    }
    const std::string stem = std::filesystem::path(name).stem().string();
    int status = ExitOk;
    for (size_t f = 0; f < cursor.Frames.size(); ++f) {
        std::string base = stem;
        base.append("-").append(std::to_string(f));
        std::filesystem::path target = outDir / base;
        target += ".cur";
        try {
            if (!png) {
                WriteFileAtomically(target, cursor.Frames[f]);
                WriteOut(target.string() + "\n");
                continue;
            }
            TIconDirectory frame;
            if (!frame.LoadFromBytes(name, cursor.Frames[f]))
                throw Exception(std::string(StatusText(frame.Status())));
            for (int i = 0; i < frame.Count(); ++i) {
                std::string file = base;
                if (frame.Count() > 1)
                    file.append("-").append(std::to_string(i));
                target = outDir / file.append(".png");
                WriteFileAtomically(target, EncodePng(IconPicture(*frame.GetImage(i).Icon)));
                WriteOut(target.string() + "\n");
            }
        } catch (const std::exception& error) {
            PrintError(std::string(Messages::FileNotSaved) + target.string());
            PrintError(error.what());
            status = ExitFailed;
        }
    }
    return status;
}

} // namespace velmora::cli
