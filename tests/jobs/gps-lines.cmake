# After examples/gps-lines.job: the exported GeoJSON is a FeatureCollection
# with one LineString of 80 positions in WGS 84 near the line's start, the
# KML parses as XML with the same line, the CSV has a row per trace.
find_program(PYTHON3 python3)
if(NOT PYTHON3)
  message(WARNING "python3 is missing: the exported files are not parsed back")
  return()
endif()
execute_process(COMMAND ${PYTHON3} -c "
import csv, json, sys, xml.etree.ElementTree as ET
d = json.load(open('lines.geojson'))
f = d['features']
assert len(f) == 1 and f[0]['geometry']['type'] == 'LineString', f
c = f[0]['geometry']['coordinates']
assert len(c) == 80 and f[0]['properties']['name'] == 'LINE01' and f[0]['properties']['traces'] == 80
assert abs(c[0][0] - 9.7336) < 1e-6 and abs(c[0][1] - 46.4149) < 1e-6 and abs(c[0][2] - 1800) < 0.01, c[0]
# the last fix is on trace 77: the traces after it lie on it
assert abs(f[0]['properties']['length'] - 76 * 0.05) < 0.02, f[0]['properties']
k = ET.parse('lines.kml').getroot()
ns = {'k': 'http://www.opengis.net/kml/2.2'}
pts = k.find('.//k:LineString/k:coordinates', ns).text.split()
assert len(pts) == 80 and k.find('.//k:Placemark/k:name', ns).text == 'LINE01'
rows = list(csv.DictReader(open('positions.csv')))
assert len(rows) == 80 and rows[79]['trace'] == '80' and abs(float(rows[0]['latitude']) - 46.4149) < 1e-6
" WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the exported lines do not parse back: ${err}")
endif()

# delvar-cli positions writes the same line from the saved project; an
# unknown profile ends with code 1 and leaves no file.
execute_process(COMMAND ${CLI} positions Survey/Survey.orx LINE01 cli.geojson WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "delvar-cli positions failed (${rc}): ${err}")
endif()
file(READ ${WORK}/lines.geojson menu)
file(READ ${WORK}/cli.geojson cli)
if(NOT menu STREQUAL cli)
  message(FATAL_ERROR "delvar-cli positions wrote another line than Export Lines")
endif()
execute_process(COMMAND ${CLI} positions Survey/Survey.orx NOPE cli.csv WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR EXISTS ${WORK}/cli.csv)
  message(FATAL_ERROR "an unknown profile should end with code 1 and no file (${rc}): ${err}")
endif()

# The rubber-sheeted profile from markers at the fixes starts where the line does, with its elevations.
execute_process(COMMAND ${CLI} positions Survey/Survey.orx LINE01RS rs.geojson WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
execute_process(COMMAND ${PYTHON3} -c "
import json
c = json.load(open('rs.geojson'))['features'][0]['geometry']['coordinates']
assert len(c) == 79 and abs(c[0][0] - 9.7336) < 1e-6 and abs(c[0][1] - 46.4149) < 1e-6 and abs(c[0][2] - 1800) < 0.01, c[0]
" WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc2 ERROR_VARIABLE err2)
if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0)
  message(FATAL_ERROR "the rubber-sheeted line is not on the map: ${err} ${err2}")
endif()
