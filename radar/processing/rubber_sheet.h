// Rubber sheeting: a new profile whose traces lie at one constant spacing
// along the polyline through a raw item's markers, each output trace taken
// from the raw traces around its place. The spacing is the mean over the
// segments of (segment length / raw traces in it); the polyline is extended
// back to raw trace 0 and on to the last raw trace along its first and
// last segments, and the output starts as many whole spacings before the
// first marker as fit, so that the first marker falls on an output trace.
#pragma once

#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/dialog.h"
#include "processing/markers.h"

namespace quv {

// How an output trace is made from the raw traces i and i + 1 around it.
enum class NewTraces { Interpolate = 0, MoveClosest = 1 };

// --- the walk (pure) -------------------------------------------------------------------

struct RubberSheetTrace {
  int source = 0;  // raw trace i
  double f = 0;    // the place between i and i + 1, 0 <= f < 1
  double easting = 0, northing = 0;
};
struct RubberSheetPlan {
  // The message-bar line when the markers cannot be used ("" otherwise).
  std::string refusal;
  double dx = 0;
  int firstMarkerTrace = 0;  // k0: the output trace on the first marker
  std::vector<RubberSheetTrace> traces;
  // The GEO_ nodes: the markers at the output traces nearest them, and the
  // first and last output trace where they lie (distinct traces, in order).
  std::vector<GeoNode> nodes;
};
// The plan for a raw item `rawName` of `rawTraces` traces of `samples`
// samples. Refused: fewer than 3 markers (the batch error line), a marker
// outside the recording, two markers on one trace, two markers on one
// point (no spacing), and an output too large for a profile.
RubberSheetPlan planRubberSheet(std::vector<Marker> markers, int rawTraces, int samples,
                                const std::string& rawName);
// Output trace of n samples from raw traces a (trace i) and b (trace i + 1,
// null at the end of the recording).
void mixTraces(NewTraces mode, double f, const float* a, const float* b, int n, float* out);

// The sample file of a rubber-sheeted profile at `path` (written beside
// it, renamed when whole): every output trace of the plan made from the
// raw item's traces, RAMAC traces without their DC level. `range` is what
// was written; false when the recording or the file failed.
struct RawData;
struct AmplitudeRange;
bool writeRubberSheetTraces(const RawData& d, const RubberSheetPlan& plan, NewTraces mode,
                            const std::string& path, AmplitudeRange& range);

// --- the dialog ------------------------------------------------------------------------

struct RubberSheetRow {
  std::string rawName;
  std::string profileName;
};

// "Rubber Sheet": one row per raw item, its new profile's name and its
// marker file; "Edit Markers" for the current row; Convert checks the
// names (the dialog stays open after a refused one) and hands the cleaned
// rows to `convert`.
class CRubberSheetDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 23720, IDC_EDIT_MARKERS, IDC_INTERPOLATE, IDC_MOVE_CLOSEST, IDC_CONVERT, IDC_FROM_GPS };
  enum { kRawCol = 0, kNameCol, kMarkerCol, kCols };
  CRubberSheetDlg(std::vector<RubberSheetRow> rows, std::vector<std::string> existingProfiles);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onGridEdited(int gridId, int row, int col) override;

  // The marker file shown for a raw item ("none" when it has none).
  std::function<std::string(const std::string& rawName)> markerFile;
  // "Edit Markers" on a row.
  std::function<void(const std::string& rawName)> editMarkers;
  // "Markers from GPS" (after the user agreed to replace them) for every row.
  std::function<void(const std::string& rawName)> markersFromGps;
  std::function<void(const std::vector<RubberSheetRow>&, NewTraces)> convert;

 private:
  void fillGrid();
  void convertRows();
  std::vector<RubberSheetRow> rows_;
  std::vector<std::string> existing_;
};

// --- with the project (module state) -----------------------------------------

// One raw item rubber-sheeted into the profile `profileName`: the tree
// object of the new profile, null when nothing was made (the reason is on
// the message bar).
DvHandle rubberSheet(DvHandle rawItem, const std::string& profileName, NewTraces mode);
// "Rubber Sheet" on one raw item, or (null) "Rubber Sheet Selected" after
// the batch selection check.
void rubberSheetCommand(DvHandle singleRawItemOrNull);

}  // namespace quv
