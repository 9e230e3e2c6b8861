#!/usr/bin/env bash
# Cross-builds the Windows libraries (libcurl with Schannel TLS, minizip, libpng, jsoncpp,
# pugixml, googletest) from Debian's own source packages, of the versions the Linux build uses, into a
# sysroot cached outside the source tree. zlib itself comes from libz-mingw-w64-dev. The tests'
# loopback HTTPS server adds two libraries the program never links: OpenSSL (its libraries only)
# and cpp-httplib (its header); of these the installed version is taken when the archive still
# has it, else the archive's own.
# Source packages are fetched through an apt configuration private to this script: its
# deb-src entries are derived at run time from the machine's configured Debian sources, with
# its own lists folder; the system's apt configuration is never touched.
# Prints the sysroot's path as its last line. Quick when the sysroot for these versions exists.
set -euo pipefail

# The whole script is one function, read before it runs: editing the file during a build is safe.
main() {

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
toolchain="$root/cmake/toolchains/mingw-w64-x86_64.cmake"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/qvorvane"
jobs="${QV_JOBS:-2}"

# library => the binary package the Linux build links against; its source package and version
# are asked of dpkg, so the Windows build follows whatever the machine has installed.
declare -A binary_of=(
  [curl]=libcurl4-openssl-dev [zlib]=zlib1g-dev [png]=libpng-dev [jsoncpp]=libjsoncpp-dev
  [pugixml]=libpugixml-dev [openssl]=libssl-dev [httplib]=libcpp-httplib-dev)
libs=(curl zlib png jsoncpp pugixml openssl httplib)
# Only for the tests: any version the archive has will do when the installed one is gone.
declare -A test_only=([openssl]=1 [httplib]=1)
declare -A source_of=() version_of=()
for lib in "${libs[@]}"; do
  read -r source_of[$lib] version_of[$lib] < <(
    dpkg-query -W -f='${source:Package} ${source:Version}\n' "${binary_of[$lib]}")
done
gtest_version="$(dpkg-query -W -f='${Version}' googletest)"
stamp="$(for lib in "${libs[@]}"; do echo "${source_of[$lib]}=${version_of[$lib]}"; done
         echo "googletest=$gtest_version"
         echo "mingw=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)"
         sha256sum "$0" "$toolchain" | cut -d' ' -f1)"
hash="$(printf '%s\n' "$stamp" | sha256sum | cut -c1-16)"
sysroot="$cache/windows-sysroot-$hash"

if [ -f "$sysroot/.complete" ]; then
  echo "$sysroot"
  exit 0
fi

work="$cache/windows-build-$hash"
rm -rf "$work" "$sysroot"
mkdir -p "$work" "$sysroot"

# --- private apt configuration: deb-src entries derived from the configured sources ---------
apt_dir="$work/apt"
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
: > "$apt_dir/sources.list"
n=0
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  n=$((n + 1))
  case "$f" in
    *.sources)  # deb822 stanzas: the Types field becomes deb-src
      sed -E 's/^Types:.*/Types: deb-src/' "$f" > "$apt_dir/sources.list.d/$n.sources" ;;
    *)          # one-line entries: "deb [options] uri suite components"
      sed -nE 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' "$f" > "$apt_dir/sources.list.d/$n.list" ;;
  esac
done
apt_opts=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "Debug::NoLocking=1"
  -o "APT::Sandbox::User=$(id -un)"
)
echo "build-deps: fetching source package lists" >&2
apt-get "${apt_opts[@]}" -q update >&2

src_dir="$work/src"
mkdir -p "$src_dir"
for lib in "${libs[@]}"; do
  spec="${source_of[$lib]}=${version_of[$lib]}"
  echo "build-deps: apt-get source $spec" >&2
  if ! (cd "$src_dir" && apt-get "${apt_opts[@]}" -q source --only-source "$spec" >&2); then
    # The installed revision may have left the archive (a later security update replaced it):
    # the archive's revision of the same upstream version then, never another upstream version.
    # A library only the tests use may take another upstream version.
    upstream="${version_of[$lib]%-*}"
    echo "build-deps: $spec is not in the archive; trying its other revisions of $upstream" >&2
    found=""
    for version in $(apt-cache "${apt_opts[@]}" showsrc --only-source "${source_of[$lib]}" |
                     sed -n 's/^Version: //p' | sort -urV); do
      [ "${version%-*}" = "$upstream" ] || [ -n "${test_only[$lib]:-}" ] || continue
      if (cd "$src_dir" && apt-get "${apt_opts[@]}" -q source --only-source \
            "${source_of[$lib]}=$version" >&2); then
        found="$version"
        break
      fi
    done
    if [ -z "$found" ]; then
      echo "build-deps: no revision of ${source_of[$lib]} $upstream can be fetched" >&2
      exit 1
    fi
  fi
done
source_tree() {  # the unpacked tree of a library's source package: <source>-<upstream version>
  find "$src_dir" -mindepth 1 -maxdepth 1 -type d -name "${source_of[$1]}-*" | head -n1
}

# --- cross-builds --------------------------------------------------------------------------
cmake_build() {  # name, source folder, cmake options...
  local name="$1" src="$2"; shift 2
  echo "build-deps: building $name" >&2
  cmake -S "$src" -B "$work/build-$name" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQV_WINDOWS_SYSROOT="$sysroot" -DQV_BUILDING_WINDOWS_DEPS=ON \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$sysroot" \
    -DBUILD_SHARED_LIBS=OFF "$@" >&2
  cmake --build "$work/build-$name" -j "$jobs" >&2
  cmake --install "$work/build-$name" >&2
}

# minizip: zlib's contrib/minizip, unzip and zip APIs with the Win32 file functions.
zlib_src="$(source_tree zlib)"
mkdir -p "$work/minizip"
cat > "$work/minizip/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(minizip C)
find_package(ZLIB REQUIRED)
set(m "$zlib_src/contrib/minizip")
add_library(minizip STATIC \${m}/ioapi.c \${m}/iowin32.c \${m}/unzip.c \${m}/zip.c)
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
install(TARGETS minizip ARCHIVE DESTINATION lib)
install(FILES \${m}/ioapi.h \${m}/iowin32.h \${m}/unzip.h \${m}/zip.h DESTINATION include/minizip)
CMAKE
cmake_build minizip "$work/minizip"
# The same module name the Linux build asks pkg-config for.
mkdir -p "$sysroot/lib/pkgconfig"
cat > "$sysroot/lib/pkgconfig/minizip.pc" <<PC
prefix=$sysroot
libdir=\${prefix}/lib
includedir=\${prefix}/include
Name: minizip
Description: zip and unzip through zlib
Version: ${version_of[zlib]%%-*}
Requires.private: zlib
Libs: -L\${libdir} -lminizip -lz
Cflags: -I\${includedir}/minizip
PC

cmake_build libpng "$(source_tree png)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON

cmake_build pugixml "$(source_tree pugixml)" -DPUGIXML_BUILD_TESTS=OFF

cmake_build jsoncpp "$(source_tree jsoncpp)" -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF \
  -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF

cmake_build curl "$(source_tree curl)" -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF \
  -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF -DUSE_LIBIDN2=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF \
  -DUSE_NGHTTP2=OFF -DCURL_ZLIB=ON -DCURL_DISABLE_LDAP=ON -DHTTP_ONLY=ON -DBUILD_CURL_EXE=OFF \
  -DBUILD_TESTING=OFF -DCURL_STATICLIB=ON -DENABLE_MANUAL=OFF

cmake_build googletest /usr/src/googletest -DINSTALL_GTEST=ON -DBUILD_GMOCK=ON

# For the tests' loopback HTTPS server only: OpenSSL's libraries and cpp-httplib's header, with a
# pkg-config module of the name the Linux build asks for.
echo "build-deps: building openssl" >&2
openssl_src="$(source_tree openssl)"
(cd "$openssl_src" &&
   ./Configure mingw64 no-shared no-tests no-module no-legacy no-dso no-engine \
     --cross-compile-prefix=x86_64-w64-mingw32- --prefix="$sysroot" --libdir=lib >&2 &&
   make -j "$jobs" build_libs >&2 && make install_dev >&2)
install -m 644 "$(source_tree httplib)/httplib.h" "$sysroot/include/httplib.h"
cat > "$sysroot/lib/pkgconfig/cpp-httplib.pc" <<PC
prefix=$sysroot
Name: cpp-httplib
Description: HTTP/HTTPS server and client (header only) over OpenSSL
Version: ${version_of[httplib]%%-*}
Libs: -L\${prefix}/lib -lssl -lcrypto -lws2_32 -lgdi32 -lcrypt32
Cflags: -I\${prefix}/include -DCPPHTTPLIB_OPENSSL_SUPPORT
PC

printf '%s\n' "$stamp" > "$sysroot/.complete"
rm -rf "$work"
# Sysroots of other versions (or of an earlier toolchain file) are no longer used.
find "$cache" -mindepth 1 -maxdepth 1 -name 'windows-sysroot-*' ! -path "$sysroot" -exec rm -rf {} +
echo "$sysroot"
}

main "$@"
