#!/usr/bin/env bash
# Seeded faults: puts each fault of scripts/mutants.txt, one at a time, into a scratch copy of the
# tree, builds it and runs the suite, and prints whether the suite noticed it (the build or a test
# failed), missed it, or the fault no longer applies (its text is not in the file exactly once, or,
# for a fault whose file is followed by " #N", fewer than N times: it then goes into the Nth).
# The tree this runs from is never changed.
#
#   scripts/mutate.sh [--check] [NUMBER...]
#     --check   only report which faults still apply, without building
#     NUMBER    run only these faults (as numbered in the output)
# Environment: MUTANTS (the list), MUTATE_DIR (scratch folder, kept between runs so that builds stay
# incremental), JOBS (build and test jobs, 2), TEST_TIMEOUT (seconds per test, 60).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
list=${MUTANTS:-$root/scripts/mutants.txt}
work=${MUTATE_DIR:-${TMPDIR:-/tmp}/vlconfig-mutate-$(id -u)}
jobs=${JOBS:-2}
timeout=${TEST_TIMEOUT:-60}
check_only=0
if [[ ${1:-} == --check ]]; then
    check_only=1
    shift
fi
declare -A wanted=()
for n in "$@"; do wanted[$n]=1; done

# The faults as parallel arrays: file, original, replacement, description.
files=() nths=() originals=() replacements=() descriptions=()
what=""
while IFS= read -r line || [[ -n $line ]]; do
    case $line in
    "# "*) what=${line#\# } ;;
    "@ "*" #"[0-9]*) files+=("${line% #*}") files[-1]=${files[-1]#@ } nths+=("${line##* #}") descriptions+=("$what") ;;
    "@ "*) files+=("${line#@ }") nths+=(0) descriptions+=("$what") ;;
    "- "*) originals+=("${line#- }") ;;
    "+ "*) replacements+=("${line#+ }") ;;
    esac
done <"$list"
total=${#files[@]}
if ((${#originals[@]} != total || ${#replacements[@]} != total)); then
    echo "mutate: $list: every fault needs one @, one - and one + line" >&2
    exit 2
fi

# How often the literal text $2 occurs in file $1.
occurrences() {
    ORIGINAL=$2 perl -0777 -ne '$n = () = /\Q$ENV{ORIGINAL}\E/g; print $n' "$1"
}
# Replaces occurrence $4 (1 when 0) of $2 in file $1 by $3.
replace() {
    ORIGINAL=$2 REPLACEMENT=$3 NTH=$(($4 ? $4 : 1)) perl -0777 -pi -e \
        's/\Q$ENV{ORIGINAL}\E/++$n == $ENV{NTH} ? $ENV{REPLACEMENT} : $&/ge' "$1"
}

src=$work/src
build=$src/build/mutate
if ((!check_only)); then
    mkdir -p "$src"
    # A fresh copy of the sources beside the build folder kept from the last run.
    find "$src" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
    # Fresh modification times, so that the build never keeps an object of an earlier fault.
    tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$src" -xmf -
    # ccache finds the objects of other trees when paths are taken relative to the tree.
    export CCACHE_BASEDIR=$src CCACHE_NOHASHDIR=1
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVLCONFIG_TESTS=ON \
        >"$work/configure.log" 2>&1 || {
        echo "mutate: configure failed, see $work/configure.log" >&2
        exit 2
    }
fi

build_and_test() { # $1: log file; prints "build" or the first failed test; status 0 when all pass
    if ! nice -n 10 cmake --build "$build" -j "$jobs" >"$1" 2>&1; then
        echo "build"
        return 1
    fi
    if ! (cd "$build" && nice -n 10 ctest -j "$jobs" --stop-on-failure --timeout "$timeout" >>"$1" 2>&1); then
        grep -m1 -oE '[0-9]+ - [^ ]+ \((Failed|Timeout|SEGFAULT|Subprocess aborted|Child aborted|Exception)' "$1" |
            sed -E 's/^[0-9]+ - //; s/ \(/ (/' || echo "tests"
        return 1
    fi
    return 0
}

start=$(date +%s)
if ((!check_only)); then
    if ! why=$(build_and_test "$work/baseline.log"); then
        echo "mutate: the unchanged tree does not pass ($why), see $work/baseline.log" >&2
        exit 2
    fi
fi

noticed=0 missed=0 applicable=0 missed_list=()
for ((i = 0; i < total; i++)); do
    n=$((i + 1))
    ((${#wanted[@]} == 0)) || [[ -n ${wanted[$n]:-} ]] || continue
    file=${files[i]}
    label=$(printf '%2d %-28s %s' "$n" "$file" "${descriptions[i]}")
    target=$([[ $check_only == 1 ]] && echo "$root/$file" || echo "$src/$file")
    count=$([[ -f $target ]] && occurrences "$target" "${originals[i]}")
    if ((nths[i] ? ${count:-0} < nths[i] : ${count:-0} != 1)); then
        echo "n/a     $label"
        continue
    fi
    applicable=$((applicable + 1))
    ((check_only)) && {
        echo "applies $label"
        continue
    }
    cp "$target" "$work/saved"
    replace "$target" "${originals[i]}" "${replacements[i]}" "${nths[i]}"
    t0=$(date +%s)
    if why=$(build_and_test "$work/fault-$n.log"); then
        echo "MISSED  $label  [$(($(date +%s) - t0))s]"
        missed=$((missed + 1))
        missed_list+=("$n")
    else
        echo "noticed $label  <- $why  [$(($(date +%s) - t0))s]"
        noticed=$((noticed + 1))
    fi
    cp "$work/saved" "$target"
done

if ((check_only)); then
    echo "$applicable of $total faults apply"
    exit 0
fi
# Leave the scratch build matching the sources again.
nice -n 10 cmake --build "$build" -j "$jobs" >/dev/null 2>&1
echo "noticed $noticed of $applicable applicable ($total listed); missed: ${missed_list[*]:-none}; $(($(date +%s) - start))s"
