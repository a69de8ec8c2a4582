#pragma once

#include <functional>
#include <string>

#include "model/byte_stream.h"
#include "model/save_file_system.h"

namespace penwick {

// Saving that never destroys the file it replaces.
//
// The content goes into a new temporary file in the target's folder; every
// write and the final close are checked, the file is flushed to the disk and
// only then renamed over the target, and the folder is flushed. On any failure
// the temporary file is removed, the previous file stays byte-identical and the
// result says why. No partial file is ever visible under the target's name.
//
// Only a regular file is replaced, or the regular file a link points to (the
// link stays); a device, a FIFO, a socket, a folder and a link to nothing
// are refused with the reason. After a save, the temporary files that killed
// saves left in the folder are removed (removeStaleTemporaries).

struct SaveResult {
    bool ok = false;
    // Why the save failed, as a sentence a person can read; empty on success.
    std::string error;
    explicit operator bool() const { return ok; }
};

// Writes the content into the stream it is given. Failed writes need not be
// checked: the stream remembers the first one and the save fails. Returning
// false abandons the save.
using SaveWriter = std::function<bool(ByteStream&)>;

SaveResult safeSave(const std::string& path, SaveCompression compression, const SaveWriter& writer);
SaveResult safeSave(const std::string& path, SaveCompression compression, const SaveWriter& writer,
                    SaveFileSystem& files);

}  // namespace penwick
