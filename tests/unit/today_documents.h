// Documents of the weather service as it answers today, cut to what the
// readers look at. Each says where it comes from.
#ifndef CUMULON_TODAY_DOCUMENTS_H
#define CUMULON_TODAY_DOCUMENTS_H

#include <string_view>

// The API's ATOM for a zone. Head and first entry's title as captured in the
// README of stacybrock/nwswx (2019, Kansas City); the CAP 1.2 fields of the
// entry follow the API's published ATOM layout (built, not captured).
constexpr std::string_view kApiAtom =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<feed xmlns="http://www.w3.org/2005/Atom" xmlns:cap="urn:oasis:names:tc:emergency:cap:1.2">
 <id>https://api.weather.gov/alerts?point=39.0693%2C-94.6716&amp;active=1&amp;zone=KSZ104%2CKSC209</id>
 <generator>NWS CAP Server</generator>
 <updated>2019-01-17T06:04:28+00:00</updated>
 <author>
  <name>w-nws.webmaster@noaa.gov</name>
 </author>
 <title>current watches, warnings, and advisories for 39.0693 N, 94.6716 W</title>
 <entry>
  <id>https://api.weather.gov/alerts/NWS-IDP-PROD-3320294-2901037</id>
  <updated>2019-01-16T14:52:00-06:00</updated>
  <published>2019-01-16T14:52:00-06:00</published>
  <author>
   <name>NWS</name>
  </author>
  <title>Winter Weather Advisory issued January 16 at 2:52PM CST expiring January 17 at 9:00AM CST by NWS Kansas City/Pleasant HIll MO</title>
  <summary>* WHAT...Snow expected.
* WHERE...Johnson County.</summary>
  <cap:event>Winter Weather Advisory</cap:event>
  <cap:effective>2019-01-16T14:52:00-06:00</cap:effective>
  <cap:expires>2019-01-17T09:00:00-06:00</cap:expires>
  <cap:status>Actual</cap:status>
  <cap:msgType>Alert</cap:msgType>
  <cap:category>Met</cap:category>
  <cap:urgency>Expected</cap:urgency>
  <cap:severity>Moderate</cap:severity>
  <cap:certainty>Likely</cap:certainty>
  <cap:areaDesc>Johnson, KS</cap:areaDesc>
 </entry>
</feed>
)";

// The API's ATOM for a zone without alerts: the head, no entry (built from
// the capture above).
constexpr std::string_view kApiAtomNoAlerts =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<feed xmlns="http://www.w3.org/2005/Atom" xmlns:cap="urn:oasis:names:tc:emergency:cap:1.2">
 <id>https://api.weather.gov/alerts/active/zone/KYZ030</id>
 <generator>NWS CAP Server</generator>
 <updated>2025-09-20T18:53:00+00:00</updated>
 <title>Current watches, warnings, and advisories for Jefferson (KYZ030) KY</title>
</feed>
)";

// MapClick's "dwmlByDay" (FcstType=dwml) for Ann Arbor, MI, captured
// 2025-11-22 and kept in a public project's NUnit test (GovWeather_Tests);
// cut to two periods, one parameter and the start of the observations block.
constexpr std::string_view kDwmlByDay =
    R"(<?xml version="1.0" encoding="ISO-8859-1"?>
<dwml xmlns:xsd="https://www.w3.org/2001/XMLSchema" version="1.0">
	<head>
		<product concise-name="dwmlByDay" operational-mode="developmental" srsName="WGS 1984">
			<creation-date refresh-frequency="PT1H">2025-11-22T16:13:22-05:00</creation-date>
		</product>
	</head>
	<data type="forecast">
		<location>
			<location-key>point1</location-key>
			<description>Ann Arbor, MI</description>
			<point latitude="42.27" longitude="-83.73"/>
			<city state="MI">Ann Arbor</city>
			<height datum="mean sea level">856</height>
		</location>
		<time-layout time-coordinate="local" summarization="12hourly">
		  <layout-key>k-p6h-n1-1</layout-key>
		  <start-valid-time>2025-11-22T18:00:00-05:00</start-valid-time>
		</time-layout>
		<time-layout time-coordinate="local" summarization="12hourly">
			<layout-key>k-p12h-n14-1</layout-key>
			<start-valid-time period-name="Tonight">2025-11-22T18:00:00-05:00</start-valid-time>
			<start-valid-time period-name="Sunday">2025-11-23T06:00:00-05:00</start-valid-time>
		</time-layout>
		<time-layout time-coordinate="local" summarization="12hourly">
			<layout-key>k-p24h-n7-1</layout-key>
			<start-valid-time period-name="Sunday Night">2025-11-23T18:00:00-05:00</start-valid-time>
		</time-layout>
		<parameters applicable-location="point1">
			<temperature type="minimum" units="Fahrenheit" time-layout="k-p24h-n7-1">
				<name>Daily Minimum Temperature</name>
				<value>34</value>
			</temperature>
			<wordedForecast time-layout="k-p12h-n14-1" dataSource="dtxNetcdf" wordGenerator="markMitchell">
				<name>Text Forecast</name>
				<text>Mostly cloudy, with a low around 34. South southwest wind 3 to 8 mph. </text>
				<text>Mostly cloudy, then gradually becoming sunny, with a high near 50. </text>
			</wordedForecast>
		</parameters>
	</data>
	<data type="current observations">
		<location>
			<location-key>point1</location-key>
			<area-description>Ann Arbor, Ann Arbor Municipal Airport, MI</area-description>
			<height datum="mean sea level" height-units="feet">837</height>
		</location>
	</data>
</dwml>
)";

// The aviation data API's XML for KBEH, captured 2025-09-20 and quoted in the
// source of a public LED sectional map project, which notes the answer has
// no line breaks at all (none here either); the head is the API's own.
constexpr std::string_view kAviationMetar =
    R"(<?xml version="1.0" encoding="UTF-8"?><response xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" version="1.3"><data num_results="1"><METAR>)"
    R"(<raw_text>METAR KBEH 201853Z AUTO 00000KT 10SM OVC090 23/20 A3007 RMK AO2 RAB06E24 SLP180 P0003 T02330200 $</raw_text>)"
    R"(<station_id>KBEH</station_id><observation_time>2025-09-20T18:53:00.000Z</observation_time>)"
    R"(<latitude>42.1290</latitude><longitude>-86.4152</longitude><temp_c>23.3</temp_c><dewpoint_c>20</dewpoint_c>)"
    R"(<wind_dir_degrees>0</wind_dir_degrees><wind_speed_kt>0</wind_speed_kt><visibility_statute_mi>10+</visibility_statute_mi>)"
    R"(<altim_in_hg>30.07</altim_in_hg><sea_level_pressure_mb>1018</sea_level_pressure_mb>)"
    R"(<quality_control_flags><auto>TRUE</auto><auto_station>TRUE</auto_station></quality_control_flags>)"
    R"(<sky_condition sky_cover="OVC" cloud_base_ft_agl="9000"/><flight_category>VFR</flight_category>)"
    R"(<precip_in>0.03</precip_in><metar_type>METAR</metar_type><elevation_m>196</elevation_m></METAR></data></response>)";

// The water prediction service's gauge JSON (/nwps/v1/gauges/ABNG1), built
// from the API's published schema with the fields the page reads; the
// service sends more (wfo, rfc, pedts, ...).
constexpr std::string_view kGaugeJson = R"({
  "lid": "ABNG1", "usgsId": "02352560", "name": "Flint River (GA) at Albany",
  "latitude": 31.5941, "longitude": -84.1441,
  "state": {"abbreviation": "GA", "name": "Georgia"},
  "flood": {"stageUnits": "ft", "flowUnits": "kcfs",
            "categories": {"action": {"stage": 16, "flow": -9999}, "minor": {"stage": 26.5, "flow": -9999},
                           "moderate": {"stage": 30, "flow": -9999}, "major": {"stage": 35, "flow": -9999}}},
  "status": {"observed": {"primary": 26.8, "primaryUnit": "ft", "secondary": 31.2, "secondaryUnit": "kcfs",
                          "floodCategory": "minor", "validTime": "2026-03-06T21:15:00Z"},
             "forecast": {"primary": 31.4, "primaryUnit": "ft", "secondary": -999, "secondaryUnit": "kcfs",
                          "floodCategory": "moderate", "validTime": "2026-03-07T00:00:00Z"}}
})";

// A 2025 current_obs file (KSLI, 9 June 2025), quoted whole in the data
// section of a public Perl polling script: no indentation, several elements
// on a line, "Last Update on". Cut after the visibility.
constexpr std::string_view kCurrentObs2025 =
    R"(<?xml version="1.0" encoding="ISO-8859-1"?>
<?xml-stylesheet href="latest_ob.xsl" type="text/xsl"?>
<current_observation version="1.0" xmlns:xsd="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:noNamespaceSchemaLocation="http://www.weather.gov/view/current_observation.xsd">
<credit>NOAA's National Weather Service</credit><credit_URL>https://weather.gov/</credit_URL>
<image><url>http://forecast.weather.gov/images/xml_badge.png</url>
<title>NOAA's National Weather Service</title>
<link>https://www.weather.gov</link></image><suggested_pickup>15 minutes after the hour</suggested_pickup>
<suggested_pickup_period>60</suggested_pickup_period><location>Los Alamitos Army Airfield, CA</location>
<station_id>KSLI</station_id><latitude>33.79628</latitude><longitude>-118.04179</longitude>
<observation_time>Last Update on Jun 9 2025, 8:55 am PDT</observation_time>
<observation_time_rfc822>Mon, 09 Jun 2025 08:55:00 -0700</observation_time_rfc822>
<weather>OvercastClouds</weather><temperature_string>63.5 F (17.5 C)</temperature_string>
<temp_f>63.5</temp_f>
<temp_c>17.5</temp_c>
<relative_humidity>85</relative_humidity><wind_string>Southeast at 4.6 MPH (4 KT)</wind_string><wind_dir>Southeast</wind_dir><wind_degrees>150</wind_degrees>
<wind_mph>4.6</wind_mph><wind_kt>4</wind_kt><pressure_string>1013.8 mb</pressure_string>
<pressure_mb>1013.8</pressure_mb><pressure_in>29.93</pressure_in><dewpoint_string>58.8 F (14.9 C)</dewpoint_string>
<dewpoint_f>58.8</dewpoint_f><dewpoint_c>14.9</dewpoint_c>
<visibility_mi>10.00</visibility_mi></current_observation>
)";

#endif
