#include "filesystem.h"

#include "name_order.h"

#include <algorithm>

namespace platform {

DirEntry DirectoryListing::operator[](std::size_t index) const
{
    const Item &item = m_items[index];
    return {name(item.name, item.nameLength), name(item.nativeName, item.nativeLength), item.kind, item.id};
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

void DirectoryListing::add(std::string_view name, std::string_view nativeName, EntryKind kind, FileId id)
{
    Item item{};
    item.name = store(name);
    item.nameLength = static_cast<std::uint16_t>(name.size());
    // The usual case, an ASCII name, is stored once.
    item.nativeName = nativeName == name ? item.name : store(nativeName);
    item.nativeLength = static_cast<std::uint16_t>(nativeName.size());
    item.kind = kind;
    item.id = id;
    m_items.push_back(item);
}

void DirectoryListing::sortByName()
{
    std::sort(m_items.begin(), m_items.end(), [this](const Item &a, const Item &b) {
        return nameSortsBefore(name(a.nativeName, a.nativeLength), name(b.nativeName, b.nativeLength));
    });
}

NamedPath namedPath(std::string native)
{
    std::string shown = shownName(native);
    return {std::move(native), std::move(shown)};
}

} // namespace platform
