#pragma once

#include <cstdint>

namespace Container {

// Base of objects that may carry a list of pending asynchronous entries.
// Entries form a singly linked list owned by the object; the destructor
// frees them all. Nothing in the program adds entries at present, so the
// list is normally empty, but an owner may append entries with AddEntry.
class cAsyncObject
{
public:
    struct sEntry
    {
        virtual ~sEntry() = default;
        sEntry* m_next = nullptr; // the next entry in the list
    };

    cAsyncObject() = default;
    virtual ~cAsyncObject();
    cAsyncObject(const cAsyncObject&) = delete;
    cAsyncObject& operator=(const cAsyncObject&) = delete;

    // Reserved hook for derived objects; the base has nothing pending.
    virtual int PendingCount() const { return 0; }

    // Takes ownership of the entry and puts it at the head of the list.
    void AddEntry(sEntry* entry);
    // Frees every entry and resets both counters.
    void FreeEntries();

    const sEntry* FirstEntry() const { return m_head; }
    uint32_t EntryCount() const { return m_entryCount; }
    uint32_t CompletedCount() const { return m_completedCount; }

private:
    sEntry* m_head = nullptr;
    uint32_t m_entryCount = 0;
    uint32_t m_completedCount = 0;
};

} // namespace Container
