// Depth conversion: a time version becomes a new depth version ("D%02i_")
// through the profile's velocity model. The model is a short table of
// (time, interval velocity) rows, saved as text in "TV_"; saving it also
// stores, in "VEL_", the root-mean-square velocity at every sample time of
// the version for every trace. Conversion maps each trace from two-way time
// onto a uniform depth axis by linear interpolation.
//
// Velocities are typed in metres per nanosecond for metric profiles and
// used in feet per nanosecond (times 3.2808399); profiles in feet or inches
// take them as feet per nanosecond. Depths are therefore held in feet.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dv/dialog.h"
#include "project/blank_cell.h"
#include "processing/convert_version.h"

namespace quv {

// --- the velocity table (pure) ------------------------------------------------

struct VelocityRow {
  float time = kBlankCell;      // ns
  float velocity = kBlankCell;  // as typed
};

// Bubble sort by time, ascending: rows of equal time keep their order and
// blank times end up last.
void sortVelocityRows(std::vector<VelocityRow>& rows);
// The warning for the first faulty row in order ("Blank values are not
// allowed", "Negative time values are not allowed", "Only positive velocity
// values are allowed"), nullptr when every row may be used.
const char* velocityRowsFault(const std::vector<VelocityRow>& rows);
// "TV_" and ".vel" text: "/ Time Velocity" and "%.2f %.3f" per row without
// a blank cell.
std::string formatVelocityTable(const std::vector<VelocityRow>& rows);
// The rows of a "TV_" text: lines left-trimmed, empty and "/" lines skipped,
// each other line read as two numbers (a missing one stays blank).
std::vector<VelocityRow> parseVelocityTable(const std::string& text);
// The rows of an imported table file, the columns counted from 1; lines
// whose time or velocity is 0 or less (or missing) are left out.
std::vector<VelocityRow> importVelocityTable(const std::string& text, int timeColumn,
                                             int velocityColumn);

// The RMS velocity at each of the M sample times t (ascending): with the
// rows' layer boundaries T_r, interval velocities V_r and T_0 = 0,
// v = sqrt((sum of V_r^2 x layer thickness above t + V^2 x (t - P)) / t),
// and the current layer's velocity at t = 0. The last row's velocity goes
// on below its time. `rows` must be sorted and free of faults.
void rmsVelocities(const std::vector<VelocityRow>& rows, const float* times, int M, float* out);

// "VEL_": the version stamp, then the same row of M velocities for each of
// the N traces.
std::string encodeVelFile(const std::vector<float>& row, int traces, int stamp);
// N rows of M floats; false unless the file holds exactly the stamp and
// N x M floats (a file saved for another number of samples per trace).
bool decodeVelFile(const std::string& bytes, int traces, int samples, std::vector<float>& out);

// --- converting the samples (pure) --------------------------------------------

// Velocities of a metric profile in feet per nanosecond (x 3.2808399);
// others unchanged.
void velocitiesInFeet(std::vector<float>& velocities, float unitsPerFoot);

struct DepthAxis {
  float z0 = 0;  // depth of sample 0, feet
  float dz = 0;  // feet per sample
};
// From N x M velocities (feet per ns) and the first and last sample time:
// z0 = vmin x t0 / 2 when t0 > 0 (else 0), dz = (vmax x t_last / 2 - z0) /
// (M - 1), vmin the smallest first velocity and vmax the largest last one.
// M must be at least 2.
DepthAxis depthAxis(const float* velocities, int traces, int M, float firstTime, float lastTime);

// One trace: the depth of every input sample d_j = v_j x t_j / 2 (in
// `depths`, M floats of scratch), then each output sample at z0 + k x dz
// linearly interpolated between the input samples around it, 0 above the
// first and below the last input depth.
void depthConvertTrace(const float* samples, const float* velocities, const float* times, int M,
                       DepthAxis axis, float* depths, float* out);

// --- dialogs --------------------------------------------------------------------

// What the velocity dialog edits: one profile's table, saved for the
// sample times of the version to be converted.
struct VelocityTarget {
  std::string tvPath, velPath;
  std::string folder;  // where Import and Export start
  int traces = 0;
  std::vector<float> times;  // the version's sample times
  bool metric = true;
  // A velocity fitted to a hyperbola of the profile (as typed), 0 when
  // none: an empty table starts as one row of it from 0 ns.
  float fittedVelocity = 0;
};

// "Edit Velocities": the table, Import (column-order dialog), Export,
// Sort, Insert, Delete; OK checks the rows and writes "TV_" and "VEL_".
class CVelocityDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 23310, IDC_IMPORT = 23311, IDC_EXPORT = 23312, IDC_SORT = 23313,
         IDC_INSERT = 23314, IDC_DELETE = 23315 };
  enum { kTimeCol = 0, kVelocityCol = 1 };
  explicit CVelocityDlg(VelocityTarget target);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;
  const std::vector<VelocityRow>& rows() const { return rows_; }

 private:
  void showAll();
  void importTable();
  void exportTable();
  VelocityTarget target_;
  std::vector<VelocityRow> rows_;
};

// "Depth Convert": one row per profile with "yes"/"no" for its "VEL_".
class CDepthConvertDlg : public CConvertDlg {
 public:
  enum { IDC_GRID = 23300, IDC_EDIT = 23301, IDC_CONVERT = 23302 };
  explicit CDepthConvertDlg(std::vector<ConvertRow> rows);
};

// --- with the project (module state) -----------------------------------------

// Depth Convert of one profile's shown version (`single`), or Depth Convert
// Selected (null: the selected profiles, each its chosen time version; the
// caller has run the batch selection check). `added` hears of every new
// version.
void depthConvertCommand(ProfileItem* single, VersionAdded added);

}  // namespace quv
