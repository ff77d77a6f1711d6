#!/usr/bin/python3
"""Builds resources/Countries.ini, Cities.ini and Zones.ini from Debian's packaged data.

Stations:   /usr/share/weather-util/stations.gz      (weather-util-data)
Countries:  /usr/share/iso-codes/json/iso_3166-1.json (iso-codes)
Time zones: /usr/share/zoneinfo/zone.tab and the tz database itself (tzdata)

A station's time zone is the zone of its country when the country has one; otherwise the
zone of its state when the state lies in one zone (United States), else the zone whose
reference point in zone.tab lies nearest to the station. A country that spans several standard
offsets becomes one entry per offset, e.g. "United States (UTC-5)". Zones.ini keeps each
station's zone by its code, apart from the two files whose format the picker reads.

Run from anywhere:  /usr/bin/python3 tools/make_station_database.py [OUTPUT_FOLDER]
"""

import datetime
import gzip
import json
import math
import os
import re
import sys
import zoneinfo

STATIONS = "/usr/share/weather-util/stations.gz"
ISO_3166 = "/usr/share/iso-codes/json/iso_3166-1.json"
ZONE_TAB = "/usr/share/zoneinfo/zone.tab"

# Country names the station list spells differently from ISO 3166.
NAME_ALIASES = {
    "United States of America": "US",
    "Russia": "RU",
    "Korea, South": "KR",
    "Korea, North": "KP",
    "South Korea": "KR",
    "North Korea": "KP",
    "Iran": "IR",
    "Syria": "SY",
    "Vietnam": "VN",
    "Viet Nam": "VN",
    "Laos": "LA",
    "Bolivia": "BO",
    "Venezuela": "VE",
    "Tanzania": "TZ",
    "Moldova": "MD",
    "Macedonia": "MK",
    "Czech Republic": "CZ",
    "Brunei": "BN",
    "Cape Verde": "CV",
    "Ivory Coast": "CI",
    "Cote d'Ivoire": "CI",
    "Swaziland": "SZ",
    "Burma": "MM",
    "Myanmar": "MM",
    "Taiwan": "TW",
    "Micronesia": "FM",
    "Federated States of Micronesia": "FM",
    "Turkey": "TR",
    "Congo": "CG",
    "Democratic Republic of the Congo": "CD",
    "Congo, Democratic Republic of the": "CD",
    "Zaire": "CD",
    "The Gambia": "GM",
    "Gambia": "GM",
    "Bahamas": "BS",
    "Bahamas, The": "BS",
    "Falkland Islands": "FK",
    "Virgin Islands": "VI",
    "British Virgin Islands": "VG",
    "Netherlands Antilles": "CW",
    "Reunion": "RE",
    "Russian Federation": "RU",
    "Libya": "LY",
    "Palestine": "PS",
    "Vatican City": "VA",
    "St. Lucia": "LC",
    "St. Vincent and the Grenadines": "VC",
    "St. Kitts and Nevis": "KN",
    "St. Helena": "SH",
    "St. Pierre and Miquelon": "PM",
    "Wallis and Futuna": "WF",
    "Wallis and Futuna Islands": "WF",
    "Guinea-Bissau": "GW",
    "Kyrgyzstan": "KG",
    "Sao Tome and Principe": "ST",
    "Timor-Leste": "TL",
    "East Timor": "TL",
    "Curacao": "CW",
    "Serbia and Montenegro": "RS",
    "Yugoslavia": "RS",
    "Trinidad and Tobago": "TT",
    "Antigua and Barbuda": "AG",
    "Bosnia and Herzegovina": "BA",
    "Heard and McDonald Islands": "HM",
    "Congo, Republic Of The": "CG",
    "Macedonia, The Republic Of": "MK",
    "Falkland Islands, Islas Malvinas": "FK",
    "Micronesia, Federated States Of": "FM",
    "Macau": "MO",
    "South Georgia And The Islands": "GS",
    "Saint Helena": "SH",
    "Kosovo": "XK",
}

# Not in ISO 3166 but used by the station list.
EXTRA_COUNTRIES = {"XK": ("Kosovo", "Europe/Belgrade")}

# Shorter display names where ISO 3166 has none of its own.
DISPLAY_NAMES = {
    "GB": "United Kingdom",
    "US": "United States",
    "RU": "Russia",
    "KR": "South Korea",
    "KP": "North Korea",
    "FM": "Micronesia",
    "MD": "Moldova",
    "CD": "Congo (Democratic Republic)",
    "CG": "Congo",
    "VA": "Vatican City",
    "LA": "Laos",
    "SY": "Syria",
    "VN": "Vietnam",
    "TZ": "Tanzania",
    "PS": "Palestine",
}

# States of the United States that lie in one time zone (their standard zone's tz name).
US_STATE_ZONES = {
    "AL": "America/Chicago", "AR": "America/Chicago", "AZ": "America/Phoenix",
    "CA": "America/Los_Angeles", "CO": "America/Denver", "CT": "America/New_York",
    "DC": "America/New_York", "DE": "America/New_York", "GA": "America/New_York",
    "HI": "Pacific/Honolulu", "IL": "America/Chicago", "IA": "America/Chicago",
    "LA": "America/Chicago", "ME": "America/New_York", "MD": "America/New_York",
    "MA": "America/New_York", "MN": "America/Chicago", "MS": "America/Chicago",
    "MO": "America/Chicago", "MT": "America/Denver", "NV": "America/Los_Angeles",
    "NH": "America/New_York", "NJ": "America/New_York", "NM": "America/Denver",
    "NY": "America/New_York", "NC": "America/New_York", "OH": "America/New_York",
    "OK": "America/Chicago", "PA": "America/New_York", "RI": "America/New_York",
    "SC": "America/New_York", "UT": "America/Denver", "VT": "America/New_York",
    "VA": "America/New_York", "WA": "America/Los_Angeles", "WV": "America/New_York",
    "WI": "America/Chicago", "WY": "America/Denver", "PR": "America/Puerto_Rico",
    "VI": "America/St_Thomas", "GU": "Pacific/Guam",
}

EASTERN, CENTRAL, MOUNTAIN, PACIFIC = (
    "America/New_York", "America/Chicago", "America/Denver", "America/Los_Angeles")

# States and provinces split between two zones: (zone, test of (lat, lon) for the other zone,
# the other zone). The lines are rough, near the boundary a station may land one hour off.
SPLIT_REGIONS = {
    ("US", "TN"): (CENTRAL, lambda lat, lon: lon > -85.25, EASTERN),
    ("US", "KY"): (EASTERN, lambda lat, lon: lon < -86.0, CENTRAL),
    ("US", "IN"): (EASTERN, lambda lat, lon: lon < -87.0, CENTRAL),
    ("US", "FL"): (EASTERN, lambda lat, lon: lon < -85.0, CENTRAL),
    ("US", "MI"): (EASTERN, lambda lat, lon: lat > 45.5 and lon < -87.4, CENTRAL),
    ("US", "TX"): (CENTRAL, lambda lat, lon: lon < -104.9, MOUNTAIN),
    ("US", "KS"): (CENTRAL, lambda lat, lon: lon < -101.5, MOUNTAIN),
    ("US", "NE"): (CENTRAL, lambda lat, lon: lon < -101.4, MOUNTAIN),
    ("US", "SD"): (CENTRAL, lambda lat, lon: lon < -100.5, MOUNTAIN),
    ("US", "ND"): (CENTRAL, lambda lat, lon: lon < -101.0 and lat < 47.5, MOUNTAIN),
    ("US", "OR"): (PACIFIC, lambda lat, lon: lon > -117.3, MOUNTAIN),
    ("US", "ID"): (MOUNTAIN, lambda lat, lon: lat > 45.5, PACIFIC),
    ("US", "AK"): ("America/Anchorage", lambda lat, lon: lon < -169.5, "America/Adak"),
    ("CA", "ON"): (EASTERN, lambda lat, lon: lon < -90.0, CENTRAL),
    ("CA", "BC"): ("America/Vancouver", lambda lat, lon: lon > -118.0 and lat < 50.5,
                   "America/Edmonton"),
}

# Provinces of Canada that lie in one zone.
CA_PROVINCE_ZONES = {
    "AB": "America/Edmonton", "SK": "America/Regina", "MB": "America/Winnipeg",
    "NB": "America/Moncton", "NS": "America/Halifax", "PE": "America/Halifax",
    "PEI": "America/Halifax", "YT": "America/Whitehorse",
}

STATION_CODE = re.compile(r"^[A-Z][A-Z0-9]{3}$")
REGION_CODE = re.compile(r"^[A-Z0-9]{1,3}$")


def read_stations():
    """(code, description, (lat, lon) in degrees or None) for every station in the list."""
    stations, code, fields = [], None, {}
    with gzip.open(STATIONS, "rt", encoding="utf-8") as lines:
        for line in list(lines) + ["[end]"]:
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                if code:
                    stations.append((code, fields.get("description", ""), fields.get("location")))
                code, fields = line[1:-1].upper(), {}
            elif " = " in line:
                key, value = line.split(" = ", 1)
                fields[key] = value
    return [(code, description, parse_location(location)) for code, description, location in stations]


def parse_location(text):
    match = re.match(r"^\(([-0-9.]+), ([-0-9.]+)\)$", text or "")
    if not match:
        return None
    return math.degrees(float(match.group(1))), math.degrees(float(match.group(2)))


def read_countries():
    """ISO code -> display name, and every spelling -> ISO code."""
    with open(ISO_3166, encoding="utf-8") as file:
        entries = json.load(file)["3166-1"]
    names = {code: name for code, (name, _) in EXTRA_COUNTRIES.items()}
    codes = {alias.casefold(): code for alias, code in NAME_ALIASES.items()}
    for entry in entries:
        code = entry["alpha_2"]
        names[code] = DISPLAY_NAMES.get(code, entry.get("common_name", entry["name"]))
        for key in ("name", "common_name", "official_name"):
            if key in entry:
                codes.setdefault(entry[key].casefold(), code)
    return names, codes


def read_zone_table():
    """ISO code -> [(tz name, (lat, lon))] from zone.tab."""
    zones = {}
    with open(ZONE_TAB, encoding="utf-8") as file:
        for line in file:
            if line.startswith("#") or not line.strip():
                continue
            country, coordinates, name = line.rstrip("\n").split("\t")[:3]
            zones.setdefault(country, []).append((name, parse_iso6709(coordinates)))
    for country, (_, zone) in EXTRA_COUNTRIES.items():
        zones.setdefault(country, [(zone, None)])
    return zones


def parse_iso6709(text):
    match = re.match(r"^([+-]\d+)([+-]\d+)$", text)
    return iso6709_degrees(match.group(1)), iso6709_degrees(match.group(2))


def iso6709_degrees(part):
    sign, digits = (-1 if part[0] == "-" else 1), part[1:]
    degree_digits = 2 if len(digits) in (4, 6) else 3
    degrees = int(digits[:degree_digits])
    minutes = int(digits[degree_digits:degree_digits + 2])
    seconds = int(digits[degree_digits + 2:] or 0)
    return sign * (degrees + minutes / 60 + seconds / 3600)


def distance(a, b):
    lat1, lon1, lat2, lon2 = map(math.radians, (*a, *b))
    return math.acos(max(-1.0, min(1.0, math.sin(lat1) * math.sin(lat2) +
                                   math.cos(lat1) * math.cos(lat2) * math.cos(lon1 - lon2))))


def standard_offset_hours(zone_name):
    """The zone's standard (winter) offset in whole hours, rounded down; wrapped into -12..12."""
    zone = zoneinfo.ZoneInfo(zone_name)
    offsets = [datetime.datetime(2023, month, 15, 12, tzinfo=zone).utcoffset() for month in (1, 7)]
    hours = int(min(offsets).total_seconds() // 3600)
    # +13 and +14 give the same hour of day as -11 and -10, and the slots hold only -12..12.
    return hours - 24 if hours > 12 else hours


def split_description(description, codes):
    """(station name, ISO code, state code or None) or None when the country is unknown."""
    parts = [part.strip() for part in description.split(",")]
    if len(parts) >= 2 and re.match(r"^[A-Z]{2}$", parts[-1]):
        state = parts[-2] if len(parts) >= 3 and REGION_CODE.match(parts[-2]) else None
        name_parts = parts[:-2] if state else parts[:-1]
        return ", ".join(name_parts), parts[-1], state
    for tail in (3, 2, 1):
        country = ", ".join(parts[-tail:]).casefold()
        if len(parts) > tail and country in codes:
            rest = parts[:-tail]
            state = rest[-1] if len(rest) >= 2 and REGION_CODE.match(rest[-1]) else None
            return ", ".join(rest[:-1] if state else rest), codes[country], state
    return None


def station_zone(country, state, location, zone_table):
    candidates = zone_table.get(country, [])
    if len(candidates) == 1:
        return candidates[0][0]
    if country == "US" and state in US_STATE_ZONES:
        return US_STATE_ZONES[state]
    if country == "CA" and state in CA_PROVINCE_ZONES:
        return CA_PROVINCE_ZONES[state]
    if (country, state) in SPLIT_REGIONS and location is not None:
        usual, other_if, other = SPLIT_REGIONS[(country, state)]
        return other if other_if(*location) else usual
    if not candidates or location is None:
        return None
    return min(candidates, key=lambda zone: distance(location, zone[1]))[0]


def offset_text(hours):
    return ("+" if hours >= 0 else "-") + str(abs(hours))


def build(output_folder):
    names, codes = read_countries()
    zone_table = read_zone_table()
    groups, skipped = {}, []
    for code, description, location in read_stations():
        split = split_description(description, codes) if STATION_CODE.match(code) else None
        if not split or not split[0] or description.startswith("unknown station"):
            skipped.append((code, description))
            continue
        name, country, state = split
        zone = station_zone(country, state, location, zone_table) if country in names else None
        if zone is None:
            skipped.append((code, description))
            continue
        groups.setdefault(country, {}).setdefault(standard_offset_hours(zone), []).append(
            (code, name, zone))

    country_lines, city_sections, zone_lines = [], [], []
    entries = []
    for country, by_offset in groups.items():
        for hours, stations in by_offset.items():
            several = len(by_offset) > 1
            display = names[country] + (f" (UTC{offset_text(hours)})" if several else "")
            key = country + (offset_text(hours) if several else "")
            entries.append((display.casefold(), display, key, hours, stations))
    for _, display, key, hours, stations in sorted(entries):
        assert ";" not in display and "\n" not in display
        country_lines.append(f"{key}={display};{hours}")
        section = [f"[{key}]"]
        for code, name, zone in sorted(stations, key=lambda station: (station[1].casefold(), station[0])):
            section.append(f"{code}={' '.join(name.split())}")
            zone_lines.append(f"{code}={zone}")
        city_sections.append("\n".join(section))

    header = ("; Generated by tools/make_station_database.py; see resources/STATIONS.md.\n"
              "; Do not edit by hand: run the generator again.\n")
    with open(os.path.join(output_folder, "Countries.ini"), "w", encoding="utf-8", newline="\n") as f:
        f.write(header + "[Countries]\n" + "\n".join(country_lines) + "\n")
    with open(os.path.join(output_folder, "Cities.ini"), "w", encoding="utf-8", newline="\n") as f:
        f.write(header + "\n\n".join(city_sections) + "\n")
    with open(os.path.join(output_folder, "Zones.ini"), "w", encoding="utf-8", newline="\n") as f:
        f.write(header + "[Zones]\n" + "\n".join(zone_lines) + "\n")
    station_count = sum(len(e[4]) for e in entries)
    print(f"{len(groups)} countries, {len(entries)} country entries, {station_count} stations, "
          f"{len(skipped)} skipped", file=sys.stderr)
    return skipped


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    for code, description in build(folder):
        if os.environ.get("NIMBREL_VERBOSE"):
            print(f"skipped {code}: {description}", file=sys.stderr)
