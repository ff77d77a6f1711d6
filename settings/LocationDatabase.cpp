#include "settings/LocationDatabase.h"

#include "settings/IniFile.h"

#include <algorithm>
#include <filesystem>

namespace nimbrel {

namespace {

namespace fs = std::filesystem;

constexpr const char* CountriesSection = "Countries";

std::vector<fs::path> DatabaseFolderCandidates(const fs::path& executableFolder) {
#ifdef _WIN32
    return {executableFolder};
#else
    // An installed program keeps its data apart from its executable.
    return {executableFolder, (executableFolder / ".." / "share" / "nimbrel").lexically_normal()};
#endif
}

bool HoldsDatabase(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / CountriesFileName, error) &&
           fs::is_regular_file(folder / CitiesFileName, error);
}

void RunPendingEvents(const std::function<void()>& processPendingEvents) {
    if (processPendingEvents) {
        processPendingEvents();
    }
}

} // namespace

std::optional<std::string> FindDatabaseFolder(const std::string& executableFolder) {
    for (const fs::path& folder : DatabaseFolderCandidates(executableFolder)) {
        if (HoldsDatabase(folder)) {
            return folder.string();
        }
    }
    return std::nullopt;
}

std::vector<TCountry> ReadCountries(const std::string& countriesIniPath,
                                    const std::function<void()>& processPendingEvents) {
    std::vector<TCountry> countries;
    for (const auto& [key, value] :
         TIniFile::Load(countriesIniPath).ReadSection(CountriesSection)) {
        const auto separator = value.find(';');
        if (separator != std::string::npos && separator > 0 && separator + 1 < value.size()) {
            countries.push_back({key, value.substr(0, separator), value.substr(separator + 1)});
        }
        RunPendingEvents(processPendingEvents);
    }
    return countries;
}

std::vector<TCity> ReadCities(const std::string& citiesIniPath, const std::string& countryKey,
                              const std::function<void()>& processPendingEvents) {
    std::vector<TCity> cities;
    for (auto& [code, name] : TIniFile::Load(citiesIniPath).ReadSection(countryKey)) {
        cities.push_back({std::move(code), std::move(name)});
        RunPendingEvents(processPendingEvents);
    }
    return cities;
}

std::vector<TCountry> MatchCountries(const std::vector<TCountry>& countries,
                                     const std::string& text) {
    std::vector<TCountry> matches;
    for (const TCountry& country : countries) {
        if (EqualsIgnoringCase(country.Name, text) ||
            EqualsIgnoringCase(country.CountryKey, text)) {
            return {country};
        }
        const std::string zonePrefix = text + " (UTC";
        if (EqualsIgnoringCase(std::string_view(country.Name).substr(0, zonePrefix.size()),
                               zonePrefix)) {
            matches.push_back(country);
        }
    }
    return matches;
}

} // namespace nimbrel
