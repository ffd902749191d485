#pragma once

#include "graphics/bitmap.h"
#include "icons/icon_directory_entry.h"
#include "icons/icon_directory_image.h"
#include "messages/result_codes.h"
#include "support/byte_io.h"
#include "support/string_list.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velmora
{

class IClipboard;

/// An entry of an icon file whose image could not be read, and why.
struct TUnreadableImage {
    int Index = 0; // its position in the file's directory
    TIconDirectoryEntry Entry; // as the file holds it; zero when the directory itself is cut
    std::string Reason;
};
class TAtomicFileWriter;
class TFileReader;

/// The in-memory model of one icon (.ico) file: its images, each with its directory entry and
/// its data. Entries and Images are index-parallel and Count equals their length after every
/// completed operation. Operations report refusals by result codes (kept in Status) and raise
/// the core's general error, with nested texts, when a file step fails.
class TIconDirectory
{
public:
    /// What a file holds: icons (type 1) or cursors (type 2), whose entries carry a hotspot.
    enum class EKind : uint16_t { Icon = 1, Cursor = 2 };

    TIconDirectory();
    virtual ~TIconDirectory();
    TIconDirectory(const TIconDirectory&) = delete;
    TIconDirectory& operator=(const TIconDirectory&) = delete;

    /// Number of images.
    uint16_t Count() const { return m_count; }
    /// Result code of the last load, save or edit.
    int Status() const { return m_status; }
    /// Path of the file last loaded or saved; empty when there is none.
    const std::string& FileName() const { return m_fileName; }
    void SetFileName(std::string name) { m_fileName = std::move(name); }
    /// Whether the document is an icon or a cursor; a load takes the file's kind, a save
    /// writes it. Making a document an icon forgets its hotspots.
    EKind Kind() const { return m_kind; }
    bool IsCursor() const { return m_kind == EKind::Cursor; }
    void SetKind(EKind kind);
    /// Sets the hotspot of the image at index; false when there is no such image or the point
    /// lies outside the image.
    bool SetHotspot(int index, int x, int y);

    // Editing.
    /// Appends a copy of an image of another document; a code of the result table.
    virtual int AddImage(const TIconDirectoryImage* source, const TIconDirectoryEntry* sourceEntry);
    /// Deletes the image at index; 0, or -121 when there is none.
    virtual int DeleteImage(int index);
    /// Deletes the images at the given indices (others are ignored) in one pass; 0.
    int DeleteImages(const std::vector<int>& indices);
    /// Inserts a copy of an image at index (appends when index is not below Count).
    virtual int InsertImage(
        const TIconDirectoryImage* source, const TIconDirectoryEntry* sourceEntry, int index);

    // Files.
    /// Replaces the document by the images of an icon file; true when completed.
    virtual bool LoadFromFile(const std::string& name);
    /// LoadFromFile, with the same checks, results and errors, for a document that only
    /// describes the file: each image keeps its first bytes (its bitmap header or PNG
    /// signature), not its data, so that the file is read no further than its headers. Such
    /// images can be neither drawn nor saved.
    bool LoadHeadersFromFile(const std::string& name);
    /// LoadFromFile of an icon or cursor file held in memory (a frame of an animated cursor,
    /// a group of a program file); name becomes the document's FileName.
    bool LoadFromBytes(const std::string& name, Bytes bytes, bool headersOnly = false);
    /// LoadFromFile that keeps what a damaged file still holds: every image that can be read
    /// and decoded is loaded, in the file's order; each other entry goes into unreadable with
    /// its reason. A file none of whose images can be read is refused as LoadFromFile refuses
    /// it.
    bool LoadReadableFromFile(const std::string& name, std::vector<TUnreadableImage>& unreadable);
    /// Writes the document as an icon file; true when completed. The file it replaces stays
    /// whole until the new one is completely written.
    virtual bool SaveToFile(const std::string& name);
    /// Removes every image and forgets the file name.
    void Clear();
    /// Puts these entries and images in place of the document's, as they are: no format check,
    /// offsets kept. An undo puts an earlier state back this way. The lists must be of one
    /// length, at most MaxImages; otherwise the document is left alone and false returned.
    bool ReplaceContent(std::vector<std::unique_ptr<TIconDirectoryEntry>> entries,
        std::vector<std::unique_ptr<TIconDirectoryImage>> images);

    // Bitmaps.
    /// Makes a new image from a true-colour bitmap of 4 to 72 pixels a side: its pixels are
    /// the colours, the pixels of its bottom-left pixel's colour become the transparent mask.
    /// 0, index + 1 of an image of the same format, or a refusal code.
    virtual int ImportBitmap(const TBitmap& bitmap);
    /// ImportBitmap of a .bmp file; -99 when the file does not exist.
    virtual int ImportBitmapFile(const std::string& fileName);
    /// ImportBitmap of the clipboard's picture, always made a 24-bit image.
    virtual int ImportBitmapFromClipboard();
    /// Puts an image, rendered over a background colour at its own depth, on the clipboard.
    virtual int CopyImageToClipboard(int index, TColor backColor);
    /// Writes an image, rendered over a background colour at its own depth, as a .bmp file.
    virtual int ExportImageToBitmapFile(const std::string& fileName, int index, TColor backColor);
    /// An image rendered over a background colour (ColorNone: black) into a bitmap of its own
    /// size and depth; 8-bit images get a palette made for the picture.
    TBitmap RenderImageToBitmap(int index, TColor backColor) const;
    /// The clipboard that the clipboard operations use; not owned, it must outlive its use.
    void SetClipboard(IClipboard* clipboard) { m_clipboard = clipboard; }

    /// Entry and image at an index; an index outside 0..Count-1 raises EListError.
    TIconDirectoryEntry& GetEntry(int index);
    const TIconDirectoryEntry& GetEntry(int index) const;
    TIconDirectoryImage& GetImage(int index);
    const TIconDirectoryImage& GetImage(int index) const;

    /// Number of distinct bit counts and of distinct sizes among the images.
    uint16_t CountColorDepths() const;
    uint16_t CountSizes() const;

    /// Sorts the images by bit count, width and height.
    void SortImages();
    /// Index of the first image whose stored bit count, width and height are these, or -1.
    int FindFormat(int bitCount, int width, int height) const;
    /// Sorted format lists: distinct bit counts; distinct sizes; every image's format and index.
    void GetColorDepthList(TStringList& list) const;
    void GetSizeList(TStringList& list) const;
    void GetFormatList(TStringList& list) const;
    /// Value of a hexadecimal text (32-bit, wrapping); raises EConvertError on other characters.
    static int32_t HexToInt(std::string_view text);
    /// Lays the images out back to back after the directory and 6 spare bytes per image.
    void RecalcOffsets();

    /// Clears a stream and writes the 22-byte header of a one-image icon file for an entry.
    static void WriteSingleImageHeader(Bytes& stream, const TIconDirectoryEntry& entry);
    /// Writes the 22-byte header of a one-image icon file for an entry at out.
    static void WriteSingleImageHeader(uint8_t* out, const TIconDirectoryEntry& entry);
    static constexpr uint32_t SingleImageHeaderSize = 22;

    /// Checks that an image can be decoded, raising the decoder's error when it cannot. Saves
    /// refuse images that fail it.
    static void CheckIconImage(const TIcon& icon);

    /// The most images an icon file can hold.
    static constexpr int MaxImages = 65535;

protected:
    // The file steps. They work on the file named FileName; each raises on failure with its
    // own text around the cause.
    int ReadIconFileHeader(const std::string& name);
    bool ReadIconEntries();
    bool ReadIconImages();
    uint16_t WriteIconFileHeader(const std::string& name);
    bool WriteIconEntries();
    bool WriteIconImages();
    /// True when every image lies after the directory and no two images overlap.
    bool OffsetsAreSound() const;
    /// Copies bytes of the file being loaded, from the bytes read at its start when they lie
    /// there, else from the file.
    void ReadLoadBytes(uint64_t offset, uint8_t* out, size_t count) const;
    /// Reads the image of entry i of the file being loaded; raises when it cannot be read.
    std::unique_ptr<TIconDirectoryImage> ReadIconImage(
        size_t i, uint64_t fileSize, uint64_t budget, uint64_t& held);
    /// Keeps an entry that could not be read when the load keeps what it can, else raises
    /// the reason.
    void KeepUnreadable(int index, const TIconDirectoryEntry& entry, std::string reason);

    void SetStatus(int status) { m_status = status; }
    /// Appends an entry and its image, lays the offsets out anew and sets Status 0.
    void AppendImage(
        std::unique_ptr<TIconDirectoryEntry> entry, std::unique_ptr<TIconDirectoryImage> image);

private:
    int ImportChecked(const TBitmap& bitmap, int width, int height, int bitCount,
        int formatBitCount, TPixelFormat target);
    int CopyImageInto(const TIconDirectoryImage* source, const TIconDirectoryEntry* sourceEntry,
        int index, int noIconCode, int noEntryCode, int noEntryStatus, int tooManyCode);
    void CheckIndex(int index) const;

    uint16_t m_count = 0;
    int m_status = 0;
    EKind m_kind = EKind::Icon;
    EKind m_loadKind = EKind::Icon;
    std::unique_ptr<TFileReader> m_pendingReader; // the bytes LoadFromBytes loads
    std::string m_fileName;
    std::vector<std::unique_ptr<TIconDirectoryEntry>> m_entries;
    std::vector<std::unique_ptr<TIconDirectoryImage>> m_images;

    // State of a load or save in progress: the file's bytes and the entries and images read so
    // far (moved into the document only when the whole load succeeded), or the file being written.
    std::unique_ptr<TFileReader> m_loadFile;
    TByteBuffer m_loadBytes;
    std::vector<std::unique_ptr<TIconDirectoryEntry>> m_loadEntries;
    std::vector<std::unique_ptr<TIconDirectoryImage>> m_loadImages;
    bool m_loadHeadersOnly = false;
    bool m_loadReadable = false;
    std::vector<TUnreadableImage> m_unreadable;
    // The decoding checks of a lenient load by offset and size of the data: "" when it decodes.
    std::map<std::pair<uint64_t, uint64_t>, std::string> m_inspected;
    std::unique_ptr<TAtomicFileWriter> m_writer;
    IClipboard* m_clipboard = nullptr;
};

/// Loads a colour bitmap and its mask bitmap and joins them into a 32-bit bitmap whose alpha
/// is the mask's red channel. 0, or ResultMaskSizeDiffers or ResultMaskUnusable when the pair
/// cannot be joined (bitmap is then left alone). Loading errors are raised.
int LoadBitmapWithMask(
    const std::string& fileName, const std::string& maskFileName, TBitmap& bitmap);

/// The message that refuses a mask whose size differs from its bitmap's, with both sizes.
std::string MaskSizeRefusal(const std::string& fileName, const std::string& maskFileName);

} // namespace velmora
