#!/usr/bin/env bash
# Writes qx/qxbase.h anew: one include for every public header under qx/
# (internal/ and detail/ folders are not public). The install test fails when
# the umbrella header misses an installed header; run this after adding one.
set -euo pipefail
cd "$(dirname "$0")/.."
{
  echo "// Umbrella header: every public header of qxbase (written by"
  echo "// scripts/umbrella-header.sh; the install test checks that none is missing)."
  echo "#pragma once"
  echo
  find qx -name '*.h' -not -path '*/internal/*' -not -path '*/detail/*' -not -path qx/qxbase.h |
    LC_ALL=C sort | sed 's|.*|#include "&"|'
} > qx/qxbase.h
