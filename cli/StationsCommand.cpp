#include "cli/Commands.h"
#include "settings/LocationDatabase.h"
#include "settings/ProgramPath.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace nimbrel::cli {

namespace {

struct TStationsOptions {
    std::string Country;
    std::string DatabaseFolder;
};

std::string OneLine(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n")) {
        text.replace(at, 2, " ");
    }
    return text;
}

void ListCountries(std::ostream& out, const std::vector<TCountry>& countries) {
    for (const TCountry& country : countries) {
        out << country.Name << '\t' << country.TimeZoneOffset << '\t' << country.CountryKey << '\n';
    }
}

int ListStations(const std::string& folder, const std::vector<TCountry>& countries,
                 const std::string& text) {
    const std::vector<TCountry> matches = MatchCountries(countries, text);
    if (matches.empty()) {
        std::cerr << "nimbrel-cli: unknown country \"" << text
                  << "\"; 'nimbrel-cli stations' lists the countries\n";
        return 1;
    }
    if (matches.size() > 1) {
        std::cerr << "nimbrel-cli: \"" << text << "\" has several time zones; choose one of:\n";
        ListCountries(std::cerr, matches);
        return 1;
    }
    const TStationZones zones = ReadStationZones(folder);
    for (const TCity& city :
         ReadCities(folder + "/" + CitiesFileName, matches.front().CountryKey)) {
        const auto zone = zones.find(city.Code);
        std::cout << city.Code << '\t' << city.Name << '\t'
                  << (zone == zones.end() ? "" : zone->second) << '\n';
    }
    return 0;
}

int Run(const TStationsOptions& options) {
    const std::optional<std::string> folder = options.DatabaseFolder.empty()
                                                  ? FindDatabaseFolder(ExecutableFolder())
                                                  : FindDatabaseFolder(options.DatabaseFolder);
    if (!folder) {
        std::cerr << "nimbrel-cli: " << OneLine(DatabaseMissingMessage) << '\n';
        return 1;
    }
    const std::vector<TCountry> countries = ReadCountries(*folder + "/" + CountriesFileName);
    if (options.Country.empty()) {
        ListCountries(std::cout, countries);
        return 0;
    }
    return ListStations(*folder, countries, options.Country);
}

} // namespace

// Lets a user find a station code without the desktop program's location dialog.
void RegisterStationsCommand(CLI::App& app, int& exitCode) {
    CLI::App* sub = app.add_subcommand(
        "stations",
        "List the countries (name, offset, key) or the stations (code, name, time zone) of one");
    auto options = std::make_shared<TStationsOptions>();
    sub->add_option("COUNTRY", options->Country, "Country name or key, in any case");
    sub->add_option(
        "--database", options->DatabaseFolder,
        "Folder holding Countries.ini, Cities.ini and Zones.ini (default: beside the program)");
    sub->callback([options, &exitCode] { exitCode = Run(*options); });
}

} // namespace nimbrel::cli
