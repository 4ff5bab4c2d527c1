#!/usr/bin/env bash
# Per-step digests of every reference scenario and scenario fixture, in every
# form the step can take, for proving that a change to the step leaves every
# battle exactly as it was.
#
#   tools/step_digests.sh BUILD_DIR OUT_DIR           write the digests
#   tools/step_digests.sh BUILD_DIR OUT_DIR --check   compare with those kept in OUT_DIR
#
# Each kept file holds what the runner said, messages included; the check
# compares the digest lines alone, so that a message worded anew is not a
# changed battle. The runs are written into a scratch folder inside BUILD_DIR
# (step_digests.XXXXXX), removed when the script ends.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build directory}
out=${2:?digest directory}
check=${3:-}
runner="$build/tools/runner"
steps=500
forms=("" "--comms" "--los --weapons" "--comms --los --weapons" "--batch" "--batch --comms --los --weapons")
seeds=("" "--seed 7")

mkdir -p "$out"
scratch=$(mktemp -d "$build/step_digests.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failed=0
count=0
# step, RED alive and injured, BLUE alive and injured, hash
digests() { grep -E '^-?[0-9]+ [0-9]+ [0-9]+ [0-9]+ [0-9]+ [0-9a-f]{16}$' "$1" || true; }
for file in bench/data/*.dat tests/data/*.dat tests/data/*.run tests/data/*.out; do
    for form in "${forms[@]}"; do
        for seed in "${seeds[@]}"; do
            name="$(basename "$file")${form// /}${seed// /}"
            # shellcheck disable=SC2086
            "$runner" "$file" --steps $steps --digest-every 1 $form $seed >"$scratch/$name" 2>&1 || true
            count=$((count + 1))
            if [[ "$check" == "--check" ]]; then
                if [[ ! -f "$out/$name" ]] || ! cmp -s <(digests "$scratch/$name") <(digests "$out/$name"); then
                    echo "DIFFERS: $file $form $seed"
                    diff <(digests "$out/$name" 2>/dev/null) <(digests "$scratch/$name") | head -4 || true
                    failed=1
                fi
            else
                cp "$scratch/$name" "$out/$name"
            fi
        done
    done
done
if [[ "$check" == "--check" ]]; then
    ((failed)) && { echo "step digests differ"; exit 1; }
    echo "all $count digest runs identical"
else
    echo "wrote $count digest runs to $out"
fi
