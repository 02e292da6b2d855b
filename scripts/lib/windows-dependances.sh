#!/usr/bin/env bash
# Cross-builds for Windows x86-64, once, what the station links: OpenSSL (the relay's https),
# libmicrohttpd, libqrencode and Qt, from Debian's sources. Each goes into a folder of the
# cache named after its version and a hash of the options that built it, so a second run
# reuses it and a change of options builds it anew; a build cut short is never reused.
#   VELLOR_CACHE_WINDOWS  the cache (default ~/.cache/vellorcup-windows)
# Prints four folders on its last line: the C libraries, OpenSSL, Qt, and the compilers' folder
# (the -posix MinGW compilers under their plain names).
set -euo pipefail
cache="${VELLOR_CACHE_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/vellorcup-windows}"
hote=x86_64-w64-mingw32
mkdir -p "$cache/sources" "$cache/construction" "$cache/bin"
journal() { echo "windows-dependances : $*" >&2; }

# The default MinGW thread model (win32) has no std::thread nor std::mutex.
for outil in gcc g++; do
    ln -sf "/usr/bin/$hote-$outil-posix" "$cache/bin/$hote-$outil"
done
export PATH="$cache/bin:$PATH"

# deb-src entries in a private apt configuration: the system's sources stay as they are.
apt_prive=(-o "Dir::Etc::SourceList=$cache/apt/sources.list"
    -o "Dir::Etc::SourceParts=$cache/apt/vide" -o "Dir::State::Lists=$cache/apt/lists"
    -o "APT::Sandbox::User=root")
if [ ! -d "$cache/apt/lists/partial" ]; then
    mkdir -p "$cache/apt/lists/partial" "$cache/apt/vide"
    cle=/usr/share/keyrings/debian-archive-keyring.gpg
    # shellcheck source=/dev/null
    . /etc/os-release
    for suite in "$VERSION_CODENAME" "$VERSION_CODENAME-updates"; do
        echo "deb-src [signed-by=$cle] http://deb.debian.org/debian $suite main"
    done >"$cache/apt/sources.list"
    echo "deb-src [signed-by=$cle] http://deb.debian.org/debian-security" \
        "$VERSION_CODENAME-security main" >>"$cache/apt/sources.list"
    apt-get "${apt_prive[@]}" update >&2
fi

# Extracts a source package into $cache/sources/PAQUET-VERSION and sets $source to it.
# apt checks every file against the archive's index. A mirror that lacks the Debian part
# (seen for openssl and qrencode) leaves the upstream tarball that Debian ships, unpatched.
extraire() {
    local paquet="$1" orig version dsc
    (cd "$cache/sources" && apt-get "${apt_prive[@]}" source --download-only "$paquet" >&2) ||
        journal "$paquet : téléchargement incomplet"
    orig="$(find "$cache/sources" -maxdepth 1 -name "${paquet}_*.orig.tar.*" ! -name '*.asc' |
        sort -V | tail -1)"
    [ -n "$orig" ] || { journal "$paquet : sources introuvables"; exit 1; }
    version="$(basename "$orig")"
    version="${version#"${paquet}_"}"
    version="${version%%.orig.tar.*}"
    source="$cache/sources/$paquet-$version"
    [ -f "$source/.extrait" ] && return
    rm -rf "$source"
    dsc="$(find "$cache/sources" -maxdepth 1 -name "${paquet}_${version}-*.dsc" | sort -V | tail -1)"
    if [ -n "$dsc" ] && dpkg-source -x "$dsc" "$source" >&2; then
        :
    else
        journal "$paquet $version : sans les correctifs Debian"
        rm -rf "$source" && mkdir -p "$source"
        tar -xf "$orig" -C "$source" --strip-components=1
    fi
    touch "$source/.extrait"
}

# Sets $prefixe to the install folder for NAME, VERSION and the build's OPTIONS; returns 1
# when it is already complete.
prefixe_pour() {
    local cle
    cle="$(printf '%s\n' "$3" "$($hote-g++ -dumpfullversion)" | sha1sum | cut -c1-10)"
    prefixe="$cache/$1-$2-$cle"
    [ -f "$prefixe/.complet" ] && return 1
    rm -rf "$prefixe" "$cache/construction/$1"
    mkdir -p "$cache/construction/$1"
}
# Marks NAME's install folder complete; its build folder (1.4 GB for Qt) goes.
termine() {
    touch "$prefixe/.complet"
    rm -rf "$cache/construction/$1"
}

extraire openssl
options_openssl="mingw64 shared no-tests --libdir=lib"
if prefixe_pour openssl "${source##*-}" "$options_openssl"; then
    journal "OpenSSL ${source##*-} → $prefixe"
    # shellcheck disable=SC2086 # several options
    (cd "$cache/construction/openssl" &&
        "$source/Configure" $options_openssl --cross-compile-prefix=$hote- \
            --prefix="$prefixe" >&2 &&
        make -j2 build_libs >&2 && make install_dev install_runtime_libs >&2)
    termine openssl
fi
openssl="$prefixe"

# libmicrohttpd and libqrencode share one folder: the station finds both by pkg-config.
extraire libmicrohttpd
source_mhd="$source"
extraire qrencode
options_c="mhd:--disable-https --disable-doc --disable-examples --disable-curl --disable-static
qr:--without-tools --disable-static"
if prefixe_pour bibliotheques-c "${source_mhd##*-}-${source##*-}" "$options_c"; then
    journal "libmicrohttpd et libqrencode → $prefixe"
    for paire in "mhd:$source_mhd" "qr:$source"; do
        dossier="$cache/construction/bibliotheques-c/${paire%%:*}"
        mkdir -p "$dossier"
        # shellcheck disable=SC2046 # the options line of this library
        (cd "$dossier" && "${paire#*:}/configure" --host=$hote --prefix="$prefixe" \
            $(grep "^${paire%%:*}:" <<<"$options_c" | cut -d: -f2-) >&2 &&
            make -j2 >&2 && make install >&2)
    done
    termine bibliotheques-c
fi
bibliotheques="$prefixe"

# Qt: only the modules and plug-ins the station loads (Core, Gui, Widgets, Network, Test;
# the windows and offscreen platforms, the Vista style). No Sql, Xml, Concurrent nor
# PrintSupport, no image format beyond the built-in PNG, no bearer, touch or Direct2D plug-in.
# Debian's source has no wintab; the offscreen plug-in needs FreeType.
extraire qtbase-opensource-src
options_qt="-xplatform win32-g++ -device-option CROSS_COMPILE=$hote- -opensource
-confirm-license -release -shared -nomake examples -nomake tests -no-opengl -no-dbus -no-icu
-no-feature-tabletevent -no-feature-sql -no-feature-xml -no-feature-concurrent
-no-feature-printer -no-feature-bearermanagement -no-feature-tuiotouch -no-feature-vulkan
-no-direct2d -no-gif -no-ico -no-libjpeg -qt-freetype -qt-zlib -qt-libpng -qt-pcre
-qt-harfbuzz -openssl-linked
openssl:$(basename "$openssl")"
version_qt="${source##*-}"
if prefixe_pour qt "${version_qt%%+*}" "$options_qt"; then
    journal "Qt ${version_qt%%+*} → $prefixe (vingt minutes environ sur deux cœurs)"
    # shellcheck disable=SC2046 # the options, less the line that only keys the cache
    (cd "$cache/construction/qt" &&
        "$source/configure" $(grep -v '^openssl:' <<<"$options_qt") -prefix "$prefixe" \
            -I "$openssl/include" -L "$openssl/lib" \
            OPENSSL_LIBS="-lssl -lcrypto -lws2_32 -lcrypt32" >&2 &&
        make -j2 >&2 && make install >&2)
    termine qt
fi
echo "$bibliotheques $openssl $prefixe $cache/bin"
