#!/bin/sh
# Each folder of calc/ includes only its own and those below it:
# text, values, search, request, output, tarnel. Prints every include that
# runs back up; fails when there is one.
calc=$1
layers="text values search request output tarnel"
status=0
below=""
for layer in $layers; do
  allowed="$below $layer"
  for file in "$calc/$layer"/*.h "$calc/$layer"/*.cpp; do
    [ -e "$file" ] || continue
    for included in $(sed -n 's/^#include "\([a-z_]*\)\/.*/\1/p' "$file"); do
      case " $allowed " in
        *" $included "*) ;;
        *) echo "$file includes $included/, a layer above $layer/"; status=1 ;;
      esac
    done
  done
  below="$allowed"
done
exit $status
