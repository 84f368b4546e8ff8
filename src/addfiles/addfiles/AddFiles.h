#pragma once
// qinglan-addfiles: the player's add-files helper. Started by the player with the single
// argument "$DINE", it lets the user choose media files, appends their paths to means.edb in
// one batch and ends; the player notices the end and reloads its list. It works while the
// player holds means.edb open (the record database serialises the two connections).

#include <edb/Status.h>

#include <QString>

#include <filesystem>
#include <string>
#include <vector>

namespace qinglan::addfiles {

// The chooser's filter: the 17 media types, then every file.
QString chooserFilter();

// The list file the player of this installation uses (beside mote.edb).
std::filesystem::path listFile();

// Appends one record per path, in order, in one transaction; nothing for an empty choice.
edb::Status appendChosenFiles(const std::filesystem::path& listFile,
                              const std::vector<std::string>& paths);

} // namespace qinglan::addfiles
