#include "model/file_stream.h"

namespace penwick {

bool FileStream::open(const char* path, const char* mode) {
    if (path == nullptr || *path == '\0') return false;
    close();
    file_ = std::fopen(path, mode);
    return file_ != nullptr;
}

bool FileStream::close() {
    if (file_ == nullptr) return true;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

int32_t FileStream::read(void* buffer, int32_t length) {
    if (file_ == nullptr || length <= 0) return 0;
    return static_cast<int32_t>(std::fread(buffer, 1, static_cast<size_t>(length), file_));
}

int32_t FileStream::write(const void* buffer, int32_t length) {
    if (file_ == nullptr || length <= 0) return 0;
    return static_cast<int32_t>(std::fwrite(buffer, 1, static_cast<size_t>(length), file_));
}

int64_t FileStream::fileSize() {
    if (file_ == nullptr) return 0;
    const long here = std::ftell(file_);
    if (here < 0 || std::fseek(file_, 0, SEEK_END) != 0) return 0;
    const long end = std::ftell(file_);
    std::fseek(file_, here, SEEK_SET);
    return end < 0 ? 0 : end;
}

}  // namespace penwick
