// The project's display defaults: the raw-window gain and palette, eight
// further presentation values and the normal and presentation default
// records, stored in the project folder's "DEFAULTS.QUV".
//
// File layout (little-endian): an optional head of the marker 12345 and the
// version stamp; then the ten 4-byte values; then the normal and the
// presentation records in the stored form of DisplaySettings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "project/display_settings.h"

namespace quv {

constexpr int32_t kDefaultsHeadMarker = 12345;
constexpr const char* kDefaultsFileName = "DEFAULTS.QUV";

// The ten values in their stored order.
struct DefaultsValues {
  int32_t rawGain = 0;     // 0 Trace Max, 1 AGC 10%, 2 AGC 25%
  int32_t rawPalette = 0;  // 0 not chosen yet, 1 Gray Scale, 2 Red-White-Blue
  float boxWidth = 9.0f;   // presentation traces box, inches
  float boxHeight = 6.5f;
  float tracesPerUnit = 100.0f;
  float samplesPerUnit = 100.0f;
  float horizontalScale = 100.0f;
  float depthScale = 100.0f;
  int32_t horizontalUse = 0;  // 0 width, 1 traces per unit, 2 scale
  int32_t verticalUse = 0;    // 0 height, 1 samples per unit, 2 depth scale
};

struct ProjectDefaults {
  DefaultsValues values;
  DisplaySettings normal;
  DisplaySettings presentation;
};

// The file's bytes, with or without the head.
std::string encodeDefaults(const ProjectDefaults& d, bool withHead, int stamp);
// Reads either form; false (d unchanged) when the bytes end early or hold a
// bad text length.
bool decodeDefaults(const std::string& bytes, ProjectDefaults& d);

// The module's defaults, present between project opened and project close
// (nullptr otherwise).
ProjectDefaults* displayDefaults();
// Creates both records with their built-in values (replacing any present).
ProjectDefaults& createDisplayDefaults();
// Reads projectDir + "/DEFAULTS.QUV" into the defaults when the file exists
// (creating them first when absent). A file that cannot be read whole is
// reported in the message bar and leaves the built-in values. Returns true
// when a file was read.
bool loadProjectDefaults(const std::string& projectDir);
// Reads a defaults file at any path into d (either form); false when it is
// missing or cannot be read whole.
bool readDefaultsFile(const std::string& path, ProjectDefaults& d);
// Writes the current defaults whole to projectDir + "/DEFAULTS.QUV"
// (temporary file + rename); withHead writes the 12345 head first.
bool saveProjectDefaults(const std::string& projectDir, bool withHead = false);
// Deletes both records.
void deleteDisplayDefaults();

}  // namespace quv
