// Synchronisation of display settings across versions and profiles: the
// copy groups, the gain-change test and the commands of the profile window.
#include "display/sync.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "display/gain.h"
#include "display/profile_window.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/tree_items.h"

namespace quv {

namespace {

void copyTraces(DisplaySettings& to, const DisplaySettings& f) {
  to.gainType = f.gainType;
  to.constantGain = f.constantGain, to.agcWindow = f.agcWindow;
  to.sphericalV = f.sphericalV, to.sphericalA = f.sphericalA;
  to.paletteType = f.paletteType, to.numColours = f.numColours;
  to.wiggleLines = f.wiggleLines, to.fillLeft = f.fillLeft, to.fillRight = f.fillRight;
  to.panelFillLeft = f.panelFillLeft, to.panelFillRight = f.panelFillRight;
  to.wiggleEvery = f.wiggleEvery, to.wiggleDeflection = f.wiggleDeflection;
  to.wiggleColour = f.wiggleColour;
}

void copyHorizontal(DisplaySettings& to, const DisplaySettings& f) {
  to.hAxisType = f.hAxisType, to.hTickMode = f.hTickMode;
  to.eastingWithNorthing = f.eastingWithNorthing, to.northingWithEasting = f.northingWithEasting;
  to.hFixedNumber = f.hFixedNumber, to.everyNthTrace = f.everyNthTrace;
  to.hCoordIncrement = f.hCoordIncrement, to.hDecimals = f.hDecimals, to.hMinors = f.hMinors;
  to.hHideFirst = f.hHideFirst, to.hHideLast = f.hHideLast;
  to.hTopValues = f.hTopValues, to.hTopMajor = f.hTopMajor, to.hTopMinor = f.hTopMinor;
  to.hBottomValues = f.hBottomValues, to.hBottomMajor = f.hBottomMajor;
  to.hBottomMinor = f.hBottomMinor;
  to.hideGeometryNodes = f.hideGeometryNodes;
}

void copyVertical(DisplaySettings& to, const DisplaySettings& f) {
  to.vAxisType = f.vAxisType, to.vTickMode = f.vTickMode, to.velocity = f.velocity;
  to.vFixedNumber = f.vFixedNumber, to.everyNthSample = f.everyNthSample;
  to.vCoordIncrement = f.vCoordIncrement, to.vDecimals = f.vDecimals, to.vMinors = f.vMinors;
  to.vHideFirst = f.vHideFirst, to.vHideLast = f.vHideLast;
  to.vLeftValues = f.vLeftValues, to.vLeftMajor = f.vLeftMajor, to.vLeftMinor = f.vLeftMinor;
  to.vRightValues = f.vRightValues, to.vRightMajor = f.vRightMajor;
  to.vRightMinor = f.vRightMinor;
  to.hideMajorGrid = f.hideMajorGrid, to.hideMinorGrid = f.hideMinorGrid;
}

// A range [first, last] kept within 0..count-1 (left alone without data).
void copyRange(int32_t& first, int32_t& last, int32_t fromFirst, int32_t fromLast, int count) {
  if (count <= 0) return;
  first = std::clamp(fromFirst, 0, count - 1);
  last = std::clamp(fromLast, first, count - 1);
}

void copyPage(DisplaySettings& to, const DisplaySettings& f) {
  for (int e = 0; e < kPageElementCount; ++e) to.elements[e] = f.elements[e];
  to.visibleLeft = f.visibleLeft, to.visibleTop = f.visibleTop;
  to.visibleRight = f.visibleRight, to.visibleBottom = f.visibleBottom;
  to.landscape = f.landscape, to.unitsFactor = f.unitsFactor;
  to.pageWidth = f.pageWidth, to.pageHeight = f.pageHeight;
  to.marginLeft = f.marginLeft, to.marginTop = f.marginTop;
  to.marginRight = f.marginRight, to.marginBottom = f.marginBottom;
  to.hideMarginFrame = f.hideMarginFrame;
  to.hFontSize = f.hFontSize, to.vFontSize = f.vFontSize;
  to.hFontHeight = f.hFontHeight, to.vFontHeight = f.vFontHeight;
  to.hFont = f.hFont, to.vFont = f.vFont;
  to.hTextColour = f.hTextColour, to.vTextColour = f.vTextColour;
  for (int i = 0; i < kLegendLines; ++i) {
    to.legendTexts[i] = f.legendTexts[i];
    to.legendSizes[i] = f.legendSizes[i];
  }
  to.commentsPlacement = f.commentsPlacement, to.commentsRotation = f.commentsRotation;
  to.commentsFontSize = f.commentsFontSize, to.commentsFourth = f.commentsFourth;
  to.commentsFont = f.commentsFont, to.commentsColour = f.commentsColour;
  recreateFonts(to);
}

bool differs(float a, float b) { return std::fabs(double(a) - double(b)) > 0.00001; }

// Copies one record; discards its byte traces when the gain changed.
bool syncRecord(ProfileVersion& target, bool presentation, const DisplaySettings& from,
                int groups) {
  DisplaySettings& to = presentation ? target.presentation : target.normal;
  const DisplaySettings before = to;
  copySyncGroups(to, from, groups, target.traceCount(), target.samples);
  if (gainChanged(before, to)) discardByteTraces(target, presentation);
  return !sameStoredFields(before, to);
}

// A changed target: fonts made again, and the window showing the version
// follows (its paint builds the byte traces it shows that were discarded).
void rebuildTarget(ProfileItem& item, ProfileVersion& v, bool rangeChanged) {
  recreateFonts(v.normal);
  recreateFonts(v.presentation);
  auto* w = static_cast<CProfileWnd*>(item.window);
  if (!w || w->version() != &v) return;
  if (rangeChanged) w->normalView().zoomChanged();
  w->modeChanged();
  w->refresh();
}

bool sameRange(const DisplaySettings& a, const DisplaySettings& b) {
  return a.firstTrace == b.firstTrace && a.lastTrace == b.lastTrace &&
         a.firstSample == b.firstSample && a.lastSample == b.lastSample;
}

// Syncs one ticked target and rebuilds it when it changed.
void syncTarget(ProfileItem& item, ProfileVersion& target, const ProfileVersion& source,
                const SyncRequest& request) {
  const DisplaySettings normalBefore = target.normal;
  if (syncVersion(target, source, request))
    rebuildTarget(item, target, !sameRange(normalBefore, target.normal));
}

std::string versionRowLabel(const ProfileVersion& v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%c%i ", versionLetter(v.kind), v.number);
  return buf + v.name;
}

// The version a profile shows (its window's, else the stored choice).
ProfileVersion* currentVersion(ProfileItem& item) {
  if (auto* w = static_cast<CProfileWnd*>(item.window)) return w->version();
  if (item.versionList.empty()) rebuildVersionList(item);
  return shownVersion(item);
}

}  // namespace

void copySyncGroups(DisplaySettings& to, const DisplaySettings& from, int groups, int traces,
                    int samples) {
  if (groups & kSyncTraces) copyTraces(to, from);
  if (groups & kSyncHorizontal) copyHorizontal(to, from);
  if (groups & kSyncVertical) copyVertical(to, from);
  if (groups & kSyncTraceRange) {
    copyRange(to.firstTrace, to.lastTrace, from.firstTrace, from.lastTrace, traces);
    if (groups & kSyncVertical)
      copyRange(to.firstSample, to.lastSample, from.firstSample, from.lastSample, samples);
  }
  if (groups & kSyncPage) copyPage(to, from);
}

bool gainChanged(const DisplaySettings& a, const DisplaySettings& b) {
  return a.gainType != b.gainType || differs(a.constantGain, b.constantGain) ||
         differs(a.agcWindow, b.agcWindow) || differs(a.sphericalV, b.sphericalV) ||
         differs(a.sphericalA, b.sphericalA);
}

int versionSyncGroups(int sourceKind, int targetKind, bool presentation, bool presentationMode) {
  int groups = kSyncTraces | kSyncHorizontal | kSyncTraceRange;
  if (sourceKind == targetKind) groups |= kSyncVertical;
  if (presentation && presentationMode) groups |= kSyncPage;
  return groups;
}

int profileSyncGroups(bool presentation) {
  return kSyncTraces | kSyncHorizontal | (presentation ? kSyncTraceRange : 0);
}

bool syncVersion(ProfileVersion& target, const ProfileVersion& source, const SyncRequest& request) {
  if (&target == &source) return false;
  bool changed = false;
  if (request.normal) changed |= syncRecord(target, false, source.normal, request.normalGroups);
  if (request.presentation)
    changed |= syncRecord(target, true, source.presentation, request.presentationGroups);
  return changed;
}

void syncVersionsCommand(CProfileWnd& window) {
  ProfileItem& item = window.item();
  const ProfileVersion* source = window.version();
  if (!source) return;
  rebuildVersionList(item);
  const std::vector<ProfileVersion*> versions = item.versionList;
  std::vector<SyncRow> rows;
  for (const ProfileVersion* v : versions) rows.push_back({versionRowLabel(*v), v == source});
  if (!runSyncDialog(false, rows)) return;
  for (size_t i = 0; i < versions.size(); ++i) {
    const SyncRow& row = rows[i];
    if (row.source || !(row.normal || row.presentation)) continue;
    ProfileVersion& target = *versions[i];
    SyncRequest request{row.normal, row.presentation,
                        versionSyncGroups(source->kind, target.kind, false, false),
                        versionSyncGroups(source->kind, target.kind, true,
                                          window.presentationMode())};
    syncTarget(item, target, *source, request);
  }
}

void syncProfilesCommand(CProfileWnd& window) {
  const ProfileVersion* source = window.version();
  if (!source) return;
  // The profiles of the project that can be shown, in tree order.
  std::vector<ProfileItem*> profiles;
  std::vector<SyncRow> rows;
  for (DvHandle it : childItems(profileFolder())) {
    ProfileItem* p = profileOf(it);
    if (!p || !p->header || treeBad(it)) continue;
    profiles.push_back(p);
    rows.push_back({treeName(it), p == &window.item()});
  }
  if (!runSyncDialog(true, rows)) return;
  const SyncRequest groups{false, false, profileSyncGroups(false), profileSyncGroups(true)};
  for (size_t i = 0; i < profiles.size(); ++i) {
    const SyncRow& row = rows[i];
    if (row.source || !(row.normal || row.presentation)) continue;
    ProfileVersion* target = currentVersion(*profiles[i]);
    if (!target) continue;
    SyncRequest request = groups;
    request.normal = row.normal, request.presentation = row.presentation;
    syncTarget(*profiles[i], *target, *source, request);
  }
}

}  // namespace quv
