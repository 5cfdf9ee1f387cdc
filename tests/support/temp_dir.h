#pragma once

// A fresh folder under the system temp folder, removed with everything in it at scope end.

#include <filesystem>
#include <random>
#include <string>

namespace karvex::test {

class TempDir
{
public:
    TempDir()
    {
        std::random_device device;
        const auto base = std::filesystem::temp_directory_path();
        do {
            m_path = base / ("karvex-test-" + std::to_string(device()));
        } while (std::filesystem::exists(m_path));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

} // namespace karvex::test
