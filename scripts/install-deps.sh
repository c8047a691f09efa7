#!/usr/bin/env bash
# Installs the Debian 12 packages qxbase needs to build, test, benchmark and
# fuzz. This is the one list of the project's dependencies: add new ones here.
# Only missing packages are installed; apt-get update runs only then.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ make pkg-config
  # libraries
  libicu-dev
  zlib1g-dev libminizip-dev  # zip archives and language modules
  libmspack-dev              # cabinet archives
  libcairo2-dev libpango1.0-dev libgdk-pixbuf-2.0-dev  # drawing, text, pictures
  fonts-liberation2          # metric-compatible faces for the family's fonts
  libgtk-3-dev               # the GTK UI host plugin (libqxbase-gtk.so)
  libjpeg62-turbo-dev        # JPEG pictures of the image windows
  libpugixml-dev             # the XML parts of spreadsheet files (the workbook engine)
  libcups2-dev               # print jobs on the system's printer queues
  # tests, benchmarks, fuzzing
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev
  gcab                       # tests build cabinet archives with it
  poppler-utils              # tests read the text of PDF jobs back with pdftotext
  xvfb xauth libxtst-dev     # the GTK host's tests: a virtual display and real input events
  python3-openpyxl           # tests read written spreadsheets back with another program
  cups-daemon cups-client    # the printer tests run a private scheduler with their own queues
  # peers the benchmarks compare with (bench only)
  libmuparser-dev  # bench/formula_benchmark: the formula evaluator beside muParser
  cabextract       # bench/archive: extraction beside cabextract and unzip
  python3-reportlab  # bench/reportlab_report.py: the print benchmark's peer
  libxlsxwriter-dev  # bench/list_export_benchmark: the list export beside libxlsxwriter
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg -s "$p" >/dev/null 2>&1; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
