#!/bin/sh
# The terminal chat end to end: a program folder with a compiled brain, a conversation
# through standard input, the replies on standard output.
#   console_test.sh TAMZEL TAMZEL_BRAINC STARTER_BRAIN
set -u
tamzel=$1 brainc=$2 starter=$3
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$home/ai"
"$brainc" "$starter" "$home/ai/brainfile.ai" >/dev/null || fail "the starter brain does not compile"

# A greeting is answered in Slovak after the opening line; "halt" ends before "nikdy".
out=$(printf 'ahoj\nhalt\nnikdy\n' | "$tamzel" --console --home "$home" --user Peter --seed 5) ||
    fail "exit code $?"
echo "$out"
[ "$(printf '%s\n' "$out" | wc -l)" -eq 2 ] || fail "expected the opening line and one reply"
printf '%s\n' "$out" | head -1 | grep -q 'Peter' || fail "the opening line does not greet the user"
printf '%s\n' "$out" | tail -1 | grep -Eq 'Rád ťa vidím|Čau, Peter|Zdravím ťa' || fail "no Slovak greeting"

# --verbose adds the state line; text nobody understands clears the understood flag.
out=$(printf 'xq zz\n' | "$tamzel" --console --home "$home" --seed 5 --verbose) || fail "exit code $?"
printf '%s\n' "$out" | tail -1 | grep -Eq '^# understood=0 mood=0 repeat=1 idle=0$' ||
    fail "verbose state line: $out"

# --female creates a woman's profile; on an existing profile a gender option changes nothing.
printf 'ahoj\n' | "$tamzel" --console --home "$home" --user Katka --female >/dev/null || fail "--female: exit code $?"
grep -q 'pohlavie=zena' "$home/users/_Katka/user.dat" || fail "--female did not make a woman's profile"
err=$(printf 'ahoj\n' | "$tamzel" --console --home "$home" --user Katka --male 2>&1 >/dev/null) || fail "--male: exit code $?"
grep -q 'pohlavie=zena' "$home/users/_Katka/user.dat" || fail "--male rewrote an existing profile"
printf '%s\n' "$err" | grep -q 'nemení' || fail "no note that --male changes nothing: $err"
grep -q 'pohlavie=muz' "$home/users/_Peter/user.dat" || fail "the default profile is not a man's"
"$tamzel" --console --home "$home" --male --female </dev/null 2>/dev/null && fail "--male with --female accepted"

# Hostile input: a 100 KB line of every byte value, then the end of input.
head -c 102400 /dev/urandom | tr -d '\n' | "$tamzel" --console --home "$home" >/dev/null ||
    fail "a 100 KB line of random bytes"

# A missing brain: a Slovak message naming the file, and a failing exit code.
rm "$home/ai/brainfile.ai"
err=$(printf 'ahoj\n' | "$tamzel" --console --home "$home" 2>&1 >/dev/null) && fail "exit code 0 without a brain"
printf '%s\n' "$err" | grep -q 'Súbor mozgu "ai/brainfile.ai"' || fail "message: $err"
echo "OK"
