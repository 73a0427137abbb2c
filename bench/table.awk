# Turns the benchmarks' output into the performance tables. Input: Google Benchmark's CSV with
# the quotes removed; -v terminal=FILE names the terminal benchmark's "name value" lines, and
# -v subcommands=FILE the rows of the whole subcommand runs over the large catalog.

function met(ok) { return ok ? "yes" : "**no**" }
function have(name) { return name in t }
function grouped(n,    s) {
  s = sprintf("%d", n)
  while (s ~ /[0-9][0-9][0-9][0-9]/) sub(/[0-9][0-9][0-9]($|,)/, ",&", s)
  return s
}
function duration(value, unit) {
  if (unit == "us") value *= 1000
  if (unit == "ms") value *= 1000000
  if (value >= 1000000) return sprintf("%.2f ms", value / 1000000)
  if (value >= 1000) return sprintf("%.1f µs", value / 1000)
  return sprintf("%.0f ns", value)
}

BEGIN {
  scale["ns"] = 1; scale["us"] = 1e3; scale["ms"] = 1e6; scale["s"] = 1e9  # nanoseconds per unit
  while ((getline line < terminal) > 0) {
    split(line, field, " ")
    t[field[1]] = field[2]
  }
}

NR > 1 { real[$1] = $3; unit[$1] = $5; items[$1] = $7 }

END {
  print "| Figure | Goal | Measured | Met |"
  print "|---|---|---|---|"
  ratio = t["startup_ratio"]
  printf "| Start-up to the complete first screen, median of 25 runs | ≤ 0.5 × whiptail's 30-item menu | %.2f ms, %.2f × whiptail's %.2f ms | %s |\n",
    t["startup_ms"], ratio, t["whiptail_startup_ms"], met(have("startup_ratio") && ratio <= 0.5)
  if (have("bare_startup_ratio"))
    printf "| For scale: `cat` writing the same first screen, median of 25 runs | — | %.2f ms, %.2f × whiptail's | — |\n",
      t["bare_startup_ms"], t["bare_startup_ratio"]
  printf "| Bytes for the first complete screen | ≤ 2,000 | %s (whiptail's 30-item menu: %s) | %s |\n",
    grouped(t["first_screen_bytes"]), grouped(t["whiptail_menu_bytes"]), met(t["first_screen_bytes"] > 0 && t["first_screen_bytes"] <= 2000)
  if (have("down_key_bytes"))
    printf "| Bytes for one Down key in the cable-type list | ≤ 100 | %d, the most of 10 presses (whiptail: %d) | %s |\n",
      t["down_key_bytes"], t["whiptail_down_key_bytes"], met(t["down_key_bytes"] <= 100)
  else
    print "| Bytes for one Down key in the cable-type list | ≤ 100 | not measurable: the catalog has one cable type | — |"
  if (have("scrolling_down_key_bytes"))
    printf "| Bytes for a Down key that scrolls the cable-type list | ≤ 100 | %d | %s |\n", t["scrolling_down_key_bytes"],
      met(t["scrolling_down_key_bytes"] <= 100)
  printf "| Bytes for one typed character at a prompt | ≤ 16 | %d, the most of 3 | %s |\n",
    t["typed_char_bytes"], met(have("typed_char_bytes") && t["typed_char_bytes"] <= 16)
  printf "| Wake-ups while waiting for a key with no time limit | 0 per second | %d in %d s | %s |\n",
    t["idle_wakeups"], t["idle_seconds"], met(have("idle_wakeups") && t["idle_wakeups"] == 0)
  printf "| Wake-ups during the 5-second frequency message | ≤ 55 per second | %.1f per second | %s |\n",
    t["message_wakeups_per_s"], met(have("message_wakeups_per_s") && t["message_wakeups_per_s"] >= 0 && t["message_wakeups_per_s"] <= 55)
  printf "| Peak resident memory through a whole calculation | ≤ 4.8 MiB | %.1f MiB | %s |\n",
    t["peak_rss_kib"] / 1024, met(have("peak_rss_kib") && t["peak_rss_kib"] <= 4.8 * 1024)
  printf "| `calc` with the exact SWR range, whole run, median of 21 | ≤ 5 ms | %.2f ms | %s |\n",
    t["calc_range_ms"], met(have("calc_range_ms") && t["calc_range_ms"] <= 5)
  printf "| `compare` with exact ranges over 71 cables, whole run, median of 21 | ≤ 50 ms | %.2f ms | %s |\n",
    t["compare_exact_ms"], met(have("compare_exact_ms") && t["compare_exact_ms"] <= 50)
  printf "| `deembed` of a 10,001-point sweep, whole run, median of 21 | ≤ 200 ms | %.2f ms | %s |\n",
    t["deembed_ms"], met(have("deembed_ms") && t["deembed_ms"] <= 200)
  printf "| `deembed` of a 10,001-point sweep through a 10-element path, whole run, median of 21 | ≤ 300 ms | %.2f ms | %s |\n",
    t["deembed_path_ms"], met(have("deembed_path_ms") && t["deembed_path_ms"] <= 300)
  printf "| `tdr` of a 10,001-point sweep with the loss taken out, whole run, median of 21 | ≤ 100 ms | %.2f ms | %s |\n",
    t["tdr_ms"], met(have("tdr_ms") && t["tdr_ms"] <= 100)
  printf "| `ferrolux measure` of two 1,601-point sweeps, in process | ≤ 100 ms | %s | %s |\n",
    duration(real["BM_MeasureCommand"], unit["BM_MeasureCommand"]), met(("BM_MeasureCommand" in real) && real["BM_MeasureCommand"] <= 100 && unit["BM_MeasureCommand"] == "ms")
  printf "| SWR range through a 10-element path, in process | ≤ 10 ms | %s | %s |\n",
    duration(real["BM_PathSwrRange"], unit["BM_PathSwrRange"]), met(("BM_PathSwrRange" in real) && real["BM_PathSwrRange"] * scale[unit["BM_PathSwrRange"]] <= 10e6)
  printf "| De-embedding 10,001 points through a 10-element path, in process | ≤ 300 ms | %s | %s |\n",
    duration(real["BM_PathDeembedSweep"], unit["BM_PathDeembedSweep"]), met(("BM_PathDeembedSweep" in real) && real["BM_PathDeembedSweep"] * scale[unit["BM_PathDeembedSweep"]] <= 300e6)
  printf "| Standing-wave peaks along 300 cables of 1000 m at 1000 MHz, in process | ≤ 500 ms | %s | %s |\n",
    duration(real["BM_LongPathPeaks"], unit["BM_LongPathPeaks"]), met(("BM_LongPathPeaks" in real) && real["BM_LongPathPeaks"] * scale[unit["BM_LongPathPeaks"]] <= 500e6)
  printf "| `ComputeTdr` of a 10,001-point sweep, loss taken out, in process | ≤ 100 ms | %s | %s |\n",
    duration(real["BM_TdrSweep"], unit["BM_TdrSweep"]), met(("BM_TdrSweep" in real) && real["BM_TdrSweep"] <= 100 && unit["BM_TdrSweep"] == "ms")
  for (v = 1; v <= 6; v++) {
    split("BM_SwrView/0 BM_SwrView/1 BM_ResistanceReactanceView/0 BM_ResistanceReactanceView/1 BM_SmithView/0 BM_SmithView/1", views, " ")
    split("swr swr rx rx smith smith", labels, " ")
    name = views[v]
    printf "| The %s view of a 10,001-point sweep%s, in process | ≤ 100 ms | %s | %s |\n", labels[v], v % 2 ? "" : ", as SVG",
      duration(real[name], unit[name]), met((name in real) && real[name] * scale[unit[name]] <= 100e6)
  }
  small = real["BM_LoadCatalog/10000"]; large = real["BM_LoadCatalog/100000"]
  printf "| `LoadCatalog` on 100,000 vs 10,000 records | time ratio ≤ 12 | %.1f | %s |\n",
    (small > 0 ? large / small : 0), met(small > 0 && large / small <= 12)
  if (subcommands != "")
    while ((getline line < subcommands) > 0) print line

  print ""
  print "| In-process benchmark | Time per call |"
  print "|---|---|"
  row("BM_ComputeLosses", "`ComputeLosses`")
  row("BM_LoadCatalog/115", "`LoadCatalog`, 115 records")
  row("BM_LoadCatalog/10000", "`LoadCatalog`, 10,000 records")
  row("BM_LoadCatalog/100000", "`LoadCatalog`, 100,000 records")
  row("BM_LoadShippedLengthCatalog/100000", "`LoadCatalog`, 100,000 records of the longest shipped line (51 MiB)")
  row("BM_FormatOutput/2048", "`FormatOutput`, 2 KiB of text")
  row("BM_FormatOutput/102400", "`FormatOutput`, 100 KiB of text")
  row("BM_SortList/40", "`SortList`, 40 types")
  row("BM_SortList/115", "`SortList`, 115 types")
  row("BM_CompareCommand", "`ferrolux compare`, 71 shipped cables: load, calculate, write (goal well under 20 ms)")
  row("BM_PlotCommand", "`ferrolux plot`, 8 shipped cables on an 80 x 24 chart")
  row("BM_PlotSvgCommand", "`ferrolux plot --svg`, 8 shipped cables")
  if (items["BM_PickListRedraw"] > 0)
    printf "| `PickList`, one redraw of the cable-type list on the screen model | %s |\n", duration(1e9 / items["BM_PickListRedraw"], "ns")
}

function row(name, label) {
  if (name in real) printf "| %s | %s |\n", label, duration(real[name], unit[name])
}
