// A fresh temporary folder per test case, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>
#include <string_view>

namespace scribvane::testing {

class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "scribvane-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    // Writes bytes to a file in the folder and gives its path.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const {
        return WriteFile(path_ / name, bytes);
    }

    // Writes bytes to any file, replacing what it held, and gives its path.
    static std::filesystem::path WriteFile(const std::filesystem::path& file,
                                           std::string_view bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path path_;
};

} // namespace scribvane::testing
