#include "filesystem.h"

#include "cp932.h"
#include "io_ring_posix.h"
#include "mask_match.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
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

// The descriptors that one batch of reads opened through the ring, owned so
// that none outlives the batch, whatever ends it early.
class BatchDescriptors {
public:
    BatchDescriptors() { m_fds.fill(-1); }
    ~BatchDescriptors()
    {
        for (const int fd : m_fds)
            if (fd >= 0)
                ::close(fd);
    }
    BatchDescriptors(const BatchDescriptors &) = delete;
    BatchDescriptors &operator=(const BatchDescriptors &) = delete;

    int operator[](std::size_t i) const { return m_fds[i]; }
    void adopt(std::size_t i, int fd) { m_fds[i] = fd; }

    // Closes the first `results.size()` with one call into the system. What
    // the ring was handed counts as closed even when waiting for it fails:
    // closing a descriptor twice could close one that another thread has
    // opened under its number since. What the ring refused is closed here.
    void closeAll(IoRing &ring, std::span<int> results)
    {
        const std::array<int, IoRing::kDepth> open = m_fds;
        m_fds.fill(-1);
        std::size_t taken = 0;
        if (ring.ready()) {
            taken = ring.run(results, [&](io_uring_sqe *sqe, std::size_t i) {
                if (open[i] < 0)
                    io_uring_prep_nop(sqe);
                else
                    io_uring_prep_close(sqe, open[i]);
            });
        }
        for (std::size_t i = taken; i < open.size(); ++i)
            if (open[i] >= 0)
                ::close(open[i]);
    }

private:
    std::array<int, IoRing::kDepth> m_fds;
};

// How a file is opened for reading: never blocking (neither a pipe nor a
// device swapped in may hang the open), and for a file listed as regular
// without following a link that took its place since.
constexpr int kOpenLinkFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
constexpr int kOpenFileFlags = kOpenLinkFlags | O_NOFOLLOW;

// Reading a file or listing a folder would otherwise set its access time: a
// disk looked at (a copy kept as evidence, another system's volume) must not
// be changed by looking. The system allows O_NOATIME only to the file's
// owner or one who may act as it, and refuses the open with EPERM otherwise:
// that open is then made without it, as any reader's would be.
// `tryNoAccessTime`, when given, is cleared on a refusal, so that a folder
// of files that are not ours is not asked twice for every file.
int openNoAccessTime(int dirFd, const char *name, int flags, bool *tryNoAccessTime = nullptr)
{
    if (tryNoAccessTime && !*tryNoAccessTime)
        return ::openat(dirFd, name, flags);
    const int fd = ::openat(dirFd, name, flags | O_NOATIME);
    if (fd >= 0 || errno != EPERM)
        return fd;
    if (tryNoAccessTime)
        *tryNoAccessTime = false;
    return ::openat(dirFd, name, flags);
}

// Reads `bytes` (sized to the file's size when it was opened) from offset
// `from` on, and trims it to what there was: what is appended meanwhile is
// not read, so a file that grows (a log written into the folder) cannot make
// the read go on for ever. False on a read error.
bool readRest(int fd, std::string &bytes, std::size_t from)
{
    std::size_t used = from;
    while (used < bytes.size()) {
        const ssize_t got = ::pread(fd, bytes.data() + used, bytes.size() - used, static_cast<off_t>(used));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break; // it shrank meanwhile
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    return true;
}

// What the scan needs to know of a file, in one call.
struct FileInfo {
    mode_t mode = 0;
    std::uint64_t size = 0;
    FileId id;
    FileTimes times;
};

constexpr unsigned kStatxMask = STATX_TYPE | STATX_SIZE | STATX_INO | STATX_BTIME | STATX_CTIME | STATX_MTIME;

constexpr std::uint64_t kSecond = 1000000000;

std::uint64_t nanoseconds(std::int64_t seconds, std::uint32_t nanos)
{
    return static_cast<std::uint64_t>(seconds) * kSecond + nanos;
}

// A Unix time as a FILETIME; 0 (unknown) before 1601, where none can be.
std::uint64_t fileTimeOf(std::int64_t seconds, std::uint32_t nanos)
{
    constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
    constexpr std::int64_t kLatest = INT64_MAX / 10'000'000 - kSecondsFrom1601To1970;
    if (seconds < -kSecondsFrom1601To1970 || seconds > kLatest)
        return 0;
    return static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * 10'000'000 + nanos / 100;
}

// The clock that the file systems stamp change times from: a file made
// after this reading gets a change time no earlier than it (less what the
// file system's own stamp cuts off).
std::uint64_t stampClockNow()
{
    timespec now{};
    if (::clock_gettime(CLOCK_REALTIME_COARSE, &now) != 0)
        return 0; // proves nothing: every change time is then too recent
    return nanoseconds(now.tv_sec, static_cast<std::uint32_t>(now.tv_nsec));
}

// How coarse change time `change` may be: at least one tick of the clock it
// comes from, and as coarse as its trailing zeros show (whole seconds on
// ext4 with 128-byte inodes, which have no room for more; two seconds when
// even, as FAT keeps times). A fine stamp that ends in zeros by chance is
// only taken as coarser than it is.
std::uint64_t stampResolution(std::uint64_t change)
{
    static const std::uint64_t clockTick = [] {
        timespec tick{};
        return ::clock_getres(CLOCK_REALTIME_COARSE, &tick) == 0
                   ? nanoseconds(tick.tv_sec, static_cast<std::uint32_t>(tick.tv_nsec))
                   : kSecond / 100;
    }();
    std::uint64_t unit = 1;
    while (unit < kSecond && change % (unit * 10) == 0)
        unit *= 10;
    if (unit == kSecond && change / kSecond % 2 == 0)
        unit = 2 * kSecond;
    return std::max(unit, clockTick);
}

// The witness beside the inode number. A birth time settles it; without one
// (ext4 with small inodes keeps none) the generation number that the file
// system draws for each new inode, asked of an open regular file `fd`; where
// neither is to be had, the change time and the size, which a file made
// anew under the number has its own of unless it is made within the same
// tick of the change time's stamp and at the same size. `lookedAt` is the
// stamp clock read before the file was looked at: a file made in its place
// since then has a later change time only when the listed one lies more
// than a tick before it. Otherwise the witness proves nothing (Unproven).
void setWitness(FileInfo &info, bool hasBirth, std::uint64_t birth, std::uint64_t change, int fd,
                std::uint64_t lookedAt)
{
    if (hasBirth) {
        info.id.witness = IdWitness::Birth;
        info.id.stamp = birth;
        return;
    }
    unsigned generation = 0;
    if (fd >= 0 && S_ISREG(info.mode) && ::ioctl(fd, FS_IOC_GETVERSION, &generation) == 0) {
        info.id.witness = IdWitness::Generation;
        info.id.stamp = generation;
        return;
    }
    info.id.stamp = change;
    info.id.size = info.size;
    info.id.witness = lookedAt > change && lookedAt - change > stampResolution(change) ? IdWitness::ChangeAndSize
                                                                                       : IdWitness::Unproven;
}

// statx() where the system has it, for the birth time; fstatat() otherwise.
// With AT_EMPTY_PATH and the empty name, `dirFd` is an open file, whose
// generation number can be asked for.
bool fileInfo(int dirFd, const char *name, int flags, FileInfo &info)
{
    const int openFile = (flags & AT_EMPTY_PATH) && name[0] == '\0' ? dirFd : -1;
    info = {};
    // Read first: whatever takes this file's place after the look below is
    // made later than this.
    const std::uint64_t lookedAt = stampClockNow();
    struct statx x;
    if (::statx(dirFd, name, flags, kStatxMask, &x) == 0) {
        info.mode = x.stx_mode;
        info.size = x.stx_size;
        info.id.volume = static_cast<std::uint64_t>(::makedev(x.stx_dev_major, x.stx_dev_minor));
        info.id.index = x.stx_ino;
        info.id.type = static_cast<std::uint8_t>((x.stx_mode & S_IFMT) >> 12);
        if (x.stx_mask & STATX_MTIME)
            info.times.written = fileTimeOf(x.stx_mtime.tv_sec, x.stx_mtime.tv_nsec);
        if (x.stx_mask & STATX_BTIME)
            info.times.created = fileTimeOf(x.stx_btime.tv_sec, x.stx_btime.tv_nsec);
        setWitness(info, (x.stx_mask & STATX_BTIME) != 0, nanoseconds(x.stx_btime.tv_sec, x.stx_btime.tv_nsec),
                   nanoseconds(x.stx_ctime.tv_sec, x.stx_ctime.tv_nsec), openFile, lookedAt);
        return true;
    }
    if (errno != ENOSYS)
        return false;
    struct stat st;
    if (::fstatat(dirFd, name, &st, flags) != 0)
        return false;
    info.mode = st.st_mode;
    info.size = static_cast<std::uint64_t>(st.st_size);
    info.id.volume = static_cast<std::uint64_t>(st.st_dev);
    info.id.index = static_cast<std::uint64_t>(st.st_ino);
    info.id.type = static_cast<std::uint8_t>((st.st_mode & S_IFMT) >> 12);
    info.times.written = fileTimeOf(st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec));
    setWitness(info, false, 0, nanoseconds(st.st_ctim.tv_sec, static_cast<std::uint32_t>(st.st_ctim.tv_nsec)), openFile,
               lookedAt);
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
    // Checked and copied many bytes a step: this runs for every file of a scan.
    if (std::memchr(nativeName.data(), '/', nativeName.size()) || std::memchr(nativeName.data(), '\0', nativeName.size()))
        return false;
    std::memcpy(buffer, nativeName.data(), nativeName.size());
    buffer[nativeName.size()] = '\0';
    return true;
}

bool holdsSeparator(std::string_view cp932Text)
{
    return cp932::findChar(cp932Text, kPathSeparator) != std::string_view::npos;
}

// What a failed open of a listed entry says about it. Only a name that is
// no longer there, or no longer leads to anything that opens as a file, is
// gone; a file that is there and will not open (no permission, the system
// out of descriptors or memory, an I/O error) is a failure.
ReadResult resultOfOpenError(int error)
{
    switch (error) {
    case ENOENT: // deleted, or a link whose target is
    case ELOOP:  // a link in a file's place (not followed), or links in a circle
    case ENXIO:  // a socket, or a device without its driver
    case ENODEV:
    case ENOTDIR: // a link that leads through a file as if it were a folder
        return ReadResult::Gone;
    default:
        return ReadResult::OpenFailed;
    }
}

FolderProblem problemOfError(int error)
{
    switch (error) {
    case ENOENT:
        return FolderProblem::Missing;
    case ENOTDIR:
        return FolderProblem::NotAFolder;
    case EACCES:
    case EPERM:
        return FolderProblem::NoPermission;
    default:
        return FolderProblem::Unreadable;
    }
}

} // namespace

struct Folder::Impl {
    ScopedFd fd;
    FolderProblem problem = FolderProblem::None;
    // Until the system refuses O_NOATIME for a file of this folder: its
    // files are most likely all one owner's.
    bool tryNoAccessTime = true;
    std::unique_ptr<IoRing> ring; // made on the first readFiles()

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

    // Reads the regular files of `files` (at most IoRing::kDepth) side by
    // side, each as Folder::read() would: opened, checked to be a regular
    // file, read at its size when opened. Gives the files left to be read
    // alone.
    std::bitset<IoRing::kDepth> readBatch(IoRing &ring, std::span<FileRead> files)
    {
        struct Slot {
            char name[NAME_MAX + 1];
            bool regular = false;
        };
        std::array<Slot, IoRing::kDepth> slots;
        BatchDescriptors fds;
        std::array<int, IoRing::kDepth> results{};
        const std::span<int> done(results.data(), files.size());
        std::bitset<IoRing::kDepth> alone;
        for (std::size_t i = 0; i < files.size(); ++i) {
            files[i].bytes.clear();
            files[i].times = {};
            alone[i] = files[i].kind != EntryKind::File || !entryName(files[i].nativeName, slots[i].name);
        }

        ring.run(done, [&](io_uring_sqe *sqe, std::size_t i) {
            if (alone[i])
                io_uring_prep_nop(sqe);
            else
                io_uring_prep_openat(sqe, fd.get(), slots[i].name,
                                     kOpenFileFlags | (tryNoAccessTime ? O_NOATIME : 0), 0);
        });
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (alone[i])
                continue;
            if (results[i] >= 0)
                fds.adopt(i, results[i]);
            else
                alone[i] = true; // read() tells why, or opens it as any reader may (EPERM)
        }

        // Checked one by one: the ring would hand every statx to a worker
        // thread of the kernel, which costs more than the call.
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (fds[i] < 0)
                continue;
            FileInfo info;
            if (!fileInfo(fds[i], "", AT_EMPTY_PATH, info)) {
                alone[i] = true;
                continue;
            }
            if (!S_ISREG(info.mode)) {
                files[i].result = ReadResult::Gone;
                continue;
            }
            if (info.size > Folder::kMostBytesTogether) {
                files[i].result = ReadResult::TooBig;
                continue;
            }
            slots[i].regular = true;
            files[i].id = info.id;
            files[i].times = info.times;
            files[i].bytes.resize(static_cast<std::size_t>(info.size));
        }

        ring.run(done, [&](io_uring_sqe *sqe, std::size_t i) {
            std::string &bytes = files[i].bytes;
            if (!slots[i].regular || bytes.empty())
                io_uring_prep_nop(sqe);
            else
                io_uring_prep_read(sqe, fds[i], bytes.data(), static_cast<unsigned>(bytes.size()), 0);
        });
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (!slots[i].regular)
                continue;
            // A read the ring could not do is done again from the start.
            const std::size_t from = results[i] < 0 ? 0 : static_cast<std::size_t>(results[i]);
            if (readRest(fds[i], files[i].bytes, std::min(from, files[i].bytes.size()))) {
                files[i].result = ReadResult::Ok;
            } else {
                files[i].bytes.clear();
                files[i].result = ReadResult::ReadFailed;
            }
        }

        fds.closeAll(ring, done);
        return alone;
    }

    // True when what `opened` has open lies in this folder or below it.
    // The folder's path is asked afresh each time, from the folder held
    // open: once the folder has been moved, a link that still names its old
    // path leads to whatever now stands there, which is not this folder.
    bool leadsInside(int opened)
    {
        const std::string folder = resolvedPath(fd.get());
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
    Impl &impl = *folder.m_impl;
    impl.fd.reset(openNoAccessTime(AT_FDCWD, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
    if (impl.fd.get() < 0) {
        impl.problem = problemOfError(errno);
        return folder;
    }
    // Reading it lists the names; without the right to search it not one of
    // its files opens. Looking up "." asks for that right.
    const ScopedFd searched(::openat(impl.fd.get(), ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (searched.get() < 0)
        impl.problem = problemOfError(errno);
    return folder;
}

FolderProblem Folder::problem() const
{
    return m_impl ? m_impl->problem : FolderProblem::Missing;
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
    ScopedFd own(openNoAccessTime(m_impl->fd.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
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
        const bool ascii = cp932::isAscii(nativeName);
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
    char name[NAME_MAX + 1];
    if (!isOpen() || !entryName(nativeName, name))
        return ReadResult::OpenFailed;
    if (kind != EntryKind::File && kind != EntryKind::Link)
        return ReadResult::OpenFailed;

    // Relative to the listed folder, so the folder's path is not walked
    // again and cannot have been made to lead elsewhere. A file listed as
    // regular is opened without following a link that took its place since.
    ScopedFd fd(openNoAccessTime(m_impl->fd.get(), name, kind == EntryKind::File ? kOpenFileFlags : kOpenLinkFlags,
                                 &m_impl->tryNoAccessTime));
    if (fd.get() < 0)
        return resultOfOpenError(errno);
    FileInfo info;
    if (!fileInfo(fd.get(), "", AT_EMPTY_PATH, info))
        return ReadResult::OpenFailed;
    if (!S_ISREG(info.mode))
        return ReadResult::Gone; // a folder, a pipe or a device has taken its place
    if (kind == EntryKind::Link) {
        // Check what was opened, not what the link said when it was listed:
        // one that leads out of the folder by now is no file of the folder.
        if (!m_impl->leadsInside(fd.get()))
            return ReadResult::Gone;
    } else {
        id = info.id;
    }
    if (times)
        *times = info.times;

    if (info.size > mostBytes)
        return ReadResult::TooBig;
    // Room for the size and no more: the bytes are held once, as read (the
    // content pane keeps its line ends as they are).
    const auto size = static_cast<std::size_t>(info.size);
    if (contents.capacity() < size) {
        std::string().swap(contents); // a reserve beyond the old room would double it
        contents.reserve(size);
        adviseHugePages(contents.data(), contents.capacity());
    }
    contents.resize(size);
    if (!readRest(fd.get(), contents, 0)) {
        contents.clear();
        return ReadResult::ReadFailed;
    }
    return ReadResult::Ok;
}

void Folder::readFiles(std::span<FileRead> files) const
{
    for (FileRead &file : files) {
        // A big file's room is not carried into the reads of small ones.
        if (file.bytes.capacity() > kMostBytesTogether)
            std::string().swap(file.bytes);
    }
    if (isOpen() && !m_impl->ring)
        m_impl->ring = std::make_unique<IoRing>();
    for (std::size_t start = 0; start < files.size(); start += IoRing::kDepth) {
        const std::span<FileRead> batch =
            files.subspan(start, std::min<std::size_t>(IoRing::kDepth, files.size() - start));
        // What the ring leaves is read alone: links, whose target is checked
        // through the descriptor, and whatever went wrong on the way.
        std::bitset<IoRing::kDepth> alone;
        if (isOpen() && m_impl->ring->ready())
            alone = m_impl->readBatch(*m_impl->ring, batch);
        else
            alone.set();
        for (std::size_t i = 0; i < batch.size(); ++i)
            if (alone[i])
                batch[i].result =
                    readUpTo(batch[i].nativeName, batch[i].kind, batch[i].bytes, batch[i].id, kMostBytesTogether,
                             &batch[i].times);
    }
}

namespace {

// A failed call's errno as a deletion's outcome: an entry that went (or a
// link that took a file's place, which O_NOFOLLOW refuses) is no longer the
// listed file; anything else is the system refusing.
RemoveResult removeFailure(int error)
{
    if (error == ENOENT || error == ELOOP)
        return {RemoveOutcome::NotListed, {}};
    return {RemoveOutcome::Failed, systemErrorText(static_cast<unsigned long>(error))};
}

} // namespace

std::string systemErrorText(unsigned long code)
{
    char buffer[256];
    // The GNU strerror_r, in the user's language and its (UTF-8) encoding.
    std::string text = cp932::fromUtf8(::strerror_r(static_cast<int>(code), buffer, sizeof buffer));
    while (!text.empty() && (text.back() == '.' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

RemoveResult Folder::remove(std::string_view nativeName, const FileId &id) const
{
    char name[NAME_MAX + 1];
    if (!isOpen() || !id.known() || id.witness == IdWitness::None || id.witness == IdWitness::Unproven ||
        !entryName(nativeName, name))
        return {};
    // Only the file that was listed: one swapped in under its name since
    // stays, even one that the system gave the same inode number, and one
    // of another kind (a file in a link's place) whatever else it shares.
    // Its witness is taken as it was when listed: a generation number from
    // the file opened (never through a link that took its place), the
    // others from the entry itself. Whatever cannot be taken again proves
    // nothing, and nothing is deleted. (Linux cannot delete by descriptor;
    // the check and the unlink are as close together as the system allows.)
    FileInfo info;
    if (!fileInfo(m_impl->fd.get(), name, AT_SYMLINK_NOFOLLOW, info))
        return removeFailure(errno);
    if (id.witness == IdWitness::Generation) {
        // Opened only when it is a regular file by the number listed.
        if (!S_ISREG(info.mode) || info.id.volume != id.volume || info.id.index != id.index)
            return {};
        const ScopedFd file(::openat(m_impl->fd.get(), name, kOpenFileFlags));
        if (file.get() < 0)
            return removeFailure(errno); // a file we may not read cannot be proven
        if (!fileInfo(file.get(), "", AT_EMPTY_PATH, info))
            return removeFailure(errno);
    }
    if (info.id != id)
        return {};
    if (::unlinkat(m_impl->fd.get(), name, 0) != 0)
        return removeFailure(errno);
    return {RemoveOutcome::Removed, {}};
}

} // namespace platform
