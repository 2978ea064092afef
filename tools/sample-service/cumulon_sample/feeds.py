"""The six feed documents, in the shapes of the weather service's feeds.

Each builder takes the registry, the place and the present time and returns
(body text, last-modified time).  The texts are what the program's display
routines search for: the exact start tags, attribute order and value shapes.
Everything is deterministic for a given place and time.
"""

import datetime
import math
import re

import weather_tables as wt

from . import geography, locations, noise, weather

UTC = datetime.timezone.utc
_DAYS = ["Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"]


class UnknownLocation(Exception):
    """The code names no station, gauge or zone the service knows."""


def _text(value):
    """Display text inside an element: no markup characters, no ampersands."""
    return str(value).replace("&", "and").replace("<", "(").replace(">", ")")


def _attr(value):
    return _text(value).replace('"', "'")


def _iso(when, offset_hours):
    local = when.astimezone(datetime.timezone(datetime.timedelta(hours=offset_hours)))
    return local.strftime("%Y-%m-%dT%H:%M:%S") + "%+03d:00" % offset_hours


def _rfc822(when, offset_hours):
    local = when.astimezone(datetime.timezone(datetime.timedelta(hours=offset_hours)))
    sign = "-" if offset_hours < 0 else "+"
    return local.strftime("%a, %d %b %Y %H:%M:%S ") + "%s%02d00" % (sign, abs(offset_hours))


def _local(when, offset_hours):
    return when.astimezone(datetime.timezone(datetime.timedelta(hours=offset_hours)))


def _clock(local):
    hour = local.hour % 12 or 12
    return "%d:%02d %s" % (hour, local.minute, "AM" if local.hour < 12 else "PM")


def _round_to(value, step):
    return int(step * round(value / step))


def _parse_coordinate(text, limit):
    try:
        value = float(text)
    except (TypeError, ValueError):
        return None
    return value if -limit <= value <= limit and math.isfinite(value) else None


def _place(registry, lat_text, lon_text):
    """(lat, lon, town, state, miles, compass, zone offset, zone letters) of a forecast point,
    or None for a point the weather service does not forecast."""
    lat, lon = _parse_coordinate(lat_text, 90), _parse_coordinate(lon_text, 180)
    if lat is None or lon is None:
        return None
    town, state, miles, direction = registry.point_name(lat, lon)
    if not town or miles > 120:
        return None
    return lat, lon, town, state, miles, direction


# ---------------------------------------------------------------- point forecast

def _wind_phrase(direction, speed, gust):
    if speed < 5:
        return "Light and variable wind."
    low = max(0, _round_to(speed - 3, 5))
    high = _round_to(speed + 3, 5)
    words = locations.compass_words(direction).lower().capitalize()
    text = ("%s wind around %d mph" % (words, high)) if low >= high else (
        "%s wind %d to %d mph" % (words, low, high))
    if gust >= 20:
        text += ", with gusts as high as %d mph" % _round_to(gust, 5)
    return text + "."


def _chance_words(chance):
    if chance < 0.25:
        return "A slight chance of"
    if chance < 0.55:
        return "A chance of"
    return None


def _period_text(summary, night):
    temps, chance, sky, wind, direction, gust, snow, thunder = summary
    sentences = []
    pop = _round_to(chance * 100, 10)
    kind = "snow" if snow else ("showers and thunderstorms" if thunder else "rain")
    if pop >= 20:
        words = _chance_words(chance)
        if words:
            sentences.append("%s %s." % (words, kind))
        elif pop < 80:
            sentences.append("%s likely." % kind.capitalize())
        else:
            sentences.append("%s." % kind.capitalize())
    sky_text = weather.sky_words(sky, night)
    if night:
        sentences.append("%s, with a low around %d." % (sky_text, round(min(temps))))
    else:
        sentences.append("%s, with a high near %d." % (sky_text, round(max(temps))))
    sentences.append(_wind_phrase(direction, wind, gust))
    if pop >= 20:
        sentences.append("Chance of precipitation is %d%%." % pop)
        if snow and pop >= 50:
            sentences.append("New snow accumulation of %s possible."
                             % ("1 to 3 inches" if pop >= 80 else "less than one inch"))
    return " ".join(sentences)


def forecast_periods(local_now):
    """(name, start, hours, is night) of the 14 periods from 'local_now' on."""
    periods = []
    day_start = local_now.replace(hour=6, minute=0, second=0, microsecond=0)
    if local_now.hour < 6:
        periods.append(("Overnight", local_now, 6 - local_now.hour, True))
        next_start = day_start
    elif local_now.hour < 18:
        name = "Today" if local_now.hour < 12 else "This Afternoon"
        periods.append((name, local_now, 18 - local_now.hour, False))
        periods.append(("Tonight", day_start.replace(hour=18), 12, True))
        next_start = day_start + datetime.timedelta(days=1)
    else:
        periods.append(("Tonight", local_now, 30 - local_now.hour, True))
        next_start = day_start + datetime.timedelta(days=1)
    while len(periods) < 14:
        day = _DAYS[next_start.weekday()]
        periods.append((day, next_start, 12, False))
        if len(periods) < 14:
            periods.append((day + " Night", next_start + datetime.timedelta(hours=12), 12, True))
        next_start += datetime.timedelta(days=1)
    return periods


def point_forecast(registry, lat_text, lon_text, now):
    """The text point forecast (FcstType=xml) for a latitude and longitude."""
    created = weather.floor_time(now, 60)
    place = _place(registry, lat_text, lon_text)
    if place is None:
        return (_error_page("Point Forecast", "Sorry, the location you requested is not "
                            "within the forecast area of the National Weather Service."), created)
    lat, lon, town, state, _, _ = place
    offset, zone = locations.local_zone(state, lon, created)
    height = geography.elevation(lat, lon)
    local_now = _local(created, offset)
    lines = ['<?xml version="1.0" encoding="ISO-8859-1"?>',
             '<Forecast location="%s %s" latitude="%.2f" longitude="%.2f" elevation="%d ft" '
             'timezone="%s" source="National Weather Service">'
             % (_attr(town), state, lat, lon, round(height), zone),
             "<creationTime>%s %s %s</creationTime>"
             % (local_now.strftime("%a, %b %d, %Y").replace(" 0", " "), _clock(local_now), zone),
             "<moreInformation>http://weather.gov</moreInformation>"]
    for name, start, hours, night in forecast_periods(local_now):
        summary = weather.period_summary(lat, lon, start.astimezone(UTC), max(2, hours), height)
        lines.append("<period><valid>%s</valid><text>%s</text></period>"
                     % (name, _text(_period_text(summary, night))))
    lines.append("</Forecast>")
    return "\r\n".join(lines) + "\r\n", created


def _error_page(title, message):
    return ("<!DOCTYPE html>\r\n<html><head><title>%s</title></head>\r\n"
            "<body><h1>%s</h1><p>%s</p></body></html>\r\n" % (title, title, message))


# ---------------------------------------------------------------- hourly forecast

HOURS = 72


def _weather_values(c, chance):
    """The <value .../> items of one hour's weather conditions."""
    if chance < 0.2 and c.visibility_mi >= 7:
        return []
    if chance < 0.2:
        return [("fog", "areas", "none")]
    coverage = ("slight chance" if chance < 0.25 else "chance" if chance < 0.55
                else "likely" if chance < 0.8 else "definitely")
    intensity = "light" if c.rain < 0.3 else "moderate" if c.rain < 0.7 else "heavy"
    values = []
    if c.temp_f > 60 and c.storm_value > weather.RAIN_THRESHOLD + 0.05:
        values.append(("thunderstorms", coverage, "none"))
    kind = "snow showers" if c.temp_f <= 33 else "rain showers"
    values.append((kind, coverage, intensity if chance >= 0.55 else "light"))
    return values


# Variants of the hourly document a reader must survive, chosen with the
# address's "variant=" (the weather service itself has no such option).
HOURLY_VARIANTS = ("coverage-first", "city-only", "empty-values", "boundary-directions")
BOUNDARY_DIRECTIONS = (22.5, 67.5, 112.5, 157.5, 202.5, 247.5, 292.5, 337.5, 230.0, 350)


def hourly_forecast(registry, lat_text, lon_text, now, variant=""):
    """The hourly forecast in the Digital Weather Markup Language (digitalDWML).
    Variants: "coverage-first" writes each weather value's coverage before its
    type (as the weather service's own feed does); "city-only" has no area
    description; "empty-values" leaves every third dew point empty, writes
    "<value/>" for every third humidity and has gusts for the first 10 hours only;
    "boundary-directions" cycles the wind directions through the compass sector
    boundaries, 230.0 and 350."""
    created = weather.floor_time(now, 60)
    place = _place(registry, lat_text, lon_text)
    if place is None:
        return _error_page("Hourly Forecast", "Point outside the forecast area."), created
    lat, lon, town, state, miles, direction = place
    offset, _ = locations.local_zone(state, lon, created)
    height = geography.elevation(lat, lon)
    layout = "k-p1h-n%d-1" % HOURS
    starts = [created + datetime.timedelta(hours=h + 1) for h in range(HOURS)]
    hours = [weather.conditions(lat, lon, when, height) for when in starts]
    chances = [weather.rain_chance(c.storm_value) for c in hours]
    area = ("%d Miles %s %s %s" % (round(miles), direction, town, state)) if miles >= 1.5 else (
        "%s %s" % (town, state))

    out = ['<?xml version="1.0" encoding="ISO-8859-1"?>',
           '<dwml version="1.0" xmlns:xsd="http://www.w3.org/2001/XMLSchema" '
           'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" '
           'xsi:noNamespaceSchemaLocation='
           '"http://graphical.weather.gov/xml/DWMLgen/schema/DWML.xsd">',
           "<head>",
           '<product srsName="WGS 1984" concise-name="time-series" operational-mode="operational">',
           "<title>NOAA's National Weather Service Forecast Data</title>",
           "<field>meteorological</field>", "<category>forecast</category>",
           '<creation-date refresh-frequency="PT1H">%s</creation-date>' % _iso(created, offset),
           "</product>",
           "<source><more-information>http://www.nws.noaa.gov/forecasts/xml/</more-information>"
           "<production-center>Meteorological Development Laboratory</production-center>"
           "<credit>http://www.weather.gov/</credit></source>",
           "</head>", "<data>", "<location>", "<location-key>point1</location-key>",
           "<description>%s, %s</description>" % (_text(town), state),
           '<point latitude="%.2f" longitude="%.2f"/>' % (lat, lon),
           '<city state="%s">%s</city>' % (state, _text(town)),
           "" if variant == "city-only" else
           "<area-description>%s</area-description>" % _text(area),
           '<height datum="mean sea level" height-units="feet">%d</height>' % round(height),
           "</location>",
           '<moreWeatherInformation applicable-location="point1">'
           "http://forecast.weather.gov/MapClick.php?lat=%.2f&amp;lon=%.2f"
           "</moreWeatherInformation>" % (lat, lon),
           '<time-layout time-coordinate="local" summarization="none">',
           "<layout-key>%s</layout-key>" % layout]
    for when in starts:
        out.append("<start-valid-time>%s</start-valid-time>" % _iso(when, offset))
        out.append("<end-valid-time>%s</end-valid-time>"
                   % _iso(when + datetime.timedelta(hours=1), offset))
    out.append("</time-layout>")
    out.append('<parameters applicable-location="point1">')

    def element(start, end, values):
        out.append(start)
        out.extend('<value xsi:nil="true"/>' if v is None else
                   "<value/>" if v == "<value/>" else "<value>%s</value>" % v for v in values)
        out.append(end)

    empty = variant == "empty-values"

    def every_third(values, blank):
        return [blank if empty and i % 3 == 2 else v for i, v in enumerate(values)]

    def tl(text):
        return text + ' time-layout="%s">' % layout

    element(tl('<temperature type="hourly" units="Fahrenheit"'), "</temperature>",
            [round(c.temp_f) for c in hours])
    element(tl('<temperature type="dew point" units="Fahrenheit"'), "</temperature>",
            every_third([round(c.dewpoint_f) for c in hours], ""))
    chill = [weather.wind_chill(c.temp_f, c.wind_mph) for c in hours]
    element(tl('<temperature type="wind chill" units="Fahrenheit"'), "</temperature>",
            [None if v is None else round(v) for v in chill])
    heat = [weather.heat_index(c.temp_f, c.humidity) for c in hours]
    element(tl('<temperature type="heat index" units="Fahrenheit"'), "</temperature>",
            [None if v is None else round(v) for v in heat])
    element(tl('<probability-of-precipitation type="floating" units="percent"'),
            "</probability-of-precipitation>", [_round_to(p * 100, 10) for p in chances])
    element(tl('<wind-speed type="sustained" units="miles/hour"'), "</wind-speed>",
            [round(c.wind_mph) for c in hours])
    element(tl('<wind-speed type="gust" units="miles/hour"'), "</wind-speed>",
            [round(c.gust_mph) if c.gust_mph else None for c in hours][:10 if empty else HOURS])
    directions = [_round_to(c.wind_dir, 10) % 360 for c in hours]
    if variant == "boundary-directions":
        directions = [BOUNDARY_DIRECTIONS[i % len(BOUNDARY_DIRECTIONS)] for i in range(HOURS)]
    element(tl('<direction type="wind" units="degrees true"'), "</direction>", directions)
    element(tl('<cloud-amount type="total" units="percent"'), "</cloud-amount>",
            [_round_to(c.sky * 100, 5) for c in hours])
    element(tl('<humidity type="relative" units="percent"'), "</humidity>",
            every_third([c.humidity for c in hours], "<value/>"))
    out.append('<weather time-layout="%s">' % layout)
    for c, chance in zip(hours, chances):
        values = _weather_values(c, chance)
        if not values:
            out.append('<weather-conditions xsi:nil="true"/>')
            continue
        items = []
        for i, (kind, coverage, intensity) in enumerate(values):
            additive = ' additive="and"' if i else ""
            if variant == "coverage-first":
                items.append('<value%s coverage="%s" intensity="%s" weather-type="%s" '
                             'qualifier="none"/>' % (additive, coverage, intensity, kind))
            else:
                items.append('<value%s weather-type="%s" coverage="%s" intensity="%s" '
                             'qualifier="none"/>' % (additive, kind, coverage, intensity))
        out.append("<weather-conditions>%s</weather-conditions>" % "".join(items))
    out.append("</weather>")
    element(tl('<hourly-qpf type="floating" units="inches"'), "</hourly-qpf>",
            ["%.2f" % c.precip_inches_per_hour for c in hours])
    out.extend(["</parameters>", "</data>", "</dwml>"])
    return "\r\n".join(out) + "\r\n", created


# ---------------------------------------------------------------- observations

def latest_observation_time(now):
    """Stations report at 53 minutes past the hour; the report is out 5 minutes later."""
    when = now.replace(minute=53, second=0, microsecond=0)
    if now < when + datetime.timedelta(minutes=5):
        when -= datetime.timedelta(hours=1)
    return when


# Made-up stations whose documents carry the oddities of the real feed that the
# page must survive: each answers as its base station does, with one change.
OBSERVATION_VARIANTS = {
    "QGST": "KSDF",  # a gust in knots written with a leading zero ("05")
    "QNLW": "KSDF",  # no location and no wind direction
}


def _observation_variant(variant, text):
    text = text.replace("<station_id>%s<" % OBSERVATION_VARIANTS[variant],
                        "<station_id>%s<" % variant)
    if variant == "QGST":
        text = re.sub(r"<wind_gust_mph>[^<]*<", "<wind_gust_mph>5.8<", text)
        return re.sub(r"<wind_gust_kt>[^<]*<", "<wind_gust_kt>05<", text)
    return re.sub(r"\t<(location|wind_dir)>[^<]*</\1>\r\n", "", text)


def current_observation(registry, code, now):
    if code.upper() in OBSERVATION_VARIANTS:
        text, modified = current_observation(registry, OBSERVATION_VARIANTS[code.upper()], now)
        return _observation_variant(code.upper(), text), modified
    station = registry.stations.get(code.upper())
    if station is None or station.country != "United States":
        raise UnknownLocation(code)
    observed = latest_observation_time(now)
    c = weather.conditions(station.lat, station.lon, observed)
    offset, zone = locations.local_zone(station.state, station.lon, observed)
    local = _local(observed, offset)
    wind_kt = round(c.wind_mph / 1.150779)
    calm = c.wind_mph < 3
    direction = "Calm" if calm else locations.compass_words(c.wind_dir)
    lines = ['<?xml version="1.0" encoding="ISO-8859-1"?> ',
             '<?xml-stylesheet href="latest_ob.xsl" type="text/xsl"?>',
             '<current_observation version="1.0" '
             'xmlns:xsd="http://www.w3.org/2001/XMLSchema" '
             'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" '
             'xsi:noNamespaceSchemaLocation="http://www.weather.gov/view/current_observation.xsd">',
             "\t<credit>NOAA's National Weather Service</credit>",
             "\t<credit_URL>http://weather.gov/</credit_URL>",
             "\t<suggested_pickup>15 minutes after the hour</suggested_pickup>",
             "\t<suggested_pickup_period>60</suggested_pickup_period>",
             "\t<location>%s</location>" % _text(station.name),
             "\t<station_id>%s</station_id>" % station.code,
             "\t<latitude>%.5f</latitude>" % station.lat,
             "\t<longitude>%.5f</longitude>" % station.lon,
             "\t<observation_time>Last Updated on %s, %s %s</observation_time>"
             % (local.strftime("%b %d %Y").replace(" 0", " "), _clock(local).lower(), zone),
             "\t<observation_time_rfc822>%s</observation_time_rfc822>" % _rfc822(observed, offset),
             "\t<weather>%s</weather>" % weather.observed_weather(c),
             "\t<temperature_string>%.1f F (%.1f C)</temperature_string>" % (c.temp_f, c.temp_c),
             "\t<temp_f>%.1f</temp_f>" % c.temp_f,
             "\t<temp_c>%.1f</temp_c>" % c.temp_c,
             "\t<relative_humidity>%d</relative_humidity>" % c.humidity]
    if calm:
        lines.append("\t<wind_string>Calm</wind_string>")
    else:
        lines.append("\t<wind_string>%s at %.1f MPH (%d KT)</wind_string>"
                     % (direction, c.wind_mph, wind_kt))
    lines += ["\t<wind_dir>%s</wind_dir>" % direction,
              "\t<wind_degrees>%d</wind_degrees>" % (0 if calm else c.wind_dir),
              "\t<wind_mph>%.1f</wind_mph>" % (0.0 if calm else c.wind_mph),
              "\t<wind_kt>%d</wind_kt>" % (0 if calm else wind_kt),
              "\t<wind_gust_mph>%.1f</wind_gust_mph>" % c.gust_mph,
              "\t<wind_gust_kt>%d</wind_gust_kt>" % round(c.gust_mph / 1.150779),
              "\t<pressure_string>%.1f mb</pressure_string>" % c.pressure_mb,
              "\t<pressure_mb>%.1f</pressure_mb>" % c.pressure_mb,
              "\t<pressure_in>%.2f</pressure_in>" % (c.pressure_mb * 0.02953),
              "\t<dewpoint_string>%.1f F (%.1f C)</dewpoint_string>" % (c.dewpoint_f, c.dewpoint_c),
              "\t<dewpoint_f>%.1f</dewpoint_f>" % c.dewpoint_f,
              "\t<dewpoint_c>%.1f</dewpoint_c>" % c.dewpoint_c]
    heat = weather.heat_index(c.temp_f, c.humidity)
    if heat is not None:
        lines += ["\t<heat_index_string>%d F (%d C)</heat_index_string>"
                  % (round(heat), round((heat - 32) / 1.8)),
                  "\t<heat_index_f>%d</heat_index_f>" % round(heat),
                  "\t<heat_index_c>%d</heat_index_c>" % round((heat - 32) / 1.8)]
    chill = weather.wind_chill(c.temp_f, c.wind_mph)
    if chill is not None:
        lines += ["\t<windchill_string>%d F (%d C)</windchill_string>"
                  % (round(chill), round((chill - 32) / 1.8)),
                  "\t<windchill_f>%d</windchill_f>" % round(chill),
                  "\t<windchill_c>%d</windchill_c>" % round((chill - 32) / 1.8)]
    lines += ["\t<visibility_mi>%.2f</visibility_mi>" % c.visibility_mi,
              "\t<icon_url_base>http://forecast.weather.gov/images/wtf/small/</icon_url_base>",
              "\t<two_day_history_url>http://www.weather.gov/data/obhistory/%s.html"
              "</two_day_history_url>" % station.code,
              "\t<ob_url>http://www.weather.gov/data/METAR/%s.1.txt</ob_url>" % station.code,
              "\t<disclaimer_url>http://weather.gov/disclaimer.html</disclaimer_url>",
              "\t<copyright_url>http://weather.gov/disclaimer.html</copyright_url>",
              "\t<privacy_policy_url>http://weather.gov/notice.html</privacy_policy_url>",
              "</current_observation>"]
    return "\r\n".join(lines) + "\r\n", observed + datetime.timedelta(minutes=5)


# ---------------------------------------------------------------- METAR

def _cloud_layers(c):
    """[(cover, base in feet)] of a report, lowest first; a soaking rain under
    an overcast brings five layers."""
    if c.sky < 0.1:
        return [("CLR", None)]
    spread_c = max(0.3, c.temp_c - c.dewpoint_c)
    feet_per_degree = 400 if c.rain <= 0 else 250
    base = max(200, _round_to(spread_c * feet_per_degree, 100))
    if c.rain > 0.3 and c.sky >= 0.9:
        return [("FEW", base), ("SCT", base + 1500), ("BKN", base + 4000),
                ("BKN", base + 8000), ("OVC", min(25000, base + 14000))]
    if c.sky < 0.35:
        layers = [("FEW", base)]
    elif c.sky < 0.65:
        layers = [("SCT", base)]
    elif c.sky < 0.9:
        layers = [("BKN", base)]
    else:
        layers = [("OVC", base)]
    if c.sky >= 0.35 and base < 12000:
        layers.append(("BKN" if c.sky > 0.6 else "SCT", min(25000, base + 6000)))
    if c.sky >= 0.5:
        layers.append(("FEW", 25000))
    layers = [(cover, min(base_ft, 25000)) for cover, base_ft in layers]
    return layers


def _present_weather(c, lat, lon):
    """(weather codes, visibility in miles) of a report: rain, snow or drizzle
    with thunder and hail, fog (freezing below 32 F), mist, ice crystals in
    clear arctic air, smoke and haze in dry or sultry air, showers nearby."""
    codes, visibility = [], min(10.0, c.visibility_mi)
    if c.rain > 0:
        sign = "-" if c.rain < 0.3 else "+" if c.rain > 0.7 else ""
        if c.snow:
            kind = "SN"
        elif c.rain < 0.15 and not c.thunder:
            kind = "DZ"
        else:
            kind = "RA"
        if c.thunder:
            kind = "TS" + kind + ("GR" if c.rain > 0.8 else "")
        codes.append(sign + kind)
    elif c.temp_f < 0 and c.sky < 0.35:
        codes.append("IC")
        visibility = min(visibility, 6.0)
    elif c.storm_value > weather.RAIN_THRESHOLD - 0.03:
        codes.append("VCSH")
    if visibility < 1.0:
        codes.append("FZFG" if c.temp_f <= 32 else "FG")
    elif visibility < 7.0 and not c.snow and "IC" not in codes:
        codes.append("BR")
    elif c.rain <= 0 and c.humidity < 25 and c.wind_mph < 10 and weather.dryness(lat, lon) > 0.6:
        codes.append("FU")
        visibility = 5.0
    elif c.rain <= 0 and c.temp_f > 85 and c.humidity > 45:
        codes.append("HZ")
        visibility = 6.0
    return codes, visibility


def _flight_category(ceiling, visibility):
    if (ceiling is not None and ceiling < 500) or visibility < 1:
        return "LIFR"
    if (ceiling is not None and ceiling < 1000) or visibility < 3:
        return "IFR"
    if (ceiling is not None and ceiling <= 3000) or visibility <= 5:
        return "MVFR"
    return "VFR"


def _temperature_group(value_c):
    return ("1" if value_c < 0 else "0") + "%03d" % round(abs(value_c) * 10)


def _visibility_text(visibility):
    if visibility >= 10:
        return "10SM"
    return "%dSM" % visibility if visibility >= 1 else "1/2SM"


def metar(registry, code, now, hours_before=3, asked=None):
    """The aviation data server's answer for one station's latest METAR at
    'asked' (the request's end time), or at 'now' when none was asked for."""
    header = ['<?xml version="1.0" encoding="UTF-8"?>',
              '<response xmlns:xsd="http://www.w3.org/2001/XMLSchema" '
              'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" version="1.2" '
              'xsi:noNamespaceSchemaLocation='
              '"http://aviationweather.gov/adds/schema/metar1_2.xsd">',
              "  <request_index>%d</request_index>"
              % (noise.stable_hash(code + str(now)) % 99999999),
              '  <data_source name="metars" />', '  <request type="retrieve" />',
              "  <errors />", "  <warnings />", "  <time_taken_ms>4</time_taken_ms>"]
    observed = latest_observation_time(asked or now)
    station = registry.stations.get(code.upper())
    if station is None:
        body = header + ['  <data num_results="0" />', "</response>"]
        return "\r\n".join(body) + "\r\n", observed

    def at(hours_before_report):
        return weather.conditions(station.lat, station.lon,
                                  observed - datetime.timedelta(hours=hours_before_report))

    c = at(0)
    elevation_m = geography.elevation(station.lat, station.lon) * 0.3048
    wind_kt = round(c.wind_mph / 1.150779)
    gust_kt = round(c.gust_mph / 1.150779)
    direction = _round_to(c.wind_dir, 10) % 360 or 360
    layers = _cloud_layers(c)
    ceiling = next((base for cover, base in layers if cover in ("BKN", "OVC")), None)
    wx, visibility = _present_weather(c, station.lat, station.lon)
    altimeter = c.pressure_mb * 0.02953 + 0.01
    wind_text = "%03d%02d%sKT" % (direction, wind_kt, "G%02d" % gust_kt if gust_kt else "") if (
        wind_kt >= 3) else "00000KT"
    sky_text = " ".join(cover if base is None else "%s%03d" % (cover, base // 100)
                        for cover, base in layers)
    temp_c, dew_c = round(c.temp_c), round(c.dewpoint_c)

    def metar_temp(v):
        return ("M%02d" % -v) if v < 0 else "%02d" % v

    automatic = "AUTO" if station.code[1:2].isdigit() else ""
    raw = [station.code, observed.strftime("%d%H%MZ"), automatic,
           wind_text, _visibility_text(visibility)] + wx + [
               sky_text, "%s/%s" % (metar_temp(temp_c), metar_temp(dew_c)),
               "A%04d" % round(altimeter * 100), "RMK AO2",
               "SLP%03d" % (round(c.pressure_mb * 10) % 1000),
               "T%s%s" % (_temperature_group(c.temp_c), _temperature_group(c.dewpoint_c))]
    values = [("raw_text", " ".join(part for part in raw if part)),
              ("station_id", station.code),
              ("observation_time", observed.strftime("%Y-%m-%dT%H:%M:%SZ")),
              ("latitude", "%.2f" % station.lat), ("longitude", "%.2f" % station.lon),
              ("temp_c", "%.1f" % c.temp_c), ("dewpoint_c", "%.1f" % c.dewpoint_c)]
    if wind_kt >= 3:
        values.append(("wind_dir_degrees", "%d" % direction))
    values.append(("wind_speed_kt", "%d" % (wind_kt if wind_kt >= 3 else 0)))
    if gust_kt:
        values.append(("wind_gust_kt", "%d" % gust_kt))
    values += [("visibility_statute_mi", "%.1f" % visibility),
               ("altim_in_hg", "%.2f" % altimeter),
               ("sea_level_pressure_mb", "%.1f" % c.pressure_mb)]
    if wx:
        values.append(("wx_string", " ".join(wx)))
    lines = header + ['  <data num_results="1">', "    <METAR>"]
    lines += ["      <%s>%s</%s>" % (tag, value, tag) for tag, value in values]
    lines.append("      <quality_control_flags><auto_station>TRUE</auto_station>"
                 "</quality_control_flags>")
    for cover, base in layers:
        lines.append('      <sky_condition sky_cover="%s"%s />'
                     % (cover, "" if base is None else ' cloud_base_ft_agl="%d"' % base))
    if ceiling is not None and ceiling < 300 and visibility < 1:
        lines.append("      <vert_vis_ft>%d</vert_vis_ft>" % max(100, ceiling))
    lines.append("      <flight_category>%s</flight_category>"
                 % _flight_category(ceiling, visibility))
    lines.append("      <three_hr_pressure_tendency_mb>%.1f</three_hr_pressure_tendency_mb>"
                 % (c.pressure_mb - at(3).pressure_mb))
    # The six-hourly groups come with the reports just before 00, 06, 12 and
    # 18 UTC, the daily ones (extremes and precipitation) just before 00 UTC.
    six_hourly = (observed.hour + 1) % 6 == 0
    daily = observed.hour == 23
    if six_hourly:
        temps = [at(h).temp_c for h in range(0, 7)]
        lines.append("      <maxT_c>%.1f</maxT_c>" % max(temps))
        lines.append("      <minT_c>%.1f</minT_c>" % min(temps))
    if daily:
        day = [at(h).temp_c for h in range(0, 25, 3)]
        lines.append("      <maxT24hr_c>%.1f</maxT24hr_c>" % max(day))
        lines.append("      <minT24hr_c>%.1f</minT24hr_c>" % min(day))
    if c.rain > 0:
        hourly = c.precip_inches_per_hour
        lines.append("      <precip_in>%.2f</precip_in>" % hourly)
        if (observed.hour + 1) % 3 == 0:
            lines.append("      <pcp3hr_in>%.2f</pcp3hr_in>" % (hourly * 2.2))
        if six_hourly:
            lines.append("      <pcp6hr_in>%.2f</pcp6hr_in>" % (hourly * 3.5))
        if c.snow:
            lines.append("      <snow_in>%d</snow_in>" % max(1, round(hourly * 10)))
    if daily:
        total = sum(at(h).precip_inches_per_hour for h in range(0, 24))
        if total > 0:
            lines.append("      <pcp24hr_in>%.2f</pcp24hr_in>" % total)
    lines += ["      <metar_type>METAR</metar_type>",
              "      <elevation_m>%.1f</elevation_m>" % elevation_m,
              "    </METAR>", "  </data>", "</response>"]
    return "\r\n".join(lines) + "\r\n", observed + datetime.timedelta(minutes=5)


# ---------------------------------------------------------------- river gauges

def gauge_reading(gauge, when):
    """(flood stage ft, stage ft, category) of a gauge; rivers rise and fall over days."""
    h = noise.stable_hash(gauge.code)
    flood = 12 + h % 29
    t = weather.hours_since_epoch(when)
    slow = noise.fbm(t / 240.0, (h % 1000) / 7.0, 91, octaves=3)
    wet = sum(weather.rain_intensity(weather.storm(gauge.lat, gauge.lon, t - lag))
              for lag in range(0, 48, 6)) / 8.0
    stage = flood * (0.25 + 0.85 * slow + 0.9 * wet) + (h % 7) * 0.1
    if stage >= flood * 1.25:
        category = "Moderate Flooding"
    elif stage >= flood:
        category = "Minor Flooding"
    elif stage >= flood * 0.9:
        category = "Action"
    else:
        category = "Normal"
    return flood, round(stage, 2), category


def _hex_refs(html):
    """HTML written with the four character references the gauge feeds use."""
    return (html.replace("&", "&#x26;").replace("<", "&#x3C;").replace(">", "&#x3E;")
            .replace("'", "&#x27;"))


# Made-up gauges with the oddities of the real feed, each answering as its base
# gauge does with one change: a description whose text holds a double-encoded
# reference ("&#x26;#x3C;", which decodes once to "&#x3C;"), and a build date
# with a numeric offset instead of "GMT".
RIVER_VARIANTS = {
    "QDBL2": "MLUK2",
    "QOFS2": "MLUK2",
}


def _river_variant(variant, text, built):
    base = RIVER_VARIANTS[variant]
    text = text.replace(base, variant).replace(base.lower(), variant.lower())
    if variant == "QDBL2":
        return re.sub(r"(Flood Stage: \d+ ft)", r"\1 (&#x26;#x3C;=bankfull)", text)
    offset = built.astimezone(datetime.timezone(datetime.timedelta(hours=-5)))
    return re.sub(r"<lastBuildDate>[^<]*<",
                  "<lastBuildDate>%s<" % offset.strftime("%a, %d %b %Y %H:%M:%S -0500"), text)


def river_gauge(registry, code, now):
    if code.upper() in RIVER_VARIANTS:
        text, built = river_gauge(registry, RIVER_VARIANTS[code.upper()], now)
        return _river_variant(code.upper(), text, built), built
    gauge = registry.gauges.get(code.upper())
    if gauge is None:
        raise UnknownLocation(code)
    observed = now.replace(minute=0, second=0, microsecond=0)
    if now.minute < 15:
        observed -= datetime.timedelta(hours=1)
    built = observed + datetime.timedelta(minutes=15)
    flood, stage, category = gauge_reading(gauge, observed)
    offset, zone = locations.local_zone(gauge.state, gauge.lon, observed)
    local = _local(observed, offset)
    when_text = local.strftime("%b %d, %Y %I:%M %p ") + zone
    lower = gauge.code.lower()
    office = lower[:3]
    link = "http://water.weather.gov/ahps2/hydrograph.php?wfo=%s&gage=%s" % (office, lower)
    description = _hex_refs(
        "<div>Observation Time: %s<br />Flood Stage: %d ft<br />Latest Observation: %.2f ft"
        "<br />Latest Observation Category: %s<br />Stages are in feet above the gauge's "
        "datum. <a href='%s'>Hydrograph</a></div>" % (when_text, flood, stage, category, link))
    title = "%s - %s" % (gauge.code, gauge.name)
    lines = ['<?xml version="1.0" encoding="ISO-8859-1"?>',
             '<rss version="2.0" xmlns:geo="http://www.w3.org/2003/01/geo/wgs84_pos#">',
             "<channel>",
             "<title>%s</title>" % _text(title),
             "<link>%s</link>" % link.replace("&", "&amp;"),
             "<description>River Observation for %s</description>" % _text(gauge.name),
             "<language>en-us</language>",
             "<lastBuildDate>%s</lastBuildDate>" % built.strftime("%a, %d %b %Y %H:%M:%S GMT"),
             "<item>",
             "<title>%s - Observation</title>" % _text(title),
             "<link>%s</link>" % link.replace("&", "&amp;"),
             "<description>%s</description>" % description,
             "<geo:lat>%.2f</geo:lat>" % gauge.lat,
             "<geo:long>%.2f</geo:long>" % gauge.lon,
             "<guid isPermaLink=\"false\">%s-%s</guid>" % (lower, observed.strftime("%Y%m%d%H")),
             "</item>", "</channel>", "</rss>"]
    return "\r\n".join(lines) + "\r\n", built


# ---------------------------------------------------------------- alerts

WARM_EVENTS = {
    "Extreme": ("Tornado Warning", "Immediate", "Observed", 1),
    "Severe": ("Severe Thunderstorm Warning", "Immediate", "Likely", 1),
    "Moderate": ("Flood Watch", "Future", "Possible", 30),
    "Minor": ("Heat Advisory", "Expected", "Likely", 10),
}
COLD_EVENTS = {
    "Extreme": ("Blizzard Warning", "Expected", "Likely", 24),
    "Severe": ("Winter Storm Warning", "Expected", "Likely", 30),
    "Moderate": ("Wind Chill Advisory", "Expected", "Likely", 14),
    "Minor": ("Winter Weather Advisory", "Expected", "Likely", 12),
}
STATEMENT = ("Hazardous Weather Outlook", None)
NO_ALERTS = "There are no active watches, warnings or advisories"

# Zones of the sample saved lists: their alerts do not depend on the weather, so
# every severity (and a zone without alerts) can be seen at any time.
FEATURED_ZONES = {
    "KYZ030": ("Severe", "Moderate"),
    "ILZ103": ("Extreme", "Severe", "Minor"),
    "TXZ103": ("Minor", "statement"),
    "COZ039": ("statement",),
    "FLZ173": (),
    "WAZ558": (),
}


def zone_alert_kinds(code, now, zone=None):
    """The severities ('statement' for an outlook without one) active in a zone today.

    Alerts follow the day's storms (the storm field at noon UTC), so they come in
    regions as real ones do, and stay the same all day."""
    if code in FEATURED_ZONES:
        return list(FEATURED_ZONES[code])
    if zone is None:
        return []
    noon = now.replace(hour=12, minute=0, second=0, microsecond=0)
    r = weather.storm(zone.lat, zone.lon, weather.hours_since_epoch(noon), octaves=3)
    spread = noise.stable_hash(code)
    r += (spread % 100) / 2500.0
    if r > 0.78:
        # The strongest storms: warnings over a watch, here and there the worst kind.
        return (["Extreme"] if spread % 7 == 0 else []) + ["Severe", "Moderate"]
    if r > 0.74:
        return ["Moderate"]
    if r > 0.715:
        return ["Minor"]
    if r > 0.70:
        return ["statement"]
    return []


def warm_zone(zone, now):
    """Whether a zone's alerts are thunderstorm and heat ones (else winter ones)."""
    noon = now.replace(hour=12, minute=0, second=0, microsecond=0)
    return weather.normal_temperature(zone.lat, noon) >= 50.0


def _neighbour_zone_names(registry, zone, count=3):
    same_state = [z for z in registry.zones.values() if z.state == zone.state and z is not zone]
    same_state.sort(key=lambda z: (z.lat - zone.lat) ** 2 + (z.lon - zone.lon) ** 2)
    return [zone.name] + [z.name for z in same_state[:count - 1]]


def _office(registry, lat, lon):
    sites = list(registry.radars.values())
    if not sites:
        return "NWS"
    site = min(sites, key=lambda s: (s.lat - lat) ** 2 + (s.lon - lon) ** 2)
    return "NWS " + site.name.split(",")[0].split(" (")[0]


def _alert_entry(registry, zone, kind, index, now, warm, feed_id):
    offset, letters = locations.local_zone(zone.state, zone.lon, now)
    office = _office(registry, zone.lat, zone.lon)
    seed = noise.stable_hash(zone.code + kind + now.strftime("%Y%m%d%H"))
    issued = weather.floor_time(now, 5) - datetime.timedelta(minutes=5 + seed % 50)
    areas = "; ".join(_text(n) for n in _neighbour_zone_names(registry, zone))
    if kind == "statement":
        event, severity = STATEMENT
        urgency, certainty, hours = "Unknown", "Unknown", 18
    else:
        event, urgency, certainty, hours = (WARM_EVENTS if warm else COLD_EVENTS)[kind]
        severity = kind
    expires = issued + datetime.timedelta(hours=hours, minutes=30 - issued.minute % 30)
    li, le = _local(issued, offset), _local(expires, offset)

    def stamp(local):
        return "%s at %s %s" % (local.strftime("%B %d"), _clock(local).replace(" ", ""), letters)

    title = "%s issued %s until %s by %s" % (event, stamp(li), stamp(le), office)
    city = office[4:].upper()
    summary = ("...%s IN EFFECT UNTIL %s %s...\r\nTHE NATIONAL WEATHER SERVICE IN %s HAS ISSUED "
               "A %s FOR %s.\r\n%s" % (event.upper(),
                                          _clock(le).replace(":00", "").replace(":", ""),
                                   letters, city, event.upper(), areas.upper(),
                                   _ALERT_DETAILS.get(event, "")))
    entry_id = "%s.%s.%d" % (feed_id, event.replace(" ", ""), index)
    lines = ["<entry>",
             "<id>%s</id>" % entry_id,
             "<updated>%s</updated>" % _iso(issued, offset),
             "<published>%s</published>" % _iso(issued, offset),
             "<author>", "<name>w-nws.webmaster@noaa.gov</name>", "</author>",
             "<title>%s</title>" % _text(title),
             "<link href='%s'/>" % entry_id,
             "<summary>%s</summary>" % _text(summary),
             "<cap:event>%s</cap:event>" % event,
             "<cap:effective>%s</cap:effective>" % _iso(issued, offset),
             "<cap:expires>%s</cap:expires>" % _iso(expires, offset),
             "<cap:status>Actual</cap:status>", "<cap:msgType>Alert</cap:msgType>",
             "<cap:category>Met</cap:category>",
             "<cap:urgency>%s</cap:urgency>" % urgency]
    if severity:
        lines.append("<cap:severity>%s</cap:severity>" % severity)
    lines += ["<cap:certainty>%s</cap:certainty>" % certainty,
              "<cap:areaDesc>%s</cap:areaDesc>" % areas,
              "<cap:geocode>", "<valueName>UGC</valueName>", "<value>%s</value>" % zone.code,
              "</cap:geocode>", "<cap:parameter>", "<valueName>VTEC</valueName>",
              "<value></value>", "</cap:parameter>", "</entry>"]
    return lines, issued


_ALERT_DETAILS = {
    "Tornado Warning": "AT THE TIME OF ISSUANCE, A SEVERE THUNDERSTORM CAPABLE OF PRODUCING A "
                       "TORNADO WAS MOVING EAST AT 35 MPH. TAKE COVER NOW!",
    "Severe Thunderstorm Warning": "HAZARD...60 MPH WIND GUSTS AND QUARTER SIZE HAIL.",
    "Flood Watch": "HEAVY RAIN MAY CAUSE RAPID RISES ON CREEKS AND STREAMS.",
    "Heat Advisory": "HEAT INDEX VALUES UP TO 105 EXPECTED.",
    "Blizzard Warning": "WHITEOUT CONDITIONS WITH SNOW AND WINDS GUSTING TO 50 MPH.",
    "Winter Storm Warning": "HEAVY SNOW. TOTAL ACCUMULATIONS OF 6 TO 10 INCHES.",
    "Wind Chill Advisory": "WIND CHILLS AS LOW AS 25 BELOW ZERO.",
    "Winter Weather Advisory": "SNOW AND SLEET. ACCUMULATIONS OF 1 TO 3 INCHES.",
    "Hazardous Weather Outlook": "THIS OUTLOOK IS FOR THE NEXT SEVEN DAYS.",
}


# A zone whose feed is hostile on purpose, for the alerts page and the ticker
# queue: separator bytes in a title and an area, an entry's fields in reverse
# order, a summary nested in a title, a CR LF in a summary, an entry without
# a title or severity, and a last entry without its end tag.
HOSTILE_ZONE = "XXZ999"


def hostile_alerts(now):
    stamp = _iso(weather.floor_time(now, 5), -6)
    lines = ["<?xml version = '1.0' encoding = 'UTF-8' standalone = 'yes'?>",
             "<feed xmlns = 'http://www.w3.org/2005/Atom' "
             "xmlns:cap = 'urn:oasis:names:tc:emergency:cap:1.1'>",
             "<updated>%s</updated>" % stamp,
             "<title>Current Watches, Warnings and Advisories for %s</title>" % HOSTILE_ZONE,
             "<entry>", "<cap:certainty>Likely</cap:certainty>",
             "<cap:severity>Severe</cap:severity>",
             "<cap:areaDesc>North\u00bbSouth; East</cap:areaDesc>",
             "<summary>FIRST LINE\r\nSECOND LINE</summary>",
             "<title>Flood Warning \u00bbsounds\\x.wav\u00bbFake Place\u00bbinjected</title>",
             "</entry>",
             "<entry>", "<title>Heat Advisory <summary>nested summary</summary></title>",
             "<cap:severity>minor</cap:severity>", "</entry>",
             "<entry>", "<title></title>",
             "<summary>Statement without a title or severity</summary>", "</entry>",
             "<entry>", "<title>Cut off</title>", "<summary>never ends</summary>", "</feed>"]
    return "\r\n".join(lines) + "\r\n", weather.floor_time(now, 5)


def alerts(registry, code, now):
    """The ATOM alert feed with CAP fields of one forecast zone."""
    code = code.upper()
    if code == HOSTILE_ZONE:
        return hostile_alerts(now)
    zone = registry.zones.get(code)
    updated = weather.floor_time(now, 5)
    feed_id = "http://alerts.weather.gov/cap/wwaatmget.php?x=%s&amp;y=0" % code
    offset, _ = locations.local_zone(zone.state if zone else "", zone.lon if zone else -90, now)
    name = ("%s (%s) %s" % (_text(zone.name), code, wt.STATE_NAMES.get(zone.state, ""))
            if zone else code)
    lines = ["<?xml version = '1.0' encoding = 'UTF-8' standalone = 'yes'?>",
             "<feed xmlns = 'http://www.w3.org/2005/Atom' "
             "xmlns:cap = 'urn:oasis:names:tc:emergency:cap:1.1' "
             "xmlns:ha = 'http://www.alerting.net/namespace/index_1&amp;0'>",
             "<id>%s</id>" % feed_id,
             "<logo>http://alerts.weather.gov/images/xml_logo.gif</logo>",
             "<generator>NWS CAP Server</generator>",
             "<updated>%s</updated>" % _iso(updated, offset),
             "<author>", "<name>w-nws.webmaster@noaa.gov</name>", "</author>",
             "<title>Current Watches, Warnings and Advisories for %s Issued by the National "
             "Weather Service</title>" % name,
             "<link href='%s'/>" % feed_id]
    kinds = zone_alert_kinds(code, now, zone) if zone else []
    warm = zone is not None and warm_zone(zone, now)
    last = updated
    for index, kind in enumerate(kinds):
        entry, issued = _alert_entry(registry, zone, kind, index, now, warm, feed_id)
        lines += entry
    if not kinds:
        lines += ["<entry>", "<id>%s</id>" % feed_id,
                  "<updated>%s</updated>" % _iso(updated, offset),
                  "<author>", "<name>w-nws.webmaster@noaa.gov</name>", "</author>",
                  "<title>%s</title>" % NO_ALERTS, "<link href='%s'/>" % feed_id,
                  "<summary></summary>", "<cap:severity></cap:severity>", "</entry>"]
    lines.append("</feed>")
    return "\r\n".join(lines) + "\r\n", last
