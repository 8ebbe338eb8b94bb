#!/usr/bin/env python3
"""Runs two commands in interleaved pairs (A B A B ...) and prints, on one
line: median wall ms of A and of B, the median of the per-pair ratios A/B
with its spread (25th..75th percentile), median CPU ms (user + system) of A
and of B, and the median of the per-pair CPU ratios.
    pairs.py RUNS WARMUP CMD_A... -- CMD_B...
A command may start with NAME=VALUE words, which go into its environment.
A command that prints "first-paint-monotonic-ns N" is timed to that moment
(CLOCK_MONOTONIC) rather than to its end, on both sides alike."""
import os
import resource
import statistics
import subprocess
import sys
import time


def split_env(words):
    env = dict(os.environ)
    while words and '=' in words[0] and not words[0].startswith('/'):
        name, value = words[0].split('=', 1)
        env[name] = value
        words = words[1:]
    return words, env


def run(words):
    argv, env = split_env(words)
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic_ns()
    done = subprocess.run(argv, env=env, check=True, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    end = time.monotonic_ns()
    for line in done.stdout.decode(errors='replace').splitlines():
        if line.startswith('first-paint-monotonic-ns '):
            end = int(line.split()[1])
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return (end - start) / 1e6, cpu * 1000


def quartiles(values):
    q = statistics.quantiles(values, n=4, method='inclusive')
    return q[0], q[2]


def main():
    runs, warmup = int(sys.argv[1]), int(sys.argv[2])
    rest = sys.argv[3:]
    cut = rest.index('--')
    a, b = rest[:cut], rest[cut + 1:]
    for _ in range(warmup):
        run(a)
        run(b)
    pairs = [(run(a), run(b)) for _ in range(runs)]
    wall_ratio = [x[0] / y[0] for x, y in pairs]
    cpu_ratio = [x[1] / y[1] for x, y in pairs if y[1] > 0]
    low, high = quartiles(wall_ratio)
    print('%.1f %.1f %.2f %.2f %.2f %.1f %.1f %.2f' % (
        statistics.median(x[0] for x, _ in pairs), statistics.median(y[0] for _, y in pairs),
        statistics.median(wall_ratio), low, high,
        statistics.median(x[1] for x, _ in pairs), statistics.median(y[1] for _, y in pairs),
        statistics.median(cpu_ratio) if cpu_ratio else float('nan')))


if __name__ == '__main__':
    main()
