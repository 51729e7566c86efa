#include "filesystem.h"

#include "cp932.h"
#include "name_order.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace platform {

DirEntry DirectoryListing::operator[](std::size_t index) const
{
    const Item &item = m_items[index];
    const std::uint32_t idSlot = item.kindAndId & ((1u << kIdBits) - 1);
    return {name(item.name, item.nameLength), name(item.nativeName, item.nativeLength),
            static_cast<EntryKind>(item.kindAndId >> kIdBits), idSlot != 0 ? m_ids[idSlot - 1] : FileId{}};
}

std::string_view DirectoryListing::name(NameRef ref, std::size_t length) const
{
    return {m_blocks[ref >> kBlockBits].get() + (ref & (kBlockSize - 1)), length};
}

DirectoryListing::NameRef DirectoryListing::store(std::string_view text)
{
    // A file name is at most a few hundred bytes: it always fits one block.
    if (m_blockUsed + text.size() > kBlockSize) {
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        m_blockUsed = 0;
    }
    std::copy(text.begin(), text.end(), m_blocks.back().get() + m_blockUsed);
    const auto ref = static_cast<NameRef>((m_blocks.size() - 1) << kBlockBits | m_blockUsed);
    m_blockUsed += text.size();
    return ref;
}

void DirectoryListing::popFront()
{
    m_items.pop_front();
    if (m_sorted || m_blocks.empty())
        return;
    // Names were stored in the entries' order, each entry's name before its
    // real name: no entry left holds a name in a block before the first
    // one's. The block being filled stays.
    const std::size_t firstLive = std::min(
        m_items.empty() ? m_blocks.size() : std::size_t(m_items.front().name >> kBlockBits), m_blocks.size() - 1);
    for (; m_firstHeldBlock < firstLive; ++m_firstHeldBlock)
        m_blocks[m_firstHeldBlock].reset();
}

void DirectoryListing::add(std::string_view name, std::string_view nativeName, EntryKind kind, FileId id)
{
    std::uint32_t idSlot = 0;
    if (id.known()) {
        if (m_ids.size() + 1 >= (std::size_t(1) << kIdBits))
            throw std::length_error("too many links in one folder");
        m_ids.push_back(id);
        idSlot = static_cast<std::uint32_t>(m_ids.size());
    }
    Item item{};
    item.name = store(name);
    item.nameLength = static_cast<std::uint16_t>(name.size());
    // The usual case, an ASCII name, is stored once.
    item.nativeName = nativeName == name ? item.name : store(nativeName);
    item.nativeLength = static_cast<std::uint16_t>(nativeName.size());
    item.kindAndId = static_cast<std::uint32_t>(kind) << kIdBits | idSlot;
    m_items.push_back(item);
}

namespace {

// A name as the sort sees it: 8 bytes of it from some depth on, folded to
// upper case and read as one big-endian number, so that comparing two
// numbers compares the 8 bytes as nameSortsBefore() would for ASCII names,
// without going back to the names. Only names that share those 8 bytes are
// read again, 8 bytes further on.
struct SortKey {
    std::uint64_t chunk;
    std::uint32_t item;
    // Bytes of the name from this depth on, 9 standing for "more than 8":
    // after equal chunks, a name that ends first sorts first.
    std::uint32_t rest;

    bool operator<(const SortKey &other) const
    {
        return chunk != other.chunk ? chunk < other.chunk : rest < other.rest;
    }
    bool sameBytes(const SortKey &other) const { return chunk == other.chunk && rest == other.rest; }
};

// Bytes from..from+8 of an ASCII name (zeros past its end), 'a' to 'z'
// folded to upper case, the first byte the most significant.
std::uint64_t foldedChunk(std::string_view name, std::size_t from)
{
    std::uint64_t bytes = 0;
    if (from + 8 <= name.size())
        std::memcpy(&bytes, name.data() + from, 8); // one load
    else if (from < name.size())
        std::memcpy(&bytes, name.data() + from, name.size() - from);
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x80 * kOnes;
    // Every byte is below 0x80, so no sum carries into the next byte: a byte
    // from 'a' on reaches 0x80 in the first, one beyond 'z' in the second.
    const std::uint64_t fromA = bytes + (0x80 - 'a') * kOnes;
    const std::uint64_t beyondZ = bytes + (0x80 - 'z' - 1) * kOnes;
    const std::uint64_t lower = fromA & ~beyondZ & kHighBits;
    bytes -= lower >> 2; // 0x80 >> 2: the distance from 'a' to 'A'
    if constexpr (std::endian::native == std::endian::little)
        bytes = __builtin_bswap64(bytes);
    return bytes;
}

} // namespace

void DirectoryListing::sortByName()
{
    // ASCII names (nearly all) are sorted by their folded bytes, 8 at a
    // time, in keys of 16 bytes held only while sorting; the others by
    // nameSortsBefore() itself, and the two runs merged. The order is
    // nameSortsBefore()'s either way: for ASCII names it compares exactly
    // the folded bytes, then, for names equal but for case, the bytes.
    //
    // The items are sorted out of the deque, whose random access costs
    // more than the sort's own work, and put back; the deque is given up
    // meanwhile, so that items and keys are never held twice.
    std::vector<Item> items(m_items.begin(), m_items.end());
    std::deque<Item>().swap(m_items);
    const auto nativeOf = [this, &items](std::uint32_t index) {
        return name(items[index].nativeName, items[index].nativeLength);
    };
    const auto keyBefore = [&nativeOf](const SortKey &a, const SortKey &b) {
        return nameSortsBefore(nativeOf(a.item), nativeOf(b.item));
    };
    std::vector<SortKey> keys(items.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = {0, static_cast<std::uint32_t>(i), 0};
    const auto ascii = std::partition(keys.begin(), keys.end(),
                                      [&nativeOf](const SortKey &key) { return cp932::isAscii(nativeOf(key.item)); });

    // Keys [first, last) share their first `depth` folded bytes.
    using Key = std::vector<SortKey>::iterator;
    const auto sortAscii = [&](auto &self, Key first, Key last, std::size_t depth) -> void {
        if (last - first < 2)
            return;
        // Past the first pass the names are read in no order: each is asked
        // for a few keys ahead, so that the reads overlap.
        constexpr std::ptrdiff_t kAhead = 8;
        for (Key key = first; key != last; ++key) {
            if (last - key > kAhead)
                __builtin_prefetch(nativeOf((key + kAhead)->item).data());
            const std::string_view name = nativeOf(key->item);
            key->chunk = foldedChunk(name, depth);
            key->rest = static_cast<std::uint32_t>(std::min<std::size_t>(name.size() - depth, 9));
        }
        // Names share long beginnings ("user@www.example..."): where all
        // share these 8 bytes too, no sort is needed to know it.
        if (!std::all_of(first + 1, last, [&first](const SortKey &key) { return key.sameBytes(*first); }))
            std::sort(first, last);
        // Each run of the same 8 bytes: on to the next 8, or, where the
        // names end there, the same name but for letter case.
        for (Key run = first; run != last;) {
            const Key end = std::find_if(run + 1, last, [&run](const SortKey &key) { return !key.sameBytes(*run); });
            if (run->rest > 8)
                self(self, run, end, depth + 8);
            else
                std::sort(run, end, [&nativeOf](const SortKey &a, const SortKey &b) {
                    return nativeOf(a.item) < nativeOf(b.item);
                });
            run = end;
        }
    };
    sortAscii(sortAscii, keys.begin(), ascii, 0);
    if (ascii != keys.end()) {
        std::sort(ascii, keys.end(), keyBefore);
        // Merged from the back, with the (usually few) other names aside.
        const std::vector<SortKey> others(ascii, keys.end());
        auto out = keys.end();
        auto left = ascii;
        auto right = others.end();
        while (right != others.begin()) {
            if (left != keys.begin() && keyBefore(*(right - 1), *(left - 1)))
                *--out = *--left;
            else
                *--out = *--right;
        }
    }

    // The items into the keys' order, in place, cycle by cycle: the item
    // for place i is item keys[i].item.
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].item == i)
            continue;
        const Item held = items[i];
        std::size_t place = i;
        for (;;) {
            const std::size_t from = keys[place].item;
            keys[place].item = static_cast<std::uint32_t>(place);
            if (from == i) {
                items[place] = held;
                break;
            }
            items[place] = items[from];
            place = from;
        }
    }
    std::vector<SortKey>().swap(keys);
    m_items.assign(items.begin(), items.end());
    m_sorted = true;
}

void DirectoryListing::prefetchNames(std::size_t from, std::size_t count) const
{
    for (std::size_t index = from; index < std::min(m_items.size(), from + count); ++index) {
        const Item &item = m_items[index];
        __builtin_prefetch(name(item.nativeName, item.nativeLength).data());
    }
}

NamedPath namedPath(std::string native)
{
    std::string shown = shownName(native);
    return {std::move(native), std::move(shown)};
}

} // namespace platform
