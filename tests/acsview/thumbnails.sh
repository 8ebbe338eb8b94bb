#!/bin/sh
# thumbnails.sh VIEWER WRITER: a character file gets a PNG thumbnail of at
# most the size asked for; a file that is no character gets none, a message
# and a non-zero exit, never a crash.
set -u
viewer=$1 writer=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$writer" "$dir/robby.acs" 4 > /dev/null || fail "cannot write the fixture"
"$viewer" --thumbnail 64 "$dir/robby.acs" "$dir/robby.png" || fail "no thumbnail of a character"
[ "$(head -c 8 "$dir/robby.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "not a PNG"
width=$(od -An -tu1 -j 16 -N 8 "$dir/robby.png" | awk '{print $3*256+$4, $7*256+$8}')
for side in $width; do [ "$side" -le 64 ] && [ "$side" -gt 0 ] || fail "size $width"; done

for bad in text empty truncated; do
    case $bad in
    text) printf 'not a character\n' > "$dir/$bad.acs" ;;
    empty) : > "$dir/$bad.acs" ;;
    truncated) head -c 300 "$dir/robby.acs" > "$dir/$bad.acs" ;;
    esac
    "$viewer" --thumbnail 64 "$dir/$bad.acs" "$dir/$bad.png" 2> "$dir/err"
    code=$?
    [ "$code" -eq 1 ] || fail "$bad: exit $code"
    [ ! -e "$dir/$bad.png" ] || fail "$bad: a thumbnail was written"
    grep -q "Cannot load the character" "$dir/err" || fail "$bad: $(cat "$dir/err")"
done
echo "thumbnails ok"
