#!/usr/bin/env bash
# Proves the Debian package on a bare Debian 12: makes a minimal bookworm root
# with debootstrap (downloading it from the Debian mirror), installs the
# package there with apt, which brings exactly the declared dependencies,
# runs sightform on the first worked example and compares its output with the
# build tree's byte for byte, checks that every caption of the window shows
# whole in the fonts installed there, then opens the window there on a
# virtual X display and waits for it. Needs root (debootstrap, chroot).
#   tools/check-package.sh [--no-recommends] [PACKAGE.deb]
# The package defaults to build-package/sightcheck_*.deb. apt installs the
# recommended packages too, as it does for a user; --no-recommends leaves
# them out, to prove that the declared dependencies alone open the window.
# Not part of ./test.sh: it downloads a base system of about 100 MB.
set -euo pipefail
cd "$(dirname "$0")/.."

recommends=--install-recommends
if [ "${1:-}" = --no-recommends ]; then
    recommends=--no-install-recommends
    shift
fi
deb=${1:-$(ls build-package/sightcheck_*.deb 2>/dev/null | tail -n 1)}
[ -f "$deb" ] || {
    echo "No package; make it first with ./tools/package.sh" >&2
    exit 1
}
# The build the package was made from, and the tests' build where there is one.
references=()
for reference in build-package/bin/sightform build/bin/sightform; do
    [ ! -x "$reference" ] || references+=("$reference")
done
[ ${#references[@]} -gt 0 ] || {
    echo "No build-tree sightform to compare with" >&2
    exit 1
}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

./tools/install-deps.sh debootstrap

root=$(mktemp -d /var/tmp/sightcheck-bookworm.XXXXXX)
window_pid_file=$root/tmp/window.pid
cleanup() {
    [ ! -s "$window_pid_file" ] || kill "$(cat "$window_pid_file")" 2>/dev/null || true
    mountpoint -q "$root/proc" && umount "$root/proc"
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

echo "== debootstrap --variant=minbase bookworm $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 || {
    tail -n 20 "$root.debootstrap.log" >&2
    exit 1
}
rm -f "$root.debootstrap.log"
mount -t proc proc "$root/proc"
before=$(in_root dpkg-query -W -f='${Package}\n' | wc -l)

echo "== apt-get install $recommends ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq >"$root/tmp/apt.log" 2>&1 &&
    in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$recommends" \
        "./tmp/$(basename "$deb")" >>"$root/tmp/apt.log" 2>&1 || {
    tail -n 30 "$root/tmp/apt.log" >&2
    exit 1
}
grep -E '^[0-9]+ upgraded' "$root/tmp/apt.log" || true
after=$(in_root dpkg-query -W -f='${Package}\n' | wc -l)
echo "packages in the root: $before after debootstrap, $after with sightcheck"
in_root dpkg-query -W -f='${Package} ${Version}\n' sightcheck fonts-liberation2 fonts-wine \
    qt6-wayland libqt6gui6 libqt6widgets6

echo "== sightform there against the build tree"
status=0
example=(--gha 54 12.3 --dec N 20 15.0 --lat N 40 00.0 --lon W 70 00.0)
for extra in "" "--method QQ --exact" "--json --exact"; do
    # shellcheck disable=SC2086 # the extra options are words
    in_root sightform "${example[@]}" $extra >"$root/tmp/there.txt"
    for reference in "${references[@]}"; do
        # shellcheck disable=SC2086
        "$reference" "${example[@]}" $extra >"$root/tmp/here.txt"
        if cmp "$root/tmp/here.txt" "$root/tmp/there.txt"; then
            echo "identical to $reference: first example $extra ($(wc -c <"$root/tmp/here.txt") bytes)"
        else
            echo "DIFFERENT from $reference: first example $extra" >&2
            diff "$root/tmp/here.txt" "$root/tmp/there.txt" >&2 || true
            status=1
        fi
    done
done
in_root sightform "${example[@]}"
# --pdf runs the sheet writer from libexec, with Qt's offscreen platform and
# the packaged fonts: the page's text must come back as the printed form.
if in_root sightform "${example[@]}" --pdf /tmp/sheet.pdf &&
    [ "$(head -c 5 "$root/tmp/sheet.pdf")" = "%PDF-" ]; then
    echo "sightform --pdf there wrote a PDF of $(wc -c <"$root/tmp/sheet.pdf") bytes"
    if command -v pdftotext >/dev/null; then
        pdftotext -layout "$root/tmp/sheet.pdf" - | grep -E "Hc = |Zn = "
    fi
else
    echo "sightform --pdf there failed" >&2
    status=1
fi
in_root sightcheck --version

echo "== every caption of the window shows whole there, in the fonts the package brings"
# The caption test of the build tree needs nothing the package does not
# bring; on a root without fonts-wine it sees the window in Liberation Sans.
if cmake --build build-package --target captions_test >"$root/tmp/captions-build.log" 2>&1; then
    cp build-package/bin/captions_test "$root/tmp/"
    if in_root QT_QPA_PLATFORM=offscreen /tmp/captions_test >"$root/tmp/captions.log" 2>&1; then
        grep -E "window font|fitted|PASSED" "$root/tmp/captions.log"
    else
        echo "A CAPTION DOES NOT SHOW WHOLE there:" >&2
        cat "$root/tmp/captions.log" >&2
        status=1
    fi
else
    echo "captions_test does not build in build-package" >&2
    tail -n 20 "$root/tmp/captions-build.log" >&2
    status=1
fi

echo "== sightcheck there, under xvfb-run on this machine"
# The display and its xauth cookie come from this machine, so that nothing
# X needs is installed into the root and the package's own dependencies
# alone have to open the window. The root shares this machine's network, and
# with it the display's socket.
export root
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    cp "$XAUTHORITY" "$root/tmp/xauthority"
    chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME=/root \
        DISPLAY="$DISPLAY" XAUTHORITY=/tmp/xauthority sightcheck \
        >"$root/tmp/window.log" 2>&1 &
    echo $! >"$0"
    if id=$(timeout 30 xdotool search --sync --onlyvisible --name "Sight Reduction Method Checker"); then
        echo "window $id: \"$(xdotool getwindowname "$id")\", $(xdotool getwindowgeometry "$id" | sed -n "s/ *Geometry: //p") px"
        import -window root "$root/tmp/window.png"
        kill "$(cat "$0")"
    else
        echo "NO WINDOW within 30 s" >&2
        cat "$root/tmp/window.log" >&2
        kill "$(cat "$0")" 2>/dev/null
        exit 1
    fi
' "$window_pid_file" || status=1
[ ! -s "$root/tmp/window.log" ] || {
    echo "sightcheck wrote:"
    cat "$root/tmp/window.log"
}
if [ -f "$root/tmp/window.png" ]; then
    cp "$root/tmp/window.png" build-package/check-package-window.png
    echo "screen saved in build-package/check-package-window.png"
fi

if [ $status -eq 0 ]; then
    echo "== the package works on a bare Debian 12"
else
    echo "== the package FAILED on a bare Debian 12" >&2
fi
exit $status
