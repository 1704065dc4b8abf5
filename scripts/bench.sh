#!/usr/bin/env bash
# Runs every benchmark under Wine, on each build that runs here (alternating the builds bench by
# bench, in one prefix), and ends with one line per figure and build: the median of its rounds
# and their spread, the absolute times and the ratio. A figure over its target on either build
# is over. TOLVANE_BENCH_ARCH=i686 or x86_64 picks one build; arguments name benchmarks to run.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
source "$here/xvfb.sh"
# Wine answers every shortcut a benchmark writes with a menu-entry helper process of its own,
# which Windows has no counterpart of: it would run beside the timed rounds.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
if [ "$("$here/wine-arch.sh")" = i686 ]; then archs=(i686 x86_64); else archs=(x86_64); fi
if [ -n "${TOLVANE_BENCH_ARCH:-}" ]; then archs=("$TOLVANE_BENCH_ARCH"); fi
benches=(scan_bench record_bench select_bench select_outside_bench startup_bench recent_docs_bench handoff_bench
         add_bench recording_bench smart_record_bench add_item_bench browser_pages_bench)
if [ $# -gt 0 ]; then benches=("$@"); fi

"$here/wine-prefix.sh" || exit 1
start_display || exit 1
wineserver -p
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
figures="$(mktemp)"
trap 'wineserver -k 2>/dev/null; stop_display; rm -f "$figures"' EXIT

failed=0
for bench in "${benches[@]}"; do
    for arch in "${archs[@]}"; do
        echo "== $bench ($arch)"
        out="$("$WINE" "$BUILD_DIR/$arch/bin/$bench.exe" </dev/null 2>&1 | tr -d '\r')" || failed=1
        printf '%s\n' "$out" | grep -v '^figure	'
        printf '%s\n' "$out" | grep '^figure	' | sed "s/^figure	/$arch	/" >>"$figures"
    done
done

echo
echo "Medians of each figure's rounds (ms), ratio of the medians, the rounds' ratios low-high, target:"
awk -F'\t' '
    { key = $2; if (!(key in seen)) { seen[key] = 1; order[++n] = key }
      line[key] = line[key] sprintf("  %-6s %9s %9s  %5s  (%s-%s, %s rounds)  %s\n", $1, $4, $5, $6, $7, $8, $3, $10)
      target[key] = $9; if ($10 != "within") over[key] = 1 }
    END { for (i = 1; i <= n; i++) { k = order[i]
            printf "%s, target at most %s: %s\n%s", k, target[k], (k in over) ? "OVER" : "within", line[k] }
          for (i = 1; i <= n; i++) if (order[i] in over) exit 1 }' "$figures" || failed=1
[ -s "$figures" ] || { echo "no figures were reported"; failed=1; }
exit $failed
