#include "filesystem.h"

#include "cp932.h"
#include "mask_match.h"

#include <bit>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <liburing.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {
namespace {

// Asks for huge pages under a big buffer that nothing has touched yet. Each
// 4 KB page is otherwise a fault of its own when the read fills it, and for
// a file of 100 MB those faults cost more than the copy. Advice only: where
// the system has no huge pages nothing changes.
void adviseHugePages(char *data, std::size_t size)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    if (size < 4 * kHugePage)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + size) & ~(kHugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

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

// An entry name as a C string in `buffer`, without allocating: false for a
// name that no folder entry can have (empty, too long, a separator or a NUL
// in it).
bool entryName(std::string_view nativeName, char (&buffer)[NAME_MAX + 1])
{
    if (nativeName.empty() || nativeName.size() > NAME_MAX)
        return false;
    // One pass that copies and checks: this runs for every file of a scan.
    for (std::size_t i = 0; i < nativeName.size(); ++i) {
        const char c = nativeName[i];
        if (c == '/' || c == '\0')
            return false;
        buffer[i] = c;
    }
    buffer[nativeName.size()] = '\0';
    return true;
}

bool isAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool holdsSeparator(std::string_view cp932Text)
{
    return cp932::findChar(cp932Text, kPathSeparator) != std::string_view::npos;
}

} // namespace

// Files on their way from the disk ahead of the scan's reads, through the
// kernel's asynchronous I/O (io_uring: no thread of ours). Each file is
// opened relative to the folder into a slot of the ring, without following
// a link and without blocking, given to readahead and closed again, all
// inside the kernel; its bytes never reach the program, which still opens,
// checks and reads every file itself.
class ReadAheadRing {
public:
    static constexpr unsigned kSlots = 32;

    ReadAheadRing() = default;
    ~ReadAheadRing()
    {
        if (m_ready)
            io_uring_queue_exit(&m_ring); // what is still on its way is cancelled
    }
    ReadAheadRing(const ReadAheadRing &) = delete;
    ReadAheadRing &operator=(const ReadAheadRing &) = delete;

    // False when no slot is free.
    bool start(int folderFd, const char *name)
    {
        if (!m_tried) {
            m_tried = true;
            // A system without io_uring (or that forbids it) reads one file
            // after another, as without this.
            m_ready = io_uring_queue_init(4 * kSlots, &m_ring, 0) == 0;
            if (m_ready && io_uring_register_files_sparse(&m_ring, kSlots) != 0) {
                io_uring_queue_exit(&m_ring);
                m_ready = false;
            }
        }
        if (!m_ready)
            return true;
        reap();
        unsigned slot = 0;
        while (slot < kSlots && m_busy[slot])
            ++slot;
        if (slot == kSlots)
            return false;
        io_uring_sqe *open = io_uring_get_sqe(&m_ring);
        io_uring_sqe *advise = io_uring_get_sqe(&m_ring);
        io_uring_sqe *close = io_uring_get_sqe(&m_ring);
        if (!open || !advise || !close)
            return false;
        io_uring_prep_openat_direct(open, folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0, slot);
        open->flags |= IOSQE_IO_LINK;
        io_uring_sqe_set_data64(open, 0);
        // Readahead fills the cache and reads nothing into the program; a
        // pipe refuses it. The close follows whatever it says.
        io_uring_prep_fadvise(advise, static_cast<int>(slot), 0, kAdviseBytes, POSIX_FADV_WILLNEED);
        advise->flags |= IOSQE_FIXED_FILE | IOSQE_IO_HARDLINK;
        io_uring_sqe_set_data64(advise, 0);
        io_uring_prep_close_direct(close, slot);
        io_uring_sqe_set_data64(close, slot + 1);
        m_busy[slot] = true;
        io_uring_submit(&m_ring);
        return true;
    }

private:
    static constexpr off_t kAdviseBytes = 64 * 1024; // a cookie file's worth and more

    // Frees the slots whose close has finished (or was cancelled).
    void reap()
    {
        io_uring_cqe *cqe = nullptr;
        while (io_uring_peek_cqe(&m_ring, &cqe) == 0) {
            const std::uint64_t data = io_uring_cqe_get_data64(cqe);
            if (data != 0)
                m_busy[data - 1] = false;
            io_uring_cqe_seen(&m_ring, cqe);
        }
    }

    io_uring m_ring{};
    bool m_tried = false;
    bool m_ready = false;
    bool m_busy[kSlots] = {};
};

// Whether reads wait for the disk: read-ahead pays only then, and costs
// where files are in memory already. A slow read is one that took
// kSlowRead and in which this thread gave up the processor of its own
// accord (it blocked); one that another program merely pushed aside on a
// busy machine does not count. 8 slow reads among the last 16 turn
// read-ahead on, 64 others in a row turn it off.
class ColdCacheWatch {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kSlowRead = std::chrono::microseconds(50);

    ColdCacheWatch() : m_blocked(blockedSoFar()) {}

    bool cold() const { return m_cold; }
    void note(Clock::duration took)
    {
        bool slow = false;
        if (took >= kSlowRead) {
            // Asked only after a slow read: a call to the system per read
            // would cost more than all this saves where the cache is warm.
            const long blocked = blockedSoFar();
            slow = blocked > m_blocked;
            m_blocked = blocked;
        }
        m_slowReads = m_slowReads << 1 | (slow ? 1u : 0u);
        if (std::popcount(m_slowReads & 0xFFFF) >= 8)
            m_cold = true;
        else if (m_slowReads == 0)
            m_cold = false;
    }

private:
    // How often this thread has blocked so far.
    static long blockedSoFar()
    {
        rusage usage{};
        return ::getrusage(RUSAGE_THREAD, &usage) == 0 ? usage.ru_nvcsw : 0;
    }

    bool m_cold = false;
    long m_blocked;
    std::uint64_t m_slowReads = 0; // one bit a read, the last read lowest
};

struct Folder::Impl {
    ScopedFd fd;
    std::unique_ptr<ReadAheadRing> readAhead; // made on the first cold read
    ColdCacheWatch cache;
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
        // An ASCII name is its own CP932 form: the usual case costs no copy.
        const bool ascii = isAscii(nativeName);
        if (!ascii)
            name = cp932::fromUtf8(nativeName);
        const std::string_view shown = ascii ? nativeName : std::string_view(name);
        if (!matchesMask(pattern, shown))
            continue;
        FileId id;
        const EntryKind kind = m_impl->kindOf(*entry, id);
        listing.add(shown, nativeName, kind, id);
    }
    listing.sortByName();
    return listing;
}

ReadResult Folder::read(std::string_view nativeName, EntryKind kind, std::string &contents, FileId &id) const
{
    contents.clear();
    char name[NAME_MAX + 1];
    if (!isOpen() || !entryName(nativeName, name))
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
    // How long the open and the read take, whichever way they end.
    struct Timing {
        ColdCacheWatch &watch;
        ColdCacheWatch::Clock::time_point start = ColdCacheWatch::Clock::now();
        ~Timing() { watch.note(ColdCacheWatch::Clock::now() - start); }
    } timing{m_impl->cache};
    ScopedFd fd(::openat(m_impl->fd.get(), name, flags));
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
    if (contents.capacity() < size) {
        contents.reserve(size + size / 8 + 64);
        adviseHugePages(contents.data(), contents.capacity());
    }
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

bool Folder::readAhead(std::string_view nativeName) const
{
    char name[NAME_MAX + 1];
    if (!isOpen() || !m_impl->cache.cold() || !entryName(nativeName, name))
        return true;
    if (!m_impl->readAhead)
        m_impl->readAhead = std::make_unique<ReadAheadRing>();
    return m_impl->readAhead->start(m_impl->fd.get(), name);
}

bool Folder::remove(std::string_view nativeName, const FileId &id) const
{
    char name[NAME_MAX + 1];
    if (!isOpen() || !id.known() || !entryName(nativeName, name))
        return false;
    // Only the file that was listed: one swapped in under its name since
    // stays. (Linux cannot delete by descriptor; the check and the unlink
    // are as close together as the system allows.)
    FileInfo info;
    if (!fileInfo(m_impl->fd.get(), name, AT_SYMLINK_NOFOLLOW, info) || info.id != id)
        return false;
    return ::unlinkat(m_impl->fd.get(), name, 0) == 0;
}

} // namespace platform
