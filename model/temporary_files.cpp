#include "model/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <random>
#include <string_view>

namespace penwick {

namespace {

constexpr std::string_view kPrefix = ".penwick-";
constexpr std::string_view kSuffix = ".tmp";
constexpr size_t kRandomLength = 6;
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool isAlphabetByte(char c) {
    return kAlphabet.find(c) != std::string_view::npos;
}

}  // namespace

std::string newTemporaryName() {
    // Seeded once per thread from the system's randomness and the process,
    // so that processes started together draw different names.
    thread_local std::mt19937_64 random(std::random_device{}() ^ (uint64_t(::getpid()) << 32) ^
                                        uint64_t(std::time(nullptr)));
    std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
    std::string name(kPrefix);
    for (size_t i = 0; i < kRandomLength; ++i)
        name.push_back(kAlphabet[pick(random)]);
    name.append(kSuffix);
    return name;
}

bool isTemporaryName(const std::string& name) {
    if (name.size() != kPrefix.size() + kRandomLength + kSuffix.size()) return false;
    std::string_view view(name);
    if (!view.starts_with(kPrefix) || !view.ends_with(kSuffix)) return false;
    for (char c : view.substr(kPrefix.size(), kRandomLength))
        if (!isAlphabetByte(c)) return false;
    return true;
}

int32_t removeStaleTemporaries(const std::string& folder, std::chrono::seconds olderThan) {
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) return 0;
    const int fd = ::dirfd(listing);
    const time_t cutoff = std::time(nullptr) - time_t(olderThan.count());
    int32_t removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (!isTemporaryName(name)) continue;
        struct stat info {};
        if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
        if (info.st_mtime >= cutoff) continue;
        if (::unlinkat(fd, name.c_str(), 0) == 0) ++removed;
    }
    ::closedir(listing);
    return removed;
}

}  // namespace penwick
