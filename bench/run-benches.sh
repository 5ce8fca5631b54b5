#!/usr/bin/env bash
# Runs the codec's benchmarks and writes bench/results/quality.md.
#   bench/run-benches.sh NATIVE-BIN-DIR   the folder with parlo-codec, encoder-speed, quality-bench
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin_dir="$(cd "${1:?usage: run-benches.sh NATIVE-BIN-DIR}" && pwd)"
work_dir="$bin_dir/../bench-work"
mkdir -p "$work_dir/quality"

mapfile -t speech < <("$root/bench/speech-corpus.sh" "$work_dir/corpus")
notes="$work_dir/notes.md"
{
    cat "$work_dir/corpus/corpus.md"
    echo
    echo "## Where"
    echo
    echo "Revision $(git -C "$root" describe --always --dirty 2>/dev/null || echo unknown)," \
        "$(date -u +%Y-%m-%d), on $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)" \
        "shared with other work."
} >"$notes"

echo "== encoder speed"
"$bin_dir/encoder-speed" "$work_dir" "${speech[@]}"
echo
echo "== quality and speed beside other coders"
"$bin_dir/quality-bench" --bin-dir "$bin_dir" --work-dir "$work_dir/quality" \
    --results "$root/bench/results/quality.md" --notes "$notes" "${speech[@]}"
echo
echo "run-benches: results written to bench/results/quality.md"
