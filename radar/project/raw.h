// Raw data items: field recordings copied into the project folder, shown
// under "QUV" / "Raw Data". For a recording whose title is T (its file name
// up to the first "."), the project folder holds
//   "RAW_" T ".QUV"                 the item file (below)
//   "DZT_" T ".QUV" ...             the stored copy of the recording (its header file)
//   "DT1_" / "RD3_" T ".QUV"        the stored data file of pulseEKKO and RAMAC recordings
//   "MRK_" + first stored name      the markers file
//   "GPS_" + first stored name      the position sidecar found beside the recording
// The tree object's file-extension text is T ".QUV" (the new name + ".QUV"
// after a rename); the item file is "RAW_" + that text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "project/profile.h"  // WindowPlacement, SampleBuffer

namespace quv {

enum RawFormat {
  kRawUnreadable = -1,
  kRawGssi = 0,   // .DZT
  kRawPekko = 1,  // .HD with .DT1
  kRawRamac = 2,  // .RAD with .RD3
  kRawSeg2 = 3,   // .SG2 or .DAT
  kRawSegy = 4,   // .SGY
};

// --- names (pure) -------------------------------------------------------------

std::string fileNameOf(const std::string& path);       // after the last "/"
std::string recordingTitle(const std::string& name);   // up to the first "."
std::string upperExtension(const std::string& name);   // after the last ".", upper case
std::string upperCase(std::string s);
// The format of a recording's upper-case extension, kRawUnreadable for others.
int formatOfExtension(const std::string& upperExt);
// The format a stored first name's prefix gives ("DAT_" and "SG2_" both SEG-2).
int formatOfStoredName(const std::string& firstName);
// "DZT_", "HD_", "RAD_", "SG2_", "SGY_" ("" for other kinds).
std::string storedPrefix(int format);
// "DT1_" / "RD3_" for pulseEKKO and RAMAC, "" otherwise.
std::string secondPrefix(int format);
// True when a recording's file name may become a raw data name: no double
// quote or comma (they would break the project file's lines), no blank at
// either end (the project file does not keep them), no control character,
// and usable as part of a file name in the project folder.
bool usableRawName(const std::string& name);

// --- the item file ("RAW_" file, pure) ---------------------------------------

// Its fields, in stored order (little-endian 4-byte integers; each name as
// its length including the terminating zero, then those bytes).
struct RawItemFile {
  int32_t stamp = 258;     // minor + 256 * major of the module that wrote it
  int32_t windowOpen = 0;  // 1: a raw window was open, the placement follows at the end
  std::string firstName;
  std::string secondName;
  int32_t windowSet = 0;  // 0: the four window values are not set yet (full extent)
  int32_t firstTrace = 0, lastTrace = 0, firstSample = 0, lastSample = 0;
  int32_t reserved = -1;  // -1 when the item is created, 0 when saved later
  int32_t gain = 0, palette = 0, colours = 64;
  WindowPlacement placement;  // stored only when windowOpen is 1
};
std::string encodeRawItemFile(const RawItemFile& f);
// False when the bytes end before the fields do, or a name length is below 1
// or runs past the end: nothing is allocated beyond the bytes given.
bool decodeRawItemFile(const std::string& bytes, RawItemFile& f);
// The 44 bytes of a window placement, and back (bytes must hold 44).
std::string encodePlacement(const WindowPlacement& p);
WindowPlacement decodePlacement(const unsigned char* bytes);

// --- items (module state) -------------------------------------------------------

// The persistent part of a raw item and what its header gives.
struct RawData {
  std::string firstName, firstPath;
  std::string secondName, secondPath;
  std::string markersPath;
  std::string positionsPath;  // the stored position sidecar (may be absent)
  int format = kRawUnreadable;
  int traces = 0;
  int samples = 0;
  float firstTime = 0;  // ns, time of sample 0
  float interval = 1;   // ns between samples, never 0 or less
  // The part in use; windowSet is 1 once the values are set (the full extent
  // when the item is new), 0 while an unreadable item keeps them unset.
  int32_t windowSet = 0;
  int32_t firstTrace = 0, lastTrace = 0, firstSample = 0, lastSample = 0;
  int32_t gain = 0, palette = 0, colours = 64;
  std::vector<float> timeAxis;  // one entry per sample
  // Per trace, for the raw data window: a needed flag and a sample buffer.
  std::vector<uint8_t> needed;
  std::vector<SampleBuffer> buffers;
  // The header record of the recording's format, read when the item loads
  // (released through the format library).
  void* header = nullptr;
  int headerFormat = kRawUnreadable;

  RawData() = default;
  ~RawData();
  RawData(const RawData&) = delete;
  RawData& operator=(const RawData&) = delete;
};

// The object pointer stored with the tree item.
struct RawObject {
  DvHandle item = nullptr;
  std::unique_ptr<RawData> data;
  void* window = nullptr;  // the raw data window (none yet)
  // A placement read from an item file whose window was open; written back on
  // save so the window opens again once the raw data window exists.
  bool keepPlacement = false;
  WindowPlacement placement;
};

// The counts and timing a recording's header gives (read through the format
// library, nothing kept): false when the library refuses the header.
struct RecordingShape {
  int traces = 0, samples = 0;
  double firstTime = 0, interval = 0;
};
bool readRecordingShape(int format, const std::string& firstPath, RecordingShape& out);
// Reads the header of d.firstPath in d.format into d.header (released with d).
bool readRecordingHeader(RawData& d);

// The bytes a pulseEKKO or RAMAC data file of these counts holds.
int64_t twoFileDataBytes(int format, int traces, int samples);
// A rewrite of a pulseEKKO or RAMAC recording renames two files, header
// and data; until both are in place the old ones stay beside them under
// this name ("<file>.orig").
std::string keptAsideName(const std::string& path);
// Puts the recording of `d` (its format and both paths set) in one piece
// after such a rewrite was cut short (the process killed): with the old
// data file still aside, the new files were not both in place and the old
// ones are put back; an old header left alone is from after that point and
// goes. Older rewrites kept only the data file aside: it is put back when
// it, and not the data file in place, fits the header's counts. True when
// the old recording was put back ("Restored %s ..." on the message bar).
bool recoverCutShortRewrite(const RawData& d);

// Project folder + "/" + name.
std::string projectPath(const std::string& name);
// Reads the item file and the recording's header into obj (Load item).
// Failures mark the tree item bad with their message; false then.
bool loadRawItem(RawObject& obj);
// Writes the item file whole (Save item). Does nothing for an item whose
// file could not be read (there is nothing to write back).
bool saveRawItem(RawObject& obj);
// Deletes the item's stored files, its markers file and its item file,
// closes it and removes the tree item ("Raw Data Deleted: %s"), without asking.
void deleteRawItem(DvHandle item, RawObject* obj);
// The item file's name of a tree item: "RAW_" + its file-extension text.
std::string rawItemFileName(DvHandle item);
// Saves the item file, takes the item's window down and frees obj.
void closeRawItem(RawObject* obj);

}  // namespace quv
