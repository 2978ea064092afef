"""Map features drawn from the tables: which town is a city worth a label,
where the highways and rivers run, and which county or zone a pixel is in.

County and zone areas are the regions closest to their centroids (Voronoi
cells): drawn as borders they look like the real county lines.  Highways join
neighbouring big towns; rivers run through their gauges in river.trv.
"""

import math

import weather_tables as wt

from . import noise


def town_weights(registry, sigma=0.1):
    """{town fips: weight}, a stand-in for a town's size: how many ZIP centroids
    crowd around it, each counted less the farther it lies (a Gaussian of
    'sigma' degrees).  The middle of a city outweighs its suburbs."""
    cell = 3 * sigma
    buckets = {}
    for z in registry.zip_centroids():
        buckets.setdefault((math.floor(z.lat / cell), math.floor(z.lon / cell)), []).append(z)
    weights = {}
    for town in registry.towns:
        row, col = math.floor(town.lat / cell), math.floor(town.lon / cell)
        scale = math.cos(math.radians(town.lat)) ** 2
        total = 0.0
        for r in (row - 1, row, row + 1):
            for c in (col - 1, col, col + 1):
                for z in buckets.get((r, c), ()):
                    d2 = (z.lat - town.lat) ** 2 + (z.lon - town.lon) ** 2 * scale
                    total += math.exp(-d2 / (2 * sigma * sigma))
        total *= _kind_factor(town.name)
        if total > 0.05:
            weights[town.fips] = total
    return weights


# Cities name the map; villages and unincorporated places inside them should not.
_KIND_FACTORS = ((" city", 1.0), (" (balance)", 1.0), (" government", 1.0), (" town", 0.5),
                 (" borough", 0.5), (" village", 0.3), (" CDP", 0.25))


def _kind_factor(name):
    for suffix, factor in _KIND_FACTORS:
        if name.endswith(suffix):
            return factor
    return 0.4


def spaced(towns, weights, degrees):
    """The heaviest towns first, leaving out any within 'degrees' of one already kept."""
    kept = []
    for town in sorted(towns, key=lambda t: -weights.get(t.fips, 0.0)):
        scale = math.cos(math.radians(town.lat))
        if all((k.lat - town.lat) ** 2 + ((k.lon - town.lon) * scale) ** 2 >= degrees ** 2
               for k in kept):
            kept.append(town)
    return kept


class NearestCells:
    """Which of many points (county or zone centroids) is nearest to each pixel,
    computed with a bucket grid so each pixel looks at a handful of points."""

    def __init__(self, items, position, cell=0.5):
        self.items = items
        self.position = position
        self.cell = cell
        self.buckets = {}
        for index, item in enumerate(items):
            lat, lon = position(item)
            key = (math.floor(lat / cell), math.floor(lon / cell))
            self.buckets.setdefault(key, []).append((lat, lon, index))

    def _candidates(self, lat, lon):
        row, col = math.floor(lat / self.cell), math.floor(lon / self.cell)
        for ring in range(0, 12):
            found = []
            for r in range(row - ring - 1, row + ring + 2):
                for c in range(col - ring - 1, col + ring + 2):
                    found.extend(self.buckets.get((r, c), ()))
            if found:
                return found
        return []

    def grid(self, view):
        """Rows of item indices (-1 where nothing is near) for every pixel of 'view'."""
        lats, lons = view.lats(), view.lons()
        cache = {}
        rows = []
        for lat in lats:
            scale = math.cos(math.radians(lat)) ** 2
            row = []
            for lon in lons:
                key = (math.floor(lat / self.cell), math.floor(lon / self.cell))
                candidates = cache.get(key)
                if candidates is None:
                    candidates = self._candidates(lat, lon)
                    cache[key] = candidates
                best, best_d = -1, 1e18
                for clat, clon, index in candidates:
                    d = (clat - lat) ** 2 + (clon - lon) ** 2 * scale
                    if d < best_d:
                        best, best_d = index, d
                row.append(best)
            rows.append(row)
        return rows


def borders(ids, same):
    """Pixels where the area changes: yields (x, y, kind) for the pixel left of or
    above a change; kind is what same(a, b) returns for the two areas."""
    height, width = len(ids), len(ids[0])
    for y in range(height):
        row = ids[y]
        below = ids[y + 1] if y + 1 < height else None
        for x in range(width):
            a = row[x]
            if x + 1 < width and row[x + 1] != a:
                yield x, y, same(a, row[x + 1])
            elif below is not None and below[x] != a:
                yield x, y, same(a, below[x])


def wiggle(points, seed, amount=0.06, pieces=4):
    """Splits each segment and nudges the new points sideways, so straight lines
    between towns look like roads and rivers.  Points are (lat, lon)."""
    out = [points[0]]
    for (lat0, lon0), (lat1, lon1) in zip(points, points[1:]):
        length = math.hypot(lat1 - lat0, lon1 - lon0)
        for i in range(1, pieces + 1):
            t = i / pieces
            lat, lon = lat0 + (lat1 - lat0) * t, lon0 + (lon1 - lon0) * t
            if i < pieces:
                push = (noise.value(lat * 3.1, lon * 3.1, seed) - 0.5) * amount * length * 4
                lat += -(lon1 - lon0) / max(length, 1e-9) * push
                lon += (lat1 - lat0) / max(length, 1e-9) * push
            out.append((lat, lon))
    return out


def river_lines(registry):
    """{river name: [(lat, lon)] in order along the river} from the gauges."""
    by_river = {}
    for gauge in registry.gauges.values():
        by_river.setdefault(gauge.river, []).append((gauge.lat, gauge.lon))
    lines = {}
    for river, points in by_river.items():
        points = sorted(set(points))
        if len(points) < 2:
            continue
        # Start at one end (the point farthest from the others' middle), then
        # always step to the nearest point not yet used.
        mid_lat = sum(p[0] for p in points) / len(points)
        mid_lon = sum(p[1] for p in points) / len(points)
        current = max(points, key=lambda p: (p[0] - mid_lat) ** 2 + (p[1] - mid_lon) ** 2)
        chain, rest = [current], [p for p in points if p != current]
        while rest:
            current = min(rest, key=lambda p: (p[0] - current[0]) ** 2 + (p[1] - current[1]) ** 2)
            chain.append(current)
            rest.remove(current)
        lines[river] = chain
    return lines


def highway_links(towns, max_degrees=2.6, per_town=4, min_angle=35.0):
    """Pairs of towns (indices) joined by a highway: each town to its nearest
    neighbours, shortest links first, leaving out a link that would leave a town
    within 'min_angle' degrees of a road it already has."""
    def heading(a, b):
        return math.degrees(math.atan2((b.lon - a.lon) * math.cos(math.radians(a.lat)),
                                       b.lat - a.lat))

    candidates = []
    for i, a in enumerate(towns):
        scale = math.cos(math.radians(a.lat))
        near = sorted((math.hypot(b.lat - a.lat, (b.lon - a.lon) * scale), j)
                      for j, b in enumerate(towns) if j != i)
        candidates += [(d, min(i, j), max(i, j)) for d, j in near[:per_town] if d <= max_degrees]
    roads = {}
    links = []
    for d, i, j in sorted(set(candidates)):
        a, b = towns[i], towns[j]
        ha, hb = heading(a, b), heading(b, a)
        if any(abs((ha - h + 180) % 360 - 180) < min_angle for h in roads.get(i, ())):
            continue
        if any(abs((hb - h + 180) % 360 - 180) < min_angle for h in roads.get(j, ())):
            continue
        roads.setdefault(i, []).append(ha)
        roads.setdefault(j, []).append(hb)
        links.append((i, j))
    return links


# Cities that name the maps and anchor the highways, biggest first.
MAJOR_CITIES = """
New York NY|Los Angeles CA|Chicago IL|Houston TX|Phoenix AZ|Philadelphia PA|San Antonio TX|
San Diego CA|Dallas TX|San Jose CA|Austin TX|Jacksonville FL|Fort Worth TX|Columbus OH|
Charlotte NC|Indianapolis IN|San Francisco CA|Seattle WA|Denver CO|Washington DC|Nashville TN|
Oklahoma City OK|El Paso TX|Boston MA|Portland OR|Las Vegas NV|Detroit MI|Memphis TN|
Louisville KY|Baltimore MD|Milwaukee WI|Albuquerque NM|Tucson AZ|Fresno CA|Sacramento CA|
Kansas City MO|Atlanta GA|Omaha NE|Colorado Springs CO|Raleigh NC|Virginia Beach VA|Miami FL|
Minneapolis MN|Tulsa OK|Bakersfield CA|Wichita KS|Tampa FL|New Orleans LA|Cleveland OH|
Honolulu HI|Lexington KY|Corpus Christi TX|Cincinnati OH|Orlando FL|Pittsburgh PA|St. Louis MO|
Greensboro NC|Anchorage AK|Lincoln NE|Buffalo NY|Toledo OH|Madison WI|Reno NV|Fort Wayne IN|
Lubbock TX|Laredo TX|Norfolk VA|Boise ID|Spokane WA|Baton Rouge LA|Richmond VA|Tacoma WA|
Huntsville AL|Des Moines IA|Rochester NY|Little Rock AR|Augusta GA|Birmingham AL|Montgomery AL|
Amarillo TX|Salt Lake City UT|Grand Rapids MI|Tallahassee FL|Sioux Falls SD|Providence RI|
Knoxville TN|Akron OH|Shreveport LA|Mobile AL|Brownsville TX|Chattanooga TN|Eugene OR|
Salem OR|Fort Collins CO|Springfield MO|Rockford IL|Jackson MS|Charleston SC|Savannah GA|
Syracuse NY|Springfield IL|Peoria IL|Duluth MN|Fargo ND|Bismarck ND|Billings MT|Cheyenne WY|
Casper WY|Rapid City SD|Albany NY|Hartford CT|Portland ME|Burlington VT|Manchester NH|
Wilmington DE|Charleston WV|Columbia SC|Evansville IN|Dayton OH|Lansing MI|Green Bay WI|
Topeka KS|Springfield MA|Erie PA|Harrisburg PA|Roanoke VA|Asheville NC|Macon GA|Pensacola FL|
Gainesville FL|Waco TX|Midland TX|Abilene TX|San Angelo TX|Tyler TX|Beaumont TX|Lafayette LA|
Lake Charles LA|Monroe LA|Fort Smith AR|Joplin MO|Columbia MO|Cedar Rapids IA|Davenport IA|
Sioux City IA|Grand Island NE|North Platte NE|Flagstaff AZ|Yuma AZ|Santa Fe NM|Las Cruces NM|
Pueblo CO|Grand Junction CO|Missoula MT|Great Falls MT|Idaho Falls ID|Pocatello ID|Medford OR|
Bend OR|Redding CA|Eureka CA|Yakima WA|Bellingham WA|Fairbanks AK|Juneau AK|Hilo HI|
Marquette MI|Traverse City MI|Saginaw MI|South Bend IN|Terre Haute IN|Champaign IL|Quincy IL|
Paducah KY|Bowling Green KY|Jackson TN|Tupelo MS|Hattiesburg MS|Dothan AL|Tuscaloosa AL|
Valdosta GA|Albany GA|Wilmington NC|Myrtle Beach SC|Greenville SC|Lynchburg VA|Scranton PA|
Binghamton NY|Utica NY|Watertown NY|Bangor ME|Key West FL|Fort Myers FL|Melbourne FL|
Daytona Beach FL|San Juan PR|Ponce PR|Mayaguez PR|Elko NV|Ely NV|Tonopah NV|Winnemucca NV|
Twin Falls ID|Lewiston ID|Helena MT|Bozeman MT|Williston ND|Minot ND|Pierre SD|Dodge City KS|
Garden City KS|Salina KS|Hays KS|Goodland KS|Scottsbluff NE|Alamogordo NM|Roswell NM|
Farmington NM|Durango CO|Prescott AZ|St. George UT|Provo UT|Ogden UT|Nome AK|Bethel AK|Kodiak AK
"""


def major_cities(registry):
    """The towns of MAJOR_CITIES that the census knows, biggest first."""
    towns = []
    for entry in MAJOR_CITIES.replace("\n", "").split("|"):
        name, state = entry.strip().rsplit(" ", 1)
        town = registry.find_town(name, state)
        if town is not None and town not in towns:
            towns.append(town)
    return towns


def label(town):
    return wt.clean_place_name(town.name)
