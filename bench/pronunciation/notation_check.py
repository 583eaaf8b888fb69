#!/usr/bin/env python3
"""Checks that the built dictionary writes its pronunciations in one notation.

Draws a fixed sample of WordNet lemmas (wordnet-base's index files), reads
each one's pronunciation from the built file with lxddump and counts the
pronunciations that use a symbol outside the set the CMU list's conversion
writes, and those with a stress mark after a word's first consonants (ˈ or ˌ
after the consonants that begin a word, before any vowel: /pˈɑːdkæst/).
Prints the counts, a few examples and the symbols seen; exits with 1 when
either count is not zero.

  python3 bench/pronunciation/notation_check.py [--lxddump build/tools/lxddump/lxddump]
      [--data build/appdir/data/wordnet.lxd] [--count 1500] [--seed 23]
"""
import argparse
import codecs
import collections
import random
import subprocess
import sys

SEQUENCES = ['tʃ', 'dʒ', 'eɪ', 'oʊ', 'aɪ', 'aʊ', 'ɔɪ']
SINGLES = set('ɑæʌɔəɚɝɛɪiʊu' 'bdfɡhklmnŋpɹsʃtθðvwjzʒ' 'ˈˌ ')
VOWELS = set('aeiouyæɑɒɔəɚɝɛɜɪʊʌᵻɐ')
STRESS = set('ˈˌ')


def symbols(ipa):
    """The symbols of a transcription, multi-letter ones first."""
    at = 0
    while at < len(ipa):
        symbol = next((s for s in SEQUENCES if ipa.startswith(s, at)), ipa[at])
        yield symbol
        at += len(symbol)


def stress_after_onset(ipa):
    for word in ipa.split(' '):
        marks = [i for i, c in enumerate(word) if c in STRESS]
        if marks and marks[0] > 0 and not VOWELS & set(word[:marks[0]]):
            return True
    return False


def lemmas():
    words = set()
    for part in ('noun', 'verb', 'adj', 'adv'):
        with open(f'/usr/share/wordnet/index.{part}', encoding='latin-1') as index:
            words.update(line.split(' ', 1)[0].replace('_', ' ') for line in index if not line.startswith(' '))
    return sorted(words)


def pronunciation(lxddump, data, word):
    out = subprocess.run([lxddump, data, '--word', word], capture_output=True, text=True).stdout
    lines = out.splitlines()
    for i, line in enumerate(lines):
        if '. pronunciation (228)' in line and i + 1 < len(lines):
            # lxddump writes bytes outside ASCII as \xNN escapes.
            return codecs.escape_decode(lines[i + 1].strip().encode())[0].decode('utf-8')
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--lxddump', default='build/tools/lxddump/lxddump')
    parser.add_argument('--data', default='build/appdir/data/wordnet.lxd')
    parser.add_argument('--count', type=int, default=1500)
    parser.add_argument('--seed', type=int, default=23)
    args = parser.parse_args()
    sample = random.Random(args.seed).sample(lemmas(), args.count)
    seen = collections.Counter()
    foreign, misplaced, without = [], [], 0
    for word in sample:
        ipa = pronunciation(args.lxddump, args.data, word)
        if ipa is None:
            without += 1
            continue
        found = list(symbols(ipa))
        seen.update(found)
        if any(len(s) == 1 and s not in SINGLES for s in found):
            foreign.append((word, ipa))
        if stress_after_onset(ipa):
            misplaced.append((word, ipa))
    print(f'{len(sample)} lemmas, {len(sample) - without} with a pronunciation')
    print(f'symbols outside the CMU-derived set: {len(foreign)}', ' '.join(f'{w} /{i}/' for w, i in foreign[:5]))
    print(f'stress mark after a word\'s first consonants: {len(misplaced)}',
          ' '.join(f'{w} /{i}/' for w, i in misplaced[:5]))
    print('symbols seen:', ' '.join(s for s, _ in sorted(seen.items(), key=lambda item: -item[1]) if s != ' '))
    return 1 if foreign or misplaced else 0


if __name__ == '__main__':
    sys.exit(main())
