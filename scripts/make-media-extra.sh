#!/usr/bin/env bash
# Extra test media for the engine and end-to-end tests, into the folder $1.
#
# "no-decoder avs2.avi": a 3 s AVI whose video stream is labelled AVS2 (fourcc AVS2), a codec
# FFmpeg knows by name but has no decoder for in this build. The bytes inside are MPEG-4 Part 2;
# only the label was changed, which is enough for the player's codec-missing path. The sound is
# a plain MP3 tone.
#
# "colour controls.mp4": 30 s, the left half grey 128, the right half the colour 0xA07050, no
# sound: brightness and contrast show on the grey, saturation and hue on the colour.
#
# "three colours 12s.mp4", "three colours 16s.mp4": 3 s red, then green, then 3 s blue, with a
# tone: a skipped intro and outro of 3 s each leave only the green. One key frame at the start, so
# that a play from 3 s decodes the whole intro before its first picture, as with most films.
set -euo pipefail
out=$1
mkdir -p "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
tmp=$(mktemp "$out/.avs2-XXXXXX.avi")
labelled=$(mktemp "$out/.avs2-XXXXXX.avi")
trap 'rm -f "$tmp" "$labelled"' EXIT
ff -f lavfi -i "color=c=0x1E5AC8:s=320x180:r=25:d=3" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=3" \
  -c:v mpeg4 -c:a libmp3lame -b:a 64k -shortest -f avi "$tmp"
# The fourcc appears in the stream header and in the bitmap header.
LC_ALL=C sed 's/FMP4/AVS2/g' "$tmp" > "$labelled"
chmod 644 "$labelled"
mv -f "$labelled" "$out/no-decoder avs2.avi"

ff -f lavfi -i "color=c=0x808080:s=320x360:r=25:d=30[a];color=c=0xA07050:s=320x360:r=25:d=30[b];[a][b]hstack" \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 25 "$out/colour controls.mp4"

three_colours() { # seconds
  local middle=$(($1 - 6))
  ff -f lavfi -i "color=c=0xC82828:s=640x360:r=25:d=3[r];color=c=0x28B428:s=640x360:r=25:d=$middle[g];color=c=0x2828C8:s=640x360:r=25:d=3[b];[r][g][b]concat=n=3:v=1:a=0" \
    -f lavfi -i "sine=frequency=550:sample_rate=44100:duration=$1" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 64k -shortest \
    "$out/three colours ${1}s.mp4"
}
three_colours 12
three_colours 16

# "list red.mp4", "list green.mp4", "list yellow.mp4": 4 s of one solid colour each, for the
# video list's play order: which clip plays shows on the screen. No sound: on a machine
# without an audio device mpv ends a file with sound as an error, not at its end.
list_clip() { # name colour
  ff -f lavfi -i "color=c=$2:s=640x360:r=25:d=4" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 25 "$out/list $1.mp4"
}
list_clip red 0xC82828
list_clip green 0x28B428
list_clip yellow 0xD8C020
