#include "framework/core/AsyncObject.h"

namespace Container {

cAsyncObject::~cAsyncObject()
{
    FreeEntries();
}

void cAsyncObject::AddEntry(sEntry* entry)
{
    if (entry == nullptr)
        return;
    entry->m_next = m_head;
    m_head = entry;
    ++m_entryCount;
}

void cAsyncObject::FreeEntries()
{
    // Iterative, so a long list cannot exhaust the stack.
    sEntry* entry = m_head;
    m_head = nullptr;
    while (entry != nullptr) {
        sEntry* next = entry->m_next;
        delete entry;
        entry = next;
    }
    m_entryCount = 0;
    m_completedCount = 0;
}

} // namespace Container
