#!/bin/bash
# Installs the game from a build tree into a temporary DESTDIR and checks what
# a player or a packager gets: the tree holds the game and nothing else, data/
# sits beside the real binary, the launcher on the PATH is a relative link to
# it, the desktop entry, metainfo and icons are valid and agree, and, when an
# X display is there, the installed game starts from a foreign directory, opens
# its window and draws its pictures (a game without data draws a plain screen).
#
#   tests/packaging/check_install.sh BUILD_DIR [VERSION]
#
# Exit 0 when all passed, 1 on a fault, 77 when the run was skipped for want
# of a display (everything else still checked). CMAKE overrides the cmake used.
set -uo pipefail

BUILD="$(cd "${1:?usage: check_install.sh BUILD_DIR [VERSION]}" && pwd)"
VERSION="${2:-}"
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
CMAKE="${CMAKE:-cmake}"
APP_ID=org.zentrove.Zentrove
ICON_SIZES="16 24 32 48 64 128 256 512"
RUN_SECONDS=2

WORK="$(mktemp -d /tmp/zt-install-XXXXXX)"
GAME_PID=""
cleanup() {
    if [ -n "$GAME_PID" ]; then kill "$GAME_PID" 2>/dev/null; wait "$GAME_PID" 2>/dev/null; fi
    rm -rf "$WORK"
}
trap cleanup EXIT

faults=0
fail() { echo "FAIL: $*"; faults=$((faults + 1)); }
pass() { echo "ok: $*"; }

STAGE="$WORK/stage"
PREFIX="$STAGE/usr"
if ! DESTDIR="$STAGE" "$CMAKE" --install "$BUILD" --prefix /usr > "$WORK/install.log" 2>&1; then
    cat "$WORK/install.log"
    echo "FAIL: cmake --install"
    exit 1
fi

# ---- the launcher and the private folder ----
LAUNCHER="$PREFIX/bin/zentrove"
if [ ! -L "$LAUNCHER" ]; then
    fail "bin/zentrove is not a symbolic link"
    exit 1
fi
link="$(readlink "$LAUNCHER")"
case "$link" in
    /*) fail "bin/zentrove points to an absolute path ($link); it breaks under DESTDIR" ;;
    *) pass "bin/zentrove -> $link" ;;
esac
GAME="$(readlink -f "$LAUNCHER")"
GAME_DIR="$(dirname "$GAME")"
if [ -x "$GAME" ] && [ ! -L "$GAME" ] && [ "$(basename "$GAME_DIR")" = zentrove ]; then
    pass "real binary in ${GAME_DIR#"$STAGE"}"
else
    fail "the launcher does not lead to an executable in a private zentrove folder ($GAME)"
    exit 1
fi

data_list() {
    (cd "$1" && find . -type f \( -name '*.png' -o -name '*.wav' -o -name '*.ogg' \) | sort)
}
if [ ! -d "$GAME_DIR/data" ]; then
    fail "no data/ beside the installed binary"
elif ! diff <(data_list "$ROOT/data") <(cd "$GAME_DIR/data" && find . -type f | sort) > "$WORK/data.diff"; then
    fail "installed data/ differs from the source's:"; cat "$WORK/data.diff"
else
    differing=0
    while read -r f; do cmp -s "$ROOT/data/$f" "$GAME_DIR/data/$f" || differing=$((differing + 1)); done \
        < <(data_list "$ROOT/data")
    [ "$differing" = 0 ] && pass "data/ beside the binary ($(data_list "$ROOT/data" | wc -l) files)" \
        || fail "$differing installed data files differ from the source's"
fi

# ---- nothing but the game: no tests, probes or benchmarks ----
private="${GAME_DIR#"$PREFIX/"}"
unexpected="$(cd "$PREFIX" && find . \( -type f -o -type l \) | sed 's|^\./||' | while read -r f; do
    case "$f" in
        bin/zentrove | "$private/zentrove" | "$private"/data/* \
        | share/applications/$APP_ID.desktop | share/metainfo/$APP_ID.metainfo.xml \
        | share/icons/hicolor/*/apps/$APP_ID.png) ;;
        *) echo "$f" ;;
    esac
done)"
outside="$(cd "$STAGE" && find . -mindepth 1 -maxdepth 1 ! -name usr)"
if [ -n "$unexpected$outside" ]; then
    fail "installed files that are not the game's:"; echo "$unexpected$outside"
else
    pass "only the game's files installed"
fi

# ---- icons ----
for size in $ICON_SIZES; do
    icon="$PREFIX/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"
    if [ ! -f "$icon" ]; then fail "no ${size}x${size} icon"; continue; fi
    # PNG width and height are the big-endian words at bytes 16 and 20.
    dims="$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')"
    [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done
pass "icons checked: $ICON_SIZES"
if /usr/bin/python3 -c "import PIL" 2>/dev/null; then
    if /usr/bin/python3 "$ROOT/tools/gen_icon.py" --check > "$WORK/icon.log"; then
        pass "committed icons match what tools/gen_icon.py renders from data/"
    else
        fail "icons out of date:"; cat "$WORK/icon.log"
    fi
fi

# ---- desktop entry and metainfo ----
DESKTOP="$PREFIX/share/applications/$APP_ID.desktop"
METAINFO="$PREFIX/share/metainfo/$APP_ID.metainfo.xml"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$DESKTOP" > "$WORK/desktop.log" 2>&1 && pass "desktop entry validates" \
        || { fail "desktop-file-validate:"; cat "$WORK/desktop.log"; }
else
    echo "note: desktop-file-validate not installed, desktop entry not validated"
fi
grep -qx "Exec=zentrove" "$DESKTOP" || fail "the desktop entry does not run zentrove"
grep -qx "Icon=$APP_ID" "$DESKTOP" || fail "the desktop entry does not name the icon $APP_ID"
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$METAINFO" > "$WORK/appstream.log" 2>&1 && pass "metainfo validates" \
        || { fail "appstreamcli validate:"; cat "$WORK/appstream.log"; }
else
    echo "note: appstreamcli not installed, metainfo not validated"
fi
grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$METAINFO" \
    || fail "the metainfo does not launch $APP_ID.desktop"
if [ -n "$VERSION" ]; then
    grep -q "<release version=\"$VERSION\"" "$METAINFO" && pass "metainfo lists release $VERSION" \
        || fail "the metainfo has no release $VERSION (add it to packaging/$APP_ID.metainfo.xml)"
fi

# ---- the installed game runs and finds its data ----
if [ -z "${DISPLAY:-}" ]; then
    echo "SKIP: no X display, the installed game was not started"
    [ "$faults" = 0 ] && exit 77
    exit 1
fi
RUN_DIR="$WORK/home"
mkdir -p "$RUN_DIR"
# Started by name through the PATH, from a directory of its own, as a menu would.
(cd "$RUN_DIR" && PATH="$PREFIX/bin:$PATH" exec zentrove) < /dev/null > "$WORK/game.log" 2>&1 &
GAME_PID=$!
window=""
for _ in $(seq 50); do
    window="$(xdotool search --pid "$GAME_PID" --name '^Zentrove$' 2>/dev/null | head -1)"
    [ -n "$window" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.2
done
if [ -z "$window" ]; then
    fail "the installed game opened no window"
else
    pass "window $window opened"
    xdotool windowfocus "$window" 2>/dev/null
    sleep "$RUN_SECONDS"
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
        fail "the game ended by itself"
    else
        # The title screen draws hundreds of colours; without its data only the plain background shows.
        import -window "$window" "$WORK/window.png" 2>/dev/null
        colours="$(identify -format '%k' "$WORK/window.png" 2>/dev/null || echo 0)"
        [ "$colours" -gt 200 ] && pass "the window shows the game's pictures ($colours colours)" \
            || fail "the window shows $colours colours: the game did not find its pictures"
    fi
fi
kill "$GAME_PID" 2>/dev/null; wait "$GAME_PID" 2>/dev/null; GAME_PID=""
if grep -qi "error" "$WORK/game.log"; then
    fail "the game reported an error:"; cat "$WORK/game.log"
fi
grep -q "Highscores Loaded" "$WORK/game.log" || fail "the game did not get as far as loading its saved data"
strays="$(find "$STAGE" -name '.tarvikstate*')"
[ -z "$strays" ] || fail "the game wrote its state into the install tree: $strays"

[ "$faults" = 0 ] && { echo "all install checks passed"; exit 0; }
echo "$faults install checks failed"
exit 1
