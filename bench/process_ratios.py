#!/usr/bin/env python3
"""The user's figures: the real programs timed as whole processes, each beside
its plain counterpart in the same run, taking turns so that both meet the same
state of the machine.

  start-up          calyx-cli --version, calyx-cli info (demo bank)  vs  /bin/true
  resave            calyx-cli resave BANK -o OUT (64 MiB, 2,000 samples)  vs  dd bs=1M conv=fsync
  export-all        calyx-cli export-all BANK FOLDER  vs  a small C program writing the same files
  print-pdf         calyx --print-pdf of a 2,000-row bank (time only)
  editor launch     calyx to its first visible window under Xvfb (time only)

Medians with the 10th and 90th percentiles. The work files lie in the build
folder, on the repository's file system; written data is flushed (sync)
before every timed run, and the source bank is read once before timing so
that it is in the page cache.

  bench/process_ratios.py [--runs N]     (CALYX_BUILD_DIR names the build folder)
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("CALYX_BUILD_DIR", os.path.join(REPO, "build"))
CLI = os.path.join(BUILD, "calyx-cli")
EDITOR = os.path.join(BUILD, "calyx")
QUIET = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}


def seconds(command, env=None, before=None):
    if before:
        before()
    start = time.perf_counter()
    subprocess.run(command, check=True, env=env, **QUIET)
    return time.perf_counter() - start


def spread(values):
    ordered = sorted(values)
    pick = lambda q: ordered[min(len(ordered) - 1, int(q * len(ordered)))]
    return statistics.median(ordered), pick(0.1), pick(0.9)


def milliseconds(values):
    median, low, high = spread(values)
    return f"median {median * 1e3:7.2f} ms  (p10 {low * 1e3:.2f}, p90 {high * 1e3:.2f})"


def compare(name, ours, plain, runs, before=None, warmup=0):
    """Runs `ours` and `plain` in turns; prints both and the ratio of the medians and of the p90s."""
    for _ in range(warmup):
        seconds(ours, before=before)
        seconds(plain, before=before)
    a, b = [], []
    for _ in range(runs):
        a.append(seconds(ours, before=before))
        b.append(seconds(plain, before=before))
    print(f"{name}")
    print(f"  ours   {milliseconds(a)}")
    print(f"  plain  {milliseconds(b)}")
    print(f"  ratio  median {spread(a)[0] / spread(b)[0]:.2f}x   p90 {spread(a)[2] / spread(b)[2]:.2f}x")


def report(name, values):
    print(f"{name}\n  {milliseconds(values)}")


def peak_kib(command):
    result = subprocess.run(["/usr/bin/time", "-f", "%M", *command], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1])


def warm(path):
    with open(path, "rb") as f:
        while f.read(1 << 20):
            pass


def startup(work, runs):
    prefix = os.path.join(work, "demo")
    subprocess.run([os.path.join(BUILD, "calyx-make-demo"), prefix], check=True, **QUIET)
    bank = os.path.join(prefix, "drive_c", "Jeux", "VLM2", "Datab", "Resson", "VLM2Snd.bnm")
    compare("start-up: calyx-cli --version vs /bin/true", [CLI, "--version"], ["/bin/true"], runs)
    compare("start-up: calyx-cli info (demo bank) vs /bin/true", [CLI, "info", bank], ["/bin/true"], runs)


def resave(work, bank, runs):
    out, copy = os.path.join(work, "resaved.bnm"), os.path.join(work, "copy.bnm")
    warm(bank)
    size = os.path.getsize(bank)
    compare(f"resave of a {size / 2**20:.0f} MiB bank of 2,000 samples vs dd bs=1M conv=fsync",
            [CLI, "resave", bank, "-o", out],
            ["dd", f"if={bank}", f"of={copy}", "bs=1M", "conv=fsync"], runs, before=os.sync, warmup=1)
    print(f"  peak memory: resave {peak_kib([CLI, 'resave', bank, '-o', out]) / 1024:.1f} MiB, "
          f"dd {peak_kib(['dd', f'if={bank}', f'of={copy}', 'bs=1M', 'conv=fsync']) / 1024:.1f} MiB")


def export_all(work, bank, runs):
    """Into a fresh folder each time, as the plain writer: over existing files
    export-all replaces each one safely (a flushed temporary file renamed over
    it), which no plain writer does."""
    ours, theirs, model = (os.path.join(work, name) for name in ("exported", "plain", "model"))
    subprocess.run([CLI, "export-all", bank, model], check=True, **QUIET)
    files = sorted(os.path.join(model, name) for name in os.listdir(model))
    writer = os.path.join(BUILD, "bench", "plain-file-writer")

    def fresh_folders():
        for folder in (ours, theirs):
            shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(theirs)
        os.sync()

    compare(f"export-all of {len(files)} WAV files into a new folder vs a C program writing the same files",
            [CLI, "export-all", bank, ours], [writer, theirs, *files], runs, before=fresh_folders, warmup=1)


def print_pdf(work, bank, runs):
    if not os.access(EDITOR, os.X_OK):
        print("print-pdf: no editor in this build")
        return
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", SDL_AUDIODRIVER="dummy",
               XDG_RUNTIME_DIR=tempfile.mkdtemp(dir=work))
    os.chmod(env["XDG_RUNTIME_DIR"], 0o700)
    pdf = os.path.join(work, "listing.pdf")
    report("calyx --print-pdf of a 2,000-row bank",
           [seconds([EDITOR, "--print-pdf", pdf, bank], env=env) for _ in range(runs)])


def editor_launch(work, runs):
    if not (os.access(EDITOR, os.X_OK) and shutil.which("Xvfb") and shutil.which("xdotool")):
        print("editor launch: needs the editor, Xvfb and xdotool")
        return
    display = ":%d" % (90 + os.getpid() % 100)
    server = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x800x24", "-nolisten", "tcp"], **QUIET)
    try:
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
                   XDG_RUNTIME_DIR=tempfile.mkdtemp(dir=work))
        os.chmod(env["XDG_RUNTIME_DIR"], 0o700)
        # The server answers before the first launch is timed (a busy machine
        # can take it more than a second to start).
        ready = time.perf_counter()
        while subprocess.run(["xdotool", "getdisplaygeometry"], env=env, **QUIET).returncode != 0:
            if time.perf_counter() - ready > 20:
                print("editor launch: Xvfb did not start")
                return
            time.sleep(0.05)
        times, ended, unseen = [], [], 0
        for _ in range(runs):
            # A launch that ends before its window (the server, busy with
            # the polling, refused its connection) is made again.
            for _attempt in range(3):
                start = time.perf_counter()
                editor = subprocess.Popen([EDITOR], env=env, **QUIET)
                shown = False
                while not shown and time.perf_counter() - start < 20 and editor.poll() is None:
                    shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "calyx"],
                                           env=env, **QUIET).returncode == 0
                    if not shown:
                        time.sleep(0.01)
                elapsed = time.perf_counter() - start
                status = editor.poll()
                editor.kill()
                editor.wait()
                if shown:
                    times.append(elapsed)
                elif status is None:
                    unseen += 1
                else:
                    ended.append(status)
                    continue
                break
        if times:
            report("editor launch to its first visible window (Xvfb)", times)
        if ended:
            print(f"  {len(ended)} launches ended before showing a window and were made again "
                  f"(exit status {', '.join(map(str, ended))})")
        if unseen:
            print(f"  {unseen} of {runs} launches showed no window within 20 s")
    finally:
        # Asked to stop, the server removes its lock file.
        server.terminate()
        server.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=31, help="runs of each start-up command (31)")
    parser.add_argument("--heavy-runs", type=int, default=9, help="runs of each save, export and launch (9)")
    args = parser.parse_args()
    for program in (CLI, os.path.join(BUILD, "calyx-make-demo"), os.path.join(BUILD, "bench", "calyx-bench-bank")):
        if not os.access(program, os.X_OK):
            sys.exit(f"process_ratios: {program} is not built: run 'make build' first")
    print(f"load average before: {' '.join('%.2f' % x for x in os.getloadavg())}")
    with tempfile.TemporaryDirectory(dir=BUILD, prefix="process-bench-") as work:
        print(f"work folder on: {subprocess.run(['findmnt', '-n', '-o', 'FSTYPE', '-T', work], capture_output=True, text=True).stdout.strip()}")
        startup(work, args.runs)
        bank = os.path.join(work, "bench.bnm")
        subprocess.run([os.path.join(BUILD, "bench", "calyx-bench-bank"), bank], check=True)
        resave(work, bank, args.heavy_runs)
        export_all(work, bank, args.heavy_runs)
        print_pdf(work, bank, args.heavy_runs)
        editor_launch(work, args.heavy_runs)
    print(f"load average after: {' '.join('%.2f' % x for x in os.getloadavg())}")


if __name__ == "__main__":
    main()
