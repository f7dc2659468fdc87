// delvar-cli export: one profile version of a project rendered headless
// with its saved display settings into a PNG, PDF, SVG or BMP file.
//
//   delvar-cli export PROJECT.orx PROFILE OUT.{png,pdf,svg,bmp}
//              [--version T1|D1|E1] [--width IN --height IN --dpi N] [--rgb]
//              [--presentation] [--layout FILE.lay]
//
// Defaults: the profile's shown version, 11 x 8.5 inches at 300 dpi, PNG
// with the display's 8-bit colour table (--rgb: 24-bit). --presentation
// draws the version's presentation page (at the page's size unless given);
// --layout applies a page layout file to a copy of its record first (and
// implies --presentation). The project's files stay as they are. Exits 0 when the
// file was written, 1 with a message otherwise (nothing is left behind),
// 2 for a command line it does not understand.
#pragma once

int runExport(int argc, char** argv);
