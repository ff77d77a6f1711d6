// The station database is read from files beside the program that anything may have replaced:
// any text must give lists without a crash, and every listed country must be usable.
#include "settings/IniFile.h"
#include "settings/LocationDatabase.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const nimbrel::TIniFile database(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto countries = nimbrel::CountriesOf(database);
    std::size_t looked = 0;
    for (const nimbrel::TCountry& country : countries) {
        if (country.Name.empty() || country.TimeZoneOffset.empty() ||
            country.Name.find(';') != std::string::npos) {
            std::abort();
        }
        if (++looked <= 8) {
            nimbrel::CitiesOf(database, country.CountryKey);
            nimbrel::MatchCountries(countries, country.Name);
        }
    }
    return 0;
}
