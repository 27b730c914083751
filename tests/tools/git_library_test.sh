#!/usr/bin/env bash
# Libraries kept in a real git repository, set up as the README says: two branches that change
# different blocks merge cleanly with both changes, the same block changed on both gives the
# conflict block and git reports the conflict, and git diff shows block names and lines.
# Usage: git_library_test.sh BLK
set -euo pipefail
blk="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Nobody's own git settings take part.
export HOME="$work" GIT_CONFIG_NOSYSTEM=1
fail() { echo "git_library_test: $*"; exit 1; }
git_() { git -c user.name=Kreślarz -c user.email=kreslarz@example.org "$@"; }

mkdir "$work/repo"
cd "$work/repo"
git_ init -q -b main
echo '*.blk diff=blk merge=blk' > .gitattributes
git config diff.blk.textconv "$blk textconv"
git config merge.blk.name "biblioteka bloków"
git config merge.blk.driver "$blk merge %O %A %B"

printf 'O(0,0,1)\n' | "$blk" save znaki.blk Studnia m
printf 'P(0,0)-(60,60)\n' | "$blk" save znaki.blk 'Właz' cm
printf 'L(0,0)-(1,0)\n' | "$blk" save znaki.blk Zasuwa m
git_ add .gitattributes znaki.blk
git_ commit -q -m 'Biblioteka'

# git diff through textconv: the block's name and its lines, no record markers.
printf 'O(0,0,2)\n' | "$blk" save znaki.blk Studnia m
diff_text="$(git_ diff)"
grep -qx ' === Studnia (m)' <<<"$diff_text" || fail "git diff without the block's name: $diff_text"
grep -qx -- '-O(0,0,1)' <<<"$diff_text" || fail "git diff without the old line: $diff_text"
grep -qx '+O(0,0,2)' <<<"$diff_text" || fail "git diff without the new line: $diff_text"
if grep -q 'OpisBloku' <<<"$diff_text"; then fail "git diff shows the record markers"; fi
git_ commit -q -am 'Studnia większa'

# Another branch changes another block: the merge is clean and keeps both changes.
git_ checkout -q -b zasuwy main
printf 'L(0,0)-(2,0)\n' | "$blk" save znaki.blk Zasuwa m
git_ commit -q -am 'Zasuwa dłuższa'
git_ checkout -q main
git_ merge -q --no-edit zasuwy >/dev/null || fail "a merge of different blocks failed"
[ "$("$blk" show znaki.blk Studnia)" = $'unit: m\nO(0,0,2)' ] || fail "the merge lost ours"
[ "$("$blk" show znaki.blk Zasuwa)" = $'unit: m\nL(0,0)-(2,0)' ] || fail "the merge lost theirs"
[ "$("$blk" show znaki.blk 'Właz')" = $'unit: cm\nP(0,0)-(60,60)' ] || fail "the merge lost Właz"

# The same block changed on both: ours stays, theirs is kept beside it, git reports it.
git_ checkout -q -b studnie main~2
printf 'O(0,0,3)\n' | "$blk" save znaki.blk Studnia m
git_ commit -q -am 'Studnia inna'
git_ checkout -q main
if merge_text="$(git_ merge --no-edit studnie 2>&1)"; then fail "a conflict merged cleanly"; fi
grep -q 'CONFLICT' <<<"$merge_text" || fail "git reported no conflict: $merge_text"
[ "$("$blk" show znaki.blk Studnia)" = $'unit: m\nO(0,0,2)' ] || fail "the conflict lost ours"
[ "$("$blk" show znaki.blk 'Studnia (konflikt)')" = $'unit: m\nO(0,0,3)' ] ||
  fail "the conflict lost theirs"
git status --porcelain | grep -q '^UU znaki.blk' || fail "git does not hold the file unmerged"
# Nothing of the merge is left beside the library.
[ -z "$(find . -maxdepth 1 -name 'UsunPom-*')" ] || fail "the merge left temporary files"
echo "git_library_test: ok"
