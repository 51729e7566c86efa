// The decoded cookies as a Netscape cookie file, the "cookies.txt" that
// curl, wget and Python's http.cookiejar.MozillaCookieJar read:
//
//   # Netscape HTTP Cookie File
//   .example.com	TRUE	/	FALSE	1782913823	name	value
//   #HttpOnly_.example.com	TRUE	/	TRUE	1782913823	SID	x
//
// One line per cookie: domain, whether subdomains are included, path,
// secure, expiry in Unix seconds, name and value, tab-separated; an HttpOnly
// cookie's line starts with "#HttpOnly_". The format has no escapes, so a
// cookie with a tab, a line break or another control character in it
// cannot be written, nor one whose host one of those readers would take for
// something else: it is left out, with a warning that says why.
//
// With --profiles a comment line names the profile and the folder before
// the cookies of each folder ("# profile: NAME  folder: PATH"): the format
// has no field for them, and every reader skips a line that starts with "#".

#include "output_text.h"
#include "scan_writer.h"

#include <cstdio>

namespace scan {
namespace {

bool holdsControl(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

bool isIpAddress(std::string_view host)
{
    return host.find(':') != std::string_view::npos || host.find_first_not_of("0123456789.") == std::string_view::npos;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(prefix[i]))
            return false;
    }
    return true;
}

std::string_view withoutPort(std::string_view host)
{
    // Cookies are not kept apart by port: "example.net:8080" sets and gets
    // the cookies of "example.net". An IPv6 address is in brackets when a
    // port follows it, and without them holds more than one colon.
    std::size_t colon;
    if (host.starts_with('[')) {
        colon = host.find(']');
        if (colon == std::string_view::npos || ++colon == host.size() || host[colon] != ':')
            return host;
    } else {
        colon = host.find(':');
        if (colon == std::string_view::npos || host.find(':', colon + 1) != std::string_view::npos)
            return host;
    }
    if (host.find_first_not_of("0123456789", colon + 1) != std::string_view::npos)
        return host;
    return host.substr(0, colon);
}

const char *whyNotAHost(std::string_view host)
{
    if (host.empty())
        return "its host is empty";
    if (holdsControl(host))
        return "a control character in its host cannot go into a Netscape cookie file";
    if (host.find(' ') != std::string_view::npos)
        return "its host holds a blank";
    // Python takes a line for a comment when it starts with "#" or "$" after
    // white space, the full-width blank (CP932 81 40) included; curl and
    // wget at "#".
    std::string_view start = host;
    while (start.starts_with("\x81\x40"))
        start.remove_prefix(2);
    if (start.starts_with('#'))
        return start.size() == host.size()
                   ? "its host starts with \"#\", which reads as a comment"
                   : "its host starts with a full-width blank and \"#\", which reads as a comment";
    if (start.starts_with('$'))
        return start.size() == host.size() ? "its host starts with \"$\", which Python reads as a comment"
                                           : "its host starts with a full-width blank and \"$\", which Python reads "
                                             "as a comment";
    // curl reads such a line as a header, and takes one leading dot off the
    // domain: "..example.com" would become ".example.com".
    if (startsWithNoCase(host, "Set-Cookie:"))
        return "its host starts with \"Set-Cookie:\", which curl reads as a header";
    if (host.starts_with(".."))
        return "its host starts with two dots, which curl reads as one";
    return nullptr;
}

class NetscapeWriter : public ScanWriter {
public:
    NetscapeWriter(OutputBuffer &out, WriterOptions options) : m_out(out), m_profiles(options.profiles)
    {
        m_out.text() += "# Netscape HTTP Cookie File\n\n";
    }

    bool needsText() const override { return true; }

    void file(const ListedFile &file) override
    {
        m_cookies.check(file);
        std::string &out = m_out.text();
        if (m_profiles && (!m_folderNamed || file.folder != m_folder)) {
            // Escaped as a warning is: a line break in a name would end the
            // comment and start a cookie line.
            out += "# profile: ";
            appendForPeople(out, file.profile);
            out += "  folder: ";
            appendForPeople(out, file.folder);
            out += '\n';
            m_folder.assign(file.folder);
            m_folderNamed = true;
        }
        std::size_t number = 0;
        m_cookies.forEach(file, [&](const listing::CookieRecord &cookie) {
            ++number;
            const std::string_view host = withoutPort(cookie.host);
            if (const char *why = whyLeftOut(cookie, host)) {
                warnLeftOut(file, number, why);
                return;
            }
            if (cookie.httpOnly())
                out += "#HttpOnly_";
            appendDomain(out, host);
            out += '\t';
            appendText(out, cookie.path);
            out += cookie.secure() ? "\tTRUE\t" : "\tFALSE\t";
            // 0 would make it a cookie for the session: one that expired
            // before 1970 stays expired.
            out += std::to_string(std::max<std::int64_t>(listing::fileTimeUnixSeconds(cookie.expires), 1));
            out += '\t';
            appendText(out, cookie.name);
            out += '\t';
            appendText(out, cookie.value);
            out += '\n';
            m_out.flushIfFull();
        });
    }

    void end(const ScanEnd &) override { m_out.flush(); }

private:
    // A tab or a line break would break the line; another control character
    // is refused by the programs that read the file.
    static const char *whyLeftOut(const listing::CookieRecord &cookie, std::string_view host)
    {
        if (const char *why = whyNotAHost(host))
            return why;
        if (holdsControl(cookie.name))
            return "a control character in its name cannot go into a Netscape cookie file";
        if (holdsControl(cookie.value))
            return "a control character in its value cannot go into a Netscape cookie file";
        if (holdsControl(cookie.path))
            return "a control character in its path cannot go into a Netscape cookie file";
        return nullptr;
    }

    // A CP932 text, which may be as long as its file, converted and written
    // out piece by piece.
    void appendText(std::string &out, std::string_view cp932)
    {
        forEachUtf8Piece(cp932, m_scratch, [&](std::string_view piece) {
            out += piece;
            m_out.flushIfFull();
        });
    }

    // The browser that wrote the cookie files sent each cookie to its host's
    // subdomains too: a domain name is written with a leading "." and TRUE.
    // An address or a name without a dot ("localhost") has no subdomains.
    // (The dots, colons and digits are the same bytes in CP932.)
    void appendDomain(std::string &out, std::string_view host)
    {
        const bool subdomains = host.front() == '.' || (!isIpAddress(host) && host.find('.') != std::string_view::npos);
        if (subdomains && host.front() != '.')
            out += '.';
        appendText(out, host);
        out += subdomains ? "\tTRUE" : "\tFALSE";
    }

    static void warnLeftOut(const ListedFile &file, std::size_t record, const char *why)
    {
        std::fprintf(stderr, "vellumin-scan: %s: cookie %zu left out: %s\n", forPeople(placeOf(file)).c_str(), record,
                     why);
    }

    OutputBuffer &m_out;
    bool m_profiles;
    bool m_folderNamed = false;
    std::string m_folder; // the folder whose cookies are being written
    FileCookies m_cookies;
    std::string m_scratch;
};

} // namespace

std::unique_ptr<ScanWriter> makeNetscapeWriter(OutputBuffer &out, WriterOptions options)
{
    return std::make_unique<NetscapeWriter>(out, options);
}

} // namespace scan
