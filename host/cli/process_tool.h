// delvar-cli process: one processing step on one version of a profile of a
// project, run headless; prints the new version's tab label.
//
//   delvar-cli process PROJECT.orx PROFILE STEP [PARAM=VALUE ...] [--version T1]
//
// STEP is dewow, background, bandpass, lowpass, highpass or envelope; the
// version is the profile's shown one unless --version names another. Exits
// 0 when the version was written, 1 with a message naming what is accepted
// otherwise (nothing is written), 2 for a command line it does not understand.
#pragma once

int runProcess(int argc, char** argv);
