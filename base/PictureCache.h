#pragma once
// Pictures drawn for the screen, kept as their pixels so that a later start reads them instead
// of drawing them again: for the desktop program, parsing an SVG and stroking its paths is most
// of the memory a start spends on pictures. A kept picture is named by what it was drawn from
// and its size, so a changed picture or another drawer never finds an old drawing; one that
// cannot be read whole counts as missing, to be drawn and kept again.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace nimbrel {

// $XDG_CACHE_HOME/nimbrel/pictures (~/.cache/nimbrel/, named as the history's folder), or
// %LOCALAPPDATA%\Nimbrel\cache\pictures on Windows. Empty when neither is known.
std::filesystem::path DefaultPictureCacheFolder();

class TPictureCache {
public:
    // Enough for every picture at the few sizes one desktop shows them at; a folder that holds
    // this many is emptied before the next is kept, so screens and fonts changed over the years
    // never pile pictures up.
    static constexpr std::size_t MaxPictures = 1000;
    // Larger pictures are drawn each time, never kept.
    static constexpr int MaxSide = 1024;

    // An empty folder keeps nothing.
    explicit TPictureCache(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // The pixels (side x side, premultiplied ARGB, row by row) kept for the picture drawn from
    // source, which names what it is drawn from and by what; nullopt when there are none.
    std::optional<std::vector<std::uint32_t>> Read(std::string_view source, int side) const;
    // Keeps them, replacing any file of that name in one step, so another copy of the program
    // never reads half a picture. Never throws: a folder that cannot be written only costs the
    // drawing at the next start.
    void Keep(std::string_view source, int side, std::span<const std::uint32_t> pixels) const;

private:
    std::filesystem::path File(std::string_view source, int side) const;
    void MakeRoom() const;

    std::filesystem::path folder_;
};

} // namespace nimbrel
