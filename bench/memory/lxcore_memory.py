#!/usr/bin/env python3
"""Resident memory of lxcore after it answered every headword once.

Starts lxcore as the tests do (its own application folder holding the
dictionary, LXCORE_PORT, LXCORE_DATA_DIR, SDL_VIDEODRIVER=dummy), asks
GetDefinition for every headword once, in a fixed random order, over a few
kept-alive connections to its HTTP bridge, and prints from /proc:
  - VmHWM (peak resident), VmRSS and its shares RssAnon / RssFile / RssShmem,
    after start-up and after the last answer;
  - where the resident memory lies (smaps): each shared library, the heap,
    the other anonymous mappings (thread arenas and stacks, the engine's
    large allocations), the mapped files.

The headwords come from `lxddump FILE --list ""`, before the engine starts,
so nothing but the definitions shapes its memory.

    bench/memory/lxcore_memory.py [--build build-rel] [--database FILE]
        [--words N] [--port 0] [--seed 1] [--clients 8]
"""

import argparse
import http.client
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
START_WAIT = 20  # seconds for the engine to come up
STATUS_FIELDS = ("VmHWM", "VmRSS", "RssAnon", "RssFile", "RssShmem")


def headwords(lxddump, database):
    listing = subprocess.run([lxddump, database, "--list", "", "--count", "100000000"],
                             check=True, capture_output=True, text=True,
                             errors="surrogateescape")
    return [word for word in listing.stdout.split("\n") if word]


def start_engine(lxcore, database, port):
    """Runs lxcore in a private application folder; returns the process, its
    port, the folder and the log's path."""
    app = tempfile.mkdtemp(prefix="lxmemory-")
    os.mkdir(os.path.join(app, "data"))
    data = os.path.dirname(os.path.abspath(database))
    os.symlink(os.path.abspath(database), os.path.join(app, "data", "wordnet.lxd"))
    for companion in ("IPA_to_IMG.txt", "search.lxs", "meaning.lxm"):
        if os.path.exists(os.path.join(data, companion)):
            os.symlink(os.path.join(data, companion), os.path.join(app, "data", companion))
    env = dict(os.environ, LXCORE_PORT=str(port), LXCORE_DATA_DIR=app, SDL_VIDEODRIVER="dummy")
    log_path = os.path.join(app, "lxcore.log")
    with open(log_path, "w") as log:
        process = subprocess.Popen([os.path.abspath(lxcore)], cwd=app, env=env, stdout=log,
                                   stderr=log)
    deadline = time.time() + START_WAIT
    while time.time() < deadline and process.poll() is None:
        text = open(log_path, errors="replace").read()
        found = re.search(r"listening on http://127\.0\.0\.1:(\d+)", text)
        if found and "LXCORE PLUGIN LOADED" in text:
            return process, int(found.group(1)), app, log_path
        time.sleep(0.05)
    process.kill()
    sys.exit("lxcore did not start:\n" + open(log_path, errors="replace").read())


def status(pid):
    fields = {}
    for line in open("/proc/%d/status" % pid):
        name, _, value = line.partition(":")
        if name in STATUS_FIELDS:
            fields[name] = int(value.split()[0])
    return fields


def smaps_parts(pid):
    """Resident kB by where it lies: a library's name, [heap], [stack],
    'anonymous' or a mapped file's name."""
    parts = {}
    name = None
    for line in open("/proc/%d/smaps" % pid):
        fields = line.split()
        if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
            path = fields[5] if len(fields) > 5 else ""
            name = os.path.basename(path) if path.startswith("/") else (path or "anonymous")
        elif fields[0] == "Rss:":
            parts[name] = parts.get(name, 0) + int(fields[1])
    return parts


def ask_definitions(port, words, failures):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    for word in words:
        body = json.dumps({"method": "GetDefinition", "params": [word]})
        try:
            connection.request("POST", "/pdl/request", body,
                               {"Content-Type": "application/json"})
            response = connection.getresponse()
            text = response.read()
        except OSError as error:
            failures.append("GetDefinition %r: %s" % (word, error))
            break
        if response.status != 200 or b"errorcode" in text[:64]:
            failures.append("GetDefinition %r: %d %r" % (word, response.status, text[:200]))
            break
    connection.close()


def ask_in_parallel(port, words, clients):
    """Each client asks its share of the words, one request at a time. The
    engine takes a request from its queue only every few milliseconds when
    idle, so one client alone would take most of an hour."""
    failures = []
    threads = [threading.Thread(target=ask_definitions, args=(port, words[i::clients], failures))
               for i in range(clients)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    if failures:
        sys.exit(failures[0])
    return len(words)


def print_status(title, fields):
    print("%-22s %s" % (title, "  ".join("%s %7.2f MB" % (name, fields.get(name, 0) / 1024)
                                           for name in STATUS_FIELDS)))


def print_parts(parts):
    total = sum(parts.values())
    print("resident by mapping (kB), total %d:" % total)
    for name, kb in sorted(parts.items(), key=lambda item: -item[1]):
        if kb >= 32:
            print("  %7d  %s" % (kb, name))
    print("  %7d  (others under 32 kB each)" % sum(kb for kb in parts.values() if kb < 32))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build-rel"))
    parser.add_argument("--database", help="default: BUILD/appdir/data/wordnet.lxd")
    parser.add_argument("--words", type=int, default=0, help="headwords to ask (0: all)")
    parser.add_argument("--port", type=int, default=0, help="the bridge's port (0: any)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--clients", type=int, default=8, help="connections asking at once")
    args = parser.parse_args()
    database = args.database or os.path.join(args.build, "appdir", "data", "wordnet.lxd")
    lxcore = os.path.join(args.build, "host", "lxcore")
    lxddump = os.path.join(args.build, "tools", "lxddump", "lxddump")

    words = headwords(lxddump, database)
    random.Random(args.seed).shuffle(words)
    if args.words:
        words = words[:args.words]
    process, port, app, log_path = start_engine(lxcore, database, args.port)
    try:
        print_status("after start-up:", status(process.pid))
        started = time.time()
        answered = ask_in_parallel(port, words, args.clients)
        seconds = time.time() - started
        print_status("after %d answers:" % answered, status(process.pid))
        print("%.1f s, %.0f answers a second, load average %s" %
              (seconds, answered / seconds, " ".join(open("/proc/loadavg").read().split()[:3])))
        print_parts(smaps_parts(process.pid))
    finally:
        process.terminate()
        process.wait(10)
        shutil.rmtree(app, ignore_errors=True)


if __name__ == "__main__":
    main()
