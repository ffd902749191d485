#include "pane/undo_history.h"

#include "icons/icon_directory.h"

#include <algorithm>

namespace velmora
{

TDocumentSnapshot TDocumentSnapshot::Take(const TIconDirectory& document, int revision)
{
    TDocumentSnapshot snapshot;
    snapshot.FileName = document.FileName();
    snapshot.Kind = document.Kind();
    snapshot.Revision = revision;
    snapshot.Entries.reserve(document.Count());
    snapshot.Images.reserve(document.Count());
    for (int i = 0; i < document.Count(); ++i) {
        snapshot.Entries.push_back(document.GetEntry(i));
        const TIconDirectoryImage& image = document.GetImage(i);
        snapshot.Images.push_back(
            { image.Header, image.Icon->Data(), image.Truncated, image.StoredBytesInRes });
    }
    return snapshot;
}

size_t TDocumentSnapshot::SizeOf(const TIconDirectory& document)
{
    size_t size = document.FileName().size();
    for (int i = 0; i < document.Count(); ++i)
        size += sizeof(TIconDirectoryEntry) + sizeof(TImage)
            + document.GetImage(i).Icon->Data().size();
    return size;
}

size_t TDocumentSnapshot::Size() const
{
    size_t size = FileName.size() + Entries.size() * sizeof(TIconDirectoryEntry);
    for (const TImage& image : Images)
        size += sizeof(TImage) + image.Data.size();
    return size;
}

bool TDocumentSnapshot::SameAs(const TIconDirectory& document) const
{
    if (document.FileName() != FileName || document.Kind() != Kind
        || document.Count() != Entries.size())
        return false;
    for (int i = 0; i < document.Count(); ++i) {
        const auto index = static_cast<size_t>(i);
        const TIconDirectoryImage& image = document.GetImage(i);
        if (!(document.GetEntry(i) == Entries[index]) || image.Icon->Data() != Images[index].Data
            || image.Truncated != Images[index].Truncated)
            return false;
    }
    return true;
}

void TDocumentSnapshot::RestoreInto(TIconDirectory& document, bool withFileName) const
{
    std::vector<std::unique_ptr<TIconDirectoryEntry>> entries;
    std::vector<std::unique_ptr<TIconDirectoryImage>> images;
    entries.reserve(Entries.size());
    images.reserve(Images.size());
    for (size_t i = 0; i < Entries.size(); ++i) {
        entries.push_back(std::make_unique<TIconDirectoryEntry>(Entries[i]));
        auto image = std::make_unique<TIconDirectoryImage>();
        image->Header = Images[i].Header;
        image->Icon->LoadFromStream(ByteSpan(Images[i].Data));
        image->Truncated = Images[i].Truncated;
        image->StoredBytesInRes = Images[i].StoredBytesInRes;
        images.push_back(std::move(image));
    }
    if (document.ReplaceContent(std::move(entries), std::move(images)))
        document.SetKind(Kind);
    if (withFileName)
        document.SetFileName(FileName);
}

TUndoHistory::TUndoHistory(size_t stepLimit, size_t byteBudget)
    : m_stepLimit(std::max<size_t>(stepLimit, 1))
    , m_byteBudget(byteBudget)
{
}

void TUndoHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
}

void TUndoHistory::Record(std::string name, bool changesName, TDocumentSnapshot before)
{
    for (const TStep& step : m_redo)
        m_bytes -= step.State.Size();
    m_redo.clear();
    m_bytes += before.Size();
    m_undo.push_back({ std::move(name), changesName, std::move(before) });
    Trim();
}

std::string TUndoHistory::UndoName() const
{
    return m_undo.empty() ? std::string() : m_undo.back().Name;
}

std::string TUndoHistory::RedoName() const
{
    return m_redo.empty() ? std::string() : m_redo.back().Name;
}

TUndoHistory::TStep TUndoHistory::Undo(TDocumentSnapshot now)
{
    TStep step = std::move(m_undo.back());
    m_undo.pop_back();
    m_bytes -= step.State.Size();
    m_bytes += now.Size();
    m_redo.push_back({ step.Name, step.ChangesName, std::move(now) });
    Trim();
    return step;
}

TUndoHistory::TStep TUndoHistory::Redo(TDocumentSnapshot now)
{
    TStep step = std::move(m_redo.back());
    m_redo.pop_back();
    m_bytes -= step.State.Size();
    m_bytes += now.Size();
    m_undo.push_back({ step.Name, step.ChangesName, std::move(now) });
    Trim();
    return step;
}

void TUndoHistory::Trim()
{
    // The steps farthest from the present go first: the oldest undo steps, then the redo
    // steps farthest ahead.
    while (!m_undo.empty() && (m_undo.size() > m_stepLimit || m_bytes > m_byteBudget)) {
        m_bytes -= m_undo.front().State.Size();
        m_undo.pop_front();
    }
    while (!m_redo.empty() && (m_redo.size() > m_stepLimit || m_bytes > m_byteBudget)) {
        m_bytes -= m_redo.front().State.Size();
        m_redo.pop_front();
    }
}

} // namespace velmora
