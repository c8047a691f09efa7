#!/usr/bin/env python3
"""Writes a large tree document for the benchmarks, in every form they read.

A parts catalogue: groups of articles, each article a node with a handful of
leaves (numbers, packed lists, German texts with umlauts and the euro sign).

  gen-tree-doc.py --size-mb 100 --out DIR

writes into DIR:
  tree_utf8.txt    bracket form, UTF-8 with mark
  tree_utf16.txt   bracket form, UTF-16LE with mark
  tree_cp1252.txt  bracket form, code page 1252
  tree.xml         the same content in the simple XML form (every leaf its
                   own one-line element), UTF-8 without mark: plain XML that
                   an XML parser reads as well
"""
import argparse
import os
import random

WORDS = ["Heizkörper", "Ventil", "Flansch", "Rohr", "Bogen", "Muffe", "Thermostat",
         "Pumpe", "Kessel", "Lüftung", "Gitter", "Klappe", "Dämmung", "Schelle", "Übergang"]


def article(rng, group, index):
    name = f"{rng.choice(WORDS)} {rng.choice(WORDS)} DN{rng.choice([15, 20, 25, 32, 40, 50])}"
    return [
        ("Nr", f"{group:04d}-{index:06d}"),
        ("Bezeichnung", name),
        ("Preis", f"{rng.uniform(1, 2000):.2f} €"),
        ("Masse", f"{rng.uniform(0.1, 80):.3f}:{rng.uniform(0.1, 80):.3f}:{rng.randint(1, 9)}"),
        ("Text", " ".join(rng.choice(WORDS) for _ in range(8))),
    ]


def document(groups, open_tag, close_tag, leaf):
    """The catalogue with the node tags and leaf lines of one form."""
    out = [open_tag("Katalog", 0)]
    for g, articles in groups:
        out.append(open_tag(f"Gruppe{g}", 1))
        for a in articles:
            out.append(open_tag("Artikel", 2))
            out.extend(leaf(k, v) for k, v in a)
            out.append(close_tag("Artikel", 2))
        out.append(close_tag(f"Gruppe{g}", 1))
    out.append(close_tag("Katalog", 0))
    return "".join(out)


def bracket(groups):
    return document(groups, lambda n, d: "\t" * d + f"[{n}]\r\n",
                    lambda n, d: "\t" * d + f"[ENDE_{n}]\r\n",
                    lambda k, v: f"\t\t\t{k}:{v}\r\n")


def xml(groups):
    # Every leaf its own one-line element; colons would be packed-list
    # separators in the tree form, so the XML text carries semicolons.
    return document(groups, lambda n, d: "\t" * d + f"<{n}>\r\n",
                    lambda n, d: "\t" * d + f"</{n}>\r\n",
                    lambda k, v: f"\t\t\t<{k}>{v.replace(':', ';')}</{k}>\r\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--size-mb", type=float, default=100)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    rng = random.Random(3805)
    target = int(args.size_mb * 1024 * 1024)
    groups, size, g = [], 0, 0
    while size < target:
        articles = [article(rng, g, i) for i in range(500)]
        size += sum(len(f"\t\t\t{k}:{v}\r\n".encode()) for a in articles for k, v in a) + 500 * 40
        groups.append((g, articles))
        g += 1
    os.makedirs(args.out, exist_ok=True)
    text = bracket(groups)
    with open(os.path.join(args.out, "tree_utf8.txt"), "wb") as f:
        f.write(b"\xef\xbb\xbf" + text.encode("utf-8"))
    with open(os.path.join(args.out, "tree_utf16.txt"), "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))
    with open(os.path.join(args.out, "tree_cp1252.txt"), "wb") as f:
        f.write(text.encode("cp1252"))
    with open(os.path.join(args.out, "tree.xml"), "wb") as f:
        f.write(xml(groups).encode("utf-8"))


if __name__ == "__main__":
    main()
