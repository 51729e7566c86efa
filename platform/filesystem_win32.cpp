#include "platform/filesystem.h"

#include "platform/cp932.h"
#include "platform/mask_match.h"
#include "platform/wide_text_win32.h"

#include <windows.h>
#include <winternl.h>

// ntdll's: the status of the last failed call, which tells what its error
// code folds together.
extern "C" NTSTATUS NTAPI RtlGetLastNtStatus(void);

#include <algorithm>
#include <memory>
#include <new>

namespace platform {
namespace {

// Owns a kernel handle from CreateFileW.
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

// Owns an enumeration handle from FindFirstFileW.
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
std::wstring finalPath(HANDLE handle)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
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

// True for a search pattern (CP932) that cannot reach beyond its folder: no
// separator of either kind, no drive or stream colon, found character by
// character (a trail byte 0x5C is no separator).
bool isBarePattern(std::string_view pattern)
{
    if (pattern.empty())
        return false;
    for (std::size_t pos = 0; pos < pattern.size(); pos += cp932::charLength(pattern, pos))
        if (pattern[pos] == '\\' || pattern[pos] == '/' || pattern[pos] == ':')
            return false;
    return true;
}

// The same for a native name (UTF-8, where no byte of a longer character is
// below 0x80): no separator, no colon, and no NUL, which would end the name
// early for the system. ("." and ".." pass: they name folders, which nothing
// here reads or deletes.)
bool isBareName(std::string_view name)
{
    return !name.empty() && name.find_first_of(std::string_view("\\/:\0", 4)) == std::string_view::npos;
}

// `path` as a full path with the "\\?\" prefix, which the wide calls take
// at any length, where other paths stop at MAX_PATH (260 characters). A
// relative path, "/" and "." or ".." are first resolved as every other call
// resolves them. Empty when the system cannot make a full path of it.
std::wstring extendedPath(const std::wstring &path)
{
    if (path.starts_with(LR"(\\?\)"))
        return path;
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return {};
    full.resize(length);
    if (full.starts_with(LR"(\\.\)"))
        return full; // a device: no file system's folder
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

// Opens `path` with no access to its contents, only to ask what it is: a
// folder as well as a file. `flags` may add FILE_FLAG_OPEN_REPARSE_POINT.
HANDLE openToInspect(const std::wstring &path, DWORD flags)
{
    return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// Why folder `prefix` (its long form, with a trailing separator) could not
// be opened, from the error of the attempt. A file named as a folder, with a
// separator after it, fails as a name that cannot be: the file itself tells.
FolderProblem problemOfError(DWORD error, const std::wstring &prefix)
{
    const DWORD attributes = GetFileAttributesW(prefix.substr(0, prefix.size() - 1).c_str());
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

// What a failed open of listed entry `path` says about it. Only a name that
// is no longer there as a file is gone: deleted (also while another program
// still holds it open, when the system refuses it as "delete pending"), or
// a folder in its place, which refuses a plain open as access denied. A
// file that is there and will not open (no permission, held open for
// writing, an I/O error) is a failure.
ReadResult resultOfOpenError(DWORD error, const std::wstring &path)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:          // a link whose target cannot be named
    case ERROR_CANT_RESOLVE_FILENAME: // links in a circle
        return ReadResult::Gone;
    case ERROR_ACCESS_DENIED:
        break;
    default:
        return ReadResult::OpenFailed;
    }
    const NTSTATUS status = RtlGetLastNtStatus();
    if (status == static_cast<NTSTATUS>(0xC0000056L) /* STATUS_DELETE_PENDING */ ||
        status == static_cast<NTSTATUS>(0xC00000BAL) /* STATUS_FILE_IS_A_DIRECTORY */)
        return ReadResult::Gone;
    // Asked again where the status does not tell.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD again = GetLastError();
        return again == ERROR_FILE_NOT_FOUND || again == ERROR_PATH_NOT_FOUND ? ReadResult::Gone
                                                                              : ReadResult::OpenFailed;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ReadResult::Gone : ReadResult::OpenFailed;
}

} // namespace

std::string_view nativeFolderPart(std::string_view nativePath)
{
    // Native paths are UTF-8, where a "\" byte is always the separator.
    std::size_t last = nativePath.rfind(kPathSeparator);
    if (last == std::string_view::npos)
        last = nativePath.rfind(':');
    return last == std::string_view::npos ? std::string_view() : nativePath.substr(0, last + 1);
}

std::string shownName(std::string_view nativeName)
{
    if (cp932::isAscii(nativeName) && !nativeName.starts_with(R"(\\?\)"))
        return std::string(nativeName);
    // A path with the prefix of long paths shows as the user knows it.
    if (nativeName.starts_with(R"(\\?\UNC\)"))
        return R"(\\)" + shownName(nativeName.substr(8));
    if (nativeName.starts_with(R"(\\?\)") && nativeName.size() >= 6 && nativeName[5] == ':')
        nativeName.remove_prefix(4);
    return win32::shownFromWide(win32::wideFromNative(nativeName));
}

struct Folder::Impl {
    std::wstring prefix; // the full path with "\\?\" and a trailing "\": what each entry's name follows
    ScopedHandle handle; // the folder itself, held while it is listed
    std::uint64_t volume = 0;
    std::uint64_t folderIndex = 0;
    FolderProblem problem = FolderProblem::None;

    // The identity of `entry`, an entry of this folder.
    bool idOf(HANDLE entry, FileId &id) const
    {
        id = {};
        id.volume = volume;
        return fileIndexOf(entry, id.index);
    }

    // True while the folder's path still leads to the folder held open. A
    // scan reads through the path (CreateFileW takes no folder handle), and
    // checking each file's place would cost more than reading it; so what it
    // learnt is acted on only while the path is the folder's.
    bool stillAtItsPath() const
    {
        ScopedHandle again(openToInspect(prefix, 0));
        std::uint64_t index = 0;
        return again.valid() && fileIndexOf(again.get(), index) && index == folderIndex;
    }

    std::wstring entryPath(std::wstring_view name) const { return prefix + std::wstring(name); }
    std::wstring entryPath(std::string_view nativeName) const { return entryPath(win32::wideFromNative(nativeName)); }

    // The folder's final path with a trailing "\", asked afresh each time
    // of the folder held open: a folder moved away has another.
    std::wstring finalFolder() const
    {
        std::wstring path = platform::finalPath(handle.get());
        if (!path.empty() && !path.ends_with(L'\\'))
            path += L'\\';
        return path;
    }

    // True when what `opened` has open lies in this folder or below it,
    // links resolved.
    bool holds(HANDLE opened)
    {
        const std::wstring folder = finalFolder();
        if (folder.empty())
            return false;
        const std::wstring path = platform::finalPath(opened);
        return path.size() > folder.size() && path.starts_with(folder);
    }

    // What a reparse point (a symbolic link, a junction) leads to.
    EntryKind kindOfLink(const std::wstring &path, FileId &id)
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
    // The prefix names the folder too: "C:\" is the root of C:, where "C:"
    // alone would be the current folder of that drive. Every call goes
    // through the long form, so that a folder or a name beyond MAX_PATH is
    // listed, read and deleted like any other.
    impl.prefix = extendedPath(win32::wideFromNative(nativePath) + L'\\');
    if (impl.prefix.empty()) {
        impl.problem = FolderProblem::Unreadable;
        return folder;
    }
    if (!impl.prefix.ends_with(L'\\'))
        impl.prefix += L'\\';
    // Sharing everything: holding the folder must not keep the user from
    // renaming or removing it.
    impl.handle.reset(openToInspect(impl.prefix, 0));
    if (!impl.handle.valid())
        impl.problem = problemOfError(GetLastError(), impl.prefix);
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
    if (!isOpen() || !isBarePattern(pattern))
        return listing;
    // Every entry, matched here on its CP932 name: the system's own matching
    // works on the wide name (where "?" is one UTF-16 unit, half of an emoji)
    // and on the short 8.3 names too ("*.txt" also finds "x.txte" through its
    // short name).
    WIN32_FIND_DATAW data;
    ScopedFind find(FindFirstFileW(m_impl->entryPath(std::wstring_view(L"*")).c_str(), &data));
    if (!find.valid())
        return listing;
    // In the order the file system gives: that is the order the user knows
    // from the system's own listings.
    std::string name, nativeName;
    do {
        if (!isAsked(data.dwFileAttributes))
            continue;
        const std::wstring_view wideName(data.cFileName);
        win32::shownFromWide(wideName, name);
        if (!matchesMask(pattern, name))
            continue;
        nativeName = win32::nativeFromWide(wideName);
        FileId id;
        EntryKind kind = EntryKind::File;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            kind = EntryKind::Directory;
            // A junction or a link to a folder carries its own identity, as
            // a link does on Linux: whoever walks folders can tell it.
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                ScopedHandle link(openToInspect(m_impl->entryPath(wideName), FILE_FLAG_OPEN_REPARSE_POINT));
                if (!link.valid() || !m_impl->idOf(link.get(), id))
                    id = {};
                if (!id.known())
                    id.index = ~std::uint64_t(0); // a link all the same
            }
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            kind = m_impl->kindOfLink(m_impl->entryPath(wideName), id);
        else if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
            kind = EntryKind::Other;
        listing.add(name, nativeName, kind, id);
    } while (FindNextFileW(find.get(), &data));
    return listing;
}

ReadResult Folder::read(std::string_view nativeName, EntryKind kind, std::string &contents, FileId &id,
                        FileTimes *times) const
{
    return readUpTo(nativeName, kind, contents, id, UINT64_MAX, times);
}

ReadResult Folder::readUpTo(std::string_view nativeName, EntryKind kind, std::string &contents, FileId &id,
                            std::uint64_t mostBytes, FileTimes *times) const
{
    contents.clear();
    if (times)
        *times = {};
    if (!isOpen() || !isBareName(nativeName))
        return ReadResult::OpenFailed;
    if (kind != EntryKind::File && kind != EntryKind::Link)
        return ReadResult::OpenFailed;

    // Shared for reading, never for writing: a file that another program
    // holds open for writing fails to open, and none can start writing
    // while it is read. Shared for deletion too: the browser that owns the
    // folder deletes and renames its files whenever it likes, and neither
    // its deletion nor this read may fail because the other is under way
    // (the bytes read stay whole; the file goes once we let it go).
    // A file listed as regular is opened without following a link that took
    // its place since (that opens the link itself, which is then refused).
    const DWORD flags = kind == EntryKind::File ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
    const std::wstring path = m_impl->entryPath(nativeName);
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | flags, nullptr));
    if (!file.valid())
        return resultOfOpenError(GetLastError(), path);
    // A device (a name such as "con.txt" can reach one) is no file, and
    // reading one could wait for ever.
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return ReadResult::Gone;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(file.get(), FileStandardInfo, &standard, sizeof standard))
        return ReadResult::OpenFailed;
    if (standard.Directory)
        return ReadResult::Gone;
    if (kind == EntryKind::File) {
        // The file that was listed, not one swapped in under its name since.
        // (A link swapped in is opened itself, and its own data is nothing
        // of anyone's.)
        FileId opened;
        if (!m_impl->idOf(file.get(), opened) || (id.known() && opened != id))
            return ReadResult::OpenFailed;
        id = opened;
    } else if (!m_impl->holds(file.get())) {
        // Checked on what was opened, not on what the link said when listed:
        // one that leads out of the folder by now is no file of the folder.
        return ReadResult::Gone;
    }
    FILE_BASIC_INFO basic;
    if (times && GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic)) {
        // FILETIMEs already; a negative one is no time at all.
        const auto fileTime = [](const LARGE_INTEGER &time) {
            return time.QuadPart > 0 ? static_cast<std::uint64_t>(time.QuadPart) : std::uint64_t(0);
        };
        times->written = fileTime(basic.LastWriteTime);
        times->created = fileTime(basic.CreationTime);
    }

    // The size at opening is what is read, into room for that size and no
    // more: the bytes are held once, as read.
    const auto size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    if (size > mostBytes)
        return ReadResult::TooBig;
    if (size > contents.max_size() / 2)
        return ReadResult::ReadFailed;
    try {
        if (contents.capacity() < size) {
            std::string().swap(contents); // a reserve beyond the old room would double it
            contents.reserve(static_cast<std::size_t>(size));
        }
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
        file.result = readUpTo(file.nativeName, file.kind, file.bytes, file.id, kMostBytesTogether, &file.times);
    }
}

namespace {

// A failed call's error as a deletion's outcome: an entry that went is no
// longer the listed file; anything else is the system refusing.
RemoveResult removeFailure(DWORD error)
{
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return {RemoveOutcome::NotListed, {}};
    return {RemoveOutcome::Failed, systemErrorText(error)};
}

} // namespace

std::string systemErrorText(unsigned long code)
{
    // In the system's language, through the wide call: the ANSI code page
    // may lack its characters, and the text is converted to CP932 here.
    wchar_t *buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'.' || text.back() == L'\x3002' || text.back() == L'\r' ||
                             text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        return "error " + std::to_string(code);
    return win32::cp932FromWide(text);
}

RemoveResult Folder::remove(std::string_view nativeName, const FileId &id) const
{
    if (!isOpen() || !id.known() || !isBareName(nativeName) || !m_impl->stillAtItsPath())
        return {};
    // The entry itself, a link included, never what a link leads to; opened
    // for deletion and checked to be the file that was listed. The deletion
    // is then marked on this very handle, as DeleteFileW marks it on the one
    // it opens by name: a file swapped in between the check and the deletion
    // cannot be the one deleted. A read-only file refuses it, as it refuses
    // DeleteFileW, and so does a file another program holds open without
    // sharing its deletion.
    ScopedHandle entry(CreateFileW(m_impl->entryPath(nativeName).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!entry.valid())
        return removeFailure(GetLastError());
    FileId found;
    if (GetFileType(entry.get()) != FILE_TYPE_DISK || !m_impl->idOf(entry.get(), found) || found != id)
        return {};
    FILE_BASIC_INFO basic;
    if (!GetFileInformationByHandleEx(entry.get(), FileBasicInfo, &basic, sizeof basic))
        return removeFailure(GetLastError());
    const DWORD attributes = basic.FileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return {}; // a folder is no cookie file
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return removeFailure(ERROR_ACCESS_DENIED); // what DeleteFileW answers for one
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!SetFileInformationByHandle(entry.get(), FileDispositionInfo, &disposition, sizeof disposition))
        return removeFailure(GetLastError());
    return {RemoveOutcome::Removed, {}};
}

} // namespace platform
