#pragma once
// The songs named on the command line: files as given, folders walked
// recursively in name order. Whether a file is a song is for loading to say.
#include <memory>
#include <string>
#include <vector>

#include "ym/ym_music.h"

// No playlist grows past this; the rest of a bigger folder is left out (with a line saying so).
const size_t MAX_PLAYLIST = 100000;

// The files of `paths` in play order. A path that is not a folder is kept as
// it is (loading reports what is wrong with it); problems found while walking
// folders (one that cannot be read, too many files) are added to `problems`
// as "PATH: reason".
std::vector<std::string> expandPaths(const std::vector<std::string>& paths, std::vector<std::string>* problems);

// Reads the file at `path` (at most YM_MAX_FILE_BYTES of it) and loads it as a
// song: the song, or null with the reason in `reason`.
std::unique_ptr<YmMusic> loadSongFile(const std::string& path, std::string* reason);
