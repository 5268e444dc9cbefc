#include "checker/name_list.h"

#include <cstdlib>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace quarzel {
namespace {

// A long program's slot table is many megabytes, looked up at random: on Linux it goes into
// huge pages where the system offers them, which saves a page fault per 4 KiB when it is
// filled and most of the address translation misses when it is searched.
#ifdef __linux__
constexpr std::size_t kHugePage = std::size_t{2} * 1024 * 1024;
#endif

void* allocateSlots(std::size_t bytes) {
#ifdef __linux__
    if (bytes >= kHugePage) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        if (void* memory = std::aligned_alloc(kHugePage, rounded)) {
            ::madvise(memory, rounded, MADV_HUGEPAGE);  // only advice: failing is harmless
            return memory;
        }
        throw std::bad_alloc();
    }
#endif
    if (void* memory = std::malloc(bytes)) {
        return memory;
    }
    throw std::bad_alloc();
}

}  // namespace

void NameList::FreeSlots::operator()(Slot* slots) const {
    std::free(slots);
}

NameList::NameList(std::size_t maxNames) {
    // At most half full, so that a probe ends after a few slots.
    std::size_t size = 16;
    while (size < 2 * maxNames) {
        size *= 2;
    }
    m_slots.reset(static_cast<Slot*>(allocateSlots(size * sizeof(Slot))));
    std::uninitialized_fill_n(m_slots.get(), size, Slot{});
    m_mask = size - 1;
    m_names.reserve(maxNames);
}

std::uint32_t NameList::hashOf(std::string_view name) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    // Names often differ only in their last digits ("MARKE17", "MARKE18"): mix every bit into
    // the low ones that pick the slot, or the probes run into long clusters.
    hash ^= hash >> 16;
    hash *= 0x7feb352du;
    hash ^= hash >> 15;
    hash *= 0x846ca68bu;
    return hash ^ (hash >> 16);
}

std::size_t NameList::find(std::string_view name, std::uint32_t hash) const {
    std::size_t slot = hash & m_mask;
    while (m_slots.get()[slot].position >= 0) {
        const Slot& s = m_slots.get()[slot];
        if (s.hash == hash && m_names[static_cast<std::size_t>(s.position)] == name) {
            return slot;
        }
        slot = (slot + 1) & m_mask;
    }
    return slot;
}

int NameList::indexOf(std::string_view name, std::uint32_t hash) const {
    return m_slots.get()[find(name, hash)].position;
}

int NameList::append(std::string name, std::uint32_t hash) {
    Slot& slot = m_slots.get()[find(name, hash)];
    slot.hash = hash;
    slot.position = count();
    m_names.push_back(std::move(name));
    return slot.position;
}

int NameList::indexOrAppend(std::string name, std::uint32_t hash) {
    Slot& slot = m_slots.get()[find(name, hash)];
    if (slot.position < 0) {
        slot.hash = hash;
        slot.position = count();
        m_names.push_back(std::move(name));
    }
    return slot.position;
}

}  // namespace quarzel
