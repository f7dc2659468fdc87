// Synchronisation: the display settings of one profile version copied to
// other versions of its profile ("Synchronize Versions") or to the current
// versions of other profiles ("Synchronize Profiles"), for the normal and
// the presentation display separately, in groups of fields; every changed
// target is rebuilt and its open window repainted.
#pragma once

#include <string>
#include <vector>

#include "project/display_settings.h"

namespace quv {

class CProfileWnd;
struct ProfileVersion;

// The groups of fields copied.
enum SyncGroup {
  // gain type and parameters, palette, number of colours, wiggles, fills,
  // trace-panel fills, every nth trace, deflection, wiggle colour
  kSyncTraces = 1,
  // axis type, tick mode, both-coordinates flags, fixed number, every nth
  // trace, increment, decimals, minors, hide first/last, top and bottom
  // hide flags, hide geometry nodes
  kSyncHorizontal = 2,
  // axis type, tick mode, velocity, fixed number, every nth sample,
  // increment, decimals, minors, hide first/last, left and right hide
  // flags, grid-line flags
  kSyncVertical = 4,
  // first and last trace; with kSyncVertical also first and last sample
  kSyncTraceRange = 8,
  // visible region, page, units, margins, margin frame, the six page
  // elements, axis fonts and colours, legend, comments band
  kSyncPage = 16,
};

// Copies the groups from `from` into `to`. The copied trace and sample
// ranges are kept within the target's traces and samples (a range of
// another profile or of a longer version would point past its data).
void copySyncGroups(DisplaySettings& to, const DisplaySettings& from, int groups, int traces,
                    int samples);

// True when the gain type or a gain parameter of the two records differ
// (parameters by more than 0.00001): the byte traces must be built again.
bool gainChanged(const DisplaySettings& a, const DisplaySettings& b);

// The groups Sync Versions copies from `source` to `target`: traces,
// horizontal axis and trace range; the vertical axis (and with it the
// sample range) when both versions have the same vertical meaning (same
// kind); the page and fonts for the presentation record when the window is
// in presentation mode.
int versionSyncGroups(int sourceKind, int targetKind, bool presentation, bool presentationMode);
// The groups Sync Profiles copies: traces and horizontal axis, with the
// trace range for the presentation record.
int profileSyncGroups(bool presentation);

// One target of a synchronisation: copies the normal and/or presentation
// record of `source` into `target` with the groups of each, discards the
// byte traces of a record whose gain changed, and returns true when a
// stored field of either record changed.
struct SyncRequest {
  bool normal = false, presentation = false;
  int normalGroups = 0, presentationGroups = 0;
};
bool syncVersion(ProfileVersion& target, const ProfileVersion& source, const SyncRequest& request);

// A grid row of the dialogs: its label and what is ticked.
struct SyncRow {
  std::string label;
  bool source = false;
  bool normal = false, presentation = false;
};

// The dialogs ("Synchronize Versions" and "Synchronize Profiles"): false
// on Cancel; on OK the rows hold what was ticked (a source row never counts).
bool runSyncDialog(bool profiles, std::vector<SyncRow>& rows);

// The window's commands (33280, 33290, 34147, 34167 and 33281, 33291,
// 34148, 34168).
void syncVersionsCommand(CProfileWnd& window);
void syncProfilesCommand(CProfileWnd& window);

}  // namespace quv
