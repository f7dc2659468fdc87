#pragma once

// delvar-cli sidecar FILE [--epsg N]: the fixes of a position sidecar and
// what was skipped, as JSON on stdout.
int runSidecar(int argc, char** argv);
