// The blank cell of the numeric tables (velocities, elevations, markers,
// geometry): an empty cell holds 2e38, and any value above 1e38 counts as
// blank.
#pragma once

namespace quv {

constexpr float kBlankCell = 2e38f;
inline bool isBlankCell(float v) { return v > 1e38f; }

}  // namespace quv
