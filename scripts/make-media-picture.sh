#!/usr/bin/env bash
# Test media for the picture modes and subtitles, into the folder $1. No sound in any clip: on
# a machine without an audio device mpv ends a file with sound as an error, not at its end.
#
# "3d white left.mp4", "3d white right.mp4": 60 s side by side, one half white and the other
# black. Through an anaglyph the white view shows in its eye's colour: the left eye's for the
# first clip, the right eye's for the second.
# "3d white top.mp4": the same as top and bottom, the top (left view) white.
#
# "equirect grid.mp4": 60 s of an equirectangular panorama 1024 x 512 in 8 columns of 45° of
# yaw and 4 rows of 45° of pitch. Column c (0 at yaw -180°) has red 32c+16, row r (0 at the
# top, pitch 90°) green 64r+32, blue is 128: the colour at the centre of a flat view tells which
# way it looks.
#
# "subtitle ground.mp4": 30 s of dark grey 0x202020 under the subtitles.
# "zh simplified utf8.srt" and its GB18030 copy "zh simplified gb18030.srt", "zh traditional
# utf8.srt" and its Big5 copy "zh traditional big5.srt": one line from 0.5 s to 28 s, then a
# few more lines, so that the encoding of the copies can be told from their text.
# "zh short gb18030.srt", "zh short big5.srt": the first line alone in GB18030 and in Big5, too
# short for mpv's own guess of the encoding.
# "second line.srt": an ASCII line at the same time, for the second subtitle.
set -euo pipefail
out=$1
mkdir -p "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
x264() { ff "$@" -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 50; }

x264 -f lavfi -i "color=white:s=320x360:r=10:d=60[a];color=black:s=320x360:r=10:d=60[b];[a][b]hstack" \
  "$out/3d white left.mp4"
x264 -f lavfi -i "color=black:s=320x360:r=10:d=60[a];color=white:s=320x360:r=10:d=60[b];[a][b]hstack" \
  "$out/3d white right.mp4"
x264 -f lavfi -i "color=white:s=640x180:r=10:d=60[a];color=black:s=640x180:r=10:d=60[b];[a][b]vstack" \
  "$out/3d white top.mp4"
x264 -f lavfi -i "nullsrc=s=1024x512:r=5:d=60,format=gbrp,geq=r='32*floor(X*8/W)+16':g='64*floor(Y*4/H)+32':b=128" \
  "$out/equirect grid.mp4"
x264 -f lavfi -i "color=c=0x202020:s=640x360:r=10:d=30" "$out/subtitle ground.mp4"

srt() { # first line, further lines...
  local first=$1
  shift
  printf '1\n00:00:00,500 --> 00:00:28,000\n%s\n\n' "$first"
  local n=2 s=28
  for line in "$@"; do
    printf '%d\n00:00:%02d,000 --> 00:00:%02d,900\n%s\n\n' "$n" "$s" "$s" "$line"
    n=$((n + 1))
    s=$((s + 1))
  done
}
srt "青岚播放器字幕测试" "这是一个用于检测文字编码的简体中文字幕文件。" \
  "播放器应当在没有任何设置的情况下正确显示中文。" >"$out/zh simplified utf8.srt"
iconv -f UTF-8 -t GB18030 "$out/zh simplified utf8.srt" >"$out/zh simplified gb18030.srt"
srt "青嵐播放器字幕測試" "這是一個用於檢測文字編碼的繁體中文字幕檔案。" \
  "播放器應當在沒有任何設定的情況下正確顯示中文。" >"$out/zh traditional utf8.srt"
iconv -f UTF-8 -t BIG5 "$out/zh traditional utf8.srt" >"$out/zh traditional big5.srt"
srt "青岚播放器字幕测试" | iconv -f UTF-8 -t GB18030 >"$out/zh short gb18030.srt"
srt "青嵐播放器字幕測試" | iconv -f UTF-8 -t BIG5 >"$out/zh short big5.srt"
srt "SECOND LINE" >"$out/second line.srt"
