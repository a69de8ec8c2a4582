#!/usr/bin/env bash
# Installs the build as a distribution package would (into a staging folder
# with DESTDIR, prefix /usr) and as one user would (prefix ~/.local, for
# real), and checks the installed tree with the desktop's own tools: the
# desktop entry and the AppStream file validate, the MIME database built
# from the installed type calls an example page a Penwick sketch, the icons
# are what the scalable one draws, and the thumbnailer entry's command
# makes a PNG of the asked size (and nothing of a damaged page).
#   install_test.sh BUILD_DIR SOURCE_DIR PROJECT_VERSION
set -u
build=$1 source=$2 version=$3
id=com.corvana.Penwick

fail() {
    echo "FAIL: $*"
    exit 1
}
for tool in desktop-file-validate appstreamcli update-mime-database gio identify compare \
    rsvg-convert xmllint; do
    command -v $tool >/dev/null || fail "$tool is missing (scripts/packages.txt lists its package)"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The content type the desktop gives a file, with `data` as the user's data
# folder (where the installed MIME database lies) beside the system's.
content_type() {
    XDG_DATA_HOME=$1 XDG_DATA_DIRS=/usr/share gio info -a standard::content-type "$2" |
        sed -n 's/^ *standard::content-type: //p'
}

# ---- A staged install, as a package is built --------------------------------
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/staged.log" 2>&1 ||
    { cat "$work/staged.log"; fail "the staged install failed"; }
share=$stage/usr/share
[[ -x $stage/usr/bin/penwick && -x $stage/usr/bin/penwick-export ]] || fail "programs not installed"

entry=$share/applications/$id.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate refuses $entry"
for line in 'Exec=/usr/bin/penwick %f' 'TryExec=/usr/bin/penwick' \
    'MimeType=application/x-penwick-sketch;' 'Categories=Graphics;2DGraphics;VectorGraphics;' \
    "Icon=$id"; do
    grep -qxF "$line" "$entry" || fail "the desktop entry lacks the line $line"
done
grep -q '^Keywords=.*sketch;' "$entry" || fail "the desktop entry has no keywords"

metainfo=$share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses $metainfo"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "the release is not version $version"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the AppStream file does not launch the desktop entry"

# A staging folder is not the system: nothing may have been built there.
[[ ! -e $share/mime/mime.cache ]] || fail "a staged install updated the MIME database"
update-mime-database "$share/mime" >"$work/mime.log" 2>&1 || fail "update-mime-database refuses the installed type"
grep -qxF '50:application/x-penwick-sketch:*.wnk' "$share/mime/globs2" || fail "no glob for *.wnk"
grep -qxF 'application/x-penwick-sketch application/gzip' "$share/mime/subclasses" ||
    fail "the type is no sub-class of application/gzip"
cp "$source/examples/flower.wnk" "$work/page one.wnk"
cp "$source/examples/flower.wnk" "$work/page one.gz"
type=$(content_type "$share" "$work/page one.wnk")
[[ $type == application/x-penwick-sketch ]] || fail "a .wnk page is $type"
type=$(content_type "$share" "$work/page one.gz")
[[ $type == application/gzip ]] || fail "other gzip files became $type"
type=$(content_type "$work/nothing" "$work/page one.wnk")
[[ $type == application/gzip ]] || fail "without the installed type the page is $type, not gzip"

for context in apps/$id mimetypes/application-x-penwick-sketch; do
    svg=$share/icons/hicolor/scalable/$context.svg
    png=$share/icons/hicolor/48x48/$context.png
    xmllint --noout "$svg" || fail "$svg is no well-formed XML"
    [[ $(identify -format '%m %w %h' "$png") == 'PNG 48 48' ]] || fail "$png is no 48 x 48 PNG"
    # The small picture is the scalable one drawn at 48 pixels.
    rsvg-convert -w 48 -h 48 "$svg" -o "$work/fresh.png" || fail "rsvg-convert cannot draw $svg"
    differing=$(compare -metric AE -fuzz 8% "$work/fresh.png" "$png" null: 2>&1)
    ((${differing%%.*} <= 24)) || fail "$png differs from $svg in $differing pixels"
done

# The thumbnailer's command as the desktop runs it: %s the size, %i the
# page, %o the PNG to write; the program taken from the staging folder.
thumbnailer=$share/thumbnailers/$id.thumbnailer
grep -qxF 'MimeType=application/x-penwick-sketch;' "$thumbnailer" || fail "thumbnailer without type"
try_exec=$(sed -n 's/^TryExec=//p' "$thumbnailer")
[[ -x $stage$try_exec ]] || fail "the thumbnailer's TryExec $try_exec is not installed"
read -ra words <<<"$(sed -n 's/^Exec=//p' "$thumbnailer")"
thumbnail() { # SIZE PAGE OUTPUT
    local args=() word
    for word in "${words[@]}"; do
        case $word in %s) word=$1 ;; %i) word=$2 ;; %o) word=$3 ;; esac
        args+=("$word")
    done
    args[0]=$stage${args[0]}
    "${args[@]}"
}
thumbnail 128 "$work/page one.wnk" "$work/thumb.png" || fail "the thumbnailer failed"
[[ $(identify -format '%m %w %h' "$work/thumb.png") == 'PNG 128 128' ]] ||
    fail "the thumbnail is no 128 x 128 PNG"
colours=$(identify -format '%k' "$work/thumb.png")
((colours > 16)) || fail "the thumbnail shows no drawing ($colours colours)"
head -c 300 "$source/examples/flower.wnk" >"$work/cut.wnk"
if thumbnail 128 "$work/cut.wnk" "$work/cut.png" 2>"$work/cut.err"; then
    fail "a damaged page was thumbnailed"
fi
[[ ! -e $work/cut.png ]] || fail "a damaged page left a thumbnail file"
grep -q 'cut.wnk' "$work/cut.err" || fail "the failure does not name the page"

# ---- One user's install, for real --------------------------------------------
local_prefix=$work/home/.local
cmake --install "$build" --prefix "$local_prefix" >"$work/user.log" 2>&1 ||
    { cat "$work/user.log"; fail "the install for one user failed"; }
entry=$local_prefix/share/applications/$id.desktop
grep -qxF "Exec=$local_prefix/bin/penwick %f" "$entry" || fail "Exec does not name the installed program"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses $entry"
# The install brought the user's MIME database up to date itself.
[[ -e $local_prefix/share/mime/mime.cache ]] || fail "the user's MIME database was not updated"
type=$(content_type "$local_prefix/share" "$work/page one.wnk")
[[ $type == application/x-penwick-sketch ]] || fail "after a user install a .wnk page is $type"

# A prefix with a space is quoted in the Exec lines.
spaced="$work/my programs"
cmake --install "$build" --prefix "$spaced" >"$work/spaced.log" 2>&1 ||
    { cat "$work/spaced.log"; fail "the install into a folder with a space failed"; }
grep -qxF "Exec=\"$spaced/bin/penwick\" %f" "$spaced/share/applications/$id.desktop" ||
    fail "the Exec line does not quote the folder with a space"
desktop-file-validate "$spaced/share/applications/$id.desktop" || fail "the quoted entry is refused"
grep -qxF "Exec=\"$spaced/bin/penwick-export\" --thumbnail %s %i %o" \
    "$spaced/share/thumbnailers/$id.thumbnailer" || fail "the thumbnailer's Exec is not quoted"

echo "installed tree checked"
