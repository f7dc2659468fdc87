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
inline constexpr const char kMsgErrorTheColumnOrderDialogIsNotAvailable[] =
    "Error: %s - the column-order dialog of the format library is not loaded";
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

// Display settings pages: an invalid entry replaced by its fallback or limit.
inline constexpr const char kMsgWarnAgcWindow[] = "Warning: Traces - A. G. C. window set to default";
inline constexpr const char kMsgWarnWiggleEvery[] = "Warning: Traces - Wiggles every nth trace set to default";
inline constexpr const char kMsgWarnTracesWidth[] = "Warning: Traces - Width set to default";
inline constexpr const char kMsgWarnTracesHeight[] = "Warning: Traces - Height set to default";
inline constexpr const char kMsgWarnHFixed[] = "Warning: Horizontal Axis - Fixed number of values set to default";
inline constexpr const char kMsgWarnHEveryNth[] = "Warning: Horizontal Axis - Every nth trace set to default";
inline constexpr const char kMsgWarnHIncrement[] = "Warning: Horizontal Axis - Coordinate increment set to default";
inline constexpr const char kMsgWarnHDecimals[] = "Warning: Horizontal Axis - Number of decimals set to limit";
inline constexpr const char kMsgWarnHMinors[] = "Warning: Horizontal Axis - Number of minors/value set to default";
inline constexpr const char kMsgWarnHFont[] = "Warning: Horizontal Axis - Font size set to limit";
inline constexpr const char kMsgWarnHFirst[] = "Warning: Horizontal Axis - First trace set to limit";
inline constexpr const char kMsgWarnHLast[] = "Warning: Horizontal Axis - Last trace set to limit";
inline constexpr const char kMsgWarnHWidth[] = "Warning: Horizontal Axis - Width set to default";
inline constexpr const char kMsgWarnHPerUnit[] = "Warning: Horizontal Axis - Traces/unit set to default";
inline constexpr const char kMsgWarnHScale[] = "Warning: Horizontal Axis - Scale set to default";
inline constexpr const char kMsgWarnVVelocity[] = "Warning: Vertical Axis - Velocity set to default";
inline constexpr const char kMsgWarnVFixed[] = "Warning: Vertical Axis - Fixed number of values set to default";
inline constexpr const char kMsgWarnVEveryNth[] = "Warning: Vertical Axis - Every nth sample set to default";
inline constexpr const char kMsgWarnVIncrement[] = "Warning: Vertical Axis - Coordinate increment set to default";
inline constexpr const char kMsgWarnVDecimals[] = "Warning: Vertical Axis - Number of decimals set to limit";
inline constexpr const char kMsgWarnVMinors[] = "Warning: Vertical Axis - Number of minors/value set to default";
inline constexpr const char kMsgWarnVFont[] = "Warning: Vertical Axis - Font size set to limit";
inline constexpr const char kMsgWarnVFirst[] = "Warning: Vertical Axis - First value set to limit";
inline constexpr const char kMsgWarnVLast[] = "Warning: Vertical Axis - Last value set to limit";
inline constexpr const char kMsgWarnVHeight[] = "Warning: Vertical Axis - Height set to default";
inline constexpr const char kMsgWarnVPerUnit[] = "Warning: Vertical Axis - Samples/unit set to default";
inline constexpr const char kMsgWarnVScale[] = "Warning: Vertical Axis - Depth scale set to default";
inline constexpr const char kMsgWarnPageWidth[] = "Warning: Page - Width set to default";
inline constexpr const char kMsgWarnPageHeight[] = "Warning: Page - Height set to default";
inline constexpr const char kMsgWarnPageLeft[] = "Warning: Page - Left margin set to default";
inline constexpr const char kMsgWarnPageTop[] = "Warning: Page - Top margin set to default";
inline constexpr const char kMsgWarnPageRight[] = "Warning: Page - Right margin set to default";
inline constexpr const char kMsgWarnPageBottom[] = "Warning: Page - Bottom margin set to default";
inline constexpr const char kMsgWarnPageMarginsTooLarge[] =
    "Warning: Page - Margins larger than the page set to default";
inline constexpr const char kMsgWarnTitleFont[] = "Warning: Title - Font size set to limit";
inline constexpr const char kMsgWarnHLabelFont[] = "Warning: Horizontal Label - Font size set to limit";
inline constexpr const char kMsgWarnVLabelFont[] = "Warning: Vertical Label - Font size set to limit";
inline constexpr const char kMsgWarnLegendFont[] = "Warning: Legend - Font size set to limit";
inline constexpr const char kMsgWarnElementSize[] = "Warning: %s - Size set to default";

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

// --- printing and image export ---------------------------------------------------
inline constexpr const char kMsgExportParameters[] = "Export Parameters";
inline constexpr const char kMsgExportImageTitle[] = "Export Image...";
inline constexpr const char kMsgExportParametersInvalid[] =
    "Width and height must be numbers above 0 (inches) and D. P. I. a whole number from 1 to 2400";
inline constexpr const char kMsgExportTooLarge[] =
    "An image of %.2f by %.2f inches at %i D. P. I. is too large to make";
inline constexpr const char kMsgExportWrittenTo[] = "Export: %s - written to %s";
inline constexpr const char kMsgPrintCompleted[] = "Print: %s - Completed";
inline constexpr const char kMsgPrintSelectedDocument[] = "Print Selected";
inline constexpr const char kMsgPrintWrittenTo[] = "Print: %s - written to %s";
inline constexpr const char kMsgPrintSelectedWrittenTo[] = "Print Selected: written to %s";
inline constexpr const char kMsgPrintFailed[] = "Print: %s - Failed";
inline constexpr const char kMsgPrintToPdfTitle[] = "No Printer Is Set Up - Print to PDF File";
inline constexpr const char kMsgNothingCouldBePrinted[] = "Nothing could be printed: %s";
inline constexpr const char kMsgNoPrinterNoPdf[] = "no printer is set up and no PDF file was chosen";
inline constexpr const char kMsgPrinterTookNoPage[] = "the printer did not take the page";
inline constexpr const char kMsgNoPrintingInThisBuild[] = "this build has no printing";
inline constexpr const char kMsgSendingImage[] = "Sending Image";
inline constexpr const char kMsgBandOf[] = "Band %i of %i";

// Markers, rubber sheeting and join.
inline constexpr const char kMsgWarningMarkersTraceNumberSetToLimit[] =
    "Warning: Markers - Trace number set to limit";
inline constexpr const char kMsgWarningMarkersIsNotANumber[] =
    "Warning: Markers - \"%s\" is not a number";
inline constexpr const char kMsgMarkersWithSameTraceValue[] =
    "Markers with same trace value are not allowed";
inline constexpr const char kMsgMustHaveAtLeast3Markers[] = "Must have at least 3 markers";
inline constexpr const char kMsgCannotExportLessThan3Markers[] = "Cannot export less than 3 markers";
inline constexpr const char kMsgTheMarkerFileDoesNotExist[] = "The marker file does not exist";
inline constexpr const char kMsgCouldNotCreateaFile[] = "Could not createa file";
inline constexpr const char kMsgPopulateNeedsNumbers[] =
    "Easting, Northing, Increment and Angle must be numbers";
inline constexpr const char kMsgNameCanNotBeBlank[] = "Name can not be blank";
inline constexpr const char kMsgRubberSheetCompleted[] = "Rubber Sheet: %s - Completed";
inline constexpr const char kMsgRubberSheetFailed[] = "Rubber Sheet: %s - Failed";
inline constexpr const char kMsgRubberSheetingToProfile[] = "Rubber Sheeting to Profile";
inline constexpr const char kMsgRubberSheetingTrace[] = "Rubber Sheeting Trace %i of %i";
inline constexpr const char kMsgBatchErrorFewerThan3Markers[] =
    "Batch Error - %s must have more that 3 markers to rubber sheet";
inline constexpr const char kMsgErrorRubberSheetMarkerOutside[] =
    "Error: Rubber Sheet: %s - a marker lies on trace %i, outside the %i traces of the recording";
inline constexpr const char kMsgErrorRubberSheetSameTrace[] =
    "Error: Rubber Sheet: %s - two markers lie on trace %i: each marker needs a trace of its own";
inline constexpr const char kMsgErrorRubberSheetZeroSegment[] =
    "Error: Rubber Sheet: %s - the markers on traces %i and %i lie on one point, which gives no "
    "trace spacing";
inline constexpr const char kMsgErrorRubberSheetTooManyTraces[] =
    "Error: Rubber Sheet: %s - the markers give %.0f traces of %i samples, more than a profile "
    "holds";
inline constexpr const char kMsgWarningJoinTraceNumberSetToLimit[] =
    "Warning: Join - Trace number set to limit";
inline constexpr const char kMsgWarningJoinIsNotANumber[] = "Warning: Join - \"%s\" is not a number";
inline constexpr const char kMsgProfileNameAlreadyUsed[] = "Profile name already used, choose another";
inline constexpr const char kMsgJoinSampleBySample[] =
    "Start time or time increment not the same, continue and join sample by sample?";
inline constexpr const char kMsgJoiningToProfile[] = "Joining to Profile";
inline constexpr const char kMsgJoinCompleted[] = "Join: %s - Completed";
inline constexpr const char kMsgJoinFailed[] = "Join: %s - Failed";
inline constexpr const char kMsgJoinSameTraces[] =
    "Start Trace and End Trace of %s are the same trace, which gives no trace spacing";
inline constexpr const char kMsgJoinNoSpacing[] =
    "The start and end points give a trace spacing of 0, so the gaps between the items cannot be "
    "counted";
inline constexpr const char kMsgJoinTooManyTraces[] =
    "The join gives %.0f traces of %i samples, more than a profile holds";

// Preferences: the default folders and the project's display defaults.
inline constexpr const char kMsgDisplayDefaultsNeedAProject[] =
    "%s: no project is open; the display defaults are kept with a project";
inline constexpr const char kMsgErrorNotADisplayDefaultsFile[] =
    "Error: Load Defaults - %s is not a display defaults file, nothing changed";
inline constexpr const char kMsgTheDefaultFileDoesNotExist[] = "The default file does not exist";
inline constexpr const char kMsgWarningDisplayDefaultsNotSaved[] =
    "Warning: %s - the display defaults could not be saved to %s; they are kept until the "
    "project closes";
inline constexpr const char kMsgWarningFileLocationsNotSaved[] =
    "Warning: File Locations - the folders could not be saved to %s; they are kept until the "
    "program ends";
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

inline constexpr const char kMsgRestoredAfterCutShortRewrite[] =
    "Restored %s and its data file as they were before a rewrite that was cut short";
inline constexpr const char kMsgReorderMarkersDropped[] =
    "Warning: Reorder: %s - %i markers on traces left out were removed from its marker file";
inline constexpr const char kMsgReorderMarkersNotSaved[] =
    "Warning: Reorder: %s - its marker file could not be rewritten for the new trace order";

// Processing steps (dewow, background removal, filters, envelope).
inline constexpr const char kMsgProcessCompleted[] = "%s: %s - Completed";
inline constexpr const char kMsgProcessFailed[] = "%s: %s - Failed";
inline constexpr const char kMsgProcessingProfile[] = "Processing Profile";
inline constexpr const char kMsgVersionMustBeTimeFor[] = "Version must be time for %s";
inline constexpr const char kMsgVersionHasNoSamplesToProcess[] = "Version %s has no samples to process";
inline constexpr const char kMsgProcessNotANumber[] = "%s must be a number";
inline constexpr const char kMsgProcessNotAWholeNumber[] = "%s must be a whole number";
inline constexpr const char kMsgProcessRefused[] = "%s: %s - Failed: %s";
inline constexpr const char kMsgProfileHasNoVersionToProcess[] = "the profile has no version of the chosen number";

// Time zero from the first break, migration and the hyperbola fit.
inline constexpr const char kMsgTimeZeroNoFirstBreak[] = "the version holds no sample above 0 to pick a first break on";
inline constexpr const char kMsgMigrationUnevenSpacing[] =
    "the geometry of %s spaces its traces unevenly (from %.4f to %.4f %s apart); migration needs even "
    "trace spacing and would put the diffractions in the wrong places";
inline constexpr const char kMsgMigrationNoSpacing[] =
    "the geometry of %s gives no trace spacing (its traces lie on one point); edit its geometry first";
inline constexpr const char kMsgMigrationNothingAfterTimeZero[] = "version %s has no samples after time zero to migrate";
inline constexpr const char kMsgMigrationTooLarge[] =
    "version %s would take %lld MB to migrate at once, more than the %lld MB allowed; crop the line first";
inline constexpr const char kMsgHyperbolaFitted[] = "Hyperbola at trace %i, %.2f ns: v = %.4f %s (semblance %.2f)";
inline constexpr const char kMsgHyperbolaNotFound[] = "Fit Hyperbola: no hyperbola fits at trace %i, %.2f ns";
inline constexpr const char kMsgFitHyperbolaClick[] = "Fit Hyperbola: click the apex of a diffraction";
inline constexpr const char kMsgFitHyperbolaTimeOnly[] = "Fit Hyperbola needs a time version";
inline constexpr const char kMsgNoFittedVelocity[] = "Use Fitted Velocity: %s - no velocity fitted yet (Fit Hyperbola)";
inline constexpr const char kMsgFittedVelocityUsed[] = "Use Fitted Velocity: %s %s - %.4f %s";

// Positions from GPS sidecars and lines exported to maps.
inline constexpr const char kMsgRawDataPositionsStored[] = "Positions stored with %s: %s (%s)";
inline constexpr const char kMsgGpsGeometryNotUsed[] =
    "Warning: Geometry from GPS: %s - %s; its line from the header is kept";
inline constexpr const char kMsgGpsGeometryPlaced[] = "Geometry from GPS: %s - %i nodes, %.2f %s";
inline constexpr const char kMsgExportLinesCompleted[] = "Export Lines: %s - Completed";
inline constexpr const char kMsgExportLinesFailed[] = "Export Lines - Failed, %s";
inline constexpr const char kMsgExportLinesSkipped[] = "Warning: Export Lines: %s left out";
inline constexpr const char kMsgGpsToleranceNotANumber[] = "Tolerance must be a number, 0 or more";
inline constexpr const char kMsgNoGpsElevations[] = "This profile has no elevations from GPS";
inline constexpr const char kMsgSmoothTracesWholeNumber[] = "Smooth must be a whole number of traces from 1 up";
inline constexpr const char kMsgMarkersFromGps[] = "Markers from GPS: %i markers in EPSG:%i";
inline constexpr const char kMsgNoMarkersFromGps[] = "No markers from GPS: %s";
inline constexpr const char kMsgMarkersFromGpsOf[] = "Markers from GPS: %s - %i markers in EPSG:%i";
inline constexpr const char kMsgMarkersFromGpsNone[] = "Warning: Markers from GPS: %s - %s; its markers are kept";
inline constexpr const char kMsgReplaceMarkersFromGps[] =
    "Replace the markers of every item listed with markers at its GPS fixes?";

// Positions that follow their traces through Reverse, Crop and Reorder.
inline constexpr const char kMsgReorderFixesDropped[] =
    "Warning: Reorder: %s - %i GPS fixes on traces left out were dropped from its positions";
inline constexpr const char kMsgReorderFixesNotSaved[] =
    "Warning: Reorder: %s - its positions could not be rewritten for the new trace order and were removed";

// Long lines: what a profile needs of the machine, said before anything is written.
// The amounts read "2.0 GB" or "350.0 MB".
inline constexpr const char kMsgNeedsMemory[] = "%s needs %s of memory for its samples; %s is free";
inline constexpr const char kMsgCreateProfileCancelled[] = "Create Profile: %s - Cancelled";
inline constexpr const char kMsgNeedsDisk[] = "%s needs %s of disk space for its samples; %s is free";

}  // namespace quv
