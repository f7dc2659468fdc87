// Elevation conversion: a depth version becomes a new elevation version
// ("E%02i_"). Every trace is shifted down by the difference between the
// highest surface elevation of the profile and its own, so that the
// vertical axis becomes elevation. The surface elevation of each trace (in
// the profile's distance units, "Z_") is edited in "Edit Elevation Values":
// typed, imported by trace number, by distance along the line or by nearest
// coordinates within a search radius, filled by linear or cubic-spline
// interpolation, scaled or shifted, exported.
#pragma once

#include <string>
#include <vector>

#include "dv/dialog.h"
#include "processing/convert_version.h"
#include "project/blank_cell.h"

namespace quv {

// --- the elevation table (pure) ---------------------------------------------------

// Distance of every trace along the line: 0 for the first, then adding the
// straight-line distance between neighbouring traces' coordinates.
std::vector<double> traceDistances(const std::vector<float>& easting,
                                   const std::vector<float>& northing);

enum class ElevationImport { Trace = 0, Distance = 1, Coordinates = 2 };

// Where imported values go.
struct ElevationLine {
  std::vector<float> easting, northing;  // N each
  std::vector<double> distance;          // N, from traceDistances
};
// Applies the lines of an imported table to `elevations` (N entries); only
// the elevations a line names change. `columns` are counted from 1: trace
// and elevation; distance and elevation; easting, northing and elevation.
// Trace mode: the trace counted from 1. Distance mode: the trace nearest to
// (N - 1) x distance / L (rounded half up). Coordinate mode: the first trace
// of the smallest distance to the point that is not beyond `radius`; a line
// with no trace that near is ignored. Returns how many lines were stored.
int importElevations(const std::string& text, ElevationImport mode, const int columns[3],
                     const ElevationLine& line, double radius, std::vector<float>& elevations);

// Fills every run of blanks between two known elevations along the straight
// line between them; blanks before the first and after the last stay.
void interpolateLinear(std::vector<float>& elevations);
// The cubic spline through the known elevations (x = trace index) with both
// end slopes 0 fills the blanks from the first to the last knot; fewer than
// two knots change nothing.
void interpolateSpline(std::vector<float>& elevations);
// value x e (multiply) or value + e for every elevation that is not blank.
void elevationMath(std::vector<float>& elevations, bool multiply, float value);
// ".elv": "/ Trace# Distance Easting Northing Elevation" and "%i %f %f %f %f"
// for every trace whose elevation is not blank (the trace counted from 1).
std::string formatElevationFile(const std::vector<float>& elevations, const ElevationLine& line);
// The values of a "Z_" file for N traces: as many as it holds (at most N),
// the rest blank. False when it holds no stamp.
bool readElevationValues(const std::string& bytes, int traces, std::vector<float>& elevations);

// --- converting the samples (pure) --------------------------------------------------

struct ElevationPlan {
  float emin = 0, emax = 0;  // feet
  int samples = 0;           // M' = trunc((emax - emin) / dz + M)
  std::vector<int> shifts;   // trunc((emax - e_i) / dz) per trace
};
enum class PlanFault { None, Increment, Blank, TooManySamples };
// From the elevations in feet, the depth increment and the samples per
// trace of the depth version. Refuses dz <= 0, blank or non-finite
// elevations, and an M' beyond kMaxSamplesPerTrace.
PlanFault planElevation(const std::vector<float>& feet, float dz, int M, ElevationPlan& plan);
// One trace: M samples copied to out[shift .. shift + M - 1], the rest of
// the Mout output samples 0.
void shiftTrace(const float* in, int M, int shift, float* out, int Mout);

// --- dialogs ---------------------------------------------------------------------

// What the elevation dialog edits.
struct ElevationTarget {
  std::string zPath;
  std::string folder;  // where Import and Export start
  ElevationLine line;
  const char* unit = "m";  // the profile's distance unit
  // Per trace, in the profile's distance units, from the fixes the profile
  // was placed by (empty when it was not placed from GPS or they had none).
  std::vector<float> gpsElevations;
};

// "Edit Elevation Values".
class CElevationDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 23330, IDC_LINEAR = 23331, IDC_SPLINE = 23332, IDC_INTERPOLATE = 23333,
         IDC_BY_TRACE = 23334, IDC_BY_DISTANCE = 23335, IDC_BY_COORDS = 23336,
         IDC_RADIUS = 23337, IDC_RADIUS_UNIT = 23338, IDC_IMPORT = 23339, IDC_EXPORT = 23340,
         IDC_CLEAR = 23341, IDC_MATH = 23342, IDC_FROM_GPS = 23343, IDC_SMOOTH = 23344 };
  enum { kTraceCol = 0, kDistanceCol, kEastingCol, kNorthingCol, kElevationCol, kCols };
  explicit CElevationDlg(ElevationTarget target);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;
  const std::vector<float>& elevations() const { return elevations_; }

 private:
  void showElevations();
  void importValues();
  void exportValues();
  void math();
  void fromGps();
  ElevationTarget target_;
  std::vector<float> elevations_;
};

// "Elevation Math": Multiply or Add a value.
class CElevMathDlg : public dv::Dialog {
 public:
  enum { IDC_MULTIPLY = 23350, IDC_ADD = 23351, IDC_VALUE = 23352 };
  CElevMathDlg();
};

// "Elevation Convert": one row per profile with "yes"/"no" for its "Z_".
class CElevConvertDlg : public CConvertDlg {
 public:
  enum { IDC_GRID = 23320, IDC_EDIT = 23321, IDC_CONVERT = 23322 };
  explicit CElevConvertDlg(std::vector<ConvertRow> rows);
};

// --- with the project (module state) -----------------------------------------

// Elevation Convert of one profile's shown version, or (null) of the
// selected profiles' chosen depth versions.
void elevationConvertCommand(ProfileItem* single, VersionAdded added);

}  // namespace quv
