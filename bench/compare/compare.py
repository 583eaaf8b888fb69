#!/usr/bin/env python3
"""Side-by-side comparison of the engine with WordNet's C library and dictd.

Runs the same words (WordNet's lemmas and 10,000 inflected forms) through
  - the engine in process (lookup, GetDefinition answer, 50-word GetIndexWords),
  - WordNet's library in process (morphstr + index look-ups; morphstr +
    findtheinfo_ds for every part of speech; bin_search + 50 index lines),
  - dictd serving dict-wn on 127.0.0.1 (DEFINE and MATCH prefix on one
    connection, DEFINE with a connection of its own),
  - lxdictd serving the engine's file over the same protocol, measured the
    same way by the same client,
and prints medians, percentiles and ratios (peer time / engine time), the
database sizes, system calls per operation (strace -c), the differences
between the engine's senses and glosses and WordNet's, and the round trip
through the engine's HTTP bridge. Draws the latency distributions into
<build>/compare/latency.svg.

Run after ./lexora test, from anywhere:
    bench/compare/compare.py [--database FILE] [--lemmas N] ...
It builds lxcompare and lxcore in a Release folder of its own (--build,
default build-compare). Needs wordnet-dev, dictd, dict-wn, strace, gnuplot.
Not part of the test suite: it takes minutes.
"""

import argparse
import os
import random
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DICT_WN = ["/usr/share/dictd/wn.dict.dz", "/usr/share/dictd/wn.index"]
WORDNET_DIR = os.environ.get("WNSEARCHDIR", "/usr/share/wordnet")
SERVER_WAIT = 20  # seconds to wait for a server to come up


def run(command, **kwargs):
    print("+ " + " ".join(command), flush=True)
    return subprocess.run(command, check=True, **kwargs)


def build(build_dir):
    run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
         "-DLEXORA_COMPARE=ON"], stdout=subprocess.DEVNULL)
    run(["cmake", "--build", build_dir, "--target", "lxcompare", "lxcore", "lxdictd"])
    return (os.path.join(build_dir, "bench", "compare", "lxcompare"),
            os.path.join(build_dir, "host", "lxcore"),
            os.path.join(build_dir, "tools", "lxdictd", "lxdictd"))


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for_port(port, process):
    deadline = time.time() + SERVER_WAIT
    while time.time() < deadline and process.poll() is None:
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=1):
                return True
        except OSError:
            time.sleep(0.1)
    return False


def stop(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def read_figures(path):
    with open(path) as f:
        return [float(line) / 1000.0 for line in f if line.strip()]  # microseconds


def percentile(sorted_values, q):
    if not sorted_values:
        return float("nan")
    return sorted_values[min(len(sorted_values) - 1, int(q * (len(sorted_values) - 1) + 0.5))]


def summary(values):
    s = sorted(values)
    return {"n": len(s), "p50": percentile(s, 0.5), "p90": percentile(s, 0.9),
            "p99": percentile(s, 0.99), "mean": sum(s) / len(s) if s else float("nan")}


def folder_bytes(path):
    total = 0
    for dirpath, _, files in os.walk(path):
        for name in files:
            full = os.path.join(dirpath, name)
            if os.path.isfile(full) and not os.path.islink(full):
                total += os.path.getsize(full)
    return total


def write_word_list(out, lemma_count, forms_count):
    lemmas = open(os.path.join(out, "lemmas.txt")).read().split("\n")
    lemmas = [w for w in lemmas if w]
    forms = [w for w in open(os.path.join(out, "forms.txt")).read().split("\n") if w]
    if lemma_count and lemma_count < len(lemmas):
        lemmas = random.Random(8).sample(lemmas, lemma_count)
    words = lemmas + forms[:forms_count]
    random.Random(9).shuffle(words)
    with open(os.path.join(out, "words.txt"), "w") as f:
        f.write("\n".join(words) + "\n")
    return len(lemmas), len(forms[:forms_count])


def start_dictd(out, port):
    conf = os.path.join(out, "dictd.conf")
    with open(conf, "w") as f:
        # One connection serves every word: no query or time limit on it.
        f.write('global {\n  listen_to 127.0.0.1\n  limit_queries 0\n  limit_time 36000\n}\n'
                'access {\n  allow 127.0.0.1\n}\n'
                'database wn {\n  data "%s"\n  index "%s"\n}\n' % tuple(DICT_WN))
    port = port or free_port()
    log = open(os.path.join(out, "dictd.log"), "w")
    process = subprocess.Popen(["dictd", "-c", conf, "-p", str(port), "--listen-to", "127.0.0.1",
                                "-d", "nodetach", "-f"], stdout=log, stderr=log)
    if not wait_for_port(port, process):
        stop(process)
        sys.exit("dictd did not start; see " + log.name)
    return process, port


def start_in_app(name, database, out, launch):
    """Starts a server in a private application folder that holds the
    database (and its IPA table). `launch(app)` gives the command and its
    environment; the server's log must name its port. Returns the process,
    the port and the folder."""
    app = tempfile.mkdtemp(prefix="lxcompare-%s-" % name)
    os.mkdir(os.path.join(app, "data"))
    os.symlink(os.path.abspath(database), os.path.join(app, "data", "wordnet.lxd"))
    ipa = os.path.join(os.path.dirname(os.path.abspath(database)), "IPA_to_IMG.txt")
    if os.path.exists(ipa):
        os.symlink(ipa, os.path.join(app, "data", "IPA_to_IMG.txt"))
    command, env = launch(app)
    log_path = os.path.join(out, name + ".log")
    log = open(log_path, "w")
    process = subprocess.Popen(command, cwd=app, env=env, stdout=log, stderr=log)
    deadline = time.time() + SERVER_WAIT
    while time.time() < deadline and process.poll() is None:
        found = re.search(r"listening on (?:http://)?127\.0\.0\.1:(\d+)", open(log_path).read())
        if found:
            return process, int(found.group(1)), app
        time.sleep(0.1)
    stop(process)
    shutil.rmtree(app, ignore_errors=True)
    sys.exit("%s did not start; see %s" % (name, log_path))


def start_lxdictd(lxdictd, database, out):
    return start_in_app("lxdictd", database, out, lambda app: (
        [os.path.abspath(lxdictd), "--data", app, "--port", "0"], None))


def start_engine(lxcore, database, out):
    return start_in_app("lxcore", database, out, lambda app: (
        [os.path.abspath(lxcore)],
        dict(os.environ, LXCORE_PORT="0", LXCORE_DATA_DIR=app, SDL_VIDEODRIVER="dummy")))


def strace_counts(command, out_file):
    subprocess.run(["strace", "-c", "-f", "-o", out_file] + command, check=True,
                   stdout=subprocess.DEVNULL)
    counts = {}
    for line in open(out_file):
        fields = line.split()
        if len(fields) >= 5 and fields[0][0].isdigit() and fields[-1] != "total":
            counts[fields[-1]] = int(fields[3])
        elif len(fields) >= 4 and fields[-1] == "total":
            counts["total"] = int(fields[3])
    return counts


def syscalls_per_op(lxcompare, database, out, count):
    rows = []
    words = os.path.join(out, "words.txt")
    for peer in ("engine", "wordnet"):
        for what in ("lookup", "define", "index"):
            prefix = [lxcompare, peer + "-syscalls"] + ([database] if peer == "engine" else [])
            base = strace_counts(prefix + [what, words, "0"],
                                 os.path.join(out, "strace-%s-%s-0.txt" % (peer, what)))
            loaded = strace_counts(prefix + [what, words, str(count)],
                                   os.path.join(out, "strace-%s-%s.txt" % (peer, what)))
            per = {name: (loaded.get(name, 0) - base.get(name, 0)) / count
                   for name in set(base) | set(loaded)}
            rows.append((peer, what, per))
    return rows


COLOURS = ["#1b9e77", "#d95f02", "#7570b3", "#e7298a", "#66a61e", "#e6ab02", "#a6761d",
           "#666666", "#1f78b4", "#b2182b", "#000000", "#17becf"]
DASHES = {"engine": 1, "wordnet": 2, "dictd": 3, "bridge": 4, "lxdictd": 5}  # solid, dashed, dotted, dash-dot


def draw(out, series):
    data_dir = os.path.join(out, "cdf")
    os.makedirs(data_dir, exist_ok=True)
    plots = []
    for n, (title, values) in enumerate(series):
        s = sorted(v for v in values if v > 0)
        if not s:
            continue
        step = max(1, len(s) // 2000)
        path = os.path.join(data_dir, re.sub(r"\W+", "-", title) + ".dat")
        with open(path, "w") as f:
            for i in range(0, len(s), step):
                f.write("%g %g\n" % (s[i], (i + 1) / len(s)))
            f.write("%g 1\n" % s[-1])
        plots.append("'%s' using 1:2 with lines lw 2 lc rgb '%s' dt %d title '%s'"
                     % (path, COLOURS[n % len(COLOURS)], DASHES.get(title.split()[0], 1), title))
    svg = os.path.join(out, "latency.svg")
    script = os.path.join(out, "latency.gnuplot")
    with open(script, "w") as f:
        f.write("set terminal svg size 1100,650 dynamic font 'sans,12'\n")
        f.write("set output '%s'\n" % svg)
        f.write("set title 'Latency per word: engine, WordNet library, dictd (cumulative)'\n")
        f.write("set logscale x\nset xlabel 'microseconds per word (log scale)'\n")
        f.write("set ylabel 'fraction of words'\nset grid\nset key outside right\n")
        f.write("set yrange [0:1]\n")
        f.write("plot " + ", \\\n     ".join(plots) + "\n")
    run(["gnuplot", script])
    return svg


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build-compare"))
    parser.add_argument("--database", default=os.path.join(ROOT, "build/appdir/data/wordnet.lxd"))
    parser.add_argument("--lemmas", type=int, default=0, help="lemmas to time (0: all)")
    parser.add_argument("--forms", type=int, default=10000)
    parser.add_argument("--new-connections", type=int, default=1000)
    parser.add_argument("--bridge", type=int, default=500, help="bridge round trips of each kind")
    parser.add_argument("--syscall-ops", type=int, default=1000)
    parser.add_argument("--dictd-port", type=int, default=0,
                        help="port for dictd on 127.0.0.1 (0: any free port)")
    args = parser.parse_args()
    if not os.path.exists(args.database):
        sys.exit("no dictionary at %s: run ./lexora test first or give --database" % args.database)

    lxcompare, lxcore, lxdictd = build(args.build)
    out = os.path.join(args.build, "compare")
    os.makedirs(out, exist_ok=True)
    run([lxcompare, "wordlists", str(args.forms), out])
    lemma_count, form_count = write_word_list(out, args.lemmas, args.forms)
    words = os.path.join(out, "words.txt")

    run([lxcompare, "engine", args.database, words, out])
    run([lxcompare, "wordnet", words, out])
    dictd, port = start_dictd(out, args.dictd_port)
    try:
        run([lxcompare, "dict", "dictd", "wn", str(port), words, str(args.new_connections), out])
    finally:
        stop(dictd)
    server, port, app = start_lxdictd(lxdictd, args.database, out)
    try:
        run([lxcompare, "dict", "lxdictd", "lexora", str(port), words,
             str(args.new_connections), out])
    finally:
        stop(server)
        shutil.rmtree(app, ignore_errors=True)
    engine, port, app = start_engine(lxcore, args.database, out)
    try:
        run([lxcompare, "bridge", str(port), words, str(args.bridge), out])
    finally:
        stop(engine)
        shutil.rmtree(app, ignore_errors=True)
    answers = subprocess.run([lxcompare, "answers", args.database,
                              os.path.join(out, "lemmas.txt"), out],
                             check=True, capture_output=True, text=True).stdout
    syscalls = syscalls_per_op(lxcompare, args.database, out, args.syscall_ops)

    f = lambda peer, measure: read_figures(os.path.join(out, "%s-%s.txt" % (peer, measure)))
    measures = [("engine", "lookup"), ("engine", "define"), ("engine", "index"),
                ("wordnet", "lookup"), ("wordnet", "define"), ("wordnet", "index"),
                ("dictd", "define"), ("dictd", "match"), ("dictd", "status"),
                ("dictd", "define-new-connection"),
                ("lxdictd", "define"), ("lxdictd", "match"), ("lxdictd", "status"),
                ("lxdictd", "define-new-connection"),
                ("bridge", "call"), ("bridge", "request"), ("bridge", "request-after-pause")]
    stats = {m: summary(f(*m)) for m in measures}

    print("\n== Latency per word, microseconds (%d lemmas + %d inflected forms, shuffled)"
          % (lemma_count, form_count))
    print("%-34s %7s %9s %9s %9s %9s" % ("peer / measure", "n", "p50", "p90", "p99", "mean"))
    for m in measures:
        s = stats[m]
        print("%-34s %7d %9.1f %9.1f %9.1f %9.1f" % (" ".join(m), s["n"], s["p50"], s["p90"],
                                                      s["p99"], s["mean"]))

    print("\n== Ratios of medians (peer time / engine time; DICT rows: dictd / lxdictd)")
    ratios = [("lookup", ("wordnet", "lookup"), ("engine", "lookup")),
              ("full definition", ("wordnet", "define"), ("engine", "define")),
              ("full definition", ("dictd", "define"), ("engine", "define")),
              ("full definition", ("dictd", "define-new-connection"), ("engine", "define")),
              ("50-word index run", ("wordnet", "index"), ("engine", "index")),
              ("50-word index run", ("dictd", "match"), ("engine", "index")),
              ("DICT DEFINE", ("dictd", "define"), ("lxdictd", "define")),
              ("DICT MATCH prefix", ("dictd", "match"), ("lxdictd", "match")),
              ("DICT STATUS", ("dictd", "status"), ("lxdictd", "status")),
              ("DICT new connection", ("dictd", "define-new-connection"),
               ("lxdictd", "define-new-connection"))]
    for what, peer, ours in ratios:
        print("%-20s %-34s %9.1f x" % (what, " ".join(peer),
                                       stats[peer]["p50"] / stats[ours]["p50"]))

    print("\n== Database sizes, bytes")
    print("%-40s %12d" % ("engine file " + os.path.basename(args.database),
                          os.path.getsize(args.database)))
    print("%-40s %12d" % ("WordNet dict folder " + WORDNET_DIR, folder_bytes(WORDNET_DIR)))
    print("%-40s %12d" % ("dict-wn files (wn.dict.dz + wn.index)",
                          sum(os.path.getsize(p) for p in DICT_WN)))

    print("\n== System calls per operation after open (strace -c, %d operations)"
          % args.syscall_ops)
    for peer, what, per in syscalls:
        detail = ", ".join("%s %.2f" % (name, n) for name, n in sorted(per.items())
                           if name != "total" and n >= 0.01)
        print("%-8s %-7s %7.2f   %s" % (peer, what, per.get("total", 0.0), detail))

    call, busy, idle = (stats[("bridge", k)] for k in ("call", "request", "request-after-pause"))
    engine_define = stats[("engine", "define")]
    print("\n== Round trip through the bridge (GetDefinition, medians / means, microseconds)")
    print("client + HTTP + bridge (a call the bridge answers at once): %.1f / %.1f"
          % (call["p50"], call["mean"]))
    print("engine's own answer (in process):                          %.1f / %.1f"
          % (engine_define["p50"], engine_define["mean"]))
    print("round trip, back to back:                                  %.1f / %.1f"
          % (busy["p50"], busy["mean"]))
    print("round trip after a 15-25 ms pause:                         %.1f / %.1f"
          % (idle["p50"], idle["mean"]))
    print("left for the event loop's wait (after pause, mean):        %.1f"
          % (idle["mean"] - call["mean"] - engine_define["mean"]))

    print("\n== Answers: engine against WordNet, every lemma\n" + answers.rstrip())
    print("   all differences: " + os.path.join(out, "answer-differences.txt"))

    svg = draw(out, [(" ".join(m), f(*m)) for m in measures
                     if m[0] != "bridge" or m[1] != "call"])
    print("\nlatency distributions: " + svg)


if __name__ == "__main__":
    main()
