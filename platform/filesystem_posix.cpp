#include "filesystem.h"

#include "cp932.h"
#include "mask_match.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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

// Tells what each entry of one open folder is, following symbolic links only
// as far as to see where they lead.
class EntryClassifier {
public:
    EntryClassifier(int dirFd, std::string folder) : m_dirFd(dirFd), m_folder(std::move(folder)) {}

    EntryKind kindOf(const dirent &entry)
    {
        switch (entry.d_type) {
        case DT_REG:
            return EntryKind::File;
        case DT_DIR:
            return EntryKind::Directory;
        case DT_LNK:
            return kindOfLink(entry.d_name);
        case DT_UNKNOWN: {
            struct stat info;
            if (::fstatat(m_dirFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                return EntryKind::File; // gone already: reading it fails like a missing file
            return S_ISLNK(info.st_mode) ? kindOfLink(entry.d_name) : kindOfMode(info.st_mode);
        }
        default:
            return EntryKind::Other;
        }
    }

private:
    EntryKind kindOfLink(const char *name)
    {
        struct stat info;
        if (::fstatat(m_dirFd, name, &info, 0) != 0)
            return EntryKind::Link; // leads nowhere: opening it fails like a missing file
        const EntryKind target = kindOfMode(info.st_mode);
        if (target != EntryKind::File)
            return target;
        return leadsInside(name) ? EntryKind::Link : EntryKind::OutsideLink;
    }

    // True when the link's target lies in this folder or below it.
    bool leadsInside(const char *name)
    {
        if (m_realFolder.empty()) {
            char *real = ::realpath(m_folder.c_str(), nullptr);
            if (!real)
                return false;
            m_realFolder = real;
            std::free(real);
            if (m_realFolder.back() != '/')
                m_realFolder += '/';
        }
        const std::string link = m_folder + (m_folder.back() == '/' ? "" : "/") + name;
        char *target = ::realpath(link.c_str(), nullptr);
        if (!target)
            return false;
        const bool inside = std::string_view(target).starts_with(m_realFolder);
        std::free(target);
        return inside;
    }

    int m_dirFd;
    std::string m_folder;
    std::string m_realFolder; // with a trailing separator, found on first need
};

// One character of a UTF-8 name for sorting: its code point with the letters
// in upper case, as NTFS compares names. A byte that starts no valid sequence
// stands for itself, above every character.
struct SortChar {
    std::uint32_t key;
    std::size_t length;
};

SortChar sortCharAt(std::string_view s, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80)
        return {static_cast<std::uint32_t>(lead >= 'a' && lead <= 'z' ? lead - ('a' - 'A') : lead), 1};
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || pos + length > s.size())
        return {0x110000u + lead, 1};
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return {0x110000u + lead, 1};
        code = code << 6 | (byte(pos + i) & 0x3F);
    }
    if (code >= 0xFF41 && code <= 0xFF5A) // full-width a-z
        code -= 0x20;
    return {code, length};
}

// Compares names in the order of NTFS. Names share long prefixes
// ("user@www.example..."), so the equal bytes are passed over first and the
// characters are decoded only from the one where they differ.
bool sortsBefore(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t pos = 0;
    while (pos < common && a[pos] == b[pos])
        ++pos;
    // Back to the start of the character that differs.
    while (pos > 0 && pos < a.size() && (static_cast<unsigned char>(a[pos]) & 0xC0) == 0x80)
        --pos;
    while (pos < a.size() && pos < b.size()) {
        const SortChar x = sortCharAt(a, pos), y = sortCharAt(b, pos);
        if (x.key != y.key)
            return x.key < y.key;
        if (x.length != y.length) // cannot happen for equal keys, but stay safe
            return x.length < y.length;
        pos += x.length;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
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
    return {name(item.name, item.nameLength), name(item.nativeName, item.nativeLength), item.kind};
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

void DirectoryListing::add(std::string_view name, std::string_view nativeName, EntryKind kind)
{
    Item item{};
    item.name = store(name);
    item.nameLength = static_cast<std::uint16_t>(name.size());
    // The usual case, an ASCII name, is stored once.
    item.nativeName = nativeName == name ? item.name : store(nativeName);
    item.nativeLength = static_cast<std::uint16_t>(nativeName.size());
    item.kind = kind;
    m_items.push_back(item);
}

void DirectoryListing::finish()
{
    std::sort(m_items.begin(), m_items.end(), [this](const Item &a, const Item &b) {
        return sortsBefore(name(a.nativeName, a.nativeLength), name(b.nativeName, b.nativeLength));
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
    EntryClassifier classifier(::dirfd(dir.get()), nativeFolder);
    while (const dirent *entry = ::readdir(dir.get())) {
        const std::string_view nativeName(entry->d_name);
        const std::string name = cp932::fromUtf8(nativeName);
        if (matchesMask(pattern, name))
            listing.add(name, nativeName, classifier.kindOf(*entry));
    }
    listing.finish();
    return listing;
}

ReadResult readWholeFile(const std::string &nativePath, std::string &contents, FileCheck check)
{
    contents.clear();
    // O_NONBLOCK: a pipe must not hang the open (nor, should one have taken a
    // listed file's place, the read).
    ScopedFd fd(::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        return ReadResult::OpenFailed;
    if (check == FileCheck::MustBeRegular) {
        struct stat info;
        if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
            return ReadResult::OpenFailed;
    }

    // Read to the end, not to a size seen at open: a file may grow meanwhile.
    // Cookie files are small: one read of this size usually takes all.
    constexpr std::size_t kFirstRead = 4096;
    std::size_t used = 0;
    contents.resize(kFirstRead);
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
