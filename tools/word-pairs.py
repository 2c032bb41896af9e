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

Two words that English also writes as one (a sun room, a sunroom) go together too, however
rarely the model saw them side by side: WordNet's words (Debian package wordnet-base) of a
line's length that split into two of the words asked about, each at least three letters,
where the compound's own definition names both parts ("a room enclosed largely with glass
and affording exposure to the sun"). That leaves out chance splits such as "canthus" into
"can thus". Such a pair's figure is at least COMPOUND_FIGURE.

Output lines: "first second figure", figure ten times the base-10 logarithm above,
one or more (the pair at least 1.12 times as likely as its words apart).
"""

import argparse
import math
import re
import sys

UNKNOWN = -536870912  # what the model gives for a word it does not know
MAX_LETTERS = 7       # a line's own digits in North America
MAX_WORD = 6
MIN_FIGURE = 1
COMPOUND_FIGURE = 10  # ten times as likely together as apart
MIN_PART = 3


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


def forms(part):
    """The part and its inflections: pipe, pipes, piped, piping; run, runs, running."""
    stems = {part, part + part[-1]}
    if part.endswith("e"):
        stems.add(part[:-1])
    out = {part, part + "s", part + "es", part + "d"}
    for stem in stems:
        out.update(stem + ending for ending in ("ed", "ing", "er", "ers"))
    if part.endswith("y"):
        out.update({part[:-1] + "ies", part[:-1] + "ied"})
    return out


def mentions(part, words):
    """Whether a definition's words name part, or a form of it."""
    return not forms(part).isdisjoint(words)


def wordnet_compounds(folder, known):
    """(first, second) for each WordNet word that is the two joined and whose
    definitions name both."""
    definitions = {}
    for pos in ("noun", "verb", "adj", "adv"):
        with open(f"{folder}/data.{pos}", encoding="latin-1") as f:
            for line in f:
                if line.startswith("  "):  # the licence at the top of the file
                    continue
                head, _, gloss = line.partition("|")
                fields = head.split()
                count = int(fields[3], 16)
                said = set(re.findall("[a-z]+", gloss.lower()))
                for i in range(count):
                    lemma = fields[4 + 2 * i].lower()
                    if lemma.isascii() and lemma.isalpha() and len(lemma) <= MAX_LETTERS:
                        # An example that uses the word itself names no part of it.
                        definitions.setdefault(lemma, set()).update(said - {lemma})
    compounds = set()
    for word, said in definitions.items():
        for cut in range(MIN_PART, len(word) - MIN_PART + 1):
            first, second = word[:cut], word[cut:]
            if first in known and second in known and mentions(first, said) and mentions(second, said):
                compounds.add((first, second))
    return compounds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--model", required=True, help="pocketsphinx's en-us.lm.bin")
    parser.add_argument("--counts", required=True, help="Onboard's en_US.lm")
    parser.add_argument("--wordnet", required=True, help="WordNet's folder (data.noun ...)")
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
    compounds = wordnet_compounds(args.wordnet, single)
    # The model's log base is 1.0001.
    to_figure = 10 * math.log10(1.0001)
    pairs = []
    for first in sorted(single):
        for length in range(1, MAX_LETTERS - len(first) + 1):
            for second in by_length.get(length, []):
                figure = round((model.prob([second, first]) - single[second]) * to_figure)
                if (first, second) in compounds:
                    figure = max(figure, COMPOUND_FIGURE)
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
    print(f"{len(pairs)} pairs from {len(single)} words, {len(compounds)} of them written as one",
          file=sys.stderr)


if __name__ == "__main__":
    main()
