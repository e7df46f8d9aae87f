#!/bin/sh
# Builds the fuzz targets with clang and runs each from its committed seeds for a bounded,
# repeatable time. Usage: run-fuzz.sh <this folder> <build folder>
# KELVARA_FUZZ_TARGETS picks some of the targets (values search access), and
# KELVARA_FUZZ_CMAKE_ARGS adds to their configuration (the bundled Access reader's check).
set -eu
source_dir=$1
build_dir=$2
seconds=${KELVARA_FUZZ_SECONDS:-15}
cmake=${CMAKE:-cmake}
targets=${KELVARA_FUZZ_TARGETS:-values search access}

if ! command -v clang++ >/dev/null 2>&1; then
    echo "clang++ is missing: the fuzz targets need clang and libFuzzer" >&2
    echo "(scripts/setup.sh installs clang and libclang-rt-14-dev)" >&2
    exit 1
fi

# shellcheck disable=SC2086 # the added arguments are separate words
"$cmake" -S "$source_dir" -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=None ${KELVARA_FUZZ_CMAKE_ARGS:-} >"$build_dir.configure.log" 2>&1 ||
    { cat "$build_dir.configure.log" >&2; exit 1; }
for target in $targets; do
    "$cmake" --build "$build_dir" -j2 --target "fuzz_$target"
done

for target in $targets; do
    # New inputs go to a scratch folder; the committed seeds are only read.
    found="$build_dir/found-$target"
    rm -rf "$found"
    mkdir -p "$found"
    seeds="$source_dir/seeds/$target"
    set -- -max_len=4096
    if [ "$target" = access ]; then
        # Whole Access files, from the fixtures; an allocation beyond the bound fails the run,
        # and the library's own warnings on standard error are dropped.
        seeds="$seeds $source_dir/../../fixtures/access"
        set -- -max_len=262144 -malloc_limit_mb=64 -rss_limit_mb=1024 -close_fd_mask=2
    fi
    echo "fuzz_$target: ${seconds}s"
    # shellcheck disable=SC2086 # the seed folders are separate arguments
    "$build_dir/fuzz_$target" -max_total_time="$seconds" -seed=1 "$@" \
        -artifact_prefix="$build_dir/crash-$target-" -print_final_stats=1 \
        "$found" $seeds
done
