#!/usr/bin/env python3
"""Usage: make_install_content.py DEMO_CONTENT SCENARIOS OUT PLATFORM_MIB PLUGIN_MIB

Makes, in OUT (kept between runs, remade when the sizes change), the demo service's content with
a large platform archive and a large plug-in package, and the scenarios that serve it:

  OUT/content/        a copy of DEMO_CONTENT (the demo build's archives) in which the platform
                      archive and the plug-in package also carry PLATFORM_MIB and PLUGIN_MIB MiB
                      of mixed compressible data (in "bulk/", files of 16 MiB and less)
  OUT/large.json      the answer of SCENARIOS/plugin-312.json, downloads unthrottled
  OUT/throttled.json  the same, every download sent at 256 KiB/s
  OUT/waiting.json    the same, every download sent at 16 bytes/s (the installer only waits)

The plug-in's digest in the answer is the service's "{md5:PATH}", filled from the served file.
Archives are made with Info-ZIP zip.
"""
import json
import os
import random
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_bench_data import MIB, text_block, write_mixed  # noqa: E402

PLATFORM_ARCHIVE = 'qvorvane/repository/install/QVorvaneSetup_3.2.1.45.zip'
PLUGIN_PACKAGE = 'qvorvane/repository/plugin/air/air_runtime_27.zip'
THROTTLED_BYTES_PER_SECOND = 256 * 1024
WAITING_BYTES_PER_SECOND = 16


def grow_archive(archive, size_mib, rng, pool, work):
    """Unpacks `archive`, adds `size_mib` MiB of mixed files below "bulk/" and zips it again."""
    staging = work + '/staging'
    shutil.rmtree(staging, ignore_errors=True)
    os.makedirs(staging)
    subprocess.run(['unzip', '-q', archive, '-d', staging], check=True)
    bulk = staging + '/bulk'
    os.makedirs(bulk)
    index = 0
    left = size_mib
    while left > 0:
        size = min(16, left)
        write_mixed('%s/part%03d.bin' % (bulk, index), size, rng, pool)
        left -= size
        index += 1
    os.remove(archive)
    subprocess.run(['zip', '-q', '-r', os.path.abspath(archive), '.'], cwd=staging, check=True)
    shutil.rmtree(staging)


def write_scenario(path, description, answer, throttle):
    scenario = {'description': description, 'answer': answer}
    if throttle:
        scenario['faults'] = {'throttle_bytes_per_second': throttle}
    with open(path + '.part', 'w') as out:
        json.dump(scenario, out, indent=2)
    os.rename(path + '.part', path)


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    demo_content, scenarios, out = sys.argv[1:4]
    platform_mib, plugin_mib = int(sys.argv[4]), int(sys.argv[5])
    stamp = '%s/content.%d-%d.stamp' % (out, platform_mib, plugin_mib)
    if not os.path.exists(stamp):
        shutil.rmtree(out + '/content', ignore_errors=True)
        for old in os.listdir(out) if os.path.isdir(out) else []:
            if old.endswith('.stamp'):
                os.remove(out + '/' + old)
        os.makedirs(out, exist_ok=True)
        shutil.copytree(demo_content, out + '/content.part')
        rng = random.Random(20261210)
        pool = text_block(rng, 8 * MIB)
        grow_archive(out + '/content.part/' + PLATFORM_ARCHIVE, platform_mib, rng, pool, out)
        grow_archive(out + '/content.part/' + PLUGIN_PACKAGE, plugin_mib, rng, pool, out)
        os.rename(out + '/content.part', out + '/content')
        open(stamp, 'w').close()

    with open(scenarios + '/plugin-312.json') as base:
        answer = json.load(base)['answer']
    sizes = '%d MiB platform archive, %d MiB plug-in' % (platform_mib, plugin_mib)
    write_scenario(out + '/large.json', 'new installation, ' + sizes, answer, 0)
    write_scenario(out + '/throttled.json', 'new installation, %s, downloads at %d bytes/s'
                   % (sizes, THROTTLED_BYTES_PER_SECOND), answer, THROTTLED_BYTES_PER_SECOND)
    write_scenario(out + '/waiting.json', 'new installation, %s, downloads at %d bytes/s'
                   % (sizes, WAITING_BYTES_PER_SECOND), answer, WAITING_BYTES_PER_SECOND)


if __name__ == '__main__':
    main()
