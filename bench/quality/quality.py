#!/usr/bin/env python3
"""Spelling suggestion quality: the engine beside hunspell and aspell.

For every line "misspelling intended" of a list (default misspellings.txt
beside this script) asks the engine (GetSpellingSuggestions through the
bridge of a real lxcore), hunspell and aspell (Debian's en_US dictionaries,
ispell pipe mode) for suggestions, and prints how often the intended word is
first and among the first five (ASCII case folded), then the words the
engine misses.

Run after ./lexora build (it needs build/host/lxcore and the data in
build/appdir/data):
    bench/quality/quality.py [--build DIR] [--port 7811] [--list FILE]
Needs hunspell, hunspell-en-us, aspell and aspell-en.
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import time
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def read_list(path):
    pairs = []
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#"):
                wrong, right = line.split(None, 1)
                pairs.append((wrong, right))
    return pairs


def engine_call(port, method, params):
    body = json.dumps({"method": method, "params": params}).encode()
    request = urllib.request.Request("http://127.0.0.1:%d/pdl/request" % port, data=body,
                                     headers={"Content-Type": "application/json"})
    with urllib.request.urlopen(request, timeout=30) as response:
        return json.loads(response.read())


def engine_suggestions(build, port, words):
    appdir = os.path.join(build, "appdir")
    env = dict(os.environ, LXCORE_PORT=str(port), LXCORE_DATA_DIR=tempfile.mkdtemp())
    process = subprocess.Popen([os.path.join(build, "host", "lxcore")], cwd=appdir, env=env,
                               stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            try:
                engine_call(port, "GetRandomWord", [])
                break
            except OSError:
                time.sleep(0.1)
        return [engine_call(port, "GetSpellingSuggestions", [w, 10])["words"] for w in words]
    finally:
        process.terminate()
        process.wait()


def ispell_suggestions(command, words):
    """Suggestions of an ispell-compatible checker in pipe mode ("-a")."""
    text = "".join("^" + w + "\n" for w in words)
    out = subprocess.run(command, input=text, capture_output=True, text=True, check=True).stdout
    results = []
    current = None
    for line in out.splitlines()[1:]:  # the first line is the version banner
        if line == "":
            results.append(current if current is not None else [])
            current = None
        elif line.startswith("&"):
            current = [s.strip() for s in line.split(":", 1)[1].split(",")]
        elif line.startswith("*") or line.startswith("+") or line.startswith("-"):
            current = [None]  # accepted as correct: counts as the word itself
        elif line.startswith("#"):
            current = []
    return results


def score(pairs, suggestions):
    first = top5 = 0
    misses = []
    seconds = []
    for (wrong, right), offered in zip(pairs, suggestions):
        offered = [wrong if s is None else s for s in offered]
        folded = [s.lower() for s in offered]
        if folded[:1] == [right.lower()]:
            first += 1
        elif right.lower() in folded[:5]:
            seconds.append((wrong, right, offered[:5]))
        if right.lower() in folded[:5]:
            top5 += 1
        else:
            misses.append((wrong, right, offered[:5]))
    return first, top5, misses, seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--port", type=int, default=7811)
    parser.add_argument("--list", default=os.path.join(HERE, "misspellings.txt"))
    args = parser.parse_args()
    pairs = read_list(args.list)
    words = [w for w, _ in pairs]
    peers = [
        ("engine", engine_suggestions(args.build, args.port, words)),
        ("hunspell", ispell_suggestions(["hunspell", "-d", "en_US", "-a"], words)),
        ("aspell", ispell_suggestions(["aspell", "-a", "--lang=en_US"], words)),
    ]
    n = len(pairs)
    print("%d misspellings from %s" % (n, os.path.relpath(args.list)))
    print("%-10s %12s %12s" % ("checker", "first", "first five"))
    engine_misses = engine_seconds = []
    for name, suggestions in peers:
        if len(suggestions) != n:
            sys.exit("%s answered %d of %d words" % (name, len(suggestions), n))
        first, top5, misses, seconds = score(pairs, suggestions)
        print("%-10s %5d %5.1f%% %5d %5.1f%%" % (name, first, 100.0 * first / n, top5,
                                                 100.0 * top5 / n))
        if name == "engine":
            engine_misses = misses
            engine_seconds = seconds
    print("\nThe engine's near misses (intended word second to fifth):")
    for wrong, right, offered in engine_seconds:
        print("  %-14s -> %-14s offered %s" % (wrong, right, ", ".join(offered)))
    print("\nThe engine's misses (intended word not in the first five):")
    for wrong, right, offered in engine_misses:
        print("  %-14s -> %-14s offered %s" % (wrong, right, ", ".join(offered)))


if __name__ == "__main__":
    main()
