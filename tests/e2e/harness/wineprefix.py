"""Wine prefixes for test sessions.

Booting a prefix (wineboot) takes 10-15 s, so a run of the suite boots one
template and every session clones it. The clone hard-links the large module
files, which Wine only ever replaces when it updates a prefix, and copies
everything else, so sessions never share a registry or a user folder.
"""
import glob
import os
import shutil
import signal
import time

from .procs import HarnessError, run, wait_until

WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver" if os.path.exists("/usr/lib/wine/wineserver") \
    else (shutil.which("wineserver") or "wineserver")

WINE_FONTS = "/usr/share/wine/fonts"

# Installer dialogs for .NET and the HTML engine, and desktop menu entries
# in the user's real home, are all switched off.
DLL_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"

_MODULE_SUFFIXES = (".dll", ".exe", ".drv", ".sys", ".ocx", ".cpl", ".acm", ".tlb", ".ax",
                    ".ds", ".nls", ".vxd", ".com", ".msstyles", ".mui", ".dll16", ".exe16")

# Windows-side settings every session needs: Wine draws the window frames
# itself (no X window manager runs), fonts the programs ask for by their
# Windows names resolve to installed Liberation fonts, and a crashing
# program ends instead of waiting in a crash dialog.
SETTINGS_REG = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"MS Sans Serif"="Liberation Sans"
"MS Shell Dlg"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

"""


def wine_env(prefix, home, display=None, cups_server=None):
    """Environment of every Wine process of a session. HOME and the XDG
    folders point into the session so that nothing lands in the real home."""
    env = {key: value for key, value in os.environ.items()
           if not key.startswith(("WINE", "XDG_", "WAYLAND", "CUPS_", "LC_", "LANG"))}
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES=DLL_OVERRIDES,
               HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local", "share"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), LC_ALL="C.UTF-8")
    env["DISPLAY"] = display or ""
    if cups_server:
        env["CUPS_SERVER"] = cups_server
    return env


def _user_folders(prefix):
    users = os.path.join(prefix, "drive_c", "users")
    for user in os.listdir(users):
        base = os.path.join(users, user)
        if os.path.isdir(base):
            for name in os.listdir(base):
                yield os.path.join(base, name)


def create_template(directory, timeout=180):
    """Boots a prefix in `directory`/prefix with the session settings. The
    user's Documents, Desktop and similar folders, which wineboot links to
    the Unix home, become real folders inside the prefix."""
    if os.path.exists(directory):
        shutil.rmtree(directory)
    prefix = os.path.join(directory, "prefix")
    home = os.path.join(directory, "home")
    os.makedirs(home)
    env = wine_env(prefix, home)
    started = time.monotonic()
    try:
        run([WINE, "wineboot", "-i"], env=env, timeout=timeout, check=False)
        reg = os.path.join(directory, "settings.reg")
        with open(reg, "w") as f:
            f.write(SETTINGS_REG)
        run([WINE, "regedit", "/S", reg], env=env, timeout=60)
        run([WINESERVER, "-w"], env=env, timeout=60)
    finally:
        stop_wineserver(prefix, env)
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        raise HarnessError("wineboot did not create a prefix")
    for path in _user_folders(prefix):
        if os.path.islink(path):
            os.unlink(path)
            os.mkdir(path)
    _install_wine_fonts(prefix)
    os.unlink(reg)
    shutil.rmtree(home)
    return time.monotonic() - started


def _install_wine_fonts(prefix):
    """Debian's Wine does not load its own fonts from /usr/share/wine/fonts
    (package fonts-wine); without Marlett the frame buttons show letters.
    Copied into the prefix's Fonts folder, Wine finds them."""
    fonts = os.path.join(prefix, "drive_c", "windows", "Fonts")
    os.makedirs(fonts, exist_ok=True)
    for path in glob.glob(os.path.join(WINE_FONTS, "*")):
        shutil.copy2(path, fonts)


def clone_prefix(template, prefix):
    """Copies the template prefix to `prefix`, hard-linking module files."""
    source = os.path.join(template, "prefix")
    if not os.path.exists(os.path.join(source, "system.reg")):
        raise HarnessError(f"no Wine prefix template in {template}")

    def link_or_copy(src, dst):
        if src.lower().endswith(_MODULE_SUFFIXES):
            try:
                os.link(src, dst)
                return dst
            except OSError:
                pass
        return shutil.copy2(src, dst)

    # The server-socket note names the template's own server directory.
    shutil.copytree(source, prefix, symlinks=True, copy_function=link_or_copy,
                    ignore=lambda d, names: ["wineserver"] if d == source else [])


def _server_directory(prefix):
    """Debian's Wine keeps the wineserver socket in /tmp/wine-XXXXXX and
    notes that name in the prefix; returns the folder or None."""
    try:
        with open(os.path.join(prefix, "wineserver")) as f:
            name = f.read().strip()
    except OSError:
        return None
    if not name.startswith("wine-") or "/" in name:
        return None
    return os.path.join("/tmp", name)


def prefix_processes(prefix):
    """Pids of the processes that run for this prefix: its server, its
    programs and its background services all carry WINEPREFIX=prefix."""
    mark = f"WINEPREFIX={prefix}".encode() + b"\0"
    found = []
    for environ in glob.glob("/proc/[0-9]*/environ"):
        try:
            with open(environ, "rb") as f:
                if mark in f.read():
                    found.append(int(environ.split("/")[2]))
        except (OSError, ValueError):
            pass
    return found


def stop_wineserver(prefix, env, wait=15):
    """Lets this prefix's wineserver end by itself (it exits a few seconds
    after its last program), kills it if it does not, and removes its
    socket folder. Processes of the prefix still left then (a server that
    would write the registry into a removed folder) are killed. Only ever
    touches this prefix's own processes."""
    env = dict(env, WINEPREFIX=prefix)
    try:
        run([WINESERVER, "-w"], env=env, timeout=wait, check=False)
    except HarnessError:
        run([WINESERVER, "-k"], env=env, timeout=15, check=False)
        run([WINESERVER, "-w"], env=env, timeout=15, check=False)
    try:
        wait_until(lambda: not prefix_processes(prefix), 5, "the prefix's processes to end")
    except HarnessError:
        for pid in prefix_processes(prefix):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        wait_until(lambda: not prefix_processes(prefix), 10, "the prefix's processes to be killed")
    folder = _server_directory(prefix)
    if folder and os.path.isdir(folder):
        shutil.rmtree(folder, ignore_errors=True)
