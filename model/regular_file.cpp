#include "model/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace penwick {

std::string kindOfNonRegularFile(unsigned mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return {};
        case S_IFDIR:
            return "a folder";
        case S_IFIFO:
            return "a FIFO";
        case S_IFCHR:
            return "a character device";
        case S_IFBLK:
            return "a block device";
        case S_IFSOCK:
            return "a socket";
        default:
            return "not a regular file";
    }
}

namespace {

RegularFile refused(const std::string& why) {
    RegularFile file;
    file.error = why;
    return file;
}

RegularFile refusedKind(unsigned mode) {
    return refused("it is " + kindOfNonRegularFile(mode) + ", not a file");
}

}  // namespace

RegularFile openRegularFile(const std::string& path) {
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0)
        return refused(std::string("the file could not be opened (") + std::strerror(errno) + ")");
    if (!S_ISREG(before.st_mode)) return refusedKind(before.st_mode);

    // Non-blocking, so that a FIFO put in its place meanwhile cannot hang us.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return refused(std::string("the file could not be opened (") + std::strerror(errno) + ")");
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        const unsigned mode = opened.st_mode;
        ::close(fd);
        return refusedKind(mode);
    }
    // Reads of a regular file never wait; the flag only matters for opening.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    RegularFile file;
    file.fd = fd;
    file.size = opened.st_size;
    return file;
}

}  // namespace penwick
