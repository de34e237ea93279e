// SPDX-License-Identifier: MIT
#pragma once
#include <string>

namespace pelmoravan {

class TBinaryFile;

// Copies every byte of the open file, from its start, to the first free name of path.bak,
// path.bak1, path.bak2, ... in the folder of path (an earlier backup is never overwritten), and
// returns that name. The backup has the file's own permission bits (mode) less the user's
// umask and never writable by others. A backup that cannot be written in full is removed again
// and reported as EFileCreateError with the backup's name and the system's reason; a failed
// read of the file as EFileReadError.
std::string BackUpFile(TBinaryFile& file, const std::string& path, unsigned mode);

} // namespace pelmoravan
