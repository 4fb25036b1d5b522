#!/bin/bash
# Peak memory of valmo-cli on hostile inputs, against the bound of 4 bytes per input
# byte plus 64 MB. Usage: bench/hostile/probe-memory.sh [BUILD_DIR]   (default: build)
# Prints one line per input: input size, peak resident memory, the bound, processor seconds.
set -u
build=$(cd "${1:-build}" && pwd)
cli="$build/cli/valmo-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2

MB=$((1024 * 1024))
head -c $((64 * MB)) /dev/zero | tr '\0' ';' > separators.csv
head -c $((70 * MB)) /dev/zero | tr '\0' '\n' > blank-lines.txt
# Many tiny fields: a field per two bytes, a finding on every line.
{
    echo 'Betalarnummer;Belopp;Betalningsdatum'
    yes '1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1' | head -c $((32 * MB))
} > tiny-fields.csv
# Empty fields: a field per byte.
{
    echo 'Betalarnummer;Belopp;Betalningsdatum'
    yes "1$(printf ';%.0s' $(seq 200))" | head -c $((32 * MB))
} > empty-fields.csv
{
    printf '{"service": "'
    head -c $((100 * MB)) /dev/zero | tr '\0' 'x'
    printf '", "BtuList": [], "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": []}'
} > long-service.json

# measure NAME INPUT COMMAND...: runs the command under GNU time and prints its figures.
measure() {
    local name=$1 input=$2
    shift 2
    local bytes
    bytes=$(stat -c %s "$input")
    /usr/bin/time -f '%M %U %S' -o time.txt "$@" > out.txt 2> err.txt
    read -r peakKb user system < <(tail -n 1 time.txt)
    local peakMb=$((peakKb / 1024)) limitMb=$((4 * bytes / MB + 64))
    local verdict=within
    [ "$peakMb" -gt "$limitMb" ] && verdict=OVER
    printf '%-42s input %4d MB  peak %5d MB  bound %4d MB  %-6s cpu %5.1f s  stderr %d bytes\n' \
        "$name" $((bytes / MB)) "$peakMb" "$limitMb" "$verdict" "$(echo "$user + $system" | bc)" \
        "$(stat -c %s err.txt)"
}

measure "import: one 64 MB line of separators" separators.csv "$cli" import separators.csv --service Privat
measure "import: 32 MB of tiny fields" tiny-fields.csv "$cli" import tiny-fields.csv --service Privat
measure "import: 32 MB of empty fields" empty-fields.csv "$cli" import empty-fields.csv --service Privat
measure "report: 70 MB of blank lines" blank-lines.txt "$cli" report blank-lines.txt
measure "write: a 100 MB string in service" long-service.json \
    "$cli" write long-service.json -o out.ag --customer 1 --bankgiro 5050-1055
# The editor's figure for a 200 MB file of one line comes from build/bench/HostileOpenBench, which
# answers the editor's message as a user would and shows the file in the viewer.
