#!/usr/bin/env bash
# Fails when a tracked file of the build, the scripts or the tests names a path outside the
# repository, so that a lone clone builds and passes its tests with nothing beside it.
# Usage: self_contained.sh <repository root>
set -euo pipefail
root=$(realpath "$1")
cd "$root"

if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files)
else
  mapfile -t files < <(find . -type f -not -path './build/*' -not -path './.git/*' | sed 's|^\./||')
fi

self=tests/repository/self_contained.sh
failures=0

report() {
  echo "$1:$2: names a path outside the repository: $3"
  failures=$((failures + 1))
}

# Does the absolute path $1 lie inside the repository?
inside() {
  local resolved
  resolved=$(realpath -m "$1")
  [[ $resolved == "$root" || $resolved == "$root"/* ]]
}

for file in "${files[@]}"; do
  case $file in
    "$self") continue ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | CMakePresets.json) kind=build ;;
    scripts/* | .ci/* | *.sh) kind=script ;;
    tests/*.java | tests/*.cpp | tests/*.h) kind=build ;;
    *) continue ;;
  esac
  dir=$root/$(dirname "$file")
  number=0
  while IFS= read -r line || [[ -n $line ]]; do
    number=$((number + 1))
    # Absolute paths may name only what the system's packages install.
    while IFS= read -r absolute; do
      case $absolute in
        /usr/* | /bin/* | /etc/* | /dev/* | /tmp/* | /proc/*) ;;
        *) report "$file" "$number" "$absolute" ;;
      esac
    done < <(grep -oE "(^|[[:space:]=(:])[\"']?/[A-Za-z][A-Za-z0-9_.-]*/[^[:space:]\"'\`(),;:<>]*" <<<"$line" |
      sed -E "s/^[[:space:]=(:]?[\"']?//" || true)
    [[ $line == *..* ]] || continue
    # The anchors the build and the scripts use, replaced by the folders they stand for.
    line=${line//'$(dirname "$0")'/$dir}
    line=${line//'${CMAKE_CURRENT_SOURCE_DIR}'/$dir}
    line=${line//'${CMAKE_CURRENT_LIST_DIR}'/$dir}
    line=${line//'${PROJECT_SOURCE_DIR}'/$root}
    line=${line//'${CMAKE_SOURCE_DIR}'/$root}
    line=${line//'${sourceDir}'/$root}
    while IFS= read -r token; do
      [[ -n $token ]] || continue
      case $token in
        ...*) continue ;;  # an ellipsis in a comment or a message
        /*) inside "$token" || report "$file" "$number" "$token" ;;
        \$*) report "$file" "$number" "$token (from a folder the check cannot place)" ;;
        *)
          # Scripts work from the repository root, the build from the file's own folder.
          inside "$dir/$token" || report "$file" "$number" "$token"
          if [[ $kind == script ]]; then
            inside "$root/$token" || report "$file" "$number" "$token"
          fi
          ;;
      esac
    done < <(grep -oE "[^[:space:]\"'\`(),;=:<>]*\.\.[^[:space:]\"'\`(),;:<>]*" <<<"$line" || true)
  done <"$file"
done

if ((failures)); then
  echo "$failures reference(s) outside the repository"
  exit 1
fi
echo "every path that the build, the scripts and the tests name lies inside the repository"
