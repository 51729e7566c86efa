#include "platform/filesystem.h"

#include "platform/cp932.h"
#include "platform/mask_match.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <memory>
#include <new>

namespace platform {
namespace {

// Owns a kernel handle from CreateFileA.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle &) = delete;
    ScopedHandle &operator=(const ScopedHandle &) = delete;
    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    void reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (valid())
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle;
};

// Owns an enumeration handle from FindFirstFileA.
class ScopedFind {
public:
    explicit ScopedFind(HANDLE handle) : m_handle(handle) {}
    ~ScopedFind()
    {
        if (valid())
            FindClose(m_handle);
    }
    ScopedFind(const ScopedFind &) = delete;
    ScopedFind &operator=(const ScopedFind &) = delete;
    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

// Every attribute is asked for (read-only, hidden, system, volume label,
// folder, archive). An entry that has one of the four special attributes
// the request lacks would be passed over: with all of them asked for, none is.
constexpr DWORD kAskedAttributes = 0x3F;
constexpr DWORD kSpecialAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x08 /* volume label */ | FILE_ATTRIBUTE_DIRECTORY;

bool isAsked(DWORD attributes)
{
    return (attributes & kSpecialAttributes & ~kAskedAttributes) == 0;
}

// The file index of what `handle` has open. Asked alone, without the volume
// serial number that GetFileInformationByHandle looks up for every file
// (Wine reads it afresh each time, which would cost the scan more than
// reading the file): every entry of a folder lies on the folder's volume.
bool fileIndexOf(HANDLE handle, std::uint64_t &index)
{
    struct {
        LARGE_INTEGER IndexNumber;
    } internal{};
    IO_STATUS_BLOCK status{};
    if (NtQueryInformationFile(handle, &status, &internal, sizeof internal, FileInternalInformation) < 0)
        return false;
    index = static_cast<std::uint64_t>(internal.IndexNumber.QuadPart);
    return true;
}

// The final path of what `handle` has open ("\\?\C:\folder\name"), links
// resolved; empty when the system cannot tell.
std::string finalPath(HANDLE handle)
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleA(handle, path.data(), static_cast<DWORD>(path.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1); // too small: `length` is the size it needs
    }
}

// True when the last character of a CP932 path is the separator (a
// double-byte character whose trail byte is 0x5C is not).
bool endsWithSeparator(std::string_view path)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t pos = 0; pos < path.size(); pos += cp932::charLength(path, pos))
        last = pos;
    return last != std::string_view::npos && path[last] == kPathSeparator;
}

// True for a name that cannot reach beyond its folder: no separator of
// either kind, no drive or stream colon. ("." and ".." pass: they name
// folders, which nothing here reads or deletes.)
bool isBareName(std::string_view name)
{
    if (name.empty())
        return false;
    for (std::size_t pos = 0; pos < name.size(); pos += cp932::charLength(name, pos))
        if (name[pos] == '\\' || name[pos] == '/' || name[pos] == ':')
            return false;
    return true;
}

// Opens `path` with no access to its contents, only to ask what it is: a
// folder as well as a file. `flags` may add FILE_FLAG_OPEN_REPARSE_POINT.
HANDLE openToInspect(const std::string &path, DWORD flags)
{
    return CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// Why folder `path` could not be opened, from the error of the attempt. A
// file named as a folder, with a separator after it, fails as a name that
// cannot be: the file itself tells.
FolderProblem problemOfError(DWORD error, const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FolderProblem::NotAFolder;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
        return FolderProblem::Missing;
    case ERROR_ACCESS_DENIED:
        return FolderProblem::NoPermission;
    default:
        return FolderProblem::Unreadable;
    }
}

} // namespace

std::string_view nativeFolderPart(std::string_view nativePath)
{
    std::size_t separator = std::string_view::npos, colon = std::string_view::npos;
    for (std::size_t pos = 0; pos < nativePath.size(); pos += cp932::charLength(nativePath, pos)) {
        if (nativePath[pos] == kPathSeparator)
            separator = pos;
        else if (nativePath[pos] == ':')
            colon = pos;
    }
    const std::size_t last = separator != std::string_view::npos ? separator : colon;
    return last == std::string_view::npos ? std::string_view() : nativePath.substr(0, last + 1);
}

std::string shownName(std::string_view nativeName)
{
    return std::string(nativeName);
}

struct Folder::Impl {
    std::string path;    // as given, without a trailing separator
    std::string prefix;  // path + "\": what each entry's name follows
    ScopedHandle handle; // the folder itself, held while it is listed
    std::uint64_t volume = 0;
    std::uint64_t folderIndex = 0;
    std::string finalPath; // its final path with a trailing "\", found on first need
    FolderProblem problem = FolderProblem::None;

    // The identity of `entry`, an entry of this folder.
    bool idOf(HANDLE entry, FileId &id) const
    {
        id = {};
        id.volume = volume;
        return fileIndexOf(entry, id.index);
    }

    // True while the folder's path still leads to the folder held open. A
    // scan reads through the path (CreateFileA takes no folder handle), and
    // checking each file's place would cost more than reading it; so what it
    // learnt is acted on only while the path is the folder's.
    bool stillAtItsPath() const
    {
        ScopedHandle again(openToInspect(prefix, 0));
        std::uint64_t index = 0;
        return again.valid() && fileIndexOf(again.get(), index) && index == folderIndex;
    }

    std::string entryPath(std::string_view name) const { return prefix + std::string(name); }

    const std::string &finalFolder()
    {
        if (finalPath.empty()) {
            finalPath = platform::finalPath(handle.get());
            if (!finalPath.empty() && !endsWithSeparator(finalPath))
                finalPath += kPathSeparator;
        }
        return finalPath;
    }

    // True when what `opened` has open lies in this folder or below it,
    // links resolved.
    bool holds(HANDLE opened)
    {
        const std::string &folder = finalFolder();
        if (folder.empty())
            return false;
        const std::string path = platform::finalPath(opened);
        return path.size() > folder.size() && path.starts_with(folder);
    }

    // What a reparse point (a symbolic link, a junction) leads to.
    EntryKind kindOfLink(const std::string &path, FileId &id)
    {
        {
            ScopedHandle link(openToInspect(path, FILE_FLAG_OPEN_REPARSE_POINT));
            if (link.valid())
                idOf(link.get(), id);
        }
        ScopedHandle target(openToInspect(path, 0));
        if (!target.valid())
            return EntryKind::Link; // leads nowhere: reading it fails like a missing file
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileType(target.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(target.get(), &info))
            return EntryKind::Other;
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return EntryKind::Directory;
        return holds(target.get()) ? EntryKind::Link : EntryKind::OutsideLink;
    }
};

Folder::Folder() = default;
Folder::~Folder() = default;
Folder::Folder(Folder &&) noexcept = default;
Folder &Folder::operator=(Folder &&) noexcept = default;

Folder Folder::open(const std::string &nativePath)
{
    Folder folder;
    folder.m_impl = std::make_unique<Impl>();
    Impl &impl = *folder.m_impl;
    impl.path = nativePath;
    impl.prefix = nativePath + kPathSeparator;
    // The prefix names the folder too: "C:\" is the root of C:, where "C:"
    // alone would be the current folder of that drive. Sharing everything:
    // holding the folder must not keep the user from renaming or removing it.
    impl.handle.reset(openToInspect(impl.prefix, 0));
    if (!impl.handle.valid())
        impl.problem = problemOfError(GetLastError(), nativePath);
    BY_HANDLE_FILE_INFORMATION info;
    if (impl.handle.valid() &&
        !(GetFileInformationByHandle(impl.handle.get(), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))) {
        impl.handle.reset();
        impl.problem = FolderProblem::NotAFolder;
    }
    if (impl.handle.valid()) {
        impl.volume = info.dwVolumeSerialNumber;
        if (!fileIndexOf(impl.handle.get(), impl.folderIndex)) {
            impl.handle.reset();
            impl.problem = FolderProblem::Unreadable;
        }
    }
    return folder;
}

FolderProblem Folder::problem() const
{
    return m_impl ? m_impl->problem : FolderProblem::Missing;
}

bool Folder::isOpen() const
{
    return m_impl && m_impl->handle.valid();
}

DirectoryListing Folder::find(std::string_view pattern) const
{
    DirectoryListing listing;
    if (!isOpen() || !isBareName(pattern))
        return listing;
    WIN32_FIND_DATAA data;
    ScopedFind find(FindFirstFileA(m_impl->entryPath(pattern).c_str(), &data));
    if (!find.valid())
        return listing;
    // In the order the file system gives: that is the order the user knows
    // from the system's own listings.
    do {
        if (!isAsked(data.dwFileAttributes))
            continue;
        const std::string_view name(data.cFileName);
        // The system matches the short (8.3) names too, and its "?" and "*"
        // differ in corners ("*.txt" also finds "x.txte" through a short
        // name): keep only what the pattern matches on the name itself.
        if (!matchesMask(pattern, name))
            continue;
        FileId id;
        EntryKind kind = EntryKind::File;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            kind = EntryKind::Directory;
        else if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            kind = m_impl->kindOfLink(m_impl->entryPath(name), id);
        else if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
            kind = EntryKind::Other;
        listing.add(name, name, kind, id);
    } while (FindNextFileA(find.get(), &data));
    return listing;
}

ReadResult Folder::read(std::string_view nativeName, EntryKind kind, std::string &contents, FileId &id) const
{
    return readUpTo(nativeName, kind, contents, id, UINT64_MAX);
}

ReadResult Folder::readUpTo(std::string_view nativeName, EntryKind kind, std::string &contents, FileId &id,
                            std::uint64_t mostBytes) const
{
    contents.clear();
    if (!isOpen() || !isBareName(nativeName))
        return ReadResult::OpenFailed;
    if (kind != EntryKind::File && kind != EntryKind::Link)
        return ReadResult::OpenFailed;

    // Shared for reading only: a file that another program holds open for
    // writing fails to open, and none can start writing while it is read.
    // A file listed as regular is opened without following a link that took
    // its place since (that opens the link itself, which is then refused).
    const DWORD flags = kind == EntryKind::File ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
    ScopedHandle file(CreateFileA(m_impl->entryPath(nativeName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | flags, nullptr));
    // A device (a name such as "con.txt" can reach one) is no file, and
    // reading one could wait for ever.
    FILE_STANDARD_INFO standard;
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandleEx(file.get(), FileStandardInfo, &standard, sizeof standard) || standard.Directory)
        return ReadResult::OpenFailed;
    if (kind == EntryKind::File) {
        // The file that was listed, not one swapped in under its name since.
        // (A link swapped in is opened itself, and its own data is nothing
        // of anyone's.)
        FileId opened;
        if (!m_impl->idOf(file.get(), opened) || (id.known() && opened != id))
            return ReadResult::OpenFailed;
        id = opened;
    } else if (!m_impl->holds(file.get())) {
        // Checked on what was opened, not on what the link said when listed.
        return ReadResult::OpenFailed;
    }

    // The size at opening is what is read. Room beyond it lets the content
    // pane widen line ends (LF to CR LF) in place.
    const auto size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    if (size > mostBytes)
        return ReadResult::TooBig;
    if (size > contents.max_size() / 2)
        return ReadResult::ReadFailed;
    try {
        if (contents.capacity() < size)
            contents.reserve(size + size / 8 + 64);
        contents.resize(size);
    } catch (const std::bad_alloc &) {
        return ReadResult::ReadFailed;
    }
    std::size_t used = 0;
    while (used < size) {
        const std::size_t chunk = std::min<std::size_t>(size - used, 1u << 30);
        DWORD got = 0;
        if (!ReadFile(file.get(), contents.data() + used, static_cast<DWORD>(chunk), &got, nullptr)) {
            contents.clear();
            return ReadResult::ReadFailed;
        }
        if (got == 0)
            break; // it shrank meanwhile
        used += got;
    }
    contents.resize(used);
    return ReadResult::Ok;
}

void Folder::readFiles(std::span<FileRead> files) const
{
    // One after another: neither Windows 10 nor Wine offers a batch of
    // opens and reads that the program could count on.
    for (FileRead &file : files) {
        // A big file's room is not carried into the reads of small ones.
        if (file.bytes.capacity() > kMostBytesTogether)
            std::string().swap(file.bytes);
        file.result = readUpTo(file.nativeName, file.kind, file.bytes, file.id, kMostBytesTogether);
    }
}

bool Folder::remove(std::string_view nativeName, const FileId &id) const
{
    if (!isOpen() || !id.known() || !isBareName(nativeName) || !m_impl->stillAtItsPath())
        return false;
    // The entry itself, a link included, never what a link leads to; opened
    // for deletion and checked to be the file that was listed. The deletion
    // is then marked on this very handle, as DeleteFileA marks it on the one
    // it opens by name: a file swapped in between the check and the deletion
    // cannot be the one deleted. A read-only file refuses it, as it refuses
    // DeleteFileA.
    ScopedHandle entry(CreateFileA(m_impl->entryPath(nativeName).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FileId found;
    FILE_BASIC_INFO basic;
    if (!entry.valid() || GetFileType(entry.get()) != FILE_TYPE_DISK || !m_impl->idOf(entry.get(), found) ||
        found != id || !GetFileInformationByHandleEx(entry.get(), FileBasicInfo, &basic, sizeof basic))
        return false;
    const DWORD attributes = basic.FileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false; // a folder is no cookie file
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return false;
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(entry.get(), FileDispositionInfo, &disposition, sizeof disposition);
}

} // namespace platform
