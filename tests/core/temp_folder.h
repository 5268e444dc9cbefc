// A fresh folder per test for real files, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace quarzel::testing {

class TempFolder {
  public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name =
            std::string("quarzel-files-") + info->test_suite_name() + "-" + info->name();
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) || c == '-' ? c : '_';
        }
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The full path of `name` inside the folder, as a file dialog gives it (UTF-8).
    std::string file(const std::string& name) const {
        return (m_path / std::filesystem::u8path(name)).u8string();
    }

    // Every name in the folder, to see that nothing was left behind.
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.insert(entry.path().filename().u8string());
        }
        return names;
    }

  private:
    std::filesystem::path m_path;
};

// An empty folder `name` below the test program's temporary folder, made afresh, for tests
// that lay out a whole tree of files.
inline std::string freshFolder(const std::string& name) {
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / ("quarzel_grade_" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every byte from `from` to `to`, as a text.
inline std::string byteRange(int from, int to) {
    std::string bytes;
    for (int b = from; b <= to; ++b) {
        bytes += static_cast<char>(b);
    }
    return bytes;
}

}  // namespace quarzel::testing
