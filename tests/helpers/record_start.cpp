// A stand-in program for launch tests: it notes that it started, and in which folder.
#include <filesystem>
#include <fstream>

int main() {
    auto folder = std::filesystem::current_path().u8string();
    std::ofstream("started.txt", std::ios::binary) << std::string(folder.begin(), folder.end());
    return 0;
}
