#include "profile_folders.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace listing {
namespace {

// Where each system kept its cookie folders; "*" is the profile's folder.
//   Windows 95/98/Me: Windows\Cookies, or per user Windows\Profiles\*\Cookies
//   Windows NT 4: WINNT\Profiles\*\Cookies
//   Windows 2000 and XP: Documents and Settings\*\Cookies
//   Windows Vista and 7: Users\*\AppData\Roaming\Microsoft\Windows\Cookies
//   Windows 8 and 8.1: Users\*\AppData\Local\Microsoft\Windows\INetCookies
using Place = std::vector<std::string_view>;
const std::array<Place, 6> &places()
{
    static const std::array<Place, 6> all = {
        Place{"Windows", "Cookies"},
        Place{"Windows", "Profiles", "*", "Cookies"},
        Place{"WINNT", "Profiles", "*", "Cookies"},
        Place{"Documents and Settings", "*", "Cookies"},
        Place{"Users", "*", "AppData", "Roaming", "Microsoft", "Windows", "Cookies"},
        Place{"Users", "*", "AppData", "Local", "Microsoft", "Windows", "INetCookies"},
    };
    return all;
}

constexpr std::string_view kLowFolder = "Low";

std::string joined(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != platform::kPathSeparator)
        path += platform::kPathSeparator;
    path.append(name);
    return path;
}

// A folder of its own: not ".", "..", a link or a junction.
bool isRealFolder(const platform::DirEntry &entry)
{
    return entry.kind == platform::EntryKind::Directory && !entry.id.known() && entry.name != "." &&
           entry.name != "..";
}

class Walk {
public:
    explicit Walk(std::string_view root) : m_root(root) {}

    void place(const Place &components) { step(components, 0, m_root, {}, {}); }

    ProfileFolders result;

private:
    // Takes `components[index]` in folder `native` (`relative` to the root),
    // the profile found so far being `profile`.
    void step(const Place &components, std::size_t index, const std::string &native, const std::string &relative,
              const std::string &profile)
    {
        const platform::Folder folder = platform::Folder::open(native);
        if (folder.problem() != platform::FolderProblem::None) {
            // Not there is the usual case: most places belong to other systems.
            if (folder.problem() != platform::FolderProblem::Missing &&
                folder.problem() != platform::FolderProblem::NotAFolder)
                noteUnreadable(relative, folder.problem());
            return;
        }
        const std::string_view wanted = components[index];
        // The wildcard only for the profile: a literal name holds none, so
        // that "find" matches it alone, regardless of case.
        const platform::DirectoryListing entries = folder.find(wanted);
        const bool last = index + 1 == components.size();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const platform::DirEntry entry = entries[i];
            if (!isRealFolder(entry))
                continue;
            const std::string nextNative = joined(native, entry.nativeName);
            const std::string nextRelative = joined(relative, entry.nativeName);
            const std::string nextProfile = wanted == "*" ? std::string(entry.nativeName) : profile;
            if (!last) {
                step(components, index + 1, nextNative, nextRelative, nextProfile);
                continue;
            }
            add(nextProfile, nextRelative, nextNative);
            // Its Low folder, when it has one that can be seen.
            const platform::DirectoryListing low = platform::Folder::open(nextNative).find(kLowFolder);
            for (std::size_t j = 0; j < low.size(); ++j)
                if (isRealFolder(low[j]))
                    add(nextProfile, joined(nextRelative, low[j].nativeName), joined(nextNative, low[j].nativeName));
        }
    }

    void add(const std::string &profile, const std::string &relative, const std::string &native)
    {
        result.folders.push_back({profile, relative, native});
    }

    // Once each: "Users" is on the way to two places.
    void noteUnreadable(const std::string &relative, platform::FolderProblem problem)
    {
        const auto same = [&](const UnreadableFolder &known) { return known.relative == relative; };
        if (std::none_of(result.unreadable.begin(), result.unreadable.end(), same))
            result.unreadable.push_back({relative, problem});
    }

    std::string m_root;
};

// The root without trailing separators, but "/" (or "C:\") stays itself.
std::string trimmedRoot(std::string_view root)
{
    while (root.size() > 1 && root.back() == platform::kPathSeparator &&
           !(root.size() == 3 && root[1] == ':'))
        root.remove_suffix(1);
    return std::string(root);
}

} // namespace

ProfileFolders findProfileFolders(std::string_view nativeRoot)
{
    Walk walk(trimmedRoot(nativeRoot));
    for (const Place &place : places())
        walk.place(place);
    return std::move(walk.result);
}

std::vector<std::string> cookieFolderPlaces()
{
    std::vector<std::string> out;
    for (const Place &place : places()) {
        std::string text;
        for (const std::string_view component : place)
            text = joined(text, component);
        out.push_back(text);
    }
    return out;
}

} // namespace listing
