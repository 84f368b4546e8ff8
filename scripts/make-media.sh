#!/usr/bin/env bash
# Generates the demo playlist ("demo") or the test media ("tests") into a folder.
# Everything is synthetic: solid colours with a moving square, sine tones, text cues.
set -euo pipefail
kind=$1
out=$2
mkdir -p "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# A 10 s blue clip with a 440 Hz tone, and a second clip in orange.
clip() { # name colour seconds tone
  ff -f lavfi -i "color=c=$2:s=640x360:r=25:d=$3,drawbox=x='mod(t*80\,560)':y=140:w=80:h=80:color=white:t=fill" \
     -f lavfi -i "sine=frequency=$4:sample_rate=44100:duration=$3" \
     -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 96k -shortest "$1"
}
clip "$out/蓝色片段.mp4" 0x1E5AC8 10 440
clip "$out/orange clip.mp4" 0xE0801E 10 660
cat > "$out/蓝色片段.srt" <<'SRT'
1
00:00:00,500 --> 00:00:03,500
青岚播放器 字幕测试

2
00:00:04,000 --> 00:00:07,000
Second cue

3
00:00:07,500 --> 00:00:09,800
第三条字幕
SRT
ff -f lavfi -i "sine=frequency=523:sample_rate=44100:duration=10" -c:a libmp3lame -b:a 128k "$out/song.mp3"
cat > "$out/song.lrc" <<'LRC'
[ti:青岚]
[00:00.50]第一行歌词
[00:03.00]第二行歌词
[00:06.00]第三行歌词
LRC

if [ "$kind" = tests ]; then
  # Plain ASCII names for tests that do not care about the path, a Chinese folder for those that do.
  cp "$out/蓝色片段.mp4" "$out/clip.mp4"
  cp "$out/蓝色片段.srt" "$out/clip.srt"
  mkdir -p "$out/中文 目录"
  cp "$out/蓝色片段.mp4" "$out/中文 目录/青岚 测试.mp4"
  if [ -x "$(dirname "$0")/make-media-extra.sh" ]; then "$(dirname "$0")/make-media-extra.sh" "$out"; fi
fi
touch "$out/.stamp"
