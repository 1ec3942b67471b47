#!/usr/bin/env python3
"""Build the default word list data/words.txt from the CET-4 source data.

Usage: tools/make_wordlist.py DATA_DIR [OUT]

DATA_DIR must contain:
  meanings.tsv   UTF-8, "word<TAB>meaning" per line; a word may have several
                 lines (the first one is the preferred meaning).
  headwords.txt  UTF-8, the words to ship, one per line, in output order.

OUT (default: data/words.txt under the repository root) is written as GBK,
one "word meaning" line per headword (single ASCII space between the two),
every line terminated by CR LF, no BOM and no header.

Each meaning is shortened so that it fits on one line of an answer button:
its width must be at most MAX_UNITS, where a wide character (East Asian Width
W, F, and also A, e.g. "…", to stay on the safe side) counts 1 unit and any
other character counts 0.5.  Meanings are only ever cut between senses
(at "；" or "，"), keeping the part-of-speech tags; a sense is cut inside only
when the very first sense alone is too wide (reported on stderr).

Standard library only.
"""

import os
import re
import sys
import unicodedata

MAX_UNITS = 26.0

# Extra senses taken from a word's other meaning lines for a part of speech
# that its first line does not cover.
MAX_EXTRA_POS_SENSES = 2
# When the first line yields a single sense, add senses of the same part of
# speech from the other lines until the part of speech has this many.
MAX_SAME_POS_SENSES = 3
# Senses from other lines are no longer added once the meaning has this many
# parts of speech (the first line alone may have more).
MAX_SEGMENTS = 2

# Known faulty part-of-speech tags in the source data: word -> (bad, good).
TAG_FIXES = {
    "difficulty": ("adj.", "n."),
}

# Irregular tags seen in the source, mapped to the usual abbreviations.
TAG_ALIASES = {
    "verb.": "v.",
    "determiner.": "det.",
    "convention.": "int.",
    "a.": "adj.",
}

# Tag -> set of basic parts of speech, used to decide whether a part of speech
# is already covered (vt./vi./v. are all verbs).
BASIC_POS = {
    "vt": "v", "vi": "v", "v": "v", "verb": "v",
    "a": "adj", "adj": "adj",
}

TAG_RE = re.compile(r"(?<!\S)([a-z]+(?:[&,][a-z]+)*)\.+(?=\s|$)")
SEP_CHARS = "；;，,"
STRONG_SEPS = "；;"


def units(text):
    """Display width in full-width units (wide/ambiguous 1, others 0.5)."""
    total = 0.0
    for ch in text:
        if unicodedata.east_asian_width(ch) in ("W", "F", "A"):
            total += 1.0
        else:
            total += 0.5
    return total


def strict_units(text):
    """Width by the plain rule: only East Asian Width W/F count 1."""
    return sum(1.0 if unicodedata.east_asian_width(ch) in ("W", "F") else 0.5
               for ch in text)


def is_ascii_word_char(ch):
    return ch.isascii() and (ch.isalnum() or ch in "'-")


def squeeze_spaces(text):
    """Drop spaces except those between two ASCII word characters."""
    text = re.sub(r"\s+", " ", text).strip()
    out = []
    for i, ch in enumerate(text):
        if ch == " ":
            prev = text[i - 1] if i > 0 else ""
            nxt = text[i + 1] if i + 1 < len(text) else ""
            if not (is_ascii_word_char(prev) and is_ascii_word_char(nxt)):
                continue
        out.append(ch)
    return "".join(out)


def _paren_repl(match):
    inner = match.group(1).strip()
    # Short inline optional parts such as "奖(金)", "（一）堆" are kept;
    # longer notes and English glosses are dropped.
    if (inner and len(inner) <= 3
            and not re.search(r"[A-Za-z、，；,;]", inner)):
        return "（" + inner + "）"
    return ""


def clean_segment_text(text):
    """Clean the sense text that follows one part-of-speech tag."""
    text = re.sub(r"中文释义\s*[:：；;]?", "", text)
    text = text.replace(":", "，").replace("：", "，")
    text = re.sub(r"…+", "…", text)
    # Stray full stops ("挑战 . v.") carry no meaning.
    text = re.sub(r"(?<![A-Za-z0-9])[.。]", "", text)
    # Usage notes / context labels: 〔...〕, [...], 【...】 (also unclosed).
    text = re.sub(r"〔[^〔〕]*(〕|$)", "", text)
    text = re.sub(r"\[[^\[\]]*(\]|$)", "", text)
    text = re.sub(r"【[^【】]*(】|$)", "", text)
    text = re.sub(r"[\(（]([^\(\)（）]*)(?:[\)）]|$)", _paren_repl, text)
    text = re.sub(r"[〔〕\[\]【】\(\)]", "", text)
    return text


def split_senses(text):
    """Split cleaned text into [(separator_before, sense), ...]."""
    senses = []
    sep = ""
    buf = []
    for ch in text:
        if ch in SEP_CHARS:
            sense = squeeze_spaces("".join(buf))
            if sense:
                senses.append((sep, sense))
                sep = ""
            # The strongest separator between two kept senses wins.
            if ch in STRONG_SEPS or sep == "；":
                sep = "；"
            else:
                sep = "，"
            buf = []
        else:
            buf.append(ch)
    sense = squeeze_spaces("".join(buf))
    if sense:
        senses.append((sep, sense))
    if senses:
        senses[0] = ("", senses[0][1])
    return senses


def normalise_tag(tag):
    tag = tag.replace(",", "&") + "."
    return TAG_ALIASES.get(tag, tag)


def pos_set(tag):
    if not tag:
        return frozenset(["?"])
    parts = tag.rstrip(".").split("&")
    return frozenset(BASIC_POS.get(p, p) for p in parts)


def parse_line(word, meaning):
    """Parse one meaning line into [(tag, [(sep, sense), ...]), ...]."""
    meaning = meaning.replace("\t", " ").strip()
    meaning = re.sub(r"(?<!\S)(modal|aux) verb\.", r"\1.", meaning)
    meaning = re.sub(r"(?<!\S)aux v\.", "aux.", meaning)
    if word in TAG_FIXES:
        bad, good = TAG_FIXES[word]
        meaning = re.sub(r"(?<!\S)" + re.escape(bad), good, meaning)
    segments = []
    pos = 0
    tag = ""
    for m in TAG_RE.finditer(meaning):
        segments.append((tag, meaning[pos:m.start()]))
        tag = normalise_tag(m.group(1))
        pos = m.end()
    segments.append((tag, meaning[pos:]))
    parsed = []
    for tag, text in segments:
        senses = split_senses(clean_segment_text(text))
        if senses:
            parsed.append((tag, senses))
    return parsed


def sense_key(sense):
    """Comparison key: the sense without optional parts and spaces."""
    return re.sub(r"（[^（）]*）|\s", "", sense)


class Meaning:
    """A meaning under construction: ordered segments of (tag, senses)."""

    def __init__(self):
        self.segments = []  # [tag, [(sep, sense), ...]]

    def render(self, segments=None):
        parts = []
        for tag, senses in (self.segments if segments is None else segments):
            text = "".join(sep + sense for sep, sense in senses)
            parts.append((tag + " " + text) if tag else text)
        return " ".join(parts)

    def width(self, segments=None):
        return units(self.render(segments))

    def covered(self):
        result = set()
        for tag, _ in self.segments:
            result |= pos_set(tag)
        return result

    def sense_count(self):
        return sum(len(s) for _, s in self.segments)

    def try_add_sense(self, seg_index, sep, sense):
        """Append a sense to segment seg_index if it fits; True on success."""
        senses = self.segments[seg_index][1]
        if any(sense_key(s) == sense_key(sense) for _, s in senses):
            return True  # duplicate: nothing to add, keep going
        trial = [list(seg) for seg in self.segments]
        trial[seg_index][1] = senses + [(sep if senses else "", sense)]
        if self.width(trial) <= MAX_UNITS:
            self.segments[seg_index][1] = trial[seg_index][1]
            return True
        return False

    def add_segment(self, tag, senses, limit=None):
        """Add a new segment with as many leading senses as fit."""
        self.segments.append([tag, []])
        idx = len(self.segments) - 1
        added = 0
        for sep, sense in senses:
            if limit is not None and added >= limit:
                break
            before = len(self.segments[idx][1])
            if not self.try_add_sense(idx, sep, sense):
                break
            if len(self.segments[idx][1]) > before:
                added += 1
        if not self.segments[idx][1]:
            self.segments.pop()
            return False
        return True


def cut_first_sense(tag, sense):
    """Shorten a first sense that is too wide on its own.

    Cut at the last "，"/"、" that still fits; as a last resort truncate.
    """
    prefix = (tag + " ") if tag else ""
    best = None
    for i, ch in enumerate(sense):
        if ch in "，、" and i > 0 and units(prefix + sense[:i]) <= MAX_UNITS:
            best = sense[:i]
    if best:
        return best
    out = ""
    for ch in sense:
        if units(prefix + out + ch) > MAX_UNITS:
            break
        out += ch
    return out


def build_meaning(word, lines, stats):
    parsed_lines = [p for p in (parse_line(word, m) for m in lines) if p]
    if not parsed_lines:
        raise SystemExit("error: no usable meaning for %r" % word)
    first, others = parsed_lines[0], parsed_lines[1:]

    result = Meaning()
    # 1. The first meaning line: every part of speech, leading senses that fit.
    for tag, senses in first:
        if not result.segments:
            sep0, sense0 = senses[0]
            if units(((tag + " ") if tag else "") + sense0) > MAX_UNITS:
                stats["cut"] += 1
                stats["cut_words"].append(word)
                result.segments.append([tag, [("", cut_first_sense(tag, sense0))]])
                continue
        existing = [i for i, (t, _) in enumerate(result.segments) if t == tag]
        if existing:
            idx = existing[0]
            for sep, sense in senses:
                if not result.try_add_sense(idx, sep or "；", sense):
                    break
        else:
            result.add_segment(tag, senses)

    # 2. If the first line gave a single sense, add more senses of the same
    #    part of speech from the other lines.
    if result.sense_count() == 1 and result.segments:
        tag0 = result.segments[0][0]
        for line in others:
            for tag, senses in line:
                if pos_set(tag) != pos_set(tag0):
                    continue
                for _, sense in senses:
                    if len(result.segments[0][1]) >= MAX_SAME_POS_SENSES:
                        break
                    if not result.try_add_sense(0, "；", sense):
                        break

    # 3. Parts of speech the first line does not cover, from the other lines;
    #    stop once there are MAX_SEGMENTS parts of speech to keep it readable.
    for line in others:
        for tag, senses in line:
            if len(result.segments) >= MAX_SEGMENTS:
                break
            # Only parts of speech not covered at all (so "adv&prep." is not
            # added next to an "adv." that usually says the same thing).
            if pos_set(tag) & result.covered():
                continue
            result.add_segment(tag, senses, limit=MAX_EXTRA_POS_SENSES)

    text = result.render()
    text = re.sub(r" +", " ", text).strip()
    return text


def read_lines(path):
    with open(path, encoding="utf-8") as f:
        data = f.read()
    if data.startswith("\ufeff"):
        data = data[1:]
    return data.splitlines()


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    data_dir = argv[1]
    repo_root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_path = argv[2] if len(argv) == 3 else os.path.join(
        repo_root, "data", "words.txt")

    meanings = {}
    for n, line in enumerate(read_lines(os.path.join(data_dir, "meanings.tsv")), 1):
        if not line.strip():
            continue
        if "\t" not in line:
            raise SystemExit("error: meanings.tsv:%d: no TAB" % n)
        word, meaning = line.split("\t", 1)
        meanings.setdefault(word.strip(), []).append(meaning)

    headwords = [w.strip() for w in read_lines(os.path.join(data_dir, "headwords.txt"))
                 if w.strip()]
    seen = set()
    for w in headwords:
        if w in seen:
            raise SystemExit("error: duplicate headword %r" % w)
        seen.add(w)
        if any(c in w for c in " \t/\\") or not w.isprintable():
            raise SystemExit("error: bad character in headword %r" % w)
        if w not in meanings:
            raise SystemExit("error: headword %r has no meaning" % w)

    stats = {"cut": 0, "cut_words": []}
    out_lines = []
    for w in headwords:
        meaning = build_meaning(w, meanings[w], stats)
        if not meaning or any(c in meaning for c in "\t\r\n"):
            raise SystemExit("error: bad meaning for %r: %r" % (w, meaning))
        if units(meaning) > MAX_UNITS or strict_units(meaning) > MAX_UNITS:
            raise SystemExit("error: meaning too wide for %r: %r" % (w, meaning))
        line = w + " " + meaning
        try:
            line.encode("gbk")
        except UnicodeEncodeError as e:
            raise SystemExit("error: %r not encodable in GBK: %s" % (line, e))
        out_lines.append(line)

    payload = "".join(l + "\r\n" for l in out_lines).encode("gbk")

    # Round trip check before writing.
    back = payload.decode("gbk")
    assert back.endswith("\r\n")
    back_lines = back[:-2].split("\r\n")
    assert back_lines == out_lines, "GBK round trip mismatch"
    assert len(back_lines) == len(headwords)
    assert [l.split(" ", 1)[0] for l in back_lines] == headwords

    out_dir = os.path.dirname(os.path.abspath(out_path))
    os.makedirs(out_dir, exist_ok=True)
    with open(out_path, "wb") as f:
        f.write(payload)

    widths = [units(l.split(" ", 1)[1]) for l in out_lines]
    sys.stderr.write("wrote %d lines to %s\n" % (len(out_lines), out_path))
    sys.stderr.write("widest meaning: %.1f units (limit %.1f)\n"
                     % (max(widths), MAX_UNITS))
    sys.stderr.write("first sense cut inside (too wide on its own): %d%s\n"
                     % (stats["cut"], (" (" + ", ".join(stats["cut_words"]) + ")")
                        if stats["cut_words"] else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
