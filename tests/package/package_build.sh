#!/usr/bin/env bash
# Makes the Debian packages of a build with CPack, and checks them: lintian reports no error or
# warning, each package holds its files with Debian's permissions and a machine-readable
# copyright, its dependencies were computed from its binary, and its desktop entry and manual
# pages are clean.
#   package_build.sh BUILD_DIR OUT_DIR PACKAGE...
set -uo pipefail
build=$1 out=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../e2e/checks.sh"

rm -rf "$out" && mkdir -p "$out"
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack could not make the packages"
    exit 1
fi
mv "$work"/cpack/*.deb "$out"/

# What each package must hold, beside its copyright and changelog.
declare -A files
files[one-quill-wisp]="usr/bin/one-quill-wisp usr/share/applications/one-quill-wisp.desktop
    usr/share/man/man6/one-quill-wisp.6.gz usr/share/doc/one-quill-wisp/README.md
    usr/share/doc/one-quill-wisp/LICENSE"
for size in 16 24 32 48 64 128 256 512; do
    files[one-quill-wisp]+=" usr/share/icons/hicolor/${size}x$size/apps/one-quill-wisp.png"
done
files[one-quill-wisp-capture]="usr/bin/one-quill-wisp-capture
    usr/share/man/man1/one-quill-wisp-capture.1.gz"
# A library each binary links directly, which its computed dependencies must name.
declare -A needs=([one-quill-wisp]=libsdl2-2.0-0 [one-quill-wisp-capture]=libavcodec59)

for package in "$@"; do
    deb=$(ls "$out/${package}"_*.deb 2>/dev/null)
    check "$package: one package file is made ($deb)" test -f "$deb" || continue
    root=$work/$package
    dpkg-deb -x "$deb" "$root"
    dpkg-deb -c "$deb" >"$work/$package.list"
    for file in ${files[$package]} usr/share/doc/$package/copyright \
        usr/share/doc/$package/changelog.gz; do
        check "$package holds /$file" test -f "$root/$file"
    done
    check "$package: every file is root's, directories 0755, files 0644 or 0755 for programs" \
        bash -c "! awk '\$2 != \"root/root\" || (\$1 ~ /^d/ && \$1 != \"drwxr-xr-x\") ||
            (\$1 ~ /^-/ && \$1 != \"-rw-r--r--\" && !(\$1 == \"-rwxr-xr-x\" && \$6 ~ /usr\\/bin\\//))' \
            '$work/$package.list' | grep ."
    depends=$(dpkg-deb -f "$deb" Depends)
    check "$package depends on ${needs[$package]} (Depends: $depends)" \
        grep -q "\b${needs[$package]}\b" <<<"$depends"
    if [ "$package" = one-quill-wisp ]; then
        check "$package does not depend on FFmpeg's libraries" \
            bash -c "! grep -qE 'libav|libsw' <<<'$depends'"
    fi
    check "$package: the copyright file is in Debian's machine-readable format" \
        grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
        "$root/usr/share/doc/$package/copyright"
    for page in "$root"/usr/share/man/man*/*.gz; do
        check "$package: $(basename "$page") renders without a warning" \
            bash -c "! LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z '$page' 2>&1 >/dev/null | grep ."
    done
    for entry in "$root"/usr/share/applications/*.desktop; do
        [ -e "$entry" ] || continue
        check "$package: $(basename "$entry") passes desktop-file-validate" \
            desktop-file-validate "$entry"
    done
done

# Errors and warnings fail; informational tags are printed for the record.
lintian --display-info "$out"/*.deb 2>&1 | grep -v 'running with root privileges' | tee "$work/lintian.log"
check "lintian reports no error or warning" bash -c "! grep -E '^(E|W):' '$work/lintian.log'"

summary
