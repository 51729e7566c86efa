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
// cannot be written: it is left out, with a warning.

#include "scan_writer.h"
#include "text_escape.h"

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

class NetscapeWriter : public ScanWriter {
public:
    explicit NetscapeWriter(OutputBuffer &out) : m_out(out) { m_out.text() += "# Netscape HTTP Cookie File\n\n"; }

    bool needsText() const override { return true; }

    void file(const ListedFile &file) override
    {
        m_cookies.check(file);
        std::string &out = m_out.text();
        std::size_t number = 0;
        m_cookies.forEach(file, [&](const listing::CookieRecord &cookie) {
            ++number;
            if (!fitsTheFormat(cookie)) {
                warnLeftOut(file, number);
                return;
            }
            if (cookie.httpOnly())
                out += "#HttpOnly_";
            appendDomain(out, cookie.host);
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
    // is refused by the programs that read the file. A host that is empty,
    // or that starts like a comment, would not read back as a host.
    static bool fitsTheFormat(const listing::CookieRecord &cookie)
    {
        for (const std::string_view text : {cookie.name, cookie.value, cookie.host, cookie.path})
            if (holdsControl(text))
                return false;
        return !cookie.host.empty() && cookie.host.find(' ') == std::string_view::npos && cookie.host.front() != '#' &&
               cookie.host.front() != '$';
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

    static void warnLeftOut(const ListedFile &file, std::size_t record)
    {
        std::fprintf(stderr,
                     "vellumin-scan: %s: cookie %zu left out: a control character in it cannot go into a Netscape "
                     "cookie file\n",
                     forPeople(file.file).c_str(), record);
    }

    OutputBuffer &m_out;
    FileCookies m_cookies;
    std::string m_scratch;
};

} // namespace

std::unique_ptr<ScanWriter> makeNetscapeWriter(OutputBuffer &out)
{
    return std::make_unique<NetscapeWriter>(out);
}

} // namespace scan
