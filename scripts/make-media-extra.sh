#!/usr/bin/env bash
# Extra test media for the engine tests, into the folder $1.
#
# "no-decoder avs2.avi": a 3 s AVI whose video stream is labelled AVS2 (fourcc AVS2), a codec
# FFmpeg knows by name but has no decoder for in this build. The bytes inside are MPEG-4 Part 2;
# only the label was changed, which is enough for the player's codec-missing path. The sound is
# a plain MP3 tone.
set -euo pipefail
out=$1
mkdir -p "$out"
tmp=$(mktemp "$out/.avs2-XXXXXX.avi")
labelled=$(mktemp "$out/.avs2-XXXXXX.avi")
trap 'rm -f "$tmp" "$labelled"' EXIT
ffmpeg -nostdin -hide_banner -loglevel error -y \
  -f lavfi -i "color=c=0x1E5AC8:s=320x180:r=25:d=3" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=3" \
  -c:v mpeg4 -c:a libmp3lame -b:a 64k -shortest -f avi "$tmp"
# The fourcc appears in the stream header and in the bitmap header.
LC_ALL=C sed 's/FMP4/AVS2/g' "$tmp" > "$labelled"
chmod 644 "$labelled"
mv -f "$labelled" "$out/no-decoder avs2.avi"
