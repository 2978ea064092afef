"""The feed documents as the weather service writes them today (2025-2026).

Built from the formats the services publish, not from what a reader happens
to accept:
  dwml_by_day     forecast.weather.gov MapClick.php?FcstType=dwml, the
                  "dwmlByDay" DWML: head/product/creation-date, a forecast
                  data block with its location, time layouts with period
                  names and the worded forecast, then a current-observations
                  data block (DWML schema, graphical.weather.gov/xml/DWMLgen)
  current_obs     forecast.weather.gov/xml/current_obs/XXXX.xml in its 2024+
                  layout: no indentation, several elements on a line, "Last
                  Update on" (current_observation.xsd element names)
  metar_xml       aviationweather.gov/api/data's XML: the old data server's
                  elements (metar1_2.xsd) without any line break, raw_text
                  starting "METAR ", times with milliseconds, visibility "10+",
                  whole numbers without ".0"; None (204 No Content) for a
                  station without a report
  gauge_json      api.water.noaa.gov/nwps/v1/gauges/LID: lid, name, state,
                  latitude, longitude, status.observed/forecast (primary,
                  primaryUnit, floodCategory, validTime), flood.stageUnits and
                  flood.categories.action/minor/moderate/major.stage; -999 for
                  a missing number, "fcst_not_current" and 0001-01-01 for a
                  gauge without a forecast
  alerts_atom     api.weather.gov/alerts/active/zone/ZONE as ATOM (asked for
                  with Accept: application/atom+xml): the ATOM feed with the
                  CAP 1.2 namespace, an entry per alert, no entry at all for a
                  zone without alerts
Each builder returns (text, last-modified time); the texts are str, sent as
UTF-8 except where the document declares ISO-8859-1.
"""

import datetime
import json
import re

import weather_tables as wt

from . import feeds, geography, locations, noise, weather

UTC = datetime.timezone.utc


# ---------------------------------------------------------------- point forecast

def dwml_by_day(registry, lat_text, lon_text, now):
    created = weather.floor_time(now, 60)
    place = feeds._place(registry, lat_text, lon_text)
    if place is None:
        # A point without a grid forecast: the service sends its HTML page.
        return (feeds._error_page("National Weather Service", "Forecast not available: the "
                                  "point is outside the forecast area."), created)
    lat, lon, town, state, miles, direction = place
    offset, _ = locations.local_zone(state, lon, created)
    height = geography.elevation(lat, lon)
    local_now = feeds._local(created, offset)
    periods = feeds.forecast_periods(local_now)
    texts = []
    for name, start, hours, night in periods:
        summary = weather.period_summary(lat, lon, start.astimezone(UTC), max(2, hours), height)
        texts.append(feeds._text(feeds._period_text(summary, night)))
    # The 12-hour layout of every period; the daytime and night-time layouts
    # of the temperatures, as the service splits them.
    layout = "k-p12h-n%d-1" % len(periods)
    days = [p for p in periods if not p[3]]
    nights = [p for p in periods if p[3]]
    area = ("%d Miles %s %s %s" % (round(miles), direction, town, state)) if miles >= 1.5 else (
        "%s %s" % (town, state))

    def iso(when):
        return feeds._iso(when.astimezone(UTC), offset)

    out = ['<?xml version="1.0" encoding="ISO-8859-1"?>',
           '<dwml version="1.0" xmlns:xsd="https://www.w3.org/2001/XMLSchema" '
           'xmlns:xsi="https://www.w3.org/2001/XMLSchema-instance" '
           'xsi:noNamespaceSchemaLocation="https://graphical.weather.gov/xml/DWMLgen/schema/'
           'DWML.xsd">',
           "  <head>",
           '    <product concise-name="dwmlByDay" operational-mode="developmental" '
           'srsName="WGS 1984">',
           "      <creation-date refresh-frequency=\"PT1H\">%s</creation-date>" % iso(created),
           "      <category>current observations and forecast</category>",
           "    </product>",
           "    <source>",
           "      <production-center>Louisville, KY</production-center>",
           "      <credit>https://www.weather.gov/</credit>",
           "      <more-information>https://www.nws.noaa.gov/forecasts/xml/</more-information>",
           "    </source>",
           "  </head>",
           '  <data type="forecast">',
           "    <location>",
           "      <location-key>point1</location-key>",
           "      <description>%s</description>" % feeds._text(area),
           '      <point latitude="%.2f" longitude="%.2f">' % (lat, lon) + "</point>",
           '      <city state="%s">%s</city>' % (state, feeds._text(town)),
           '      <height datum="mean sea level">%d</height>' % round(height),
           "    </location>",
           '    <moreWeatherInformation applicable-location="point1">'
           "https://forecast.weather.gov/MapClick.php?lat=%.2f&amp;lon=%.2f"
           "</moreWeatherInformation>" % (lat, lon)]
    for key, chosen in (("k-p24h-n%d-1" % len(days), days), ("k-p24h-n%d-2" % len(nights), nights),
                        (layout, periods)):
        out += ["    <time-layout time-coordinate=\"local\" summarization=\"12hourly\">",
                "      <layout-key>%s</layout-key>" % key]
        out += ['      <start-valid-time period-name="%s">%s</start-valid-time>'
                % (name, iso(start)) for name, start, _, _ in chosen]
        out.append("    </time-layout>")
    out.append('    <parameters applicable-location="point1">')
    summaries = [weather.period_summary(lat, lon, s.astimezone(UTC), max(2, h), height)
                 for _, s, h, _ in periods]
    highs = [round(max(summ[0])) for summ, p in zip(summaries, periods) if not p[3]]
    lows = [round(min(summ[0])) for summ, p in zip(summaries, periods) if p[3]]
    out += ['      <temperature type="maximum" units="Fahrenheit" time-layout="%s">'
            % ("k-p24h-n%d-1" % len(days)), "        <name>Daily Maximum Temperature</name>"]
    out += ["        <value>%d</value>" % v for v in highs]
    out += ["      </temperature>",
            '      <temperature type="minimum" units="Fahrenheit" time-layout="%s">'
            % ("k-p24h-n%d-2" % len(nights)), "        <name>Daily Minimum Temperature</name>"]
    out += ["        <value>%d</value>" % v for v in lows]
    out += ["      </temperature>",
            '      <probability-of-precipitation type="12 hour" units="percent" '
            'time-layout="%s">' % layout,
            "        <name>12 Hourly Probability of Precipitation</name>"]
    for summ in summaries:
        pop = feeds._round_to(summ[1] * 100, 10)
        out.append("        <value>%d</value>" % pop if pop >= 20
                   else '        <value xsi:nil="true"/>')
    out += ["      </probability-of-precipitation>",
            '      <wordedForecast time-layout="%s" dataSource="lmkNetcdf" '
            'wordGenerator="markMitchell">' % layout,
            "        <name>Text Forecast</name>"]
    out += ["        <text>%s</text>" % t for t in texts]
    out += ["      </wordedForecast>", "    </parameters>", "  </data>"]
    # The latest observation near the point follows the forecast.
    observed = feeds.latest_observation_time(now)
    c = weather.conditions(lat, lon, observed, height)
    out += ['  <data type="current observations">',
            "    <location>",
            "      <location-key>point1</location-key>",
            '      <point latitude="%.2f" longitude="%.2f"></point>' % (lat, lon),
            "      <area-description>%s</area-description>" % feeds._text(town),
            '      <height datum="mean sea level" height-units="feet">%d</height>' % round(height),
            "    </location>",
            '    <time-layout time-coordinate="local">',
            "      <layout-key>k-p1h-n1-1</layout-key>",
            '      <start-valid-time period-name="current">%s</start-valid-time>' % iso(observed),
            "    </time-layout>",
            '    <parameters applicable-location="point1">',
            '      <temperature type="apparent" units="Fahrenheit" time-layout="k-p1h-n1-1">'
            "<value>%d</value></temperature>" % round(c.temp_f),
            '      <temperature type="dew point" units="Fahrenheit" time-layout="k-p1h-n1-1">'
            "<value>%d</value></temperature>" % round(c.dewpoint_f),
            '      <humidity type="relative" time-layout="k-p1h-n1-1"><value>%d</value></humidity>'
            % c.humidity,
            '      <weather time-layout="k-p1h-n1-1"><name>Weather Type, Coverage, Intensity'
            '</name><weather-conditions weather-summary="%s"/></weather>'
            % feeds._attr(weather.observed_weather(c)),
            "    </parameters>",
            "  </data>",
            "</dwml>"]
    return "\n".join(out) + "\n", created


def digital_dwml(registry, lat_text, lon_text, now, variant=""):
    """The hourly digital DWML: the same format as before, with https addresses."""
    text, modified = feeds.hourly_forecast(registry, lat_text, lon_text, now, variant)
    return text.replace("http://", "https://"), modified


# ---------------------------------------------------------------- observations

def current_obs(registry, code, now):
    """The 2024+ layout: no indentation, several elements on one line."""
    text, modified = feeds.current_observation(registry, code, now)
    text = text.replace("Last Updated on", "Last Update on").replace("http://", "https://")
    lines = [line.strip() for line in text.split("\r\n") if line.strip()]
    head, body = lines[:3], lines[3:-1]
    # Elements go three to a line, as the service writes them now.
    grouped = ["".join(body[i:i + 3]) for i in range(0, len(body), 3)]
    return "\n".join(head + grouped + [lines[-1]]) + "\n", modified


# ---------------------------------------------------------------- METAR

def metar_xml(registry, code, now):
    """The aviation data API's XML, or None for a station without a report."""
    station = registry.stations.get(code.upper())
    if station is None:
        return None, now
    text, modified = feeds.metar(registry, code, now)
    text = text.replace("<raw_text>", "<raw_text>METAR ")
    text = re.sub(r"(<(?:observation_time)>[^<]*?:\d\d)Z<", r"\1.000Z<", text)
    # Ten miles or more reads "10+"; less keeps its value ("1.5", "6").
    text = re.sub(r"<visibility_statute_mi>(\d+(?:\.\d+)?)</",
                  lambda m: "<visibility_statute_mi>%s</"
                  % ("10+" if float(m.group(1)) >= 10 else m.group(1)), text)
    # Whole numbers lose their ".0"; the altimeter keeps its two decimals.
    text = re.sub(r"(<(?!altim)[a-zA-Z0-9_]+>-?\d+)\.0(<)", r"\1\2", text)
    text = text.replace("http://aviationweather.gov/adds/schema/metar1_2.xsd",
                        "https://aviationweather.gov/data/schema/metar1_2.xsd")
    return "".join(line.strip() for line in text.split("\r\n")), modified


# ---------------------------------------------------------------- river gauges

MISSING = -999
_CATEGORIES = {"Normal": "no_flooding", "Action": "action", "Minor Flooding": "minor",
               "Moderate Flooding": "moderate", "Major Flooding": "major"}


def _office_code(registry, gauge):
    """The forecast office of a gauge: the one of the nearest radar."""
    sites = list(registry.radars.values())
    if not sites:
        return ""
    site = min(sites, key=lambda s: (s.lat - gauge.lat) ** 2 + (s.lon - gauge.lon) ** 2)
    return site.code[1:]


def gauge_json(registry, code, now):
    gauge = registry.gauges.get(code.upper())
    if gauge is None:
        raise feeds.UnknownLocation(code)
    observed = now.replace(minute=0, second=0, microsecond=0)
    if now.minute < 15:
        observed -= datetime.timedelta(hours=1)
    flood, stage, category = feeds.gauge_reading(gauge, observed)
    h = noise.stable_hash(gauge.code)
    # Every third gauge has a forecast (six hours on); the others have none.
    forecast_time = observed + datetime.timedelta(hours=6)
    has_forecast = h % 3 != 1
    if has_forecast:
        f_flood, f_stage, f_category = feeds.gauge_reading(gauge, forecast_time)
        forecast = {"primary": f_stage, "primaryUnit": "ft", "secondary": MISSING,
                    "secondaryUnit": "kcfs", "floodCategory": _CATEGORIES[f_category],
                    "validTime": forecast_time.strftime("%Y-%m-%dT%H:%M:%SZ")}
    else:
        forecast = {"primary": MISSING, "primaryUnit": "", "secondary": MISSING,
                    "secondaryUnit": "", "floodCategory": "fcst_not_current",
                    "validTime": "0001-01-01T00:00:00Z"}
    # Some gauges have no action stage, as real ones do.
    action = round(flood * 0.9, 1) if h % 4 else MISSING
    document = {
        "lid": gauge.code.upper(),
        "usgsId": "%08d" % (h % 100000000),
        "reachId": str(h % 30000000),
        # The service names the gauge without its state, which has a field.
        "name": re.sub(r", [A-Z]{2}$", "", gauge.name),
        "description": "",
        "rfc": {"abbreviation": "OHRFC", "name": "Ohio River Forecast Center"},
        "wfo": {"abbreviation": _office_code(registry, gauge), "name": ""},
        "state": {"abbreviation": gauge.state, "name": wt.STATE_NAMES.get(gauge.state, "")},
        "county": "",
        "timeZone": "EST5EDT",
        "latitude": round(gauge.lat, 6),
        "longitude": round(gauge.lon, 6),
        "pedts": {"observed": "HGIRG", "forecast": "HGIFF" if has_forecast else ""},
        "status": {
            "observed": {"primary": stage, "primaryUnit": "ft", "secondary": MISSING,
                         "secondaryUnit": "kcfs", "floodCategory": _CATEGORIES[category],
                         "validTime": observed.strftime("%Y-%m-%dT%H:%M:%SZ")},
            "forecast": forecast,
        },
        "flood": {
            "stageUnits": "ft",
            "flowUnits": "kcfs",
            "categories": {
                "action": {"stage": action, "flow": MISSING},
                "minor": {"stage": float(flood), "flow": MISSING},
                "moderate": {"stage": round(flood * 1.25, 1), "flow": MISSING},
                "major": {"stage": round(flood * 1.5, 1), "flow": MISSING},
            },
            "crests": {"historic": [], "recent": []},
            "lowWaters": {"historic": [], "recent": []},
            "impacts": [],
        },
    }
    return json.dumps(document, ensure_ascii=False), observed + datetime.timedelta(minutes=15)


# ---------------------------------------------------------------- alerts

def alerts_atom(registry, code, now):
    code = code.upper()
    zone = registry.zones.get(code)
    if zone is None:
        raise feeds.UnknownLocation(code)
    updated = weather.floor_time(now, 5)
    offset, _ = locations.local_zone(zone.state, zone.lon, now)
    address = "https://api.weather.gov/alerts/active/zone/%s" % code
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<feed xmlns="http://www.w3.org/2005/Atom" '
             'xmlns:cap="urn:oasis:names:tc:emergency:cap:1.2" xml:lang="en-US">',
             "<id>%s</id>" % address,
             "<generator>NWS CAP Server</generator>",
             "<updated>%s</updated>" % feeds._iso(updated, offset),
             "<author><name>w-nws.webmaster@noaa.gov</name></author>",
             "<title>Current watches, warnings, and advisories for %s (%s) %s</title>"
             % (feeds._text(zone.name), code, wt.STATE_NAMES.get(zone.state, "")),
             '<link rel="self" href="%s"/>' % address]
    warm = feeds.warm_zone(zone, now)
    for index, kind in enumerate(feeds.zone_alert_kinds(code, now, zone)):
        entry, _ = feeds._alert_entry(registry, zone, kind, index, now, warm, "")
        lines += _api_entry(entry, zone, code, now, index)
    lines.append("</feed>")
    return "\n".join(lines) + "\n", updated


def _api_entry(old, zone, code, now, index):
    """An entry of the API's feed from the fields of one alert."""
    fields = {}
    for line in old:
        match = re.fullmatch(r"<([a-z:A-Z]+)>(.*)</\1>", line, re.S)
        if match:
            fields.setdefault(match.group(1), match.group(2))
    oid = "urn:oid:2.49.0.1.840.0.%040x.%03d.1" % (
        noise.stable_hash(code + now.strftime("%Y%m%d") + str(index)) * 7919, index + 1)
    link = "https://api.weather.gov/alerts/" + oid
    summary = fields.get("summary", "").replace("\r\n", "\n")
    out = ["<entry>",
           "<id>%s</id>" % link,
           "<updated>%s</updated>" % fields["updated"],
           "<published>%s</published>" % fields["published"],
           "<author><name>w-nws.webmaster@noaa.gov</name></author>",
           "<title>%s</title>" % fields["title"],
           '<link rel="alternate" href="%s"/>' % link,
           "<summary>%s</summary>" % summary,
           "<cap:event>%s</cap:event>" % fields["cap:event"],
           "<cap:effective>%s</cap:effective>" % fields["cap:effective"],
           "<cap:expires>%s</cap:expires>" % fields["cap:expires"],
           "<cap:status>Actual</cap:status>",
           "<cap:msgType>Alert</cap:msgType>",
           "<cap:category>Met</cap:category>",
           "<cap:urgency>%s</cap:urgency>" % fields["cap:urgency"],
           # The API writes "Unknown" where the old feed left the severity empty.
           "<cap:severity>%s</cap:severity>" % fields.get("cap:severity", "Unknown"),
           "<cap:certainty>%s</cap:certainty>" % fields["cap:certainty"],
           "<cap:areaDesc>%s</cap:areaDesc>" % fields["cap:areaDesc"],
           "<cap:polygon></cap:polygon>",
           "<cap:geocode>",
           "<valueName>SAME</valueName>",
           "<value>0%05d</value>" % (noise.stable_hash(code) % 100000),
           "<valueName>UGC</valueName>",
           "<value>%s</value>" % code,
           "</cap:geocode>",
           "<cap:parameter>",
           "<valueName>AWIPSidentifier</valueName>",
           "<value>NPW%s</value>" % code[:3],
           "</cap:parameter>",
           "</entry>"]
    return out
