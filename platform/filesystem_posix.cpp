#include "filesystem.h"

#include "cp932.h"
#include "mask_match.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {
namespace {

class ScopedFd {
public:
    explicit ScopedFd(int fd = -1) : m_fd(fd) {}
    ~ScopedFd() { reset(); }
    ScopedFd(const ScopedFd &) = delete;
    ScopedFd &operator=(const ScopedFd &) = delete;
    int get() const { return m_fd; }
    void release() { m_fd = -1; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

class ScopedDir {
public:
    explicit ScopedDir(DIR *dir) : m_dir(dir) {}
    ~ScopedDir()
    {
        if (m_dir)
            ::closedir(m_dir);
    }
    ScopedDir(const ScopedDir &) = delete;
    ScopedDir &operator=(const ScopedDir &) = delete;
    DIR *get() const { return m_dir; }

private:
    DIR *m_dir;
};

// What the scan needs to know of a file, in one call.
struct FileInfo {
    mode_t mode = 0;
    std::uint64_t size = 0;
    FileId id;
};

// statx() where the system has it, for the birth time; fstatat() otherwise.
bool fileInfo(int dirFd, const char *name, int flags, FileInfo &info)
{
    struct statx x;
    if (::statx(dirFd, name, flags, STATX_TYPE | STATX_SIZE | STATX_INO | STATX_BTIME, &x) == 0) {
        info.mode = x.stx_mode;
        info.size = x.stx_size;
        info.id = {static_cast<std::uint64_t>(::makedev(x.stx_dev_major, x.stx_dev_minor)), x.stx_ino,
                   (x.stx_mask & STATX_BTIME)
                       ? static_cast<std::uint64_t>(x.stx_btime.tv_sec) * 1000000000u + x.stx_btime.tv_nsec
                       : 0};
        return true;
    }
    if (errno != ENOSYS)
        return false;
    struct stat st;
    if (::fstatat(dirFd, name, &st, flags) != 0)
        return false;
    info.mode = st.st_mode;
    info.size = static_cast<std::uint64_t>(st.st_size);
    info.id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), 0};
    return true;
}

EntryKind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISDIR(mode))
        return EntryKind::Directory;
    return EntryKind::Other;
}

// The path of what descriptor `fd` has open, as the kernel resolved it: no
// link, no "..". Empty when the system cannot tell (no /proc).
std::string resolvedPath(int fd)
{
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink(link.c_str(), path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return {};
    path.resize(static_cast<std::size_t>(length));
    return path;
}

// True when `path` lies in folder `folder` or below it (both resolved).
bool isBelow(std::string_view path, std::string_view folder)
{
    if (folder == "/")
        return path.size() > 1 && path.front() == '/';
    return path.size() > folder.size() + 1 && path.starts_with(folder) && path[folder.size()] == '/';
}

bool holdsSeparator(std::string_view cp932Text)
{
    return cp932::findChar(cp932Text, kPathSeparator) != std::string_view::npos;
}

} // namespace

struct Folder::Impl {
    ScopedFd fd;
    std::string resolved; // the folder's own resolved path, found on first need

    const std::string &resolvedFolder()
    {
        if (resolved.empty())
            resolved = resolvedPath(fd.get());
        return resolved;
    }

    // Tells what an entry is, following a symbolic link only as far as to
    // see where it leads; for a link, also the link's own identity.
    EntryKind kindOf(const dirent &entry, FileId &id)
    {
        switch (entry.d_type) {
        case DT_REG:
            return EntryKind::File;
        case DT_DIR:
            return EntryKind::Directory;
        case DT_LNK:
        case DT_UNKNOWN: {
            FileInfo info;
            if (!fileInfo(fd.get(), entry.d_name, AT_SYMLINK_NOFOLLOW, info))
                return EntryKind::File; // gone already: reading it fails like a missing file
            if (!S_ISLNK(info.mode))
                return kindOfMode(info.mode);
            id = info.id;
            return kindOfLink(entry.d_name);
        }
        default:
            return EntryKind::Other;
        }
    }

    EntryKind kindOfLink(const char *name)
    {
        ScopedFd target(::openat(fd.get(), name, O_PATH | O_CLOEXEC));
        struct stat info;
        if (target.get() < 0 || ::fstat(target.get(), &info) != 0)
            return EntryKind::Link; // leads nowhere: opening it fails like a missing file
        const EntryKind kind = kindOfMode(info.st_mode);
        if (kind != EntryKind::File)
            return kind;
        return leadsInside(target.get()) ? EntryKind::Link : EntryKind::OutsideLink;
    }

    // True when what `opened` has open lies in this folder or below it.
    bool leadsInside(int opened)
    {
        const std::string &folder = resolvedFolder();
        return !folder.empty() && isBelow(resolvedPath(opened), folder);
    }
};

std::string_view nativeFolderPart(std::string_view nativePath)
{
    const std::size_t last = nativePath.rfind('/');
    return last == std::string_view::npos ? std::string_view() : nativePath.substr(0, last + 1);
}

std::string shownName(std::string_view nativeName)
{
    return cp932::fromUtf8(nativeName);
}

Folder::Folder() = default;
Folder::~Folder() = default;
Folder::Folder(Folder &&) noexcept = default;
Folder &Folder::operator=(Folder &&) noexcept = default;

Folder Folder::open(const std::string &nativePath)
{
    Folder folder;
    folder.m_impl = std::make_unique<Impl>();
    const std::string path = nativePath.empty() ? std::string(1, kPathSeparator) : nativePath;
    folder.m_impl->fd.reset(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
    return folder;
}

bool Folder::isOpen() const
{
    return m_impl && m_impl->fd.get() >= 0;
}

DirectoryListing Folder::find(std::string_view pattern) const
{
    DirectoryListing listing;
    if (!isOpen() || pattern.empty() || holdsSeparator(pattern))
        return listing;
    // A descriptor of its own for reading, from the start, so that the folder
    // can be listed again.
    ScopedFd own(::openat(m_impl->fd.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (own.get() < 0)
        return listing;
    ScopedDir dir(::fdopendir(own.get()));
    if (!dir.get())
        return listing;
    own.release(); // the stream closes it now
    std::string name;
    while (const dirent *entry = ::readdir(dir.get())) {
        const std::string_view nativeName(entry->d_name);
        name = cp932::fromUtf8(nativeName);
        if (!matchesMask(pattern, name))
            continue;
        FileId id;
        const EntryKind kind = m_impl->kindOf(*entry, id);
        listing.add(name, nativeName, kind, id);
    }
    listing.sortByName();
    return listing;
}

ReadResult Folder::read(std::string_view nativeName, EntryKind kind, std::string &contents, FileId &id) const
{
    contents.clear();
    if (!isOpen() || nativeName.empty() || nativeName.find('/') != std::string_view::npos)
        return ReadResult::OpenFailed;
    if (kind != EntryKind::File && kind != EntryKind::Link)
        return ReadResult::OpenFailed;

    // Relative to the listed folder, so the folder's path is not walked
    // again and cannot have been made to lead elsewhere. A file listed as
    // regular is opened without following a link that took its place since.
    // O_NONBLOCK: neither a pipe nor a device swapped in may hang the open.
    int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (kind == EntryKind::File)
        flags |= O_NOFOLLOW;
    const std::string name(nativeName);
    ScopedFd fd(::openat(m_impl->fd.get(), name.c_str(), flags));
    FileInfo info;
    if (fd.get() < 0 || !fileInfo(fd.get(), "", AT_EMPTY_PATH, info) || !S_ISREG(info.mode))
        return ReadResult::OpenFailed;
    if (kind == EntryKind::Link) {
        // Check what was opened, not what the link said when it was listed.
        if (!m_impl->leadsInside(fd.get()))
            return ReadResult::OpenFailed;
    } else {
        id = info.id;
    }

    // The size at opening is what is read: a file that grows meanwhile (a
    // log written into the folder) cannot make the read go on for ever.
    // Room beyond it lets the content pane widen line ends (LF to CR LF) in
    // place for lines of 8 bytes or more.
    const auto size = static_cast<std::size_t>(info.size);
    if (contents.capacity() < size)
        contents.reserve(size + size / 8 + 64);
    contents.resize(size);
    std::size_t used = 0;
    while (used < size) {
        const ssize_t got = ::read(fd.get(), contents.data() + used, size - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            contents.clear();
            return ReadResult::ReadFailed;
        }
        if (got == 0)
            break; // it shrank meanwhile
        used += static_cast<std::size_t>(got);
    }
    contents.resize(used);
    return ReadResult::Ok;
}

bool Folder::remove(std::string_view nativeName, const FileId &id) const
{
    if (!isOpen() || !id.known() || nativeName.empty() || nativeName.find('/') != std::string_view::npos)
        return false;
    const std::string name(nativeName);
    // Only the file that was listed: one swapped in under its name since
    // stays. (Linux cannot delete by descriptor; the check and the unlink
    // are as close together as the system allows.)
    FileInfo info;
    if (!fileInfo(m_impl->fd.get(), name.c_str(), AT_SYMLINK_NOFOLLOW, info) || info.id != id)
        return false;
    return ::unlinkat(m_impl->fd.get(), name.c_str(), 0) == 0;
}

} // namespace platform
