// What depth and elevation conversion share: the dialog that lists the
// profiles to convert with "yes"/"no" for their side file, the batch over
// its rows, and the writing of one new version from a source version (the
// sample file written beside its name and renamed when whole, the version
// header, the version object).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/dialog.h"

namespace quv {

struct ProfileItem;
struct ProfileVersion;

// The message boxes of the conversion dialogs: "Warning" for a refused
// entry, "Error" for a file that could not be used.
void warningBox(const char* text);
void errorBox(const char* text);

// Told of every version a conversion added (the profile window shows it).
using VersionAdded = void (*)(ProfileItem& item, ProfileVersion& made);

// One row of a conversion dialog.
struct ConvertRow {
  std::string name;      // the profile's tree name
  DvHandle tree = nullptr;
  std::string sidePath;  // "VEL_" or "Z_" of the profile
};
// The row of one profile, or (null) a row for every selected profile of the
// "Profiles" folder that is not bad, in tree order.
std::vector<ConvertRow> convertRows(ProfileItem* single, bool velocities);

// The version of `kind` with the number chosen when the profile was
// selected; a profile that was never given one takes its first version of
// the kind. nullptr when there is none.
ProfileVersion* chosenVersion(ProfileItem& item, int kind);
// The version whose sample times a row's side file is made for: the shown
// version, or in a batch the version of `kind` with the chosen number (the
// shown one when the profile has none).
ProfileVersion* rowVersion(ProfileItem& item, bool batch, int kind);

// The grid "Profile" / <file column> with "yes" when the row's side file
// exists, an edit button for the current row and "Convert".
class CConvertDlg : public dv::Dialog {
 public:
  enum { kProfileCol = 0, kFileCol = 1 };
  CConvertDlg(int resourceId, const std::string& caption, const std::string& fileColumn,
              const std::string& editCaption, int gridId, int editId, int convertId,
              std::vector<ConvertRow> rows);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onGridEdited(int gridId, int row, int col) override;

  // The edit button on a row (then its "yes"/"no" is refreshed); Convert
  // (then the dialog closes).
  std::function<void(const ConvertRow&)> edit;
  std::function<void(const std::vector<ConvertRow>&)> convert;
  const std::vector<ConvertRow>& rows() const { return rows_; }

 private:
  void showRow(size_t k);
  std::string fileColumn_;
  int gridId_, editId_, convertId_;
  std::vector<ConvertRow> rows_;
};

// How one new version is made from its source.
struct VersionConversion {
  const char* command = "";        // "Depth Convert", for messages
  const char* progressTitle = "";  // "Depth Converting Profile"
  int kind = 0;                    // of the new version
  int samples = 0;                 // per trace of the new version
  // Trace i: M source samples in, `samples` out.
  std::function<void(int trace, const float* in, float* out)> trace;
  // Sets the new version's axis fields and settings (which start as the
  // source's, with the zoom window over the whole new version).
  std::function<void(ProfileVersion& made)> header;
};

// Every trace of a version in memory while it lives: the traces that had
// no samples loaded before are released again when it ends.
class SourceTraces {
 public:
  explicit SourceTraces(ProfileVersion& v);
  ~SourceTraces();
  SourceTraces(const SourceTraces&) = delete;
  SourceTraces& operator=(const SourceTraces&) = delete;

 private:
  ProfileVersion& v_;
  std::vector<uint8_t> had_;
};

// Writes the new version of a source version and adds it to the profile
// (the shown version stays the one shown). Nothing is made when a file
// cannot be written, or all 99 numbers of the kind are taken (each
// reported); returns the version or nullptr.
ProfileVersion* convertVersion(ProfileItem& item, ProfileVersion& source,
                               const VersionConversion& conversion);

// What converting one version of a row came to.
enum class ConvertOutcome { Done, NoEffect, Failed };

// The batch: "Batch Start" / "Batch End" around the rows in batch mode; each
// row with its side file converts its versions (single: the shown version
// when it is of `sourceKind`; batch: the version of that kind with the
// profile's chosen number) through `one`, then "<command>: %s - Completed"
// (or "- Failed" when one of them failed).
void runConversions(const std::vector<ConvertRow>& rows, bool batch, int sourceKind,
                    const char* completed, const char* failed,
                    const std::function<ConvertOutcome(ProfileItem&, ProfileVersion&)>& one);

}  // namespace quv
