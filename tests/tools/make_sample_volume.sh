#!/bin/sh
# Builds a small Windows volume with the cookie folders of several systems,
# as a disk of an old PC would hold them, for the tests and for the example
# in the manual pages:
#   Documents and Settings\Taro, Documents and Settings\花子  (Windows XP)
#   Users\Jiro, with a Low folder                            (Windows 7)
#   Users\Dave, files named by the browser                    (Windows 8)
#   Users\Guest, a cookie folder nobody may read
# in letter cases as mixed as copies and mounts leave them. Each file gets a
# last-write time of its own, so that a mix-up shows.
#   make_sample_volume.sh ROOT        (ROOT must not exist yet)
set -eu
root=$1
if [ -e "$root" ]; then
    echo "make_sample_volume.sh: $root exists already" >&2
    exit 2
fi

day=0
# cookie_file PATH [NAME VALUE HOST/PATH]...: a cookie file of those records.
cookie_file() {
    file=$1
    shift
    mkdir -p "$(dirname "$file")"
    : >"$file"
    while [ $# -ge 3 ]; do
        printf '%s\n%s\n%s\n1536\n2916434944\n31189652\n1866434944\n31020145\n*\n' "$1" "$2" "$3" >>"$file"
        shift 3
    done
    day=$((day + 1))
    touch -d "2012-05-$(printf %02d "$day") 07:08:09 UTC" "$file"
}

xp="$root/Documents and Settings"
cookie_file "$xp/Taro/Cookies/taro@www.example.com[1].txt" \
    id 1234 www.example.com/ lang ja www.example.com/
cookie_file "$xp/Taro/Cookies/taro@news.example.jp[2].txt" \
    region kanto news.example.jp/local/
cookie_file "$xp/花子/cookies/花子@blog.example.jp[1].txt" \
    theme dark blog.example.jp/diary/

# Windows 7 and 8 share the "Users" folder, here in lower case.
seven="$root/users/Jiro/appdata/Roaming/Microsoft/Windows/COOKIES"
cookie_file "$seven/jiro@shop.example.net[1].txt" \
    cart 3 shop.example.net/
cookie_file "$seven/low/jiro@games.example.com[1].txt" \
    score 99 games.example.com/

# Since 2011 the browser names its files at random: the site is only inside.
eight="$root/users/Dave/AppData/Local/Microsoft/Windows/INetCookies"
cookie_file "$eight/F6F3N6DQ.txt" \
    sid abc maps.example.org/ zoom 12 maps.example.org/
cookie_file "$eight/0K2D1VOZ.txt" \
    pref tv video.example.com/
cookie_file "$eight/dave@example.org[1].txt" \
    visit 1 example.org/

guest="$root/users/Guest/AppData/Roaming/Microsoft/Windows/Cookies"
cookie_file "$guest/guest@example.com[1].txt" \
    hidden 1 example.com/
chmod 000 "$guest"
