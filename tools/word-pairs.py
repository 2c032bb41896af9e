#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the English word pairs that go together, as a C++ source for the engine.

A person reading 1-800-PAID-FOR or 1-800-JET-BLUE hears two words that belong together;
"said for" or "let blue" are as common word by word but mean nothing. How much more
often the second word follows the first than it comes anywhere is read from
pocketsphinx's English language model (Debian package pocketsphinx-en-us, trained on
real text; read through python3-sphinxbase): log10 of P(second | first) / P(second).
The words asked about are the short everyday ones of Onboard's English word counts
(package onboard-data), and only pairs short enough for a telephone line's own seven
digits; a pair the model does not know as a pair (it falls back to the single words)
is never more likely than its words alone and is left out.

Output lines: "first second figure", figure ten times the base-10 logarithm above,
one or more (the pair at least 1.12 times as likely as its words apart).
"""

import argparse
import math
import sys

UNKNOWN = -536870912  # what the model gives for a word it does not know
MAX_LETTERS = 7       # a line's own digits in North America
MAX_WORD = 6
MIN_FIGURE = 1


def onboard_words(path):
    words = []
    section = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("\\"):
                section = line
                continue
            if section == "\\1-grams:" and line:
                _, word = line.split(" ", 1)
                if word.isascii() and word.isalpha() and word.islower() and len(word) <= MAX_WORD:
                    words.append(word)
    return words


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--model", required=True, help="pocketsphinx's en-us.lm.bin")
    parser.add_argument("--counts", required=True, help="Onboard's en_US.lm")
    parser.add_argument("--output", required=True, help="the C++ source to write")
    args = parser.parse_args()
    try:
        from sphinxbase.sphinxbase import NGramModel
    except ImportError:
        sys.exit("word-pairs.py: python3-sphinxbase is missing (apt-get install python3-sphinxbase)")
    model = NGramModel(args.model)
    single = {}
    for word in onboard_words(args.counts):
        p = model.prob([word])
        if p != UNKNOWN:
            single[word] = p
    by_length = {}
    for word in single:
        by_length.setdefault(len(word), []).append(word)
    # The model's log base is 1.0001.
    to_figure = 10 * math.log10(1.0001)
    pairs = []
    for first in sorted(single):
        for length in range(1, MAX_LETTERS - len(first) + 1):
            for second in by_length.get(length, []):
                figure = round((model.prob([second, first]) - single[second]) * to_figure)
                if figure >= MIN_FIGURE:
                    pairs.append((first, second, figure))
    # The program looks lines up by halving, so each table is sorted by its key's bytes.
    pair_lines = sorted((f"{first} {second}", figure) for first, second, figure in pairs)
    strongest = {}
    for first, second, figure in pairs:
        for word in (first, second):
            strongest[word] = max(strongest.get(word, 0), figure)
    word_lines = sorted(strongest.items())
    with open(args.output, "w", encoding="ascii") as out:
        out.write("// Written by tools/word-pairs.py; do not edit.\n")
        out.write("namespace vantrel {\n")
        for name, lines in (("kEnglishWordPairs", pair_lines),
                            ("kEnglishStrongestPairs", word_lines)):
            out.write(f"\nextern const char {name}[] =\n")
            for start in range(0, len(lines), 200):
                chunk = "".join(f"{key} {figure}\\n" for key, figure in lines[start:start + 200])
                out.write(f'    "{chunk}"\n')
            out.write('    "";\n')
        out.write("\n}  // namespace vantrel\n")
    print(f"{len(pairs)} pairs from {len(single)} words", file=sys.stderr)


if __name__ == "__main__":
    main()
