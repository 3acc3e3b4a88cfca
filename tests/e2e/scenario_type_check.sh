#!/bin/sh
# Checks the scenario file type as a desktop sees it once the package's
# triggers have run: the type's XML reads without complaint, a .korvel file is
# an application/x-korvel-scenario, a kind of JSON shown with the program's
# icon, and opening one starts the program with its path, a blank in it
# included.
#
#   scenario_type_check.sh path/to/unpacked/package
#
# A stand-in korvel records its arguments: the real one is the window check's.
# Needs update-mime-database, update-desktop-database and gio.
set -eu

root=$1
id=$(basename "$root"/usr/share/applications/*.desktop .desktop)
type=application/x-korvel-scenario
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Only the package's files and the system's own types; no settings of the
# caller's choose another program.
mkdir -p "$work/data/mime/packages" "$work/data/applications" "$work/config" "$work/bin"
cp "$root/usr/share/mime/packages/$id.xml" "$work/data/mime/packages/"
cp "$root/usr/share/applications/$id.desktop" "$work/data/applications/"
# Any program for JSON is offered a scenario too.
printf '[Desktop Entry]\nType=Application\nName=JSON viewer\nExec=json-viewer %%f\nMimeType=application/json;\n' \
    >"$work/data/applications/json-viewer.desktop"
for program in korvel json-viewer; do
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/%s.args"\n' "$work" "$program" >"$work/bin/$program"
    chmod +x "$work/bin/$program"
done
export XDG_DATA_HOME="$work/data" XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME="$work/config" \
       XDG_CONFIG_DIRS="$work/config" PATH="$work/bin:$PATH"

# update-mime-database warns of what it does not understand, and goes on.
complaints=$(update-mime-database "$XDG_DATA_HOME/mime" 2>&1)
[ -z "$complaints" ] || fail "update-mime-database: $complaints"
update-desktop-database "$XDG_DATA_HOME/applications"
# It shows with the program's own icon, which the package installs.
grep -qx "$type:$id" "$XDG_DATA_HOME/mime/icons" || fail "the type has no icon $id"
[ -e "$root/usr/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "the package has no icon $id"

scenario="$work/a scenario.korvel"
echo '{ "format": "korvel-scenario", "version": 1 }' >"$scenario"
found=$(gio info -a standard::content-type "$scenario" | sed -n 's/^ *standard::content-type: //p')
[ "$found" = "$type" ] || fail "a .korvel file is taken for '$found', not $type"

handlers=$(gio mime "$type")
grep -q "Default application for .$type.: $id.desktop" <<EOF || fail "not opened by $id.desktop: $handlers"
$handlers
EOF
grep -q "json-viewer.desktop" <<EOF || fail "not offered to programs for JSON: $handlers"
$handlers
EOF

# GLib hands a file to a program whose Exec takes none; other desktops do not.
grep -Eq '^Exec=[^ ]+ .*%[fF]' "$root/usr/share/applications/$id.desktop" || fail "the desktop entry's Exec takes no file"
gio open "$scenario"
for _ in $(seq 1 50); do
    [ -s "$work/korvel.args" ] && break
    sleep 0.1
done
[ -s "$work/korvel.args" ] || fail "opening a .korvel file did not start korvel"
[ "$(cat "$work/korvel.args")" = "$scenario" ] || fail "korvel was started with: $(cat "$work/korvel.args")"
echo "scenario type check passed"
