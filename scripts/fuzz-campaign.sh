#!/usr/bin/env bash
# Builds the fuzz preset and runs each fuzz target for a long campaign, one after the
# other, starting from its committed seeds. New inputs and findings go to a scratch
# folder, never to tests/fuzz/corpus. Prints the executions and findings per target;
# exits non-zero when any target found a crash, a sanitizer report or a broken rule.
#
#   scripts/fuzz-campaign.sh                        # every target, 10 minutes each
#   scripts/fuzz-campaign.sh --time 3600 fuzz_form  # one target for an hour
#   scripts/fuzz-campaign.sh --runs 5000000 --scratch /tmp/campaign
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

limit=(-max_total_time=600)
scratch=""
targets=()
while (($#)); do
  case "$1" in
    --time) limit=(-max_total_time="$2"); shift 2 ;;
    --runs) limit=(-runs="$2"); shift 2 ;;
    --scratch) scratch="$2"; shift 2 ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    -*) echo "unknown option: $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done

cmake --preset fuzz >/dev/null
if ((${#targets[@]} == 0)); then
  mapfile -t targets < <(sed -n 's/^palunor_fuzz_target(\([a-z_0-9]*\).*/\1/p' tests/fuzz/CMakeLists.txt)
fi
cmake --build --preset fuzz --target "${targets[@]}"

scratch=${scratch:-$(mktemp -d "${TMPDIR:-/tmp}/palunor-fuzz.XXXXXX")}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

summary=()
failed=0
for target in "${targets[@]}"; do
  corpus="$scratch/$target/corpus"
  findings="$scratch/$target/findings"
  mkdir -p "$corpus" "$findings"
  printf '\n== %s\n' "$target"
  status=0
  "$root/build-fuzz/tests/fuzz/$target" "${limit[@]}" -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$root/tests/fuzz/corpus/$target" \
    >"$scratch/$target/log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$target/log" | tail -1)
  found=$(find "$findings" -type f | wc -l)
  if ((status != 0 || found != 0)); then
    failed=1
    grep -E '^(==[0-9]+==ERROR|SUMMARY)|runtime error' "$scratch/$target/log" | head -5 || true
  fi
  summary+=("$(printf '%-24s %12s executions  %3d findings  exit %d' "$target" "${execs:-?}" \
    "$found" "$status")")
done

printf '\n== summary (scratch: %s)\n' "$scratch"
printf '%s\n' "${summary[@]}"
exit "$failed"
