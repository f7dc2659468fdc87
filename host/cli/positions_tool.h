#pragma once

// delvar-cli positions PROJECT.orx [PROFILE...] OUT.{geojson,kml,csv} [--epsg N]:
// the lines of profiles for maps.
int runPositions(int argc, char** argv);
