#!/usr/bin/env bash
# Runs the benchmark programs of BUILD_DIR/bench and prints a compact
# summary: the cost per item (value, look-up, leaf, list) of every benchmark,
# its counters, and the ratios against the peers measured in the same run.
#
#   scripts/run-bench.sh [--quick] BUILD_DIR [extra Google Benchmark flags]
#
# QX_BENCH_MIN_TIME (seconds, default 0.2) bounds each benchmark's run; the
# whole set stays well under two minutes on two cores. The raw CSV of each
# program is kept in BUILD_DIR/bench-results/.
#
# --quick checks that every program runs and gives plausible ratios in a few
# seconds each: 0.01 s per benchmark, 2 MB tree documents (in
# BUILD_DIR/bench-data/tree-quick), a 2 MB VDI text, and without the cases
# of 10,000 and 100,000 rows, the 200 MB archives, the registry's 10,000
# flushed writes and its large hive. Its figures are not the ones to record.
set -euo pipefail

quick=0
if [ "${1:-}" = --quick ]; then
  quick=1
  shift
fi
if [ $# -lt 1 ]; then
  echo "usage: $0 [--quick] BUILD_DIR [benchmark flags]" >&2
  exit 2
fi
build_dir=$1
shift
tree_mb=100
tree_folder=tree
sizes="1000 10000 100000"
if [ $quick = 1 ]; then
  min_time=${QX_BENCH_MIN_TIME:-0.01}
  tree_mb=2
  tree_folder=tree-quick
  sizes=1000
  export QX_VDI_BENCH_MB=${QX_VDI_BENCH_MB:-2}
  set -- --benchmark_filter='-(/10000|/100000|200MB|RegistryWrite|WriteFileAtomically|FreshProcess)' "$@"
else
  min_time=${QX_BENCH_MIN_TIME:-0.2}
fi
results="$build_dir/bench-results"
mkdir -p "$results"

programs=("$build_dir"/bench/*_benchmark)
if [ ! -x "${programs[0]}" ]; then
  echo "run-bench: no benchmark programs in $build_dir/bench (configure with -DQX_BENCH=ON)" >&2
  exit 1
fi

# The tree file benchmark reads documents made by gen-tree-doc.py (about
# 500 MB in four forms); they are made once and kept in the build folder.
if [ -z "${QX_BENCH_TREE_DIR:-}" ]; then
  export QX_BENCH_TREE_DIR="$build_dir/bench-data/$tree_folder"
  if [ ! -f "$QX_BENCH_TREE_DIR/tree.xml" ]; then
    mkdir -p "$QX_BENCH_TREE_DIR"
    python3 "$(dirname "$0")/gen-tree-doc.py" --size-mb "$tree_mb" --out "$QX_BENCH_TREE_DIR"
  fi
fi

for program in "${programs[@]}"; do
  name=$(basename "$program")
  # The JSON report, turned into one CSV table per program: the benchmark
  # library's CSV reporter aborts on a counter its first benchmark lacks.
  # Errors of the program itself fail the script through its exit status.
  "$program" --benchmark_min_time="$min_time" --benchmark_format=json "$@" \
    >"$results/$name.json" 2>"$results/$name.stderr"
  python3 "$(dirname "$0")/bench-json-to-csv.py" "$results/$name.json" >"$results/$name.csv"
done

echo "qxbase benchmarks ($(date -u +%Y-%m-%d), $(nproc) cores, min time ${min_time}s per benchmark)"
# Splits one CSV line (quoted fields may hold commas) into f[1..n].
awk '
function split_csv(line, f,    n, i, c, quoted, field) {
  n = 0; field = ""; quoted = 0
  for (i = 1; i <= length(line); i++) {
    c = substr(line, i, 1)
    if (c == "\"") { quoted = !quoted; continue }
    if (c == "," && !quoted) { f[++n] = field; field = ""; continue }
    field = field c
  }
  f[++n] = field
  return n
}
function per_item_ns(items_per_second) { return items_per_second > 0 ? 1e9 / items_per_second : 0 }
FNR == 1 {
  # A new program: its header names the columns, counters included.
  split("", col)
  n = split_csv($0, h)
  for (i = 1; i <= n; i++) col[h[i]] = i
  program = FILENAME; sub(/.*\//, "", program); sub(/\.csv$/, "", program)
  printf "\n%s\n", program
  next
}
{
  split_csv($0, f)
  name = f[col["name"]]
  if (f[col["error_occurred"]] == "true") { printf "  %-28s ERROR %s\n", name, f[col["error_message"]]; next }
  ns = per_item_ns(f[col["items_per_second"]] + 0)
  bytes = ("bytes_per_second" in col) ? f[col["bytes_per_second"]] + 0 : 0
  if (ns == 0 && bytes > 0) {
    # Programs that count bytes: MB/s, and the cost of a byte for the ratios.
    cost[name] = 1e9 / bytes
    line = sprintf("  %-28s %12.1f MB/s", name, bytes / 1e6)
  } else {
    cost[name] = ns
    line = sprintf("  %-28s %12.1f ns/item", name, ns)
  }
  for (c in col) {
    if (c ~ /bytes_per_leaf|pool_names|pool_bytes|peak_rss_mb|file_mb/ && f[col[c]] != "") {
      value[name, c] = f[col[c]] + 0
      line = line sprintf("  %s=%.2f", c, f[col[c]])
    }
  }
  if (f[col["label"]] != "") line = line "  (" f[col["label"]] ")"
  print line
}
function ratio(label, a, b) {
  if (a > 0 && b > 0) printf "  %-52s %6.2fx\n", label, a / b
}
END {
  print "\nratios (same run)"
  ratio("packed list read, text: qxbase / wstring_view split", cost["BM_GetText/64"], cost["BM_Peer_SplitText/64"])
  ratio("packed list read, double: qxbase / split + wcstod", cost["BM_GetDouble/64"], cost["BM_Peer_SplitDouble/64"])
  ratio("formula from text, mix: qxbase / muParser SetExpr+Eval", cost["BM_FormulaMix"], cost["BM_Peer_MuParserMix"])
  ratio("wildcard match, file names: qxbase / fnmatch", cost["BM_WildcardFileNames"], cost["BM_Peer_FnmatchFileNames"])
  ratio("wildcard match, a*a*...*b on 1000 a: qxbase / fnmatch", cost["BM_WildcardManyStars/1000"],
        cost["BM_Peer_FnmatchManyStars/1000"])
  ratio("folder scan, 100,000 files: qxbase / directory_iterator", cost["BM_GetFirstFileName"],
        cost["BM_Peer_DirectoryIterator"])
  ratio("folder scan, CFindFiles \"*.dat\": qxbase / directory_iterator", cost["BM_FindFiles"],
        cost["BM_Peer_DirectoryIterator"])
  ratio("tree read, 100 MB XML form: qxbase / pugixml", cost["BM_ReadTreeXmlForm/iterations:3"],
        cost["BM_PugixmlParseXmlForm/iterations:3"])
  ratio("VDI import, 50 MB: qxbase / records as two strings", cost["BM_ImportVdi/real_time"],
        cost["BM_Peer_SplitRecords/real_time"])
  ratio("VDI import, 50 MB: qxbase / every field a string", cost["BM_ImportVdi/real_time"],
        cost["BM_Peer_SplitFields/real_time"])
  ratio("translate, wordbook of 100,000 keys: qxbase / unordered_map", cost["BM_Translate"],
        cost["BM_Peer_UnorderedMap"])
  ratio("translate, 8-bit keys: qxbase / unordered_map", cost["BM_TranslateNarrow"], cost["BM_Peer_UnorderedMap"])
  ratio("log records: CLogger / fprintf + fflush", cost["BM_LogRecords/iterations:1/real_time"],
        cost["BM_Peer_FprintfFlush/iterations:1/real_time"])
  ratio("registry read: file store / reading the whole file", cost["BM_RegistryRead/iterations:10000/real_time"],
        cost["BM_Peer_ReadWholeFile/iterations:10000/real_time"])
  ratio("registry write: file store / atomic replace, same bytes", cost["BM_RegistryWrite/iterations:10000/real_time"],
        cost["BM_Peer_WriteFileAtomically/iterations:10000/real_time"])
  ratio("registry query, fresh process, large hive: store / reading the file",
        cost["BM_FreshProcessQuery/iterations:5/real_time"], cost["BM_Peer_FreshProcessRead/iterations:5/real_time"])
  ratio("registry set and save, fresh process: store / reading the file",
        cost["BM_FreshProcessSet/iterations:5/real_time"], cost["BM_Peer_FreshProcessRead/iterations:5/real_time"])
  ratio("registry query, peak memory / file size", value["BM_FreshProcessQuery/iterations:5/real_time", "peak_rss_mb"],
        value["BM_FreshProcessQuery/iterations:5/real_time", "file_mb"])
  ratio("registry set and save, peak memory / file size", value["BM_FreshProcessSet/iterations:5/real_time", "peak_rss_mb"],
        value["BM_FreshProcessSet/iterations:5/real_time", "file_mb"])
  ratio("GetLocalizedFileEx, 4th variant: qxbase / four exists()", cost["BM_GetLocalizedFileEx"],
        cost["BM_Peer_FourExists"])
  ratio("text extent, 20 chars, repeated: qxbase / bare Pango layout", cost["BM_MeasureRepeated"],
        cost["BM_Peer_PangoLayoutExtents"])
  ratio("text extent, 20 chars, every one new: qxbase / bare Pango layout", cost["BM_MeasureUnique"],
        cost["BM_Peer_PangoLayoutExtents"])
  ratio("PCX 8-bit 1024x768: qxbase / gdk-pixbuf RLE TGA", cost["BM_DecodePcx8"], cost["BM_Peer_PixbufTga8"])
  ratio("PCX 24-bit 1024x768: qxbase / gdk-pixbuf RLE TGA", cost["BM_DecodePcx24"], cost["BM_Peer_PixbufTga24"])
  ratio("BMP 8-bit 1024x768: qxbase / gdk-pixbuf", cost["BM_DecodeBmp8"], cost["BM_Peer_PixbufBmp8"])
  ratio("BMP 24-bit 1024x768: qxbase / gdk-pixbuf", cost["BM_DecodeBmp24"], cost["BM_Peer_PixbufBmp24"])
  ratio("TIFF RGB 1024x768: qxbase / gdk-pixbuf", cost["BM_DecodeTiff"], cost["BM_Peer_PixbufTiff"])
  ratio("JPEG 1024x768: qxbase / gdk-pixbuf", cost["BM_DecodeJpeg"], cost["BM_Peer_PixbufJpeg"])
  ratio("JPEG 1024x768: qxbase / libjpeg-turbo alone", cost["BM_DecodeJpeg"], cost["BM_Peer_LibjpegJpeg"])
  ratio("text parts list, 100,000 articles: qxbase / fprintf of the same lines", cost["BM_TextStList/iterations:3"],
        cost["BM_Peer_FprintfSameLines/iterations:3"])
  ratio("text parts list, 100,000 articles: qxbase / fprintf of the fields", cost["BM_TextStList/iterations:3"],
        cost["BM_Peer_FprintfFields/iterations:3"])
  ratio("leaf name memory: one wstring each / name pool", value["BM_NameLeaves_Peer/iterations:1", "bytes_per_leaf"],
        value["BM_NameLeaves_Pool/iterations:1", "bytes_per_leaf"])
  ratio("  the same with heap block overhead", value["BM_NameLeaves_Peer/iterations:1", "block_bytes_per_leaf"],
        value["BM_NameLeaves_Pool/iterations:1", "block_bytes_per_leaf"])
}
' "$results"/*.csv

# The print engine beside ReportLab (Debian python3-reportlab) building the
# same parts list to PDF: pages per second of each and their ratio.
if [ -f "$results/print_benchmark.csv" ]; then
  echo
  echo "print engine vs ReportLab (pages per second, same rows, A4 PDF)"
  for items in $sizes; do
    ours=$(awk -F, -v name="\"BM_ComposeAndRenderPdf/$items/iterations:1\"" \
      'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "items_per_second") c = i; next }
       $1 == name { print $c }' "$results/print_benchmark.csv")
    read -r peer_pages peer_seconds < <(/usr/bin/python3 "$(dirname "$0")/../bench/reportlab_report.py" \
      "$items" "$results/reportlab.pdf")
    awk -v n="$items" -v ours="$ours" -v pages="$peer_pages" -v secs="$peer_seconds" 'BEGIN {
      peer = pages / secs
      printf "  %6d items: qxbase %8.1f pages/s, ReportLab %7.1f pages/s (%d pages): %5.2fx\n",
             n, ours, peer, pages, ours / peer }'
  done
fi

# The list export beside libxlsxwriter (in the benchmark program) and beside
# openpyxl taking the template road (bench/openpyxl_list_export.py, Debian
# python3-openpyxl) on the same rows: seconds of each and the ratios.
if [ -f "$results/list_export_benchmark.csv" ]; then
  echo
  echo "list export vs libxlsxwriter (same cells, no template) and openpyxl (same template road)"
  examples="$(dirname "$0")/../examples/export"
  for rows in $sizes; do
    times=$(awk -F, -v ours="\"BM_ListExport/$rows/iterations:1\"" -v peer="\"BM_Peer_Xlsxwriter/$rows/iterations:1\"" \
      'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "real_time") c = i; next }
       $1 == ours { o = $c } $1 == peer { p = $c } END { print o / 1000, p / 1000 }' "$results/list_export_benchmark.csv")
    read -r ours writer <<<"$times"
    openpyxl=$(/usr/bin/python3 "$(dirname "$0")/../bench/openpyxl_list_export.py" "$rows" \
      "$examples/list_format.xlsx" "$examples/list_base.xlsx" "$results/openpyxl_list.xlsx")
    awk -v n="$rows" -v ours="$ours" -v writer="$writer" -v py="$openpyxl" 'BEGIN {
      printf "  %6d rows: qxbase %7.3f s, libxlsxwriter %7.3f s (%4.2fx its time), openpyxl %7.3f s (%5.1fx faster)\n",
             n, ours, writer, ours / writer, py, py / ours }'
  done
fi
