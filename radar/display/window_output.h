// Print, Export and Copy of the display windows: the framework's File
// Print (57607), Export (32769) and Edit Copy (57634) reach the active
// window, which hands its display over as a figure. The profile window's
// normal mode gives its normal display, its presentation mode the page;
// text mode does nothing.
#pragma once

namespace quv {

class CProfileWnd;
class CRawWnd;

// True when `id` is one of the three (and it was carried out).
bool profileWindowOutput(CProfileWnd& w, int id);
bool rawWindowOutput(CRawWnd& w, int id);

}  // namespace quv
