# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced, in place of session.sh, which it brings with it, by the tests and scripts that
# run the program on a real desktop of its own: GNOME Shell (mutter), KWin, sway or LXQt,
# each headless, in a private home with its own buses. Everything ends with the session.

desktops_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$desktops_dir/scripts/lib/session.sh"

# private_desktop_home: a home and XDG folders of the session's own, a runtime folder, and
# a data folder searched first for desktop entries and icons.
private_desktop_home() {
    export HOME=$session_dir/home XDG_CONFIG_HOME=$session_dir/config \
        XDG_DATA_HOME=$session_dir/data XDG_CACHE_HOME=$session_dir/cache \
        XDG_RUNTIME_DIR=$session_dir/runtime
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$XDG_CACHE_HOME"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    export XDG_DATA_DIRS="$XDG_DATA_HOME:/usr/local/share:/usr/share"
    unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS QT_QPA_PLATFORM \
        XDG_CURRENT_DESKTOP XDG_SESSION_TYPE GSETTINGS_BACKEND
}

# install_desktop_entry PROGRAM: the program's desktop entry and icon, as a package installs
# them, in the private data folder; the entry starts PROGRAM (a desktop drops an entry
# whose program it cannot find).
install_desktop_entry() {
    local resources=$desktops_dir/resources
    sed "s|^Exec=.*|Exec=$1|" "$resources/desktop/in.pardol.Pardolin.desktop" \
        >"$XDG_DATA_HOME/applications/in.pardol.Pardolin.desktop"
    mkdir -p "$XDG_DATA_HOME/icons/hicolor/scalable/apps"
    cp "$resources/pardolin.svg" "$XDG_DATA_HOME/icons/hicolor/scalable/apps/in.pardol.Pardolin.svg"
}

# start_portal: the desktop's settings portal, as a desktop session has it running (the
# program does not start it); waits until it answers.
start_portal() {
    wait_until 30 gdbus call --session --dest org.freedesktop.portal.Desktop \
        --object-path /org/freedesktop/portal/desktop \
        --method org.freedesktop.portal.Settings.Read org.freedesktop.appearance color-scheme ||
        { echo "the settings portal did not start" >&2; return 1; }
}

# only_portals NAME...: xdg-desktop-portal sees only these backends (gnome, gtk, kde).
only_portals() {
    local dir=$session_dir/portals name
    mkdir -p "$dir"
    for name in "$@"; do
        ln -sf "/usr/share/xdg-desktop-portal/portals/$name.portal" "$dir/"
    done
    export XDG_DESKTOP_PORTAL_DIR=$dir
}

# start_system_bus: a private bus in the system bus's place, for a compositor that wants one.
start_system_bus() {
    local address="unix:path=$session_dir/system_bus"
    sed "s|@ADDRESS@|$address|" "$desktops_dir/tests/desktops/system-bus.conf" >"$session_dir/system-bus.conf"
    dbus-daemon --config-file="$session_dir/system-bus.conf" --nofork >"$session_dir/system-bus.log" 2>&1 &
    session_pids+=($!)
    export DBUS_SYSTEM_BUS_ADDRESS=$address
    wait_until 5 test -S "$session_dir/system_bus"
}

# start_gnome: GNOME Shell headless, as a Wayland compositor only, on the session bus (its
# settings from dconf); with a virtual keyboard, which a headless seat lacks, and the
# overview closed.
start_gnome() {
    export GSETTINGS_BACKEND=dconf XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland \
        WAYLAND_DISPLAY=wayland-0
    # gnome-shell 43 runs JavaScript between fork and exec when it launches ibus-daemon;
    # about one start in ten here, that child deadlocks before it can exec, and the shell
    # waits for it for ever while the child holds the shell's bus name. Such a start is
    # ended, the child too, and gnome-shell started again.
    local attempt shell
    for attempt in 1 2 3; do
        gnome-shell --headless --wayland --no-x11 --virtual-monitor 1280x1024 \
            >"$session_dir/gnome-shell.log" 2>&1 &
        shell=$!
        session_pids+=("$shell")
        wait_until 15 grep -q "GNOME Shell started at" "$session_dir/gnome-shell.log" && break
        echo "gnome-shell did not start within 15 s (start $attempt)" >&2
        pkill -9 -P "$shell" || true
        kill -9 "$shell" 2>/dev/null || true
        wait "$shell" 2>/dev/null || true
        ((attempt < 3)) || { tail -n 20 "$session_dir/gnome-shell.log" >&2; return 1; }
    done
    /usr/bin/python3 "$desktops_dir/tests/desktops/mutter_keyboard.py" >"$session_dir/keyboard.log" 2>&1 &
    session_pids+=($!)
    wait_until 15 grep -q READY "$session_dir/keyboard.log" ||
        { cat "$session_dir/keyboard.log" >&2; return 1; }
    wait_until 5 overview_closed || gdbus call --session --dest org.gnome.Shell \
        --object-path /org/gnome/Shell --method org.freedesktop.DBus.Properties.Set \
        org.gnome.Shell OverviewActive '<false>' >/dev/null
}
overview_closed() {
    gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.freedesktop.DBus.Properties.Get org.gnome.Shell OverviewActive | grep -q false
}

# start_kwin: KWin as a Wayland compositor with a virtual output, its configuration in
# XDG_CONFIG_HOME. Debian gives kwin_wayland a file capability this container refuses: a
# copy, which has none, runs.
start_kwin() {
    export XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland KDE_FULL_SESSION=true \
        KDE_SESSION_VERSION=5 WAYLAND_DISPLAY=wayland-kwin
    cp /usr/bin/kwin_wayland "$session_dir/kwin_wayland"
    "$session_dir/kwin_wayland" --virtual --width 1280 --height 1024 --socket wayland-kwin \
        --no-lockscreen --no-global-shortcuts --no-kactivities >"$session_dir/kwin.log" 2>&1 &
    session_pids+=($!)
    wait_until 30 gdbus call --session --dest org.kde.KWin --object-path /KWin \
        --method org.freedesktop.DBus.Peer.Ping || { tail -n 20 "$session_dir/kwin.log" >&2; return 1; }
}

# kwin_windows: each client window as KWin sees it, one JSON line each, from a KWin script
# (whose print() goes to KWin's log).
kwin_windows() {
    local tag=windows$RANDOM id
    cat >"$session_dir/$tag.js" <<SCRIPT
var clients = workspace.clientList();
for (var i = 0; i < clients.length; i++) {
    var c = clients[i];
    print("$tag " + JSON.stringify({caption: c.caption, resourceClass: String(c.resourceClass),
        desktopFileName: c.desktopFileName, maximizable: c.maximizable,
        resizeable: c.resizeable}));
}
print("$tag done");
SCRIPT
    id=$(gdbus call --session --dest org.kde.KWin --object-path /Scripting \
        --method org.kde.kwin.Scripting.loadScript "$session_dir/$tag.js" "$tag" | grep -o '[0-9]\+')
    gdbus call --session --dest org.kde.KWin --object-path "/$id" --method org.kde.kwin.Script.run >/dev/null
    wait_until 5 grep -q "$tag done" "$session_dir/kwin.log"
    gdbus call --session --dest org.kde.KWin --object-path /Scripting \
        --method org.kde.kwin.Scripting.unloadScript "$tag" >/dev/null
    grep "$tag {" "$session_dir/kwin.log" | sed "s/.*$tag //"
}

# start_sway CONFIG: sway with its headless backend and a virtual keyboard, which a headless
# seat lacks. sway refuses to run as root, so for root it runs as nobody; either way in a
# runtime folder of its own, and clients reach it through the socket's full path.
start_sway() {
    export XDG_CURRENT_DESKTOP=sway XDG_SESSION_TYPE=wayland
    local run=$session_dir/sway-run as_user=() sockets
    mkdir -m 700 "$run" "$session_dir/sway-home"
    if [[ $(id -u) -eq 0 ]]; then
        chmod 755 "$session_dir"
        chown 65534:65534 "$run" "$session_dir/sway-home"
        as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    fi
    env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        XDG_RUNTIME_DIR="$run" HOME="$session_dir/sway-home" \
        "${as_user[@]}" sway -c "$1" >"$session_dir/sway.log" 2>&1 &
    session_pids+=($!)
    sway_ready() {
        sockets=("$run"/sway-ipc.*.sock)
        [[ -S ${sockets[0]} ]] && SWAYSOCK=${sockets[0]} swaymsg -t get_version
    }
    wait_until 20 sway_ready || { tail -n 20 "$session_dir/sway.log" >&2; return 1; }
    export SWAYSOCK=${sockets[0]}
    sockets=("$run"/wayland-[0-9])
    export WAYLAND_DISPLAY=${sockets[0]}
    "$VIRTUAL_KEYBOARD" >"$session_dir/keyboard.log" 2>&1 &
    session_pids+=($!)
    wait_until 10 grep -q READY "$session_dir/keyboard.log" ||
        { cat "$session_dir/keyboard.log" >&2; return 1; }
}

# app_id LOG: the app id the program gave its windows, from its WAYLAND_DEBUG=client log.
app_id() {
    grep -o 'set_app_id("[^"]*")' "$1" | sort -u | sed 's/set_app_id("\(.*\)")/\1/'
}
