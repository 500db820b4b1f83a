# Sourced by the scripts that run the sanitizer build's tests.
# Qt's own caches live as long as the process: the full unwinder lets the
# suppressions recognise them.
export ASAN_OPTIONS=fast_unwind_on_malloc=0
LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/lsan.supp:print_suppressions=0"
export LSAN_OPTIONS
