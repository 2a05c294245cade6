#!/usr/bin/env bash
# Checks that the tests catch faults: applies each deliberate fault from
# tests/mutations.txt alone, rebuilds, runs the unit tests (with sanitizers)
# and the end-to-end tests (not the soak) until the first failure, restores
# the file, and lists the faults that no test caught. Takes a few minutes a
# fault; not part of the test command. A fault of "preset: native" needs no
# Windows build: only the sanitizer build and its tests run, in seconds.
#
#   scripts/mutate.sh [--list] [NUMBER...]
#
# With numbers, only those faults run. Exit status: 0 every fault caught,
# 1 one survived or no longer applies.
set -u
cd "$(dirname "$0")/.."
list=tests/mutations.txt

# Parses the list into arrays: one entry a fault.
names=() files=() presets=() tests=() olds=() news=()
parse_list() {
  local line state=none
  while IFS= read -r line || [ -n "$line" ]; do
    case "$state:$line" in
    *:'## '*)
      names+=("${line#'## '}") files+=("") presets+=(mingw-x64) tests+=("") olds+=("") news+=("")
      state=head
      ;;
    head:'file: '*) files[-1]=${line#file: } ;;
    head:'preset: '*) presets[-1]=${line#preset: } ;;
    head:'tests: '*) tests[-1]=${line#tests: } ;;
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
# The sanitizer build always; a Windows one only when a selected fault needs it.
used=(native-asan)
for number in "${selected[@]}"; do
  preset=${presets[$((number - 1))]}
  [ "$preset" = native ] || [[ " ${used[*]} " == *" $preset "* ]] || used+=("$preset")
done
for preset in "${used[@]}"; do
  cmake --preset "$preset" >/dev/null
done

# The first test that failed in the log since line $1: "name ....***Failed".
failed_test() {
  tail -n +"$1" "$log" | grep -o -E ': [^ ]+ [.]*\*\*\*[A-Za-z]+' | head -1 | cut -c3-
}

caught=() survived=() stale=()
for number in "${selected[@]}"; do
  i=$((number - 1))
  name=${names[$i]} file=${files[$i]} preset=${presets[$i]} only=${tests[$i]:-.}
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
  start=$(($(wc -l <"$log") + 1))
  if ! { cmake --build --preset native-asan &&
    { [ "$preset" = native ] || cmake --build --preset "$preset"; }; } >>"$log" 2>&1; then
    verdict="the build (a fault should compile; rewrite it)"
  elif ! ctest --preset native-asan --stop-on-failure >>"$log" 2>&1; then
    verdict="the native-asan tests: $(failed_test "$start")"
  elif [ "$preset" != native ] &&
    ! ctest --preset "$preset" -E soak -R "$only" -j 4 --stop-on-failure >>"$log" 2>&1; then
    verdict="the $preset tests: $(failed_test "$start")"
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
for preset in "${used[@]}"; do
  cmake --build --preset "$preset" >>"$log" 2>&1
done
echo "caught ${#caught[@]} of ${#selected[@]} faults; survived: ${survived[*]:-none}; no longer apply: ${stale[*]:-none} (log: $log)"
[ ${#survived[@]} -eq 0 ] && [ ${#stale[@]} -eq 0 ]
