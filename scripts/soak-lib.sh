# SPDX-License-Identifier: MIT
# Shared by the soak scripts (sourced): sampling a process's resident memory
# and open descriptors, and plotting the samples.

# "RSS_KB FDS" of a running process.
sample_process() {
    local pid=$1 rss fds
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    fds=$(ls "/proc/$pid/fd" 2>/dev/null | wc -l)
    echo "${rss:-0} $fds"
}

# Prints the first and the last sample, and the largest memory seen after the
# first WARMUP seconds, of a samples file ("seconds rss fds ..." per line).
summarise_samples() {
    local file=$1 warmup=$2
    awk -v warmup="$warmup" '
        /^#/ { next }
        NR > 0 && first == "" { first = $0 }
        { last = $0; if ($1 >= warmup) { for (i = 2; i <= NF; i++) if ($i > max[i]) max[i] = $i;
                                         if (w == "") w = $0 } }
        END { print "first sample:        " first; print "first after warm-up: " w;
              print "last sample:         " last;
              s = "largest after warm-up:"; for (i = 2; i <= NF; i++) s = s " " max[i]; print s }' "$file"
}

# Plots resident memory (MB) against minutes for columns COLUMN:TITLE ... of a samples file.
plot_samples() {
    local file=$1 png=$2 title=$3
    shift 3
    if ! command -v gnuplot >/dev/null; then
        echo "soak: gnuplot is missing; no plot made (apt-get install gnuplot-nox)" >&2
        return 0
    fi
    local plots="" plot column name
    for plot in "$@"; do
        column=${plot%%:*}
        name=${plot#*:}
        plots+="${plots:+, }'$file' using (\$1/60):(\$$column/1024) with lines lw 2 title '$name'"
    done
    gnuplot <<GNUPLOT
set terminal pngcairo size 900,450 noenhanced font "DejaVu Sans,10"
set output '$png'
set title '$title'
set xlabel 'minutes'
set ylabel 'resident memory (MB)'
set yrange [0:*]
set grid
set key bottom right
plot $plots
GNUPLOT
}
