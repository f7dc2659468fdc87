// Saving, closing and deleting raw data items.
#include <algorithm>

#include "dv/file.h"
#include "dv/tree.h"
#include "dv/ui.h"
#include "project/item_windows.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/messages.h"

namespace quv {

std::string rawItemFileName(DvHandle item) { return "RAW_" + treeFileExt(item); }

namespace {

void removeIfThere(const std::string& path) {
  if (dv::fileExists(path)) dv::removeFile(path);
}

}  // namespace

bool saveRawItem(RawObject& obj) {
  if (!obj.data) return false;
  const RawData& d = *obj.data;
  std::string name = rawItemFileName(obj.item);
  if (!dv::isSafeFileName(name)) return false;
  RawItemFile f;
  f.stamp = versionStamp();
  // The open window's placement; a placement read from the file whose
  // window could not be shown is written back as it was.
  f.windowOpen = obj.window || obj.keepPlacement ? 1 : 0;
  f.placement = itemWindows().rawPlacement ? itemWindows().rawPlacement(obj) : obj.placement;
  f.firstName = d.firstName;
  f.secondName = d.secondName;
  f.windowSet = d.windowSet;
  f.firstTrace = d.firstTrace;
  f.lastTrace = d.lastTrace;
  f.firstSample = d.firstSample;
  f.lastSample = d.lastSample;
  f.reserved = 0;
  f.gain = d.gain;
  f.palette = d.palette;
  f.colours = d.colours;
  return dv::writeFileAtomic(projectPath(name), encodeRawItemFile(f));
}

void closeRawItem(RawObject* obj) {
  if (!obj) return;
  saveRawItem(*obj);
  if (itemWindows().destroyRaw) itemWindows().destroyRaw(*obj);
  delete obj;
}

void deleteRawItem(DvHandle item, RawObject* obj) {
  std::string name = treeName(item);
  if (obj && obj->data) {
    const RawData& d = *obj->data;
    removeIfThere(d.firstPath);
    // The data file of pulseEKKO and RAMAC items (also when their header
    // could not be read, so no copy is left behind).
    if (d.format == kRawPekko || d.format == kRawRamac || d.secondName != d.firstName)
      removeIfThere(d.secondPath);
    removeIfThere(d.markersPath);
    removeIfThere(d.positionsPath);
  }
  std::string itemFile = rawItemFileName(item);
  closeRawItem(obj);
  if (dv::isSafeFileName(itemFile)) removeIfThere(projectPath(itemFile));
  if (auto del = fw<PfnDeleteTreeObject>(PONTRA_DeleteTreeObject)) del(item);
  msg(DV_MSG_PLAIN, kMsgRawDataDeleted, name.c_str());
}

}  // namespace quv
