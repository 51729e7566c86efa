#include "filesystem.h"

#include "cp932.h"
#include "mask_match.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

class ScopedFd {
public:
    explicit ScopedFd(int fd) : m_fd(fd) {}
    ~ScopedFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ScopedFd(const ScopedFd &) = delete;
    ScopedFd &operator=(const ScopedFd &) = delete;
    int get() const { return m_fd; }

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

EntryKind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISDIR(mode))
        return EntryKind::Directory;
    return EntryKind::Other;
}

EntryKind kindOf(int dirFd, const dirent &entry)
{
    switch (entry.d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Directory;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat info;
        if (::fstatat(dirFd, entry.d_name, &info, 0) != 0)
            return EntryKind::File; // a dangling link: opening it fails like a missing file
        return kindOfMode(info.st_mode);
    }
    default:
        return EntryKind::Other;
    }
}

// The order of NTFS: names compared with their letters in upper case. UTF-8
// byte order is code point order, so folding ASCII and full-width Latin
// letters is all it takes for the names a cookie folder holds.
int compareIgnoringCase(std::string_view a, std::string_view b)
{
    const auto fold = [](std::string_view s, std::size_t i) -> unsigned {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 'a' && c <= 'z')
            return c - ('a' - 'A');
        // U+FF41..FF5A (EF BD 81..9A) sort as U+FF21..FF3A (EF BC A1..BA).
        if (c == 0xBD && i >= 1 && static_cast<unsigned char>(s[i - 1]) == 0xEF && i + 1 < s.size()) {
            const auto next = static_cast<unsigned char>(s[i + 1]);
            if (next >= 0x81 && next <= 0x9A)
                return 0xBC;
        }
        if (c >= 0x81 && c <= 0x9A && i >= 2 && static_cast<unsigned char>(s[i - 2]) == 0xEF &&
            static_cast<unsigned char>(s[i - 1]) == 0xBD)
            return c + (0xA1 - 0x81);
        return c;
    };
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned x = fold(a, i), y = fold(b, i);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

std::string_view folderPart(std::string_view path)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t pos = 0; pos < path.size(); pos += cp932::charLength(path, pos))
        if (path[pos] == kPathSeparator)
            last = pos;
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

std::string toNativePath(std::string_view path)
{
    return cp932::toUtf8(path);
}

DirEntry DirectoryListing::operator[](std::size_t index) const
{
    const Item &item = m_items[index];
    const std::string_view names(m_names);
    return {names.substr(item.name, item.nameLength), names.substr(item.nativeName, item.nativeLength),
            item.kind};
}

void DirectoryListing::add(std::string_view name, std::string_view nativeName, EntryKind kind)
{
    Item item{};
    item.name = static_cast<std::uint32_t>(m_names.size());
    item.nameLength = static_cast<std::uint16_t>(name.size());
    m_names.append(name);
    if (nativeName == name) {
        item.nativeName = item.name; // the usual case: an ASCII name is stored once
    } else {
        item.nativeName = static_cast<std::uint32_t>(m_names.size());
        m_names.append(nativeName);
    }
    item.nativeLength = static_cast<std::uint16_t>(nativeName.size());
    item.kind = kind;
    m_items.push_back(item);
}

void DirectoryListing::sortByName()
{
    const std::string_view names(m_names);
    std::sort(m_items.begin(), m_items.end(), [names](const Item &a, const Item &b) {
        return compareIgnoringCase(names.substr(a.nativeName, a.nativeLength),
                                   names.substr(b.nativeName, b.nativeLength)) < 0;
    });
}

DirectoryListing findFiles(std::string_view mask)
{
    DirectoryListing listing;
    const std::string_view folder = folderPart(mask);
    const std::string_view pattern = mask.substr(folder.size());
    if (hasWildcard(folder) || pattern.empty())
        return listing;

    const std::string nativeFolder = folder.empty() ? std::string(".") : toNativePath(folder);
    ScopedDir dir(::opendir(nativeFolder.c_str()));
    if (!dir.get())
        return listing;
    const int dirFd = ::dirfd(dir.get());
    errno = 0;
    while (const dirent *entry = ::readdir(dir.get())) {
        const std::string_view nativeName(entry->d_name);
        const std::string name = cp932::fromUtf8(nativeName);
        if (matchesMask(pattern, name))
            listing.add(name, nativeName, kindOf(dirFd, *entry));
    }
    listing.sortByName();
    return listing;
}

ReadResult readWholeFile(const std::string &nativePath, std::string &contents)
{
    contents.clear();
    // O_NONBLOCK: a pipe must not hang the open; it is refused just below.
    ScopedFd fd(::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        return ReadResult::OpenFailed;
    struct stat info;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return ReadResult::OpenFailed;

    // Read to the end, not to the size seen at open: a file may grow meanwhile.
    std::size_t used = 0;
    contents.resize(static_cast<std::size_t>(info.st_size) + 1);
    for (;;) {
        if (used == contents.size())
            contents.resize(contents.size() * 2);
        const ssize_t got = ::read(fd.get(), contents.data() + used, contents.size() - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            contents.clear();
            return ReadResult::ReadFailed;
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    contents.resize(used);
    return ReadResult::Ok;
}

bool deleteFile(const std::string &nativePath)
{
    return ::unlink(nativePath.c_str()) == 0;
}

} // namespace platform
