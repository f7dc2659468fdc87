// Import QUV - Brennic Project: every line of a Brennic project becomes a
// profile of the open project, each version of the line a time or depth
// version of it.
#pragma once

namespace quv {

// The profile type's Import callback: asks for the project file and imports
// it, one message-bar line per fault and a final line for the whole import.
void importBrennicCommand();

}  // namespace quv
