#!/usr/bin/env python3
"""What the built dictionary's pages open with, measured three ways.

Reads the lines of lxfirstsense (word, kind of the first sense, its gloss,
the origin) for the words of the expected lists and the most frequent words,
and prints:
  1. the share of the expected lists (tuning and held-out apart) whose page
     opens with the part of speech a person means;
  2. over the first 1,000 frequent words tagged in WordNet's corpora as at
     least two parts of speech, the top one at least twice as often as the
     next, the share opening with it
     (strictly; and counting an opening function-word sense as right, since
     WordNet counts no function words);
  3. over all the frequent words, the openings that read obsolete,
     provincial, citation-only or garbled, and the origins that are grammar
     notes.
Run by first-senses.sh, which feeds it.
"""

import re
import sys
from collections import defaultdict

KINDS = {128: "interjection", 132: "noun", 136: "verb", 140: "adjective", 144: "adjective",
         148: "adverb", 152: "article", 156: "pronoun", 160: "conjunction",
         164: "determiner", 168: "preposition", 172: "particle", 0: "none"}
COUNTED = {"1": "noun", "2": "verb", "3": "adjective", "4": "adverb", "5": "adjective"}
FUNCTION_KINDS = {"interjection", "article", "pronoun", "conjunction", "determiner",
                  "preposition", "particle"}

BAD_OPENING = [
    ("obsolete or regional", re.compile(
        r"\[(Obs|Archaic|R|Rare|Prov\.|Scot|Local|Dial|Colloq\. Eng|North of Eng)[^\]]*\]")),
    ("citation", re.compile(r"--\s?[A-Z][a-z]+")),
    ("source tag", re.compile(r"\[1913 Webster\]|\[PJC\]|\[Webster")),
    ("etymology", re.compile(r"^\[|\[(AS|Icel|OE|L|F|Gr|G|D)\. ")),
    ("markup residue", re.compile(r"^\W*$|:$|\\|[{}<>]")),
]


def unbalanced(text):
    depth = 0
    for c in text:
        depth += {"(": 1, ")": -1}.get(c, 0)
        if depth < 0:
            return True
    return depth != 0
LABELLED = re.compile(r"\((obsolete|archaic|rare|regional)\) ")
GRAMMAR_NOTE = re.compile(
    r"^(Compar\.|Superl\.|Possess\.|Poss\.|Nom\.|Obj\.|Dat\.|Imp\.|P\. ?p\.|P\. ?pr\.|Pl\.|"
    r"pl\.|imp\.|compar\.|superl\.|nom\.|obj\.|possess\.|Inflections?|Sing\.)",
    re.IGNORECASE)


def read_openings(path):
    openings = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if len(parts) == 4:
                openings[parts[0]] = (KINDS.get(int(parts[1]), parts[1]), parts[2], parts[3])
    return openings


def read_expected(path):
    expected = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                word, wanted = line.split()
                expected.append((word, set(wanted.split("|"))))
    return expected


def read_tag_counts(path):
    counts = defaultdict(lambda: defaultdict(int))
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if len(fields) != 3 or "%" not in fields[0]:
                continue
            lemma, sense = fields[0].split("%", 1)
            counts[lemma][COUNTED.get(sense[:1], "?")] += int(fields[2])
    return counts


def expected_share(name, expected, openings):
    wrong = [(w, sorted(want), openings.get(w, ("none",))[0]) for w, want in expected
             if openings.get(w, ("none",))[0] not in want]
    right = len(expected) - len(wrong)
    print("%s: %d of %d open with the meant part of speech (%.1f %%)"
          % (name, right, len(expected), 100.0 * right / len(expected)))
    for word, want, got in wrong:
        print("   %s: %s, wanted %s" % (word, got, "|".join(want)))


def counted_share(words, openings, counts):
    clear, strict, lenient, wrong = 0, 0, 0, []
    for word in words:
        tally = sorted([kv for kv in counts.get(word.lower(), {}).items() if kv[1] > 0],
                       key=lambda kv: -kv[1])
        if len(tally) < 2 or tally[0][1] < 2 * tally[1][1]:
            continue
        clear += 1
        got = openings.get(word, ("none",))[0]
        strict += got == tally[0][0]
        lenient += got == tally[0][0] or got in FUNCTION_KINDS
        if got != tally[0][0] and got not in FUNCTION_KINDS:
            wrong.append("%s (%s, counts favour %s)" % (word, got, tally[0][0]))
    print("first %d frequent words, %d with clear tag counts: %d open with the counted part of "
          "speech (%.1f %%); %d with it or a function-word sense (%.1f %%)"
          % (len(words), clear, strict, 100.0 * strict / max(clear, 1), lenient,
             100.0 * lenient / max(clear, 1)))
    for line in wrong:
        print("   " + line)


def bad_texts(words, openings):
    openers, origins, labelled, with_origin = [], [], [], 0
    for word in words:
        kind, gloss, origin = openings.get(word, ("none", "-", "-"))
        definition = gloss.split("$")[0]  # without the samples and their attributions
        if LABELLED.match(definition):
            labelled.append(word)
        if kind != "none":
            reasons = [r for r, pattern in BAD_OPENING if pattern.search(definition)]
            if unbalanced(definition):
                reasons.append("markup residue")
            if reasons:
                openers.append("%s [%s]: %s" % (word, reasons[0], definition[:100]))
        if origin != "-":
            with_origin += 1
            if GRAMMAR_NOTE.search(origin):
                origins.append("%s: %s" % (word, origin[:100]))
    print("first %d frequent words: %d open with an obsolete, regional, citation-only or "
          "garbled text" % (len(words), len(openers)))
    for line in openers:
        print("   " + line)
    print("   %d open with a sense labelled so (the word has no current one): %s"
          % (len(labelled), ", ".join(labelled)))
    print("   %d of %d origins are grammar notes" % (len(origins), with_origin))
    for line in origins:
        print("   " + line)


def main():
    openings_path, frequent_path, counts_path, tuning_path, heldout_path = sys.argv[1:6]
    openings = read_openings(openings_path)
    with open(frequent_path, encoding="utf-8") as f:
        frequent = [w.strip().lower() for w in f if w.strip()]  # as first-senses.sh looks them up
    expected_share("expected words", read_expected(tuning_path), openings)
    expected_share("held-out words", read_expected(heldout_path), openings)
    counted_share(frequent[:1000], openings, read_tag_counts(counts_path))
    bad_texts(frequent, openings)


if __name__ == "__main__":
    main()
