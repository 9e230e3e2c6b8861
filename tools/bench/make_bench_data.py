#!/usr/bin/env python3
"""Usage: make_bench_data.py FOLDER [MIB [SMALL_FILES]]. Makes the inputs of the benchmarks in
FOLDER (kept between runs):

  payload.bin      MIB (default 1024) MiB of mixed data (download and MD5 input)
  large/           MIB MiB of mixed files: text-like, random and repetitive, 16 MiB each
  small/           SMALL_FILES (default 20,000) small files (100 bytes to 8 KiB) in 200 folders
Archives are made by run-benchmarks.sh with Info-ZIP zip.
"""
import os
import random
import sys

MIB = 1024 * 1024


def text_block(rng, size):
    words = [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 10)))
             for _ in range(5000)]
    out = []
    length = 0
    while length < size:
        line = ' '.join(rng.choice(words) for _ in range(rng.randint(5, 15))) + '\n'
        out.append(line)
        length += len(line)
    return ''.join(out).encode()[:size]


def mixed_chunk(rng, pool, index):
    kind = index % 4
    if kind == 0 or kind == 1:  # text-like: compresses about 3:1
        start = rng.randrange(0, len(pool) - MIB)
        return pool[start:start + MIB]
    if kind == 2:               # random: does not compress
        return rng.randbytes(MIB)
    return bytes([index % 256]) * (MIB // 2) + rng.randbytes(MIB // 2)  # half repetitive


def write_mixed(path, size_mib, rng, pool):
    with open(path, 'wb') as out:
        for i in range(size_mib):
            out.write(mixed_chunk(rng, pool, i))


def main():
    folder = sys.argv[1]
    size_mib = int(sys.argv[2]) if len(sys.argv) > 2 else 1024
    small_files = int(sys.argv[3]) if len(sys.argv) > 3 else 20000
    rng = random.Random(20240517)
    pool = text_block(rng, 8 * MIB)
    os.makedirs(folder, exist_ok=True)

    payload = os.path.join(folder, 'payload.bin')
    if not os.path.exists(payload):
        write_mixed(payload, size_mib, rng, pool)

    large = os.path.join(folder, 'large')
    if not os.path.exists(large):
        os.makedirs(large + '.part')
        for i in range(max(1, size_mib // 16)):  # files of 16 MiB
            sub = os.path.join(large + '.part', 'data%02d' % (i % 8))
            os.makedirs(sub, exist_ok=True)
            write_mixed(os.path.join(sub, 'blob%03d.bin' % i), 16, rng, pool)
        os.rename(large + '.part', large)

    small = os.path.join(folder, 'small')
    if not os.path.exists(small):
        os.makedirs(small + '.part')
        for i in range(small_files):
            sub = os.path.join(small + '.part', 'dir%03d' % (i % 200))
            os.makedirs(sub, exist_ok=True)
            size = rng.randint(100, 8192)
            start = rng.randrange(0, len(pool) - size)
            with open(os.path.join(sub, 'file%05d.txt' % i), 'wb') as out:
                out.write(pool[start:start + size])
        os.rename(small + '.part', small)


if __name__ == '__main__':
    main()
