#!/usr/bin/env bash
# Refuses an include that goes up a layer. Each folder of src/ is a library
# that links only the ones below it; an include of a folder above would
# compile (all of src/ is on the include path) and tie the layers together
# again. The public headers of include/qxmavowin are plain types that every
# layer may use, except the widget's own header.
#
#   scripts/check-layers.sh        exit 1 and a list of the includes that go up
set -euo pipefail
cd "$(dirname "$0")/.."

# What each folder may include, besides itself and the plain public headers.
declare -A allowed=(
  [store]=""
  [state]="store"
  [grid]="store state"
  [plan]="store state grid"
  [adjust]="store state grid plan"
  [check]="store state grid plan adjust"
  [export]="store state grid plan adjust check"
  [control]="store state grid plan adjust check"
  [ui]="store state grid plan adjust check export control"
  [host]="store state grid plan adjust check export control ui fet"
)
layers="${!allowed[*]}"

status=0
for folder in "${!allowed[@]}"; do
  for file in $(git ls-files "src/$folder/*.cpp" "src/$folder/*.h"); do
    while IFS= read -r line; do
      target=${line#*\"}
      target=${target%%\"*}
      top=${target%%/*}
      [ "$top" = "$target" ] && continue # a file of its own folder, or a generated one
      [ "$top" = "$folder" ] && continue
      if [ "$top" = qxmavowin ]; then
        [ "$target" != qxmavowin/qxmavowin_widget.h ] && continue
        top=ui
        [ "$folder" = ui ] && continue
      fi
      case " ${allowed[$folder]} " in *" $top "*) continue ;; esac
      case " $layers fet " in *" $top "*) ;; *) continue ;; esac # not one of ours
      echo "$file includes $target: $folder may not include $top"
      status=1
    done < <(grep -E '^\s*#\s*include\s+"' "$file" || true)
  done
done
[ "$status" = 0 ] && echo "check-layers: no include goes up a layer"
exit "$status"
