"""The sample weather: plausible conditions for any place and time.

Weather systems are fractal noise fields that drift east at a steady speed
and slowly change shape, so rain moves across the radar picture, a forecast
for tomorrow shows the rain that is upstream today, and every document for a
place agrees with the pictures.  Temperatures follow latitude, season, the
time of day, height and cloud; winds follow the pressure field.
"""

import datetime
import math
from dataclasses import dataclass

from . import geography, noise

UTC = datetime.timezone.utc
EPOCH = datetime.datetime(2000, 1, 1, tzinfo=UTC)

STORM_SEED, CLOUD_SEED, PRESSURE_SEED, WARMTH_SEED, MOIST_SEED = 11, 23, 37, 41, 53
DRIFT = 0.35            # degrees of longitude per hour (about 30 km/h at 40 N)
STORM_SCALE = 8.0       # degrees per noise cell of the storm field
RAIN_THRESHOLD = 0.66   # storm values above this rain (about a tenth of the map)
CLOUD_THRESHOLD = 0.57  # storm or cloud values above this are cloud
K_WIND = 3.0            # mph per millibar of pressure change across a degree


def floor_time(when, minutes):
    """The start of the 'minutes'-long slot of the hour that 'when' falls in."""
    when = when.replace(second=0, microsecond=0)
    return when - datetime.timedelta(minutes=when.minute % minutes)


def hours_since_epoch(when):
    return (when - EPOCH).total_seconds() / 3600.0


def _blend_weight(t):
    """Weight of the first of two noise fields; the mix turns over every 3 days."""
    return 0.5 + 0.5 * math.cos(2 * math.pi * t / 72.0)


def _blend(a, b, w):
    """Mixes two noise values without losing contrast (keeps the spread of one)."""
    spread = math.sqrt(w * w + (1 - w) * (1 - w))
    return 0.5 + ((a - 0.5) * w + (b - 0.5) * (1 - w)) / spread


def evolving(lat, lon, t, seed, scale, octaves):
    x, y = (lon - DRIFT * t) / scale, lat / scale
    first = noise.fbm(x, y, seed, octaves)
    second = noise.fbm(x + 37.3, y - 11.1, seed + 1000, octaves)
    return _blend(first, second, _blend_weight(t))


def evolving_grid(view, t, seed, scale, octaves):
    """evolving() for every pixel of a view, as rows of floats."""
    xs = [(lon - DRIFT * t) / scale for lon in view.lons()]
    ys = [lat / scale for lat in view.lats()]
    a = noise.fbm_grid(xs, ys, seed, octaves)
    b = noise.fbm_grid([x + 37.3 for x in xs], [y - 11.1 for y in ys], seed + 1000, octaves)
    w = _blend_weight(t)
    spread = math.sqrt(w * w + (1 - w) * (1 - w))
    return [[0.5 + ((p - 0.5) * w + (q - 0.5) * (1 - w)) / spread for p, q in zip(ra, rb)]
            for ra, rb in zip(a, b)]


def storm(lat, lon, t, octaves=5):
    return evolving(lat, lon, t, STORM_SEED, STORM_SCALE, octaves)


def rain_intensity(value):
    """0 (dry) to 1 (the heaviest rain) from a storm field value."""
    return max(0.0, min(1.0, (value - RAIN_THRESHOLD) / (0.86 - RAIN_THRESHOLD)))


def rain_chance(value):
    """Probability of rain (0 to 1) that a forecaster gives for a storm value."""
    return max(0.0, min(1.0, (value - RAIN_THRESHOLD + 0.09) / 0.14))


def cloud_cover(storm_value, cloud_value):
    return max(0.0, min(1.0, (max(storm_value, cloud_value) - CLOUD_THRESHOLD) / 0.13))


def pressure_mb(lat, lon, t):
    broad = evolving(lat, lon, t, PRESSURE_SEED, 16.0, 3)
    low = storm(lat, lon, t, octaves=2)
    return 1013.0 + (broad - 0.5) * 45.0 - (low - 0.5) * 25.0


def solar_hour(lon, when):
    return (when.hour + when.minute / 60.0 + lon / 15.0) % 24.0


def sun_elevation(lat, lon, when):
    """The sun's height above the horizon in degrees (simple declination model)."""
    day = when.timetuple().tm_yday
    declination = -23.44 * math.cos(2 * math.pi * (day + 10) / 365.25)
    hour_angle = (solar_hour(lon, when) - 12.0) * 15.0
    la, de, ha = (math.radians(v) for v in (lat, declination, hour_angle))
    return math.degrees(math.asin(math.sin(la) * math.sin(de)
                                  + math.cos(la) * math.cos(de) * math.cos(ha)))


def normal_temperature(lat, when):
    """Average daily mean temperature (F) for a latitude on a date."""
    day = when.timetuple().tm_yday
    a = abs(lat)
    mean = 78.0 - 1.6 * max(0.0, a - 24.0)
    swing = max(3.0, a - 18.0)
    season = math.cos(2 * math.pi * (day - 20) / 365.25)
    return mean - swing * season if lat >= 0 else mean + swing * season


def dryness(lat, lon):
    """1 in the deserts of the Southwest, 0 in the humid East."""
    west = max(0.0, min(1.0, (-lon - 100.0) / 8.0))
    south = max(0.0, min(1.0, (47.0 - lat) / 10.0))
    return west * south


@dataclass
class Conditions:
    temp_f: float
    dewpoint_f: float
    wind_dir: float        # degrees true the wind blows from
    wind_mph: float
    gust_mph: float        # 0 when not gusty
    pressure_mb: float
    sky: float             # cloud cover 0..1
    rain: float            # precipitation intensity 0..1
    snow: bool
    thunder: bool
    visibility_mi: float
    storm_value: float

    @property
    def temp_c(self):
        return (self.temp_f - 32.0) / 1.8

    @property
    def dewpoint_c(self):
        return (self.dewpoint_f - 32.0) / 1.8

    @property
    def humidity(self):
        return relative_humidity(self.temp_f, self.dewpoint_f)

    @property
    def precip_inches_per_hour(self):
        if self.rain <= 0:
            return 0.0
        return round(0.02 + 0.6 * self.rain ** 2, 2)


def relative_humidity(temp_f, dew_f):
    t, d = (temp_f - 32) / 1.8, (dew_f - 32) / 1.8
    return max(1, min(100, int(round(100 * math.exp(17.625 * d / (243.04 + d))
                                     / math.exp(17.625 * t / (243.04 + t))))))


def wind_chill(temp_f, wind_mph):
    if temp_f > 50 or wind_mph < 3:
        return None
    v = wind_mph ** 0.16
    return 35.74 + 0.6215 * temp_f - 35.75 * v + 0.4275 * temp_f * v


def heat_index(temp_f, humidity):
    if temp_f < 80:
        return None
    t, r = temp_f, humidity
    return (-42.379 + 2.04901523 * t + 10.14333127 * r - 0.22475541 * t * r
            - 0.00683783 * t * t - 0.05481717 * r * r + 0.00122874 * t * t * r
            + 0.00085282 * t * r * r - 0.00000199 * t * t * r * r)


def conditions(lat, lon, when, height_ft=None):
    """The weather at a place and time (UTC)."""
    t = hours_since_epoch(when)
    s = storm(lat, lon, t)
    c = evolving(lat, lon, t, CLOUD_SEED, 5.0, 4)
    sky = cloud_cover(s, c)
    rain = rain_intensity(s)
    if height_ft is None:
        height_ft = geography.elevation(lat, lon)

    hour = solar_hour(lon, when)
    dry = dryness(lat, lon)
    diurnal = (8.0 + 6.0 * dry) * (1.0 - 0.6 * sky) * math.cos(2 * math.pi * (hour - 15.0) / 24.0)
    warmth = evolving(lat, lon, t * 0.5, WARMTH_SEED, 16.0, 3)
    temp = (normal_temperature(lat, when) + diurnal + (warmth - 0.5) * 38.0
            - 3.5 * height_ft / 1000.0 - 6.0 * rain)

    moist = evolving(lat, lon, t, MOIST_SEED, 10.0, 3)
    spread = 2.0 + (1.0 - moist) * 18.0 * (1.0 + 1.5 * dry) + max(0.0, diurnal) * 0.6
    spread = spread * (1.0 - 0.85 * rain) + 1.0 * rain
    dew = temp - max(0.5, spread)

    here = pressure_mb(lat, lon, t)
    north, south = pressure_mb(lat + 0.5, lon, t), pressure_mb(lat - 0.5, lon, t)
    east, west = pressure_mb(lat, lon + 0.5, t), pressure_mb(lat, lon - 0.5, t)
    dpdx, dpdy = east - west, north - south
    # Geostrophic flow keeps low pressure on its left; friction turns it 20 degrees
    # towards the low.
    u, v = -dpdy, dpdx
    toward = math.degrees(math.atan2(u, v)) - 20.0
    wind_dir = (toward + 180.0) % 360.0
    gusty = noise.value(t / 2.0, lat + lon, 77)
    speed = min(38.0, 2.0 + math.hypot(dpdx, dpdy) * K_WIND + 8.0 * rain + 4.0 * gusty)
    gust = speed * (1.35 + 0.3 * gusty) if speed >= 13.0 or rain > 0.5 else 0.0

    snow = rain > 0 and temp <= 33.0
    thunder = rain > 0.55 and temp > 55.0
    visibility = 10.0
    if rain > 0:
        visibility = max(0.5, 10.0 - (14.0 if snow else 9.0) * rain)
    elif temp - dew < 2.0 and hour < 9:
        visibility = 0.5 + 4.0 * (temp - dew) / 2.0
    return Conditions(round(temp, 1), round(dew, 1), int(round(wind_dir / 10.0)) * 10 % 360,
                      round(speed, 1),
                      round(gust, 1), round(here, 1), sky, rain, snow, thunder,
                      round(visibility, 2), s)


def sky_words(sky, night=False):
    """Forecast wording for a cloud cover ("Mostly sunny", "Partly cloudy")."""
    if sky < 0.1:
        return "Clear" if night else "Sunny"
    if sky < 0.35:
        return "Mostly clear" if night else "Mostly sunny"
    if sky < 0.65:
        return "Partly cloudy"
    if sky < 0.9:
        return "Mostly cloudy"
    return "Cloudy"


def observed_weather(c):
    """The weather text of a current observation ("Light Rain", "Partly Cloudy")."""
    if c.thunder:
        return "Thunderstorm Heavy Rain" if c.rain > 0.8 else "Thunderstorm Rain"
    if c.rain > 0:
        kind = "Snow" if c.snow else "Rain"
        if c.rain < 0.3:
            return "Light " + kind
        return ("Heavy " + kind) if c.rain > 0.7 else kind
    if c.visibility_mi < 1.0:
        return "Fog"
    if c.visibility_mi < 7.0:
        return "Fog/Mist"
    if c.sky < 0.1:
        return "Fair"
    if c.sky < 0.35:
        return "A Few Clouds"
    if c.sky < 0.65:
        return "Partly Cloudy"
    if c.sky < 0.9:
        return "Mostly Cloudy"
    return "Overcast"


def period_summary(lat, lon, start, hours, height_ft):
    """Samples a forecast period: (high or low temperature, rain chance 0..1,
    mean cloud, mean wind, wind direction, max gust, snow, thunder)."""
    temps, chances, skies, winds, dirs, gusts = [], [], [], [], [], []
    snow = thunder = False
    for h in range(0, hours, 2):
        when = start + datetime.timedelta(hours=h)
        c = conditions(lat, lon, when, height_ft)
        temps.append(c.temp_f)
        chances.append(rain_chance(c.storm_value))
        skies.append(c.sky)
        winds.append(c.wind_mph)
        dirs.append(c.wind_dir)
        gusts.append(c.gust_mph)
        snow = snow or (c.temp_f <= 34 and rain_chance(c.storm_value) > 0.2)
        thunder = thunder or (c.temp_f > 60 and c.storm_value > RAIN_THRESHOLD + 0.05)
    return (temps, max(chances), sum(skies) / len(skies), sum(winds) / len(winds),
            dirs[len(dirs) // 2], max(gusts), snow, thunder)
