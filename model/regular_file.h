#pragma once

#include <cstdint>
#include <string>

namespace penwick {

// A file opened for reading only once it is known to be a regular file (a
// link is followed). A FIFO, a device, a socket or a folder is refused
// before it is opened in a way that could wait for a writer or touch a
// device, and checked once more on the open descriptor, in case the name
// was changed between.
struct RegularFile {
    int fd = -1;  // owned by whoever takes it; -1 when refused
    int64_t size = 0;
    // Why the file was refused, for a person ("it is a FIFO, not a file").
    std::string error;
};

RegularFile openRegularFile(const std::string& path);

// "a FIFO", "a folder", ...: what a file of this mode (st_mode) is, for
// messages; empty for a regular file.
std::string kindOfNonRegularFile(unsigned mode);

}  // namespace penwick
