#!/usr/bin/env bash
# The source gates checked on planted faults: scripts/check-layers, scripts/check-format and
# tests/source/check-doc-paths.py must pass a clean small tree and fail, naming the file, on each
# planted violation.
set -uo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# layers EXPECT PATH LINE: a tree holding one clean header pair and PATH with LINE in it.
layers() {
  local expect=$1 path=$2 line=$3 tree="$work/layers"
  rm -rf "$tree"
  mkdir -p "$tree/game" "$tree/link" "$(dirname "$tree/$path")"
  echo '#pragma once' >"$tree/game/Hands.h"
  echo '#include "game/Hands.h"' >"$tree/link/Protocol.h"
  printf '#pragma once\n%s\n' "$line" >>"$tree/$path"
  local out status=0
  out=$(python3 "$repo/scripts/check-layers" "$tree" 2>&1) || status=$?
  if [ "$expect" = pass ] && [ "$status" -ne 0 ]; then
    echo "FAIL: $path with '$line' should pass: $out"
    failures=$((failures + 1))
  elif [ "$expect" = fail ] && { [ "$status" -eq 0 ] || [[ "$out" != *"$path:2:"* ]]; }; then
    echo "FAIL: $path with '$line' should fail naming $path:2 (status $status): $out"
    failures=$((failures + 1))
  fi
}

layers pass link/ZnLink.h '#include "game/Hands.h"'
layers pass shell/ZnCliTop.h '#include "table/ZnBid.h"'
layers pass server/club/Club.h '#include "deal/Deal.h"'
layers pass shell/qt/ClubWindow.h '#include <QMainWindow>'
layers pass shell/qt/ClubWindow.cpp '#include "game/qt/Cp1250Codec.h"'
layers pass tools/cardgen/main.cpp '#include <QPainter>'
layers pass bench/startup/main.cpp '#include <QWidget>'
layers pass bench/ClubDispatchBench.cpp '#include "shell/ZnCliTop.h"'
layers pass game/Hands.cpp '#include <queue>'
layers fail game/Hands.cpp '#include "link/Protocol.h"'
layers fail link/Protocol.cpp '#include "shell/ZnCliTop.h"'
layers fail table/ZnBid.cpp '#include "record/ZnResult.h"'
layers fail server/club/Club.cpp '#include "shell/Settings.h"'
layers fail server/deals/Deals.cpp '#include "server/club/Club.h"'
layers fail server/store/SqliteStore.cpp '#include "server/deals/Deals.h"'
layers fail server/store/SqliteStore.cpp '#include "server/club/Club.h"'
layers fail server/base/Names.cpp '#include "server/store/SqliteStore.h"'
layers fail server/club/Club.cpp '#include "server/net/Server.h"'
layers pass server/net/Server.cpp '#include "server/club/Club.h"'
layers pass server/deals/Deals.cpp '#include "server/base/Outbox.h"'
layers pass server/main.cpp '#include "server/store/SqliteStore.h"'
layers pass server/store/SqliteStore.h '#include "sqlite/Database.h"'
layers pass record/ArchiveStore.cpp '#include "sqlite/Database.h"'
layers fail sqlite/Database.cpp '#include "game/ZnError.h"'
layers fail server/club/Club.cpp '#include "sqlite/Database.h"'
layers fail deal/Deal.cpp '#include "link/Protocol.h"'
layers fail link/ZnLink.cpp '#include <QTcpSocket>'
layers fail game/Cp1250.cpp '#include <QtCore/QString>'
layers fail shell/ZnCliTop.cpp '#include "shell/qt/ClubWindow.h"'
layers fail bench/ClubDispatchBench.cpp '#include <QApplication>'
layers fail tools/cardgen/main.cpp '#include "shell/ZnCliTop.h"'

# format EXPECT TEXT: a tree (no git checkout) with the repository's .clang-format and one file.
format() {
  local expect=$1 text=$2 tree="$work/format"
  rm -rf "$tree"
  mkdir -p "$tree/game"
  cp "$repo/.clang-format" "$tree/"
  printf '%s' "$text" >"$tree/game/Planted.cpp"
  local out status=0
  out=$(bash "$repo/scripts/check-format" "$tree" 2>&1) || status=$?
  if [ "$expect" = pass ] && [ "$status" -ne 0 ]; then
    echo "FAIL: formatted text should pass: $out"
    failures=$((failures + 1))
  elif [ "$expect" = fail ] && { [ "$status" -eq 0 ] || [[ "$out" != *"game/Planted.cpp"* ]]; }; then
    echo "FAIL: unformatted text should fail naming game/Planted.cpp (status $status): $out"
    failures=$((failures + 1))
  fi
}

format pass $'int Main() { return 0; }\n'
format fail $'int  Main( ){return 0;}\n'
format fail $'int Main() {\n\treturn 0;\n}\n'

# docs EXPECT TEXT: a tree with game/Hands.h (class THand) and docs/a.md holding TEXT.
docs() {
  local expect=$1 text=$2 tree="$work/docs"
  rm -rf "$tree"
  mkdir -p "$tree/game" "$tree/docs"
  echo 'class THand {};' >"$tree/game/Hands.h"
  printf '%s\n' "$text" >"$tree/docs/a.md"
  local out status=0
  out=$(python3 "$repo/tests/source/check-doc-paths.py" "$tree" 2>&1) || status=$?
  if [ "$expect" = pass ] && [ "$status" -ne 0 ]; then
    echo "FAIL: docs with '$text' should pass: $out"
    failures=$((failures + 1))
  elif [ "$expect" = fail ] && { [ "$status" -eq 0 ] || [[ "$out" != *"docs/a.md:1:"* ]]; }; then
    echo "FAIL: docs with '$text' should fail naming docs/a.md:1 (status $status): $out"
    failures=$((failures + 1))
  fi
}

docs pass 'See `THand` in game/Hands.h, `THand` (`game/Hands.h`), the folder game/ and Hands.h.'
docs pass '| hand | `THand` | `game/Hands.*` |'
docs fail 'See game/Gone.h.'
docs fail 'See Gone.cpp.'
docs fail 'See `TSeat` in game/Hands.h.'
docs fail 'See `TSeat` (game/Hands.h).'
docs fail '| seat | `TSeat` | `game/Hands.*` |'

if [ "$failures" -ne 0 ]; then
  echo "$failures gate check(s) wrong"
  exit 1
fi
echo "gates: every planted violation caught, every clean tree passed"
