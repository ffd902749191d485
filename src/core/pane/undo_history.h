#pragma once

#include "graphics/bitmap_info_header.h"
#include "icons/icon_directory.h"
#include "icons/icon_directory_entry.h"
#include "support/byte_io.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace velmora
{

/// A whole icon document as it stood at one moment: its file name, entries and image bytes.
/// Icons are small, so a step of the undo history keeps the document before it as a copy.
struct TDocumentSnapshot {
    struct TImage {
        TBitmapInfoHeader Header;
        Bytes Data;
        bool Truncated = false;
        uint32_t StoredBytesInRes = 0;
    };
    std::string FileName;
    TIconDirectory::EKind Kind = TIconDirectory::EKind::Icon;
    std::vector<TIconDirectoryEntry> Entries;
    std::vector<TImage> Images;
    /// The pane's number for this state of the document; equal numbers mean equal documents.
    int Revision = 0;

    /// A copy of a document.
    static TDocumentSnapshot Take(const TIconDirectory& document, int revision);
    /// The bytes that a snapshot of a document would hold.
    static size_t SizeOf(const TIconDirectory& document);
    /// The bytes this snapshot holds.
    size_t Size() const;
    /// True when the document holds exactly these entries, images and file name.
    bool SameAs(const TIconDirectory& document) const;
    /// Puts the images back into a document; the file name too when withFileName is set.
    void RestoreInto(TIconDirectory& document, bool withFileName) const;
};

/// The undo and redo stacks of one pane. Each step keeps the document before it (undo) or after
/// it (redo). The oldest steps go first when there are more than the step limit or when all
/// steps together hold more than the byte budget.
class TUndoHistory
{
public:
    /// A pane keeps up to 500 steps within 128 MiB: at least 100 steps of icons up to 1 MiB.
    static constexpr size_t DefaultStepLimit = 500;
    static constexpr size_t DefaultByteBudget = size_t { 128 } << 20;

    struct TStep {
        std::string Name;
        /// The step gave the document another file name (New, Close): undo and redo put the
        /// name back with the images. Other steps leave the name a later save gave.
        bool ChangesName = false;
        TDocumentSnapshot State;
    };

    explicit TUndoHistory(
        size_t stepLimit = DefaultStepLimit, size_t byteBudget = DefaultByteBudget);

    void Clear();
    size_t ByteBudget() const { return m_byteBudget; }
    /// Records a completed change named name, given the document as it was before it. The
    /// steps that could be redone are dropped.
    void Record(std::string name, bool changesName, TDocumentSnapshot before);
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    /// Names of the steps that Undo and Redo would take back or do again; empty when none.
    std::string UndoName() const;
    std::string RedoName() const;
    /// Takes the last step back: returns the step with the state to put back, and keeps now
    /// (the document as it is) for Redo. Only when CanUndo.
    TStep Undo(TDocumentSnapshot now);
    /// Does the step last taken back again: returns it with the state to put back, and keeps
    /// now for Undo. Only when CanRedo.
    TStep Redo(TDocumentSnapshot now);
    size_t UndoCount() const { return m_undo.size(); }
    size_t Bytes() const { return m_bytes; }

private:
    /// Drops the oldest steps until the limits hold.
    void Trim();

    size_t m_stepLimit;
    size_t m_byteBudget;
    size_t m_bytes = 0;
    std::deque<TStep> m_undo; ///< oldest first
    std::deque<TStep> m_redo; ///< the next to redo last
};

} // namespace velmora
