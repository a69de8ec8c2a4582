#pragma once
// Printing the visible canvas: the print dialog with a page range, then one
// copy of what the window shows per page number of the range, each on a
// page filled with the paper colour and drawn by the vector drawing so that
// the main window's width fills the page's width (what lies below the
// page's height is cut off). A "Printing" dialog with a Cancel button is
// shown meanwhile, owned by the main window, which stays disabled until
// printing ends; messages are handled between pages, so Cancel stops before
// the next one. Printing into a PDF file is the same: the desktop's print
// dialog offers it as a printer.
//
// Steps and their failures:
//   dialog cancelled                -> nothing else happens
//   no printer context              -> "Win32 Error" box; nothing printed
//   document start fails            -> "Win32 Error" box; nothing printed
//   a page cannot be started/ended  -> "Win32 Error" box; printing stops
//   Cancel (the dialog has gone)    -> the document is ended before the next page
// The main window is enabled again, brought to the front and repainted
// whatever happened after the dialog was accepted.

#include <string>

#include "canvas/canvas_view.h"
#include "host/dialogs.h"

namespace penwick {

// The print settings of this run, offered by the next print dialog: at
// first pages 1 to 1 of 1 to 1000, one copy, the default printer; after
// every accepted dialog what the user chose there.
host::PrintSettings& rememberedPrintSettings();

// Prints the canvas, whose parent is the main window, with `documentName`
// as the print job's name (the current file; empty for a page never saved).
void printSketch(CanvasView& canvas, const std::string& documentName);
// The same with the given record of remembered settings.
void printSketch(CanvasView& canvas, const std::string& documentName,
                 host::PrintSettings& remembered);

}  // namespace penwick
