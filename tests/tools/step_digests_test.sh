#!/usr/bin/env bash
# tools/step_digests.sh --check against a stand-in runner: a message worded
# anew must not read as a changed battle, a changed digest line must.
#   step_digests_test.sh SCRATCH_DIR
set -euo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/tools/step_digests.sh"
scratch=${1:?scratch directory}
rm -rf "$scratch"
mkdir -p "$scratch/build/tools"
# Says its message on standard error, as the runner does, and two digest
# lines whose hash the test chooses.
cat >"$scratch/build/tools/runner" <<'RUNNER'
#!/usr/bin/env bash
echo "warning: Setting up $(basename "$1"): $MESSAGE" >&2
echo "0 5 0 5 0 0123456789abcdef"
echo "1 5 0 4 1 $HASH"
RUNNER
chmod +x "$scratch/build/tools/runner"
digests="$scratch/digests"

MESSAGE="the box is too small" HASH=00000000000000aa bash "$script" "$scratch/build" "$digests" >/dev/null
if ! MESSAGE="the deployment box holds too few cells" HASH=00000000000000aa \
    bash "$script" "$scratch/build" "$digests" --check >"$scratch/reworded.log"; then
    echo "FAIL: a reworded message reads as a changed battle"
    head -8 "$scratch/reworded.log"
    exit 1
fi
if MESSAGE="the box is too small" HASH=00000000000000bb \
    bash "$script" "$scratch/build" "$digests" --check >"$scratch/changed.log"; then
    echo "FAIL: a changed digest line passes the check"
    exit 1
fi
grep -q "^DIFFERS: " "$scratch/changed.log"
echo "step_digests.sh compares the digest lines alone"
