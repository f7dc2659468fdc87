// The Quv module's own texts: every message-bar line and message-box text
// its commands write, named once. Texts with %-fields take their values
// in the order shown.
#pragma once

namespace quv {

inline constexpr const char kMsgArrivesInALaterVersion[] = "%s: %s arrives in a later version";
inline constexpr const char kMsgBatchEnd[] = "Batch End";
inline constexpr const char kMsgBatchStart[] = "Batch Start";
inline constexpr const char kMsgCannotAddRawDataFilesFromCurrent[] =
    "Cannot add raw data files from current project directory";
inline constexpr const char kMsgCannotAddRawDataFilesWithImproper[] =
    "Cannot add raw data files with improper file extension";
inline constexpr const char kMsgCannotRenameTo[] = "Cannot rename %s to %s: %s";
inline constexpr const char kMsgCouldNotCreateFile[] = "Could not create file";
inline constexpr const char kMsgCouldNotOpenFileForReading[] = "Could not open file for reading";
inline constexpr const char kMsgCouldNotOpenForReading[] = "Could not open %s for reading";
inline constexpr const char kMsgCreateProfileFailed[] = "Create Profile: %s - Failed";
inline constexpr const char kMsgDeleteTheItem[] = "Delete the item?";
inline constexpr const char kMsgDeleteTheSelectedItems[] = "Delete the selected items?";
inline constexpr const char kMsgDeselectCurrentSelectionSet[] = "Deselect current selection set?";
inline constexpr const char kMsgErrorComplexGeometryTheColumnOrderDialog[] =
    "Error: Complex Geometry - the column-order dialog of the format library is not loaded";
inline constexpr const char kMsgErrorCouldNotOpenForReading[] =
    "Error: Could not open %s for reading";
inline constexpr const char kMsgErrorCouldNotOpenForWriting[] =
    "Error: Could not open %s for writing";
inline constexpr const char kMsgErrorCouldNotRenameExistsAlready[] =
    "Error: Could not rename %s: %s exists already";
inline constexpr const char kMsgErrorCouldNotRenameTo[] = "Error: Could not rename %s to %s";
inline constexpr const char kMsgErrorCouldNotWrite[] = "Error: Could not write %s";
inline constexpr const char kMsgErrorTheProfileFileNameIsNot[] =
    "Error: The profile file name \"%s\" is not allowed (no \"/\" or \"..\")";
inline constexpr const char kMsgErrorTheProfileNameIsNotAllowed[] =
    "Error: The profile name \"%s\" is not allowed (no \"/\" or \"..\")";
inline constexpr const char kMsgHelpIsNotInstalledOnThisSystem[] =
    "Help is not installed on this system";
inline constexpr const char kMsgJoinWithOnly1RawDataItem[] =
    "Join with only 1 raw data item not allowed";
inline constexpr const char kMsgMustHaveAtLeast2ItemsFor[] =
    "Must have at least 2 items for complex geometry";
inline constexpr const char kMsgNoProfilesAvailable[] = "No Profiles Available";
inline constexpr const char kMsgNodesWithSameTraceValueAreNot[] =
    "Nodes with same trace value are not allowed";
inline constexpr const char kMsgProfileDeleted[] = "Profile Deleted: %s";
inline constexpr const char kMsgProfileHasNoVersionToShow[] = "Profile %s has no version to show";
inline constexpr const char kMsgProfileOpenFailed[] = "Profile Open: %s - Failed";
inline constexpr const char kMsgRawDataDeleted[] = "Raw Data Deleted: %s";
inline constexpr const char kMsgTheComplexGeometryFileDoesNotExist[] =
    "The complex geometry file does not exist";
inline constexpr const char kMsgVersionDeleted[] = "Version Deleted: %s %s";
inline constexpr const char kMsgVersionMustBeDepthToConvertTo[] =
    "Version must be depth to convert to elevation";
inline constexpr const char kMsgVersionMustBeTimeToConvertTo[] =
    "Version must be time to convert to depth";
inline constexpr const char kMsgWarningComplexGeometryIsNotANumber[] =
    "Warning: Complex Geometry - \"%s\" is not a number";
inline constexpr const char kMsgWarningComplexGeometryTraceNumberSetTo[] =
    "Warning: Complex Geometry - Trace number set to limit";
inline constexpr const char kMsgWarningCouldNotReadTheDisplayDefaults[] =
    "Warning: Could not read the display defaults from %s, built-in defaults used";
inline constexpr const char kMsgWarningEditGeometryIsNotANumber[] =
    "Warning: Edit Geometry - \"%s\" is not a number";
inline constexpr const char kMsgWarningMoreThan25TraceWarningsOr[] =
    "Warning: More than 25 trace warnings or errors, supressing messages";
inline constexpr const char kMsgWarningNoFilesDeletedForTheProfile[] =
    "Warning: No files deleted for the profile file name \"%s\" (not allowed)";
inline constexpr const char kMsgViewFileHeaderFailed[] =
    "View File Header: %s - Not saved, %s";
inline constexpr const char kMsgViewFileHeaderSaved[] = "View File Header: %s - Saved";
inline constexpr const char kMsgBrennicNameUsed[] =
    "Error: Profile name %s already used, skipping line";
inline constexpr const char kMsgBrennicNoDatabase[] =
    "Error: Could not open Brennic LDB file %s for line %s, skipping line";
inline constexpr const char kMsgBrennicBadVersionCount[] =
    "Error: Brennic line %s has bad number of versions, skipping line";
inline constexpr const char kMsgBrennicVersionSkipped[] = "Error: Brennic line %s version %s skipped";
inline constexpr const char kMsgBrennicBadTraceCount[] =
    "Error: Brennic line %s version %s has a bad number of traces, skipping version";
inline constexpr const char kMsgBrennicBadProject[] =
    "Error: Brennic project file %s cannot be read: %s";
inline constexpr const char kMsgBrennicImportedCompleted[] = "Brennic Project Imported - Completed";
inline constexpr const char kMsgBrennicImportedSomeErrors[] = "Brennic Project Imported - Some Errors";
inline constexpr const char kMsgCouldNotOpenBrennicProject[] = "Could not open Brennic project file";
inline constexpr const char kMsgImportProfileCompleted[] = "Import Profile: %s - Completed";

// Depth and elevation conversion, their dialogs and the faults they refuse.
inline constexpr const char kMsgBlankElevationValuesAreNotAllowed[] =
    "Blank elevation values are not allowed, fill in 1st and last, then interpolate";
inline constexpr const char kMsgBlankValuesAreNotAllowed[] = "Blank values are not allowed";
inline constexpr const char kMsgDepthConvertCompleted[] = "Depth Convert: %s - Completed";
inline constexpr const char kMsgDepthConvertFailed[] = "Depth Convert: %s - Failed";
inline constexpr const char kMsgDepthConvertingProfile[] = "Depth Converting Profile";
inline constexpr const char kMsgElevationConvertCompleted[] = "Elevation Convert: %s - Completed";
inline constexpr const char kMsgElevationConvertFailed[] = "Elevation Convert: %s - Failed";
inline constexpr const char kMsgElevationConvertingProfile[] = "Elevation Converting Profile";
inline constexpr const char kMsgErrorAllVersionNumbersTaken[] =
    "Error: %s: %s - all 99 version numbers of %c versions are taken";
inline constexpr const char kMsgErrorDepthConvertNoDepthAxis[] =
    "Error: Depth Convert: %s - %s gives no depth axis (its last sample lies at or before time zero)";
inline constexpr const char kMsgErrorDepthConvertOneSample[] =
    "Error: Depth Convert: %s - %s has one sample per trace, which gives no depth increment";
inline constexpr const char kMsgErrorDepthConvertVelocitiesDoNotFit[] =
    "Error: Depth Convert: %s - the velocities were saved for another number of samples per "
    "trace than the %i of %s: edit the velocities again";
inline constexpr const char kMsgErrorElevationConvertBlank[] =
    "Error: Elevation Convert: %s - the elevation file holds blank or invalid values: edit the "
    "values again";
inline constexpr const char kMsgErrorElevationConvertIncrement[] =
    "Error: Elevation Convert: %s - %s has a depth increment of %g, which must be above 0";
inline constexpr const char kMsgErrorElevationConvertShortFile[] =
    "Error: Elevation Convert: %s - the elevation file holds fewer than the %i elevations of the "
    "profile: edit the values again";
inline constexpr const char kMsgErrorElevationConvertTooManySamples[] =
    "Error: Elevation Convert: %s - the elevations span %g ft, which needs %.0f samples per "
    "trace at the depth increment of %s (at most %i)";
inline constexpr const char kMsgNegativeTimeValuesAreNotAllowed[] =
    "Negative time values are not allowed";
inline constexpr const char kMsgOnlyPositiveSearchRadiusValuesAreAllowed[] =
    "Only positive search radius values are allowed";
inline constexpr const char kMsgOnlyPositiveVelocityValuesAreAllowed[] =
    "Only positive velocity values are allowed";
inline constexpr const char kMsgTheElevationDataFileDoesNotExist[] =
    "The elevation data file does not exist";
inline constexpr const char kMsgTheVelocityFileDoesNotExist[] = "The velocity file does not exist";
inline constexpr const char kMsgCreateProfileCompleted[] =
    "Create Profile: %s - Completed";
inline constexpr const char kMsgRawDataAddedFailed[] =
    "Raw Data Added: %s - Failed";
inline constexpr const char kMsgRawDataAddedCompleted[] =
    "Raw Data Added: %s - Completed";
inline constexpr const char kMsgProfileOpenCompleted[] =
    "Profile Open: %s - Completed";
inline constexpr const char kMsgRawDataOpenFailed[] =
    "Raw Data Open: %s - Failed";
inline constexpr const char kMsgRawDataOpenCompleted[] =
    "Raw Data Open: %s - Completed";
inline constexpr const char kMsgProfileNameNotAFileName[] =
    "Profile name %s can not be used as a file name (no \"/\" or \"..\")";
inline constexpr const char kMsgProfileNameUsed[] =
    "Profile name %s already used, choose another";
inline constexpr const char kMsgNotAFileNameInProject[] =
    "Error: %s is not a file name inside the project folder";
inline constexpr const char kMsgRecordingTooShort[] =
    "Error: %s does not hold the %i traces of %i samples its header gives";

// Reverse, Crop, Reorder and Resample: the trace order and time window dialogs
// and the rewrite of the raw items they change.
inline constexpr const char kMsgErrorParsing[] = "Error parsing %s.";
inline constexpr const char kMsgReorderCompleted[] = "Reorder: %s %s - Completed";
inline constexpr const char kMsgReorderFailed[] = "Reorder: %s %s - Failed, %s";
inline constexpr const char kMsgOnlyPositiveTimeIncrementsAreAllowed[] =
    "Only positive time increments are allowed";
inline constexpr const char kMsgCannotResample[] = "Cannot resample %s: %s";
inline constexpr const char kMsgResampleCompleted[] = "Resample: %s %f %f %f - Completed";
inline constexpr const char kMsgResampleFailed[] = "Resample: %s %f %f %f - Failed, %s";
inline constexpr const char kMsgResampleEndTimeCut[] =
    "Warning: Resample: %s - a GSSI recording holds at most 2048 samples per trace, so the new "
    "end time is %.2f instead of %.2f";
inline constexpr const char kMsgResamplingRawData[] = "Resampling Raw Data";
inline constexpr const char kMsgWritingData[] = "Writing Data";

}  // namespace quv
