// Printing a figure: no print dialog; the job goes to the PDF file a job
// script named (the `printer` statement), else to the default printer,
// else, where the system has no printer, to a PDF file the user is offered.
// The page is composed once at the device's full resolution and sent in
// tiles of 1000 x 1000 pixels, so the printer driver never receives one
// huge bitmap.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "display/export_image.h"
#include "dv/figure.h"

namespace quv {

constexpr int kPrintTile = 1000;

// Sends the picture in tiles: strips of 1000 rows from the top, each from
// left to right, the last strip and the last tile of a strip as narrow as
// needed. Before each strip `band` gets "Band %i of %i" (strip from 1,
// strips = (H + 999) / 1000) and strip * 100 / strips (100 for the last).
void sendInTiles(const dv::IndexedBitmap& picture, dv::PrintJob& job,
                 const std::function<void(const char* text, int percent)>& band);

// Starts a print job named `docName`. nullptr when nothing can be
// printed: the user has been told why.
std::unique_ptr<dv::PrintJob> openPrintJob(const std::string& docName);
// The figure on the job's next page (the first page when `first`):
// composed at the printable area with the wait cursor and sent in tiles
// with the progress window "Sending Image". False when it could not be composed.
bool printPage(dv::PrintJob& job, FigureSource& source, bool first);
// Ends the document. When it went to a PDF file the message bar says
// where ("Print: %s - written to %s", or for the batch "Print Selected:
// written to %s"); when nothing could be printed the user is told. False then.
bool closePrintJob(std::unique_ptr<dv::PrintJob> job, const std::string& docName, bool batch);
// The three for one figure on one page.
bool printFigure(FigureSource& source);

}  // namespace quv
