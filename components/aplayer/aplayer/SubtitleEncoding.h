#pragma once
// The text encoding mpv is told for an external subtitle file (its sub-codepage). mpv guesses by
// itself with uchardet, which reads long GB18030 and Big5 files right but takes short ones, a
// line or two, for Latin text: a Chinese user's file then shows as accented letters. Where the
// player's own Chinese reading (the lyric reader's) is sure of GB18030 or Big5 and uchardet names
// no other East Asian encoding, that one is given; everything else is left to mpv ("auto").
#include <string>
#include <string_view>

namespace qinglan::aplayer {

// From the file's first bytes and uchardet's answer for them ("" when it had none).
std::string subtitleCodepage(std::string_view head, std::string_view uchardetGuess);

// The same for a file: its first 256 KiB are read; "auto" when it cannot be read.
std::string subtitleCodepageOfFile(const std::string& path);

} // namespace qinglan::aplayer
