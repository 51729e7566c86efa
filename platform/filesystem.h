#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The separator between folders in a path on this platform.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder part of a native path: everything up to and including its last
// separator; empty when there is none. That is the last separator byte, on
// Windows too, where native paths are UTF-8 (a "\" byte is never part of a
// longer character there); on Windows ":" when there is no "\".
std::string_view nativeFolderPart(std::string_view nativePath);

// The CP932 form of a native name or path, as the program shows it. A
// character with no CP932 form shows as "?" and, on Linux, a name that is
// not UTF-8 is taken byte for byte. On Windows a path shows without the
// "\\?\" prefix of long paths. The way back is not the identity ("〜" comes
// back as "～"), so a native path is never rebuilt from this form.
std::string shownName(std::string_view nativeName);

// A path as the system names it and as the program shows it.
// Native paths are the system's own: UTF-8 bytes as Linux has them, and on
// Windows the UTF-16 names of the wide calls kept as UTF-8.
struct NamedPath {
    std::string native; // what every open, listing and deletion uses
    std::string shown;  // CP932: what captions, boxes and messages show
};

// `native` with its shown form.
NamedPath namedPath(std::string native);

// What tells a file from one made later under the same inode number, which
// Linux hands to the next new file at once.
enum class IdWitness : std::uint8_t {
    None,          // nothing (Windows needs none: its file index is not reused so)
    Birth,         // the file's birth time, where the file system keeps one
    Generation,    // else its generation number, where the file system gives one
    ChangeAndSize, // else its change time and its size, as they were when read
    Unproven,      // the same, taken within one tick of the change time's
                   // stamp after the change: a file made anew in that tick,
                   // at the same size, would have the very same; proves nothing
};

// A file's identity: its device and inode on Linux, its volume serial
// number and file index on Windows, and on Linux what kind of file it is.
// Two names with one identity are one file; a file swapped in under a listed
// name has another.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t stamp = 0; // the witness: nanoseconds, or the generation number
    std::uint64_t size = 0;  // with IdWitness::ChangeAndSize
    IdWitness witness = IdWitness::None;
    std::uint8_t type = 0; // Linux: the type bits of its mode (S_IFMT >> 12): a link, a file...
    bool known() const { return volume != 0 || index != 0; }
    friend bool operator==(const FileId &, const FileId &) = default;
};

// A file's own times, as Windows counts them (FILETIME: 100-nanosecond ticks
// since 1601-01-01 UTC), so that they print as the cookies' times do. 0 is
// unknown: a file system that keeps no creation time, or a time before 1601.
struct FileTimes {
    std::uint64_t written = 0; // the last change of its contents
    std::uint64_t created = 0; // its creation, where the file system keeps it
};

enum class EntryKind : std::uint8_t {
    File,        // a regular file
    Link,        // a symbolic link to a regular file in the folder or below, or one that leads nowhere
    OutsideLink, // a symbolic link to a regular file elsewhere: never read through
    Directory,   // a folder, or a link to one
    Other,       // a pipe, socket or device (or a link to one): never read, it could block
};

// One entry of a folder: the CP932 name that the program shows, matches and
// numbers, and the real name that opening and deleting use. They differ when
// the real name holds a character that CP932 lacks (shown as "?"). `id` is
// the entry's own identity where the listing learnt it (for a link: the
// link's, not its target's), unknown otherwise.
// Only links carry one from the listing: an entry of kind Directory with a
// known identity is a link to a folder (on Windows a junction too), which a
// walk through another system's folders does not follow.
struct DirEntry {
    std::string_view name;
    std::string_view nativeName;
    EntryKind kind;
    FileId id;
};

// The entries of one folder that matched a pattern, in the order that the
// platform lists them (on Linux sorted by name without regard to case, as
// the Windows file system keeps them). Names are kept in large blocks and
// entries in a deque, so that a listing of 100,000 files costs little more
// than their bytes and growing it never copies what it already holds.
class DirectoryListing {
public:
    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    DirEntry operator[](std::size_t index) const;

    void add(std::string_view name, std::string_view nativeName, EntryKind kind, FileId id = {});
    // Drops the first entry, so that a pass that takes the entries one by
    // one from the front gives their room back as it goes: in a listing in
    // the platform's own order (not sorted), where the names lie one after
    // another, their room too. A name stays valid until its entry is
    // dropped.
    void popFront();
    // Sorts by name (by nameSortsBefore() on the native names).
    void sortByName();
    // Asks for the names of entries [from, from + count) to be brought near
    // the processor: sorted, they lie anywhere in memory, and a pass that
    // takes entries in order can ask for the next ones while it works.
    void prefetchNames(std::size_t from, std::size_t count) const;

private:
    // Where a name is kept: block number << kBlockBits | offset in the block.
    using NameRef = std::uint32_t;
    // 16 bytes: the sort moves these, and a listing of 100,000 files holds
    // them all at once. Only links carry an identity from the listing, so
    // identities are kept aside and an item holds where its own is.
    struct Item {
        NameRef name;
        NameRef nativeName;
        std::uint16_t nameLength;
        std::uint16_t nativeLength;
        std::uint32_t kindAndId; // kind << kIdBits | index in m_ids + 1 (0: none)
    };
    static constexpr unsigned kBlockBits = 16;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;
    static constexpr unsigned kIdBits = 24;

    NameRef store(std::string_view text);
    std::string_view name(NameRef ref, std::size_t length) const;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_blockUsed = kBlockSize;
    std::size_t m_firstHeldBlock = 0; // the blocks before it have gone
    bool m_sorted = false;            // names no longer in the entries' order
    std::deque<Item> m_items;
    std::vector<FileId> m_ids;
};

enum class ReadResult {
    Ok,
    // Not there to be read, though it was listed: nothing by that name any
    // more, or no longer a file (a folder, a pipe or a device in its place,
    // a link in a file's place, a link that leads nowhere or out of the
    // folder). A browser deletes and remakes its files whenever it likes.
    Gone,
    OpenFailed, // there, but it would not open: no permission, a lock...
    ReadFailed,
    TooBig, // Folder::readFiles() only: left for read() to read alone
};

// One file for Folder::readFiles(): what to read, and what came of it.
struct FileRead {
    std::string_view nativeName;
    EntryKind kind = EntryKind::File;
    ReadResult result = ReadResult::OpenFailed;
    FileId id;         // set as read() sets it
    FileTimes times;   // the file's times as it was opened; unknown when not read
    std::string bytes; // replaced; its room is kept for the next read
};

// What came of Folder::remove().
enum class RemoveOutcome : std::uint8_t {
    Removed,   // the listed file is gone
    NotListed, // the name holds the listed file no more (it went, or another
               // took its place), or never did: nothing was touched
    Failed,    // the listed file is there and the system refused to delete it
};

struct RemoveResult {
    RemoveOutcome outcome = RemoveOutcome::NotListed;
    std::string reason; // Failed: the system's words for why, CP932, without a final full stop
    explicit operator bool() const { return outcome == RemoveOutcome::Removed; }
};

// The system's words for error `code` (errno on Linux, GetLastError() on
// Windows), in CP932, without the full stop or line end that ends them.
std::string systemErrorText(unsigned long code);

// Why a folder cannot be listed.
enum class FolderProblem : std::uint8_t {
    None,         // it opened and may be searched
    Missing,      // there is no such folder
    NotAFolder,   // a file, not a folder
    NoPermission, // no permission to read or to search it
    Unreadable,   // any other failure
};

// One open folder: the cookie folder as it was when a scan listed it. Every
// read and deletion of its files goes through it, so that they reach the
// folder that was listed even when its path has since been made to lead
// elsewhere, and never a file outside it.
class Folder {
public:
    Folder();
    ~Folder();
    Folder(Folder &&) noexcept;
    Folder &operator=(Folder &&) noexcept;

    // Opens the folder `nativePath` (without a trailing separator; the empty
    // path is the root). A folder that cannot be opened (missing, not a
    // folder, no permission) gives a Folder that lists nothing and whose
    // every read fails to open.
    static Folder open(const std::string &nativePath);

    bool isOpen() const;

    // Why this folder lists nothing whatever it holds, or None. A folder
    // that may be read but not searched opens, yet its files cannot.
    FolderProblem problem() const;

    // The entries whose CP932 name matches `pattern` (the wildcards of
    // matchesMask()). A pattern that holds a separator lists nothing: its
    // folder part would hold a wildcard. "." and ".." are listed when the
    // pattern matches them.
    DirectoryListing find(std::string_view pattern) const;

    // Reads entry `nativeName` of this folder whole into `contents`
    // (replacing it), at the size the file had when it was opened: what is
    // appended meanwhile is not part of this read. Only a regular file in
    // this folder (or, through a link of kind Link, below it) is read;
    // anything else is Gone, whatever the name leads to by now, and so is
    // a name that is no longer there. Opening never blocks. On success `id`
    // is the identity of the entry (for a link, left as the caller gave it),
    // and `times`, when given, the times of the file opened. On Linux a file
    // is opened so that reading it leaves its access time alone, where the
    // system lets us (we own it, or may act as its owner): a disk looked at
    // is not changed by looking.
    ReadResult read(std::string_view nativeName, EntryKind kind, std::string &contents, FileId &id,
                    FileTimes *times = nullptr) const;

    // Reads every file of `files` as read() reads one: each gets its own
    // result, bytes and identity, whatever became of the others. On Linux
    // the files are opened, checked and read many at a time through the
    // kernel's asynchronous I/O (no thread of the program's own): the
    // system is entered a few times for all of them instead of four times
    // for each, and on a cold cache the disk serves many files at once
    // instead of one after another.
    // A file over kMostBytesTogether is not read (its result is TooBig), so
    // that one batch never holds much: read() reads it alone.
    void readFiles(std::span<FileRead> files) const;
    static constexpr std::uint64_t kMostBytesTogether = std::uint64_t(1) << 20;

    // Deletes entry `nativeName` (a link itself, never its target), but only
    // while it is still the file `id` that was listed. Removed when deleted;
    // NotListed when the entry is gone or is another file; Failed, with the
    // system's reason, when the listed file is there and stays (no right to
    // change the folder, a read-only file, a file another program holds).
    // On Linux an identity without a witness, or with one that proves
    // nothing (IdWitness::Unproven), is never taken for proof: such a file
    // is not deleted (NotListed).
    RemoveResult remove(std::string_view nativeName, const FileId &id) const;

private:
    // As read(), but a file over `mostBytes` is left unread: TooBig.
    ReadResult readUpTo(std::string_view nativeName, EntryKind kind, std::string &contents, FileId &id,
                        std::uint64_t mostBytes, FileTimes *times) const;

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace platform
