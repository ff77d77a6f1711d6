#include "base/PictureCache.h"

#include "base/UserFolders.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace nimbrel {

namespace {

namespace fs = std::filesystem;

// A kept picture: this mark, its side as 4 bytes, then its pixels, all in this machine's byte
// order (the folder is this machine's).
constexpr std::array<char, 8> Mark = {'N', 'B', 'R', 'P', 'I', 'C', '0', '1'};
constexpr std::size_t HeaderBytes = Mark.size() + sizeof(std::int32_t);
constexpr const char* Extension = ".argb";

std::size_t PixelCount(int side) {
    return static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
}

// FNV-1a: a name, not a secret.
std::uint64_t NameHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    return hash;
}

constexpr const char* PartExtension = ".part";

bool HasExtension(const fs::directory_entry& entry, const char* extension) {
    std::error_code error;
    return entry.is_regular_file(error) && entry.path().extension() == extension;
}

} // namespace

fs::path DefaultPictureCacheFolder() {
#ifdef _WIN32
    const fs::path folder = WindowsFolder("LOCALAPPDATA");
    return folder.empty() ? fs::path() : folder / "Nimbrel" / "cache" / "pictures";
#else
    const fs::path folder = XdgFolder("XDG_CACHE_HOME", ".cache");
    return folder.empty() ? fs::path() : folder / "nimbrel" / "pictures";
#endif
}

fs::path TPictureCache::File(std::string_view source, int side) const {
    char name[48];
    std::snprintf(name, sizeof name, "%016llx-%d%s",
                  static_cast<unsigned long long>(NameHash(source)), side, Extension);
    return folder_ / name;
}

std::optional<std::vector<std::uint32_t>> TPictureCache::Read(std::string_view source,
                                                              int side) const {
    if (folder_.empty() || side <= 0 || side > MaxSide)
        return std::nullopt;
    const fs::path file = File(source, side);
    std::error_code error;
    if (fs::file_size(file, error) != HeaderBytes + PixelCount(side) * sizeof(std::uint32_t))
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    std::array<char, Mark.size()> mark{};
    std::int32_t keptSide = 0;
    in.read(mark.data(), static_cast<std::streamsize>(mark.size()));
    in.read(reinterpret_cast<char*>(&keptSide), sizeof keptSide);
    if (!in || mark != Mark || keptSide != side)
        return std::nullopt;
    std::vector<std::uint32_t> pixels(PixelCount(side));
    in.read(reinterpret_cast<char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size() * sizeof(std::uint32_t)));
    if (!in)
        return std::nullopt;
    return pixels;
}

void TPictureCache::MakeRoom() const {
    std::error_code error;
    std::size_t kept = 0;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error))
        kept += HasExtension(*it, Extension) ? 1 : 0;
    if (kept < MaxPictures)
        return;
    // Parts too: a copy of the program ended while writing may have left one behind.
    std::vector<fs::path> removed;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error))
        if (HasExtension(*it, Extension) || HasExtension(*it, PartExtension))
            removed.push_back(it->path());
    for (const fs::path& file : removed)
        fs::remove(file, error);
}

void TPictureCache::Keep(std::string_view source, int side,
                         std::span<const std::uint32_t> pixels) const {
    if (folder_.empty() || side <= 0 || side > MaxSide || pixels.size() != PixelCount(side))
        return;
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error)
        return;
    MakeRoom();
    const fs::path file = File(source, side);
    fs::path aside = file;
    aside += "." + std::to_string(std::random_device()()) + PartExtension;
    {
        std::ofstream out(aside, std::ios::binary | std::ios::trunc);
        const std::int32_t keptSide = side;
        out.write(Mark.data(), static_cast<std::streamsize>(Mark.size()));
        out.write(reinterpret_cast<const char*>(&keptSide), sizeof keptSide);
        out.write(reinterpret_cast<const char*>(pixels.data()),
                  static_cast<std::streamsize>(pixels.size_bytes()));
        out.close();
        if (!out) {
            fs::remove(aside, error);
            return;
        }
    }
    fs::rename(aside, file, error);
    if (error)
        fs::remove(aside, error);
}

} // namespace nimbrel
