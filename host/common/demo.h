// The bundled demo: a project "Demo" in a folder of the user's choosing,
// made on first run with a synthetic recording of each of the five formats
// added to it and a profile created from each.
#pragma once

#include <string>

namespace synth {
struct LineRecipe;
}

namespace host {

// Makes the demo folder and its synthetic field recordings (folder
// "field"), and returns the job that opens the demo project: on first run
// it creates the project, adds the recordings through Add Data and creates a
// profile from each; later it just opens it. Either way it ends with the
// raw data window of LINE01.DZT and the profile window of LINE01 open. "" when the folder cannot be made.
std::string demoJob(const std::string& folder);

// The headless demo's last steps: the profile window and the raw data window
// painted into PNG files in the demo folder.
std::string demoRenderJob(const std::string& folder);

// Writes a synthetic recording: FORMAT is DZT, HD, RAD, SG2 or SGY, or
// BRENNIC for a Brennic project (PATH its .prj). Returns
// the library's status (negative on failure) or -1 for an unknown format.
int writeSynthetic(const std::string& format, const std::string& path, int traces, int samples);
// A synthetic Brennic project at path (.prj) with its line databases and
// SEG-Y data files beside it: LINE1 with a time and a depth version, LINE2
// with a time version ("synth BRENNIC PATH" in job scripts).
int writeBrennicProject(const std::string& path, const synth::LineRecipe& recipe);

}  // namespace host
