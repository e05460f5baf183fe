#!/usr/bin/env python3
"""The installer installs, registers and uninstalls, silently, under Wine.

    installer.py SETUP_EXE WINE_RUN VERSION FILE...

FILE... are the files the installer must put in its folder (Uninstall.exe
aside). Two rounds, each into a fresh folder whose name holds an accent, as
a user's own folder may (no space: Wine quotes such an argument, and /D=
takes none):

(a) installed: exactly those files; velquior-convert.exe runs from there and
    tells the version; the Start-menu entries and the uninstall key exist.
    Then the program's result file is added, and the uninstaller leaves no
    folder, no entry and no key.
(b) the same with a file of the user's in the folder: the uninstaller keeps
    it, byte for byte, and the folder with it.
(c) with velquior.exe running from the folder (when installed): installing
    again and uninstalling are refused with an error status, every file and
    the uninstall key as they were; once it has ended, both go through.
"""

import glob
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velquior"
START_MENU = "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velquior"

failures = []


def fail(what):
    failures.append(what)
    print("FALLO: " + what)


def windows_path(path):
    """Wine's Z: drive is the Unix root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Wine:
    def __init__(self, wine_run):
        self.wine_run = wine_run
        self.prefix = os.environ["VELQUIOR_WINEPREFIX"]
        self.env = dict(os.environ)
        # A UTF-8 locale, for the accented folder; and no menu entries on
        # the Linux desktop for the shortcuts the installer makes.
        self.env["LC_ALL"] = "C.UTF-8"
        self.env["WINEDLLOVERRIDES"] = "winemenubuilder.exe=d"

    def run(self, args):
        r = subprocess.run([self.wine_run] + args, env=self.env, capture_output=True, timeout=300)
        return r.returncode, r.stdout.decode("utf-8", "replace"), r.stderr.decode("utf-8", "replace")

    def start_menu_folders(self):
        """The Velquior folder of each user's Start menu in the prefix."""
        return [d for d in glob.glob(os.path.join(self.prefix, "drive_c/users/*", START_MENU))
                if "/users/Public/" not in d]

    def uninstall_key(self, scratch):
        """The key as a .reg text, or None without the key. Exported to a
        file: UTF-16 there, where reg.exe's listing is in a code page."""
        exported = os.path.join(scratch, "clave.reg")
        if os.path.exists(exported):
            os.remove(exported)
        code, _, _ = self.run(["reg", "export", UNINSTALL_KEY, windows_path(exported), "/y"])
        if code != 0 or not os.path.exists(exported):
            return None
        return open(exported, "rb").read().decode("utf-16")


def wait_for(condition, seconds=120):
    """The uninstaller runs on from a copy of itself after its start returns."""
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            return False
        time.sleep(0.5)
    return True


def listing(folder):
    return sorted(os.listdir(folder)) if os.path.isdir(folder) else None


def install(wine, setup, folder, version, files, label):
    """Installs into `folder`; checks what is there. False when it failed."""
    # /D= must come last and unquoted.
    code, out, err = wine.run([setup, "/S", "/D=" + windows_path(folder)])
    if code != 0:
        fail("%s: el instalador terminó con estado %d\n%s%s" % (label, code, out, err))
        return False
    want = sorted(files + ["Uninstall.exe"])
    if listing(folder) != want:
        fail("%s: instalado %s, se esperaba %s" % (label, listing(folder), want))
        return False
    code, out, err = wine.run([os.path.join(folder, "velquior-convert.exe"), "--version"])
    if code != 0 or version not in out.split():
        fail("%s: velquior-convert --version dio estado %d: %r %r" % (label, code, out, err))
    menus = wine.start_menu_folders()
    if len(menus) != 1:
        fail("%s: carpetas de Velquior en el menú Inicio: %s" % (label, menus))
    else:
        links = listing(menus[0])
        want_links = ["LEEME.lnk"]
        if "velquior.exe" in files:
            want_links += ["Velquior.lnk", "Deshacer la última conversión.lnk"]
        if "SAGA.chm" in files:
            want_links.append("Ayuda de Velquior.lnk")
        if links != sorted(want_links):
            fail("%s: menú Inicio %s, se esperaba %s" % (label, links, sorted(want_links)))
    key = wine.uninstall_key(os.path.dirname(folder))
    if key is None:
        fail("%s: falta la clave de desinstalación" % label)
    else:
        at = windows_path(folder).replace("\\", "\\\\")  # as a .reg file writes it
        for value in ('"DisplayName"="Velquior"', '"DisplayVersion"="%s"' % version,
                      '"InstallLocation"="%s"' % at, '"UninstallString"="\\"%s\\\\Uninstall.exe\\""' % at,
                      '"QuietUninstallString"="\\"%s\\\\Uninstall.exe\\" /S"' % at):
            if value not in key:
                fail("%s: la clave de desinstalación no tiene %s:\n%s" % (label, value, key))
    return True


def uninstall(wine, folder, left, label):
    """Runs the uninstaller; `left` is what must stay in the folder."""
    code, out, err = wine.run([os.path.join(folder, "Uninstall.exe"), "/S"])
    if code != 0:
        fail("%s: el desinstalador terminó con estado %d\n%s%s" % (label, code, out, err))
        return
    want = sorted(left) if left else None
    if not wait_for(lambda: listing(folder) == want and not wine.start_menu_folders()):
        fail("%s: tras desinstalar quedan %s (se esperaba %s) y en el menú Inicio %s" %
             (label, listing(folder), want, wine.start_menu_folders()))
    if wine.uninstall_key(os.path.dirname(folder)) is not None:
        fail("%s: la clave de desinstalación sigue ahí" % label)


def snapshot(folder):
    """Each file's name and digest: what a refused run must leave."""
    return {name: hashlib.sha256(open(os.path.join(folder, name), "rb").read()).hexdigest()
            for name in sorted(os.listdir(folder)) if os.path.isfile(os.path.join(folder, name))}


def refused_while_running(wine, wine_run, setup, folder, version, files):
    """Round (c): a running program holds the installation as it is."""
    program = subprocess.Popen([wine_run, os.path.join(folder, "velquior.exe")], env=wine.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(5)  # its window is up
        if program.poll() is not None:
            fail("velquior.exe no siguió abierto (estado %s)" % program.returncode)
            return
        before = snapshot(folder)
        code, _, _ = wine.run([setup, "/S", "/D=" + windows_path(folder)])
        if code == 0:
            fail("con velquior.exe abierto, el instalador terminó con estado 0")
        if snapshot(folder) != before:
            fail("con velquior.exe abierto, el instalador cambió %s" % sorted(
                set(before.items()) ^ set(snapshot(folder).items())))
        # Its status is that of the copy that starts the real uninstaller.
        wine.run([os.path.join(folder, "Uninstall.exe"), "/S"])
        time.sleep(5)  # time enough for an uninstaller that went on to do its work
        if snapshot(folder) != before:
            fail("con velquior.exe abierto, el desinstalador cambió la carpeta: %s" % listing(folder))
        if wine.uninstall_key(os.path.dirname(folder)) is None:
            fail("con velquior.exe abierto, el desinstalador quitó la clave")
    finally:
        wine.run(["taskkill", "/F", "/IM", "velquior.exe"])
        try:
            program.wait(timeout=30)
        except subprocess.TimeoutExpired:
            program.kill()
    if install(wine, setup, folder, version, files, "reinstalación con el programa ya cerrado"):
        uninstall(wine, folder, [], "desinstalación con el programa ya cerrado")


def main():
    if len(sys.argv) < 5:
        print(__doc__)
        return 2
    setup, wine_run, version = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    files = sys.argv[4:]
    if not os.path.isfile(setup):
        print("FALLO: no existe %s; hágase antes con cmake --build ... --target windows_setup" % setup)
        return 1
    wine = Wine(wine_run)
    # What a failed run before this one left behind.
    for d in wine.start_menu_folders():
        shutil.rmtree(d)
    wine.run(["reg", "delete", UNINSTALL_KEY, "/f"])

    root = tempfile.mkdtemp(prefix="velquior-setup-")
    try:
        folder = os.path.join(root, "a", "Programas_de_José")
        if install(wine, setup, folder, version, files, "instalación"):
            # The program's result file and a killed save's temporary.
            for name in ("Zeltimor.ini", ".Zeltimor.ini.k3v9q2"):
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(b"[Transformadores]\r\nTransformado=1\r\n")
            uninstall(wine, folder, [], "desinstalación")

        folder = os.path.join(root, "b", "Programas_de_José")
        if install(wine, setup, folder, version, files, "instalación con un archivo del usuario"):
            notes = os.path.join(folder, "notas.txt")
            kept = "Horario de 1º ESO\r\n".encode("cp1252")
            with open(notes, "wb") as f:
                f.write(kept)
            uninstall(wine, folder, ["notas.txt"], "desinstalación con un archivo del usuario")
            if os.path.exists(notes) and open(notes, "rb").read() != kept:
                fail("el archivo del usuario cambió al desinstalar")

        folder = os.path.join(root, "c", "Programas_de_José")
        if "velquior.exe" in files and os.environ.get("DISPLAY") and install(
                wine, setup, folder, version, files, "instalación para abrir el programa"):
            refused_while_running(wine, wine_run, setup, folder, version, files)
    finally:
        if failures:
            print("Carpetas conservadas en " + root)
        else:
            shutil.rmtree(root)
    if failures:
        return 1
    print("El instalador instala %s y el desinstalador lo quita todo" % ", ".join(files))
    return 0


if __name__ == "__main__":
    sys.exit(main())
