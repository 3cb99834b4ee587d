#!/usr/bin/python3
"""Fails when a script calls a command whose Debian package the install step does not bring.

A package counts as brought when scripts/packages.sh names it, when a package named there depends on
it (Depends and Pre-Depends, followed through the installed system), or when every Debian system has
it (priority "required"). On a machine where the package was installed by hand the scripts would
pass, and then fail on a fresh system: this check fails here instead, naming command and package.
"""
import glob
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# What a fresh system's PATH finds; programs elsewhere (a user's own installs) do not count.
SYSTEM_PATH = "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin"
# Words after which the next word is a command, and wrappers whose first argument is one.
COMMAND_START = re.compile(r"(?:^|[;&|(`!]|\$\(|\b(?:then|do|else|if|while|until|exec|time)\s)\s*")
WRAPPERS = {"setsid", "env", "exec", "xargs", "nohup", "timeout", "chroot", "nice", "stdbuf"}


def package_lists():
    names = subprocess.run(
        ["bash", "-c", 'source "$1"; printf "%s\\n" "${base_packages[@]}" "${i386_emulation_packages[@]}" '
         '"${i386_packages[@]}" "${fresh_check_packages[@]}"', "-", os.path.join(ROOT, "scripts/packages.sh")],
        check=True, capture_output=True, text=True).stdout.split()
    return {name.split(":")[0] for name in names}


def installed_packages():
    """Package -> (priority, list of dependency alternatives), and virtual name -> providers."""
    out = subprocess.run(["dpkg-query", "-W", "-f=${Package}\t${Status}\t${Priority}\t${Depends}, ${Pre-Depends}\t${Provides}\n"],
                         check=True, capture_output=True, text=True).stdout
    packages, providers = {}, {}
    for line in out.splitlines():
        name, status, priority, depends, provides = line.split("\t")
        if not status.endswith(" installed"):
            continue
        alternatives = [[re.sub(r"[ (:].*", "", choice.strip()) for choice in group.split("|")]
                        for group in depends.split(",") if group.strip()]
        packages[name] = (priority, alternatives)
        for virtual in provides.split(","):
            if virtual.strip():
                providers.setdefault(re.sub(r"[ (:].*", "", virtual.strip()), []).append(name)
    return packages, providers


def brought_packages(named, packages, providers):
    brought, todo = set(), [n for n in named if n in packages]
    while todo:
        name = todo.pop()
        if name in brought:
            continue
        brought.add(name)
        for group in packages[name][1]:
            for choice in group:
                found = [choice] if choice in packages else providers.get(choice, [])
                if found:
                    todo.extend(found)
                    break
    return brought


def called_commands():
    files = sorted(glob.glob(os.path.join(ROOT, "scripts/*.sh")) + [os.path.join(ROOT, ".ci/run")] +
                   glob.glob(os.path.join(ROOT, "tests/fuzz/*.sh")))
    commands = {}
    for path in files:
        for number, line in enumerate(open(path, encoding="utf-8"), 1):
            line = re.sub(r"(^|\s)#.*", "", line)
            for match in COMMAND_START.finditer(line):
                words = re.findall(r"[^\s;&|()`\"']+", line[match.end():])
                while words and (re.match(r"^[A-Za-z_][A-Za-z0-9_]*=", words[0]) or words[0] in WRAPPERS
                                 or words[0].startswith("-")):
                    words.pop(0)
                if words and re.match(r"^[A-Za-z][A-Za-z0-9_.+-]*$", words[0]):
                    commands.setdefault(words[0], f"{os.path.relpath(path, ROOT)}:{number}")
    return commands


def owners_of(programs):
    """Program path -> owning package, read from dpkg's file lists in one pass (dpkg -S is slow)."""
    candidates = {}
    for program in programs:
        real = os.path.realpath(program)
        for candidate in (real, program, re.sub(r"^/usr", "", real), re.sub(r"^/usr", "", program)):
            candidates.setdefault(candidate, program)
    owners = {}
    for listing in glob.glob("/var/lib/dpkg/info/*.list"):
        package = os.path.basename(listing)[:-len(".list")].split(":")[0]
        with open(listing, encoding="utf-8", errors="replace") as files:
            for path in files:
                program = candidates.get(path.rstrip("\n"))
                if program is not None:
                    owners.setdefault(program, package)
    return owners


def main():
    named = package_lists()
    packages, providers = installed_packages()
    brought = brought_packages(named, packages, providers)
    found = {command: (where, shutil.which(command, path=SYSTEM_PATH))
             for command, where in sorted(called_commands().items())}
    # Shell builtins, functions of the scripts and words that are no command resolve to nothing.
    found = {command: entry for command, entry in found.items() if entry[1] is not None}
    owners = owners_of(program for _, program in found.values())
    failures = 0
    for command, (where, program) in found.items():
        owner = owners.get(program)
        if owner is None:
            print(f"package check: '{command}' ({where}) is {program}, which no Debian package installs")
            failures += 1
        elif owner not in brought and packages.get(owner, ("",))[0] != "required":
            print(f"package check: '{command}' ({where}) comes from the Debian package '{owner}', "
                  "which the install step does not bring: name it in scripts/packages.sh")
            failures += 1
    checked = len(found)
    if failures == 0:
        print(f"package check: the {checked} commands the scripts call come from packages the install step brings")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
