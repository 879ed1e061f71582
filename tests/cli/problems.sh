# Sourced by the command-line tests: problem() notes a failure and goes on, so that one run
# reports every check it fails; the test exits with $fail.
fail=0
problem() {
    echo "FAIL: $*"
    fail=1
}
# Standard error's lines but the sanitizers' own notes (an ASan build warns about fibers).
said() {
    grep -v '^==[0-9]*==WARNING: ASan' "$1" || true
}
