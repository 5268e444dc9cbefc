// The checker's lists of mark names: names in the order they were first met, with a flat
// open-addressing index beside them. The index is sized once, from the number of lines, before
// the first pass (a program cannot define or use more names than it has lines), so it never
// grows or rehashes, and a slot holds the name's hash and position, no node per name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quarzel {

class NameList {
  public:
    // Room for up to `maxNames` names.
    explicit NameList(std::size_t maxNames);

    // The lookups take the name's hash (hashOf), so that a caller can compute it early and
    // prefetch the slot (prefetch) while it does other work: a long program's lists are far
    // larger than the processor's caches.
    static std::uint32_t hashOf(std::string_view name);
    void prefetch(std::uint32_t hash) const {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(&m_slots.get()[hash & m_mask]);
#endif
    }
    // Once the slot has arrived: fetches the name it points to, which the lookup compares.
    void prefetchName(std::uint32_t hash) const {
#if defined(__GNUC__) || defined(__clang__)
        const std::int32_t position = m_slots.get()[hash & m_mask].position;
        if (position >= 0) {
            __builtin_prefetch(&m_names[static_cast<std::size_t>(position)]);
        }
#endif
    }

    // The position of `name`, or -1.
    int indexOf(std::string_view name, std::uint32_t hash) const;
    int indexOf(std::string_view name) const {
        return indexOf(name, hashOf(name));
    }
    // Appends a name the list does not hold yet and returns its position.
    int append(std::string name, std::uint32_t hash);
    int indexOrAppend(std::string name, std::uint32_t hash);

    const std::string& at(int position) const {
        return m_names[static_cast<std::size_t>(position)];
    }
    int count() const {
        return static_cast<int>(m_names.size());
    }

  private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t position = -1;  // -1: empty
    };
    // The slot that holds `name`, or the empty slot where it would go.
    std::size_t find(std::string_view name, std::uint32_t hash) const;

    struct FreeSlots {
        void operator()(Slot* slots) const;
    };

    std::vector<std::string> m_names;
    std::unique_ptr<Slot, FreeSlots> m_slots;
    std::size_t m_mask = 0;
};

}  // namespace quarzel
