#!/usr/bin/env bash
# Checks that the tests catch faults: applies each deliberate fault from
# tests/mutations.txt alone, rebuilds, runs the unit tests (with sanitizers)
# and the end-to-end tests (not the soak) until the first failure, restores
# the file, and lists the faults that no test caught. Takes a few minutes a
# fault; not part of the test command.
#
#   scripts/mutate.sh [--list] [NUMBER...]
#
# With numbers, only those faults run. Exit status: 0 every fault caught,
# 1 one survived or no longer applies.
set -u
cd "$(dirname "$0")/.."
list=tests/mutations.txt

# Parses the list into arrays: one entry a fault.
names=() files=() presets=() olds=() news=()
parse_list() {
  local line state=none
  while IFS= read -r line || [ -n "$line" ]; do
    case "$state:$line" in
    *:'## '*)
      names+=("${line#'## '}") files+=("") presets+=(mingw-x64) olds+=("") news+=("")
      state=head
      ;;
    head:'file: '*) files[-1]=${line#file: } ;;
    head:'preset: '*) presets[-1]=${line#preset: } ;;
    head:old: | new:old:) state=old ;;
    old:new:) state=new ;;
    old:*) olds[-1]+="${olds[-1]:+$'\n'}$line" ;;
    new:) state=none ;;
    new:*) news[-1]+="${news[-1]:+$'\n'}$line" ;;
    esac
  done <"$list"
}
parse_list

if [ "${1:-}" = "--list" ]; then
  for i in "${!names[@]}"; do echo "$((i + 1)). ${names[$i]} ($(basename "${files[$i]}"))"; done
  exit 0
fi
selected=("$@")
[ ${#selected[@]} -gt 0 ] || selected=($(seq ${#names[@]}))

occurrences() { # FILE TEXT
  OLD=$2 perl -0777 -ne '$n = () = /\Q$ENV{OLD}\E/g; print $n' "$1"
}
replace_once() { # FILE OLD NEW
  OLD=$2 NEW=$3 perl -0777 -pi -e 's/\Q$ENV{OLD}\E/$ENV{NEW}/' "$1"
}

backup=$(mktemp)
mutated=
restore() {
  if [ -n "$mutated" ]; then
    cp "$backup" "$mutated"
    mutated=
  fi
}
trap 'restore; rm -f "$backup"' EXIT
trap 'exit 130' INT TERM

log=build/mutate.log
mkdir -p build
: >"$log"
for preset in native-asan mingw-x64 mingw-x86; do
  cmake --preset "$preset" >/dev/null
done

caught=() survived=() stale=()
for number in "${selected[@]}"; do
  i=$((number - 1))
  name=${names[$i]} file=${files[$i]} preset=${presets[$i]}
  echo "== $number. $name" | tee -a "$log"
  if [ "$(occurrences "$file" "${olds[$i]}")" != 1 ]; then
    echo "   no longer applies: the old text is not in $file exactly once" | tee -a "$log"
    stale+=("$number")
    continue
  fi
  cp "$file" "$backup"
  mutated=$file
  replace_once "$file" "${olds[$i]}" "${news[$i]}"
  verdict=
  if ! { cmake --build --preset native-asan && cmake --build --preset "$preset"; } >>"$log" 2>&1; then
    verdict="the build (a fault should compile; rewrite it)"
  elif ! ctest --preset native-asan --stop-on-failure >>"$log" 2>&1; then
    verdict="the unit tests"
  elif ! ctest --preset "$preset" -E soak --stop-on-failure >>"$log" 2>&1; then
    verdict="the $preset end-to-end tests: $(grep -o 'e2e-[a-z0-9]*\.[A-Za-z]* [.]*\*\*\*[A-Za-z]*' "$log" | tail -1)"
  fi
  restore
  if [ -n "$verdict" ]; then
    echo "   caught by $verdict" | tee -a "$log"
    caught+=("$number")
  else
    echo "   SURVIVED: no test failed" | tee -a "$log"
    survived+=("$number")
  fi
done

echo "== rebuilding without faults"
for preset in native-asan mingw-x64 mingw-x86; do
  cmake --build --preset "$preset" >>"$log" 2>&1
done
echo "caught ${#caught[@]} of ${#selected[@]} faults; survived: ${survived[*]:-none}; no longer apply: ${stale[*]:-none} (log: $log)"
[ ${#survived[@]} -eq 0 ] && [ ${#stale[@]} -eq 0 ]
