#!/bin/sh
# Remakes the spoken-sound streams of the engine's tests (tests/dades/veu_*)
# with espeak-ng, stored as FLAC.
set -e
dest=$(cd "$(dirname "$0")/../tests/dades" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python3 "$(dirname "$0")/generar_veu.py" "$tmp"
python3 "$(dirname "$0")/generar_veu.py" --sessio "$tmp"
cat >"$tmp/flac.c" <<'C'
#include <sndfile.h>
#include <stdlib.h>
int main(int argc, char** argv) {
    SF_INFO in = {0};
    SNDFILE* a = sf_open(argv[1], SFM_READ, &in);
    SF_INFO out = in;
    out.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* b = sf_open(argv[2], SFM_WRITE, &out);
    if (!a || !b) return 1;
    short* m = malloc(sizeof(short) * in.frames);
    sf_readf_short(a, m, in.frames);
    sf_writef_short(b, m, in.frames);
    sf_close(a);
    return sf_close(b);
}
C
cc -o "$tmp/flac" "$tmp/flac.c" -lsndfile
for f in veu_entrenament veu_prova veu_sessio; do
    "$tmp/flac" "$tmp/$f.wav" "$dest/$f.flac"
    cp "$tmp/$f.txt" "$dest/$f.txt"
done
