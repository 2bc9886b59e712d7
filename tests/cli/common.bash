# What the command-line tests share; each sources it with its arguments:
#   source "$(dirname "$0")/common.bash" "$@"
# The tool and the picture helper come from the arguments; the test pictures
# are written into a work folder ($w) that is removed at the end.
set -u
cli=$1
pics=$2
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$pics" write "$work" || { echo "cannot write the test pictures" >&2; exit 1; }
w=$work

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect NAME WANTED_STDOUT ARGS... : exit status 0 and the whole stdout.
expect() {
    local name=$1 want=$2
    shift 2
    local out status
    out=$("$cli" "$@")
    status=$?
    [ "$status" -eq 0 ] || fail "$name: exit status $status"
    [ "$out" = "$want" ] || { fail "$name: output differs"; diff <(echo "$want") <(echo "$out") >&2; }
}

# expect_error NAME STATUS STDERR_PATTERN ARGS... : the exit status and exactly
# one line on stderr matching the pattern (grep -E).
expect_error() {
    local name=$1 want=$2 pattern=$3
    shift 3
    local err status
    err=$("$cli" "$@" 2>&1 >/dev/null)
    status=$?
    [ "$status" -eq "$want" ] || fail "$name: exit status $status, expected $want"
    [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || fail "$name: expected one line on stderr, got '$err'"
    printf '%s\n' "$err" | grep -Eq -- "$pattern" || fail "$name: '$err' does not match '$pattern'"
}

# expect_png NAME FILE WANTED_DUMP : the PNG's size, channels and pixels.
expect_png() {
    local name=$1 file=$2 want=$3 got
    got=$("$pics" dump "$file" 2>&1)
    [ "$got" = "$want" ] || { fail "$name: pixels differ"; diff <(echo "$want") <(echo "$got") >&2; }
}

# cannot_read FILE REASON CODE : the pattern of the one-line read failure.
cannot_read() { echo "^tilora-cli: cannot read $w/$1: $2 \\(code $3\\)\$"; }

# finish WHAT : the summary, and the exit status of the test.
finish() {
    [ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
    echo "all $1 checks passed"
}
