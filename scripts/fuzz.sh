#!/usr/bin/env bash
# Fuzzing with libFuzzer (the fuzz preset: clang, AddressSanitizer, UBSan).
#
#   scripts/fuzz.sh TARGET [SECONDS]  a campaign on one target (default 600 s), on a working
#                                     copy of its seeds in fuzz/work/TARGET, with its dictionary;
#                                     prints executions and coverage, appends them to
#                                     fuzz/work/campaigns.log
#   scripts/fuzz.sh --ci [SECONDS]    builds, replays every kept reproducer, then runs each
#                                     target for SECONDS (default 15), two at a time, then the
#                                     day's rotation; fails on any crash
#   scripts/fuzz.sh --rotation [SECONDS]
#                                     the day's target alone for SECONDS (default 180): each
#                                     target in turn, by the day number (UTC) modulo the count;
#                                     what adds coverage is kept in fuzz/corpus/TARGET
#   scripts/fuzz.sh --list            the targets
#
# QUILLMARK_FUZZ_BUILD names another build folder (default build/fuzz); QUILLMARK_FUZZ_JOBS
# how many targets run at once in --ci (default 2); QUILLMARK_FUZZ_ROTATION how long the
# rotation runs in --ci (default 180 s, 0 for none); QUILLMARK_FUZZ_DAY a day number to use
# in place of today's.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${QUILLMARK_FUZZ_BUILD:-$root/build/fuzz}
jobs=${QUILLMARK_FUZZ_JOBS:-2}
rotation_seconds=${QUILLMARK_FUZZ_ROTATION:-180}
targets=(command_parser printer_stream label_command replies script_text pcx render settings_files)

# Longest input per target: streams get room for several commands and an image.
max_len() {
  case $1 in
    command_parser | printer_stream | pcx) echo 8192 ;;
    *) echo 4096 ;;
  esac
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Builds the targets named, or all of them.
build_targets() {
  local wanted=(fuzz_all) t
  if (($# > 0)); then
    wanted=()
    for t in "$@"; do wanted+=("fuzz_$t"); done
  fi
  mkdir -p "$build"
  # Campaigns started side by side share the build folder: one builds, the other waits.
  (
    flock 9
    if [[ ! -f $build/CMakeCache.txt ]]; then
      cmake --preset fuzz -B "$build" >/dev/null
    fi
    cmake --build "$build" --target "${wanted[@]}" -j "$(nproc)"
  ) 9>"$build/.fuzz-build.lock"
}

# The day's target: each in turn, one a day (UTC), so every target gets a long run within
# a week of CI runs.
todays_target() {
  local day=${QUILLMARK_FUZZ_DAY:-$(($(date -u +%s) / 86400))}
  echo "${targets[day % ${#targets[@]}]}"
}

known() {
  local t
  for t in "${targets[@]}"; do [[ $t == "$1" ]] && return 0; done
  return 1
}

# Runs a target over a directory for a while; the log goes to $3.
run_for() {
  local target=$1 corpus=$2 log=$3 seconds=$4 artifacts=$5
  "$build/fuzz/fuzz_$target" "$corpus" -dict="fuzz/dict/$target.dict" -max_len="$(max_len "$target")" \
    -max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    >"$log" 2>&1
}

# "executions cov ft" from a libFuzzer log.
figures() {
  local execs cov ft
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$1" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$1" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$1" | tail -1 | cut -d' ' -f2)
  echo "${execs:-0} ${cov:-0} ${ft:-0}"
}

# Every reproducer once: a crash fixed stays fixed.
replay_regressions() {
  local target files status=0
  for target in "${targets[@]}"; do
    files=(fuzz/regressions/"$target"/*)
    [[ -e ${files[0]} ]] || continue
    if "$build/fuzz/fuzz_$target" "${files[@]}" >"$build/regressions-$target.log" 2>&1; then
      echo "fuzz: $target: ${#files[@]} reproducers pass"
    else
      echo "fuzz: $target: a reproducer fails again" >&2
      tail -40 "$build/regressions-$target.log" >&2
      status=1
    fi
  done
  return $status
}

# The day's target for a few minutes. New inputs are written to a folder of their own, the
# kept seeds only read; then only those that reach something the seeds do not are merged
# into fuzz/corpus/TARGET, so the seeds grow by what is new, not by every input tried.
rotation() {
  local seconds=${1:-180} target work=$build/rotation status=0 before after
  target=$(todays_target)
  rm -rf "$work"
  mkdir -p "$work/new" "$work/artifacts"
  "$build/fuzz/fuzz_$target" "$work/new" fuzz/corpus/"$target" -dict="fuzz/dict/$target.dict" \
    -max_len="$(max_len "$target")" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" >"$work/$target.log" 2>&1 || status=$?
  read -r execs cov ft < <(figures "$work/$target.log")
  if ((status != 0)); then
    tail -60 "$work/$target.log" >&2
    echo "fuzz: rotation: $target: CRASH after $execs executions (reproducer in $work/artifacts; keep it in fuzz/regressions/$target/ once fixed)" >&2
    return 1
  fi
  before=$(find fuzz/corpus/"$target" -type f | wc -l)
  "$build/fuzz/fuzz_$target" -merge=1 fuzz/corpus/"$target" "$work/new" >"$work/merge.log" 2>&1 || {
    tail -40 "$work/merge.log" >&2
    echo "fuzz: rotation: $target: the merge into fuzz/corpus/$target failed" >&2
    return 1
  }
  after=$(find fuzz/corpus/"$target" -type f | wc -l)
  echo "fuzz: rotation: $target: $execs executions in $seconds s, cov $cov, ft $ft;" \
    "$((after - before)) new inputs kept in fuzz/corpus/$target ($after, $(du -sk fuzz/corpus/"$target" | cut -f1) KiB)"
  mkdir -p fuzz/work
  echo "$(date -u +%FT%TZ) $target rotation seconds=$seconds execs=$execs cov=$cov ft=$ft kept=$((after - before))" \
    >>fuzz/work/campaigns.log
}

ci() {
  local seconds=${1:-15} work=$build/ci status=0 target pids=() names=()
  local started=$SECONDS
  build_targets
  echo "fuzz: built in $((SECONDS - started)) s"
  replay_regressions || status=1
  rm -rf "$work"
  mkdir -p "$work"
  finish() {  # waits for the oldest run and reports it
    local t=${names[0]} p=${pids[0]}
    names=("${names[@]:1}")
    pids=("${pids[@]:1}")
    if wait "$p"; then
      read -r execs cov ft < <(figures "$work/$t.log")
      echo "fuzz: $t: $execs executions, cov $cov, ft $ft, no crash"
    else
      echo "fuzz: $t: CRASH (reproducer in $work/$t-artifacts; keep it in fuzz/regressions/$t/ once fixed)" >&2
      tail -60 "$work/$t.log" >&2
      status=1
    fi
  }
  for target in "${targets[@]}"; do
    mkdir -p "$work/$target" "$work/$target-artifacts"
    cp -r fuzz/corpus/"$target"/. "$work/$target/"
    run_for "$target" "$work/$target" "$work/$target.log" "$seconds" "$work/$target-artifacts" &
    pids+=($!)
    names+=("$target")
    while ((${#pids[@]} >= jobs)); do finish; done
  done
  while ((${#pids[@]} > 0)); do finish; done
  if ((rotation_seconds > 0)); then
    rotation "$rotation_seconds" || status=1
  fi
  echo "fuzz: done in $((SECONDS - started)) s"
  return $status
}

campaign() {
  local target=$1 seconds=${2:-600}
  known "$target" || { echo "fuzz: no target '$target' (try --list)" >&2; exit 2; }
  build_targets
  local work=fuzz/work/$target
  if [[ ! -d $work ]]; then
    mkdir -p "$work"
    cp -r fuzz/corpus/"$target"/. "$work/"
  fi
  mkdir -p fuzz/work/artifacts
  local log=fuzz/work/$target.log status=0
  run_for "$target" "$work" "$log" "$seconds" fuzz/work/artifacts || status=$?
  read -r execs cov ft < <(figures "$log")
  if ((status != 0)); then
    tail -60 "$log" >&2
    echo "fuzz: $target: CRASH after $execs executions; reproducer in fuzz/work/artifacts" >&2
  else
    echo "fuzz: $target: $execs executions in $seconds s, cov $cov, ft $ft, corpus $(ls "$work" | wc -l) inputs"
  fi
  echo "$(date -u +%FT%TZ) $target seconds=$seconds execs=$execs cov=$cov ft=$ft status=$status" >>fuzz/work/campaigns.log
  return $status
}

case ${1:-} in
  --ci) ci "${2:-15}" ;;
  --rotation)
    target=$(todays_target)
    build_targets "$target"
    rotation "${2:-180}"
    ;;
  --list) printf '%s\n' "${targets[@]}" ;;
  "" | -h | --help) awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0" ;;
  *) campaign "$@" ;;
esac
