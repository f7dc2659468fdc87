// Join: one new profile from several raw data items recorded along one
// line. The user ticks the items, orders them and gives each its range of
// traces and the plan coordinates of the first and last trace used; the
// traces are written one item after the other, zero traces filling the gap
// between items that do not touch, every trace as long as the longest
// item's, and the profile gets a complex line through every start and end
// point.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/dialog.h"
#include "processing/geometry.h"  // GeoNode

namespace quv {

// One row of the join list.
struct JoinItem {
  std::string name;
  DvHandle tree = nullptr;
  int traces = 0, samples = 0;
  float firstTime = 0, interval = 1;
  int start = 0, end = 0;  // trace range used, from 0
  double startEasting = 0, startNorthing = 0, endEasting = 0, endNorthing = 0;
};

// --- the layout (pure) -------------------------------------------------------------

// The increment shown: start to end point over N - 1 (0 for one trace).
double joinIncrement(const JoinItem& item);
// True when the first sample time or time increment of `other` differs
// from the reference by more than 0.001 (compared in single precision, as
// the items hold them).
bool timingDiffers(const JoinItem& reference, const JoinItem& other);

struct JoinPlan {
  // The text of the warning box when the list cannot be joined ("" otherwise).
  std::string refusal;
  double dx = 0;
  int samples = 0;  // M, the largest samples per trace
  int total = 0;    // output traces
  std::vector<int> gap;      // zero traces before item k (gap[0] = 0)
  std::vector<int> lastUsed; // each item's last trace written (end, less a shared point)
  std::vector<int> first;    // each item's first output trace
  std::vector<GeoNode> nodes;  // every start and end point at its output trace
};
// Refused: an item whose start and end trace are the same (no spacing), a
// gap to count with a spacing of 0, an output too large for a profile.
JoinPlan planJoin(const std::vector<JoinItem>& items);

// The sample file of a join at `path` (written beside it, renamed when
// whole): the traces of each item's range (data[k] the item's raw data)
// after the zero traces of its gap, padded with zeros to M samples, RAMAC
// traces without their DC level. False when a recording or the file failed.
struct RawData;
struct AmplitudeRange;
bool writeJoinedTraces(const std::vector<const RawData*>& data, const std::vector<JoinItem>& items,
                       const JoinPlan& plan, const std::string& path, AmplitudeRange& range);

// --- dialogs -----------------------------------------------------------------------

// "Join", second step: the order, the trace ranges and the coordinates.
// OK (with a list that can be joined) hands the list and its plan to `join`.
class CJoinOrderDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 23760, IDC_UP, IDC_DOWN };
  enum {
    kRawCol = 0, kTracesCol, kStartCol, kStartEastCol, kStartNorthCol, kEndCol, kEndEastCol,
    kEndNorthCol, kIncrementCol, kCols
  };
  explicit CJoinOrderDlg(std::vector<JoinItem> items);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;
  const std::vector<JoinItem>& items() const { return items_; }

  std::function<void(const std::vector<JoinItem>&, const JoinPlan&)> join;

 private:
  void showAll();
  void move(int by);
  std::vector<JoinItem> items_;
};

// "Join", first step: the item itself and the other raw items, each with
// a check box, and the new profile's name. OK checks the name and the
// timing of the ticked items, then runs the second step.
class CJoinDlg : public dv::Dialog {
 public:
  enum { IDC_TITLE = 23750, IDC_GRID, IDC_NAME };
  enum { kRawCol = 0, kTickCol = 1 };
  // items[0] is the item Join was called on.
  CJoinDlg(std::vector<JoinItem> items, std::string profileName,
           std::vector<std::string> existingProfiles);
  bool onInitDialog() override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;

  // The second step's OK with the cleaned profile name.
  std::function<void(const std::string& name, const std::vector<JoinItem>&, const JoinPlan&)> join;

 private:
  std::vector<JoinItem> items_;
  std::vector<bool> ticked_;
  std::string name_;
  std::vector<std::string> existing_;
};

// --- with the project (module state) -----------------------------------------

// Writes the joined profile `name`; its tree object, null when nothing was made.
DvHandle joinToProfile(const std::string& name, const std::vector<JoinItem>& items,
                       const JoinPlan& plan);
// "Join" on a raw item.
void joinCommand(DvHandle rawItem);

}  // namespace quv
