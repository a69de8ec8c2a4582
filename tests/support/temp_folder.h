#pragma once
// Temporary folders and whole-file reading and writing for the tests.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything
// in it when the test ends.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

    // The names of everything in the folder, sorted.
    std::vector<std::string> names() const;

  private:
    std::filesystem::path path_;
};

// Everything a file holds (nothing when it cannot be read).
std::vector<unsigned char> readFileBytes(const std::string& path);
std::string readFileText(const std::string& path);
// Replaces the file's content.
void writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
void writeFileText(const std::string& path, std::string_view text);
