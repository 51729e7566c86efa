#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The separator between folders in a path on this platform.
inline constexpr char kPathSeparator = '/';

// The folder part of a CP932 path: everything up to and including its last
// separator, found character by character; empty when there is none.
std::string_view folderPart(std::string_view path);

// A CP932 path in the form the operating system takes.
std::string toNativePath(std::string_view path);

enum class EntryKind : std::uint8_t {
    File,        // a regular file
    Link,        // a symbolic link to a regular file in the folder or below, or one that leads nowhere
    OutsideLink, // a symbolic link to a regular file elsewhere: never read through
    Directory,   // a folder, or a link to one
    Other,       // a pipe, socket or device (or a link to one): never read, it could block
};

// One entry of a folder: the CP932 name that the program shows, matches and
// numbers, and the real name that opening and deleting use. They differ when
// the real name holds a character that CP932 lacks (shown as "?").
struct DirEntry {
    std::string_view name;
    std::string_view nativeName;
    EntryKind kind;
};

// The entries of one folder that matched a mask, sorted by name without
// regard to case. Names are kept in large blocks and entries in a deque, so
// that a listing of 100,000 files costs little more than their bytes and
// growing it never copies what it already holds.
class DirectoryListing {
public:
    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    DirEntry operator[](std::size_t index) const;

    void add(std::string_view name, std::string_view nativeName, EntryKind kind);
    // Sorts by name.
    void finish();

private:
    // Where a name is kept: block number << kBlockBits | offset in the block.
    using NameRef = std::uint32_t;
    struct Item {
        NameRef name;
        NameRef nativeName;
        std::uint16_t nameLength;
        std::uint16_t nativeLength;
        EntryKind kind;
    };
    static constexpr unsigned kBlockBits = 16;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;

    NameRef store(std::string_view text);
    std::string_view name(NameRef ref, std::size_t length) const;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_blockUsed = kBlockSize;
    std::deque<Item> m_items;
};

// Enumerates the entries that a CP932 mask (folder + separator + pattern)
// matches, with the wildcards of matchesMask(). Wildcards act only in the
// last component: a mask whose folder part holds one lists nothing. A folder
// that cannot be read lists nothing. "." and ".." are listed when the pattern
// matches them.
DirectoryListing findFiles(std::string_view mask);

enum class ReadResult { Ok, OpenFailed, ReadFailed };

enum class FileCheck {
    MustBeRegular,      // refuse anything but a regular file (or a link to one)
    ListedAsRegularFile // the folder listed it as a regular file: no need to ask again
};

// Reads a whole file opened read-only into `contents` (replacing it, keeping
// its capacity). Opening never blocks, whatever the path leads to.
ReadResult readWholeFile(const std::string &nativePath, std::string &contents,
                         FileCheck check = FileCheck::MustBeRegular);

// Deletes a file; a symbolic link is removed, never its target. True when it
// was deleted.
bool deleteFile(const std::string &nativePath);

} // namespace platform
