#!/bin/sh
# Installs the build into a fresh prefix and checks what a desktop and a user
# find there: both programs, a launcher whose command and icon exist, every
# icon size, valid metainfo, manual pages that render, the documentation.
#   installed_tree.sh BUILD_DIR VERSION APPSTREAM_ID LICENCE_FILE WINDOW_ICON.xpm
set -u
build=$1 version=$2 appstream_id=$3 licence_file=$4 window_icon=$5

status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || {
    echo "FAIL: cmake --install" >&2
    exit 1
}
share=$prefix/share

# From an empty environment and the root folder, so nothing is found by
# being next to the build tree; only a sanitizer build's settings pass.
bare="env -i PATH=/usr/bin:/bin ASAN_OPTIONS=${ASAN_OPTIONS:-} UBSAN_OPTIONS=${UBSAN_OPTIONS:-}"
for program in sightcheck sightform; do
    answer=$(cd / && $bare "$prefix/bin/$program" --version) ||
        fail "$program --version exits with $?"
    [ "$answer" = "$program $version" ] || fail "$program --version says '$answer'"
done
# Qt's own single-dash options are the window's, not -v or -h run together:
# with one of them the window opens and stays until it is closed.
(cd / && $bare QT_QPA_PLATFORM=offscreen timeout 2 "$prefix/bin/sightcheck" -reverse >/dev/null 2>&1)
[ $? -eq 124 ] || fail "sightcheck -reverse does not open the window"
form=$(cd / && $bare "$prefix/bin/sightform" --gha 54 12.3 --dec N 20 15.0 --lat N 40 00.0 \
    --lon W 70 00.0) || fail "installed sightform does not reduce the first example"
case $form in
*"Hc = "*"Zn = "*) ;;
*) fail "installed sightform prints no Hc and Zn" ;;
esac
# --pdf hands over to the sheet writer in the libexec folder.
sheet=$prefix/answers.pdf
(cd / && $bare "$prefix/bin/sightform" --gha 54 12.3 --pdf "$sheet") ||
    fail "installed sightform --pdf exits with $?"
[ "$(head -c 5 "$sheet")" = "%PDF-" ] || fail "installed sightform --pdf writes no PDF"

launcher=$share/applications/sightcheck.desktop
# Not even a hint: one main category, so menus list the program once.
said=$(desktop-file-validate "$launcher" 2>&1) || fail "desktop-file-validate $launcher"
[ -z "$said" ] || fail "desktop-file-validate $launcher: $said"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$launcher")
[ -x "$prefix/bin/$command" ] || fail "the launcher runs '$command', which is not installed"
icon=$(sed -n 's/^Icon=//p' "$launcher")
for size in 16 32 48 64 128 256; do
    file=$share/icons/hicolor/${size}x$size/apps/$icon.png
    file -b "$file" | grep -q "^PNG image data, $size x $size," ||
        fail "$file is not a $size px PNG: $(file -b "$file")"
done
# The launcher shows the window's own icon, and the sizes that are whole
# multiples of it repeat its pixels exactly (ImageMagick's point filter is
# nearest neighbour); a stale or blurred icon differs.
icons=$share/icons/hicolor
compare -metric AE "$window_icon" "$icons/32x32/apps/$icon.png" null: 2>/dev/null ||
    fail "the 32 px launcher icon is not the window's icon"
for size in 64 128 256; do
    convert "$icons/32x32/apps/$icon.png" -filter point -resize ${size}x$size "$prefix/expected.png"
    compare -metric AE "$prefix/expected.png" "$icons/${size}x$size/apps/$icon.png" null: 2>/dev/null ||
        fail "the $size px icon is not the 32 px one with each pixel repeated"
done

metainfo=$share/metainfo/$appstream_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli validate $metainfo"
grep -q "<launchable type=\"desktop-id\">sightcheck.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch sightcheck.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo lacks release $version"

for page in sightform sightcheck; do
    manual=$share/man/man1/$page.1.gz
    text=$(MANWIDTH=80 man -l "$manual" 2>/dev/null) || fail "man -l $manual exits with $?"
    for part in "NAME" "SYNOPSIS" "$page $version"; do
        case $text in
        *"$part"*) ;;
        *) fail "$manual renders without '$part'" ;;
        esac
    done
done

# A section of a page as man renders it, or of a --help text ("Options:"):
# the lines after its heading up to the next heading.
section() { # HEADING-PATTERN
    awk -v heading="$1" '$0 ~ "^" heading "$" { inside = 1; next }
        inside && /^[A-Za-z][A-Za-z ]*:?$/ { exit }
        inside'
}
for page in sightform sightcheck; do
    manual=$share/man/man1/$page.1.gz
    warnings=$( (MANWIDTH=80 man --warnings -l "$manual" >/dev/null) 2>&1)
    [ -z "$warnings" ] || fail "man --warnings on $manual: $warnings"
    warnings=$(gzip -dc "$manual" | groff -ww -man -z 2>&1)
    [ -z "$warnings" ] || fail "groff -ww on $manual: $warnings"
    rendered=$(LC_ALL=C MANWIDTH=200 man -l "$manual" 2>/dev/null)
    help=$(cd / && $bare QT_QPA_PLATFORM=offscreen "$prefix/bin/$page" --help)
    # Every usage line of --help is a line of the synopsis, and none is left
    # over in the description.
    synopsis=$(echo "$rendered" | section SYNOPSIS | sed 's/^ *//; s/  */ /g')
    usages=$(echo "$help" | sed -n 's/^Usage: *//p; s/^ *or: *//p' | sed 's|^[^ ]*/||; s/  */ /g')
    set -f
    IFS='
'
    for usage in $usages; do
        echo "$synopsis" | grep -qxF "$usage" || fail "the synopsis of $page.1 lacks '$usage'"
    done
    IFS=' 	
'
    set +f
    echo "$rendered" | section DESCRIPTION | grep -qE "Usage|$page \[" &&
        fail "the description of $page.1 holds usage lines"
    # Every option of --help has its entry under OPTIONS.
    options=$(echo "$rendered" | section OPTIONS)
    listed=$(echo "$help" | section Options: | grep -oE '^ +(-[a-z], )?--[a-z-]+' |
        grep -oE -- '--[a-z-]+')
    [ -n "$listed" ] || fail "$page --help lists no options"
    for option in $listed; do
        echo "$options" | grep -qE -- "^ +(-[a-z], )?$option( |$)" ||
            fail "$page.1 lacks the option $option under OPTIONS"
    done
done
# Every exit status sightform --help lists is under EXIT STATUS, once.
help=$(cd / && $bare "$prefix/bin/sightform" --help)
statuses=$(echo "$help" | section "Exit status:" | grep -oE '^ +[0-9]+' | tr -d ' ')
[ -n "$statuses" ] || fail "sightform --help lists no exit status"
exits=$(LC_ALL=C MANWIDTH=200 man -l "$share/man/man1/sightform.1.gz" 2>/dev/null |
    section "EXIT STATUS" | grep -oE '^ +[0-9]+' | tr -d ' ')
[ "$(echo "$exits" | sort -n)" = "$(echo "$statuses" | sort -n)" ] ||
    fail "sightform.1 lists the exit statuses '$(echo $exits)', --help '$(echo $statuses)'"

for doc in README.md docs/manual.md docs/window.png "$licence_file"; do
    grep -q . "$share/doc/sightcheck/$doc" || fail "share/doc/sightcheck/$doc is missing or empty"
done
grep -q "Permission is hereby granted" "$share/doc/sightcheck/$licence_file" ||
    fail "share/doc/sightcheck/$licence_file does not hold the licence"

[ $status -eq 0 ] && echo "installed tree in $prefix: all checks passed"
exit $status
