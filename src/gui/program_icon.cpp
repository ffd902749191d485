#include "program_icon.h"

#include "graphics/icon_decoder.h"
#include "icons/icon_directory_entry.h"
#include "qt_bitmap.h"
#include "support/byte_io.h"

#include <QFile>
#include <QPixmap>
#include <map>

// The resources of a static library are registered by name, from the global namespace.
static void InitProgramIconResource()
{
    Q_INIT_RESOURCE(program_icon);
}

namespace velmora
{

namespace
{

// The theme's pictures larger than the .ico's images, which the import takes at 4 to 72
// pixels.
constexpr int ThemeOnlySizes[] = { 128, 256 };

// For each size of the icon file's images the deepest one, decoded; images that do not
// decode, or lie outside the file, are passed over.
std::map<int, TIconImage> DeepestImages(const QByteArray& file)
{
    std::map<int, TIconImage> result;
    const auto* data = reinterpret_cast<const uint8_t*>(file.constData());
    const auto size = static_cast<uint64_t>(file.size());
    if (size < 6)
        return result;
    const uint16_t count = ReadU16(data + 4); // idCount(2)
    for (uint16_t i = 0; i < count; ++i) {
        const uint64_t record = 6 + uint64_t { i } * TIconDirectoryEntry::RecordSize;
        if (record + TIconDirectoryEntry::RecordSize > size)
            break;
        TIconDirectoryEntry entry;
        entry.ReadFromRecord(data + record);
        if (uint64_t { entry.ImageOffset } + entry.BytesInRes > size)
            continue;
        try {
            TIconImage image
                = DecodeIconImage(ByteSpan(data + entry.ImageOffset, entry.BytesInRes));
            const auto known = result.find(image.Width());
            if (image.Width() == image.Height()
                && (known == result.end() || known->second.BitCount < image.BitCount))
                result[image.Width()] = std::move(image);
        } catch (const std::exception&) {
            continue;
        }
    }
    return result;
}

} // namespace

QIcon ProgramIcon()
{
    return QIcon::fromTheme(QString::fromLatin1(ProgramIconName), EmbeddedProgramIcon());
}

QIcon EmbeddedProgramIcon()
{
    InitProgramIconResource();
    QIcon icon;
    QFile file(QString::fromLatin1(ProgramIconResource));
    if (file.open(QIODevice::ReadOnly)) {
        for (const auto& [side, image] : DeepestImages(file.readAll()))
            icon.addPixmap(QPixmap::fromImage(ToQImage(image.Pixels)));
    }
    for (int side : ThemeOnlySizes)
        icon.addFile(QStringLiteral(":/velmora/icons/%1x%1.png").arg(side), QSize(side, side));
    return icon;
}

} // namespace velmora
