#!/usr/bin/env bash
# Draws the table method's Hc error against the meridian angle from the
# per-degree file that the sweep writes (sweep --per-degree FILE): the 99th
# percentile and the largest |table Hc - exact Hc| for each whole degree of t,
# both methods. Installs gnuplot (gnuplot-nox) when it is missing.
#
#   tools/sweep/plot.sh [DATA [PNG]]    defaults: docs/accuracy-per-degree.dat, docs/accuracy-hc.png
set -euo pipefail
cd "$(dirname "$0")/../.."

data=${1:-docs/accuracy-per-degree.dat}
png=${2:-docs/accuracy-hc.png}

if ! command -v gnuplot >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends gnuplot-nox
fi

# Columns: t, then median, 99th percentile and maximum for Q(x) (2-4) and
# QQ(x) (5-7), in minutes of arc. A logarithmic scale shows the calm bands and
# the growth towards t = 90 in one picture; zeros are left out.
gnuplot <<GNUPLOT
set terminal pngcairo size 960,560 font "Liberation Sans,11"
set output "$png"
set title "Table Hc minus exact Hc over every whole-degree sight, by meridian angle t"
set xlabel "meridian angle t as entered in the table (degrees, t over 90 folded to 180 - t)"
set ylabel "|table Hc - exact Hc| (minutes of arc)"
set logscale y
set yrange [0.01:100]
set xrange [0:90]
set xtics 10
set mxtics 2
set grid xtics ytics mytics
set key top left
plot "$data" using 1:(\$3 > 0 ? \$3 : 1/0) with lines lw 2 lc rgb "#1f77b4" title "Q(x), 99th percentile", \
     "$data" using 1:(\$6 > 0 ? \$6 : 1/0) with lines lw 2 lc rgb "#d62728" title "QQ(x), 99th percentile", \
     "$data" using 1:(\$4 > 0 ? \$4 : 1/0) with lines lw 1 dt 2 lc rgb "#1f77b4" title "Q(x), largest", \
     "$data" using 1:(\$7 > 0 ? \$7 : 1/0) with lines lw 1 dt 2 lc rgb "#d62728" title "QQ(x), largest", \
     "$data" using 1:(\$2 > 0 ? \$2 : 1/0) with lines lw 1 lc rgb "#7f7f7f" title "Q(x), median"
GNUPLOT
echo "wrote $png"
