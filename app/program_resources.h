#pragma once
// The program's resources as data: the main menu and its accelerators
// (128), the page-jump menu (107) and the "Printing" dialog (151).

#include "framework/window/resources.h"

namespace penwick {

inline constexpr int kMainMenuResource = 128;
inline constexpr int kPageMenuResource = 107;
inline constexpr int kPrintingDialogResource = 151;

// Command ids of the main menu.
enum Command : int {
    kCommandNew = 40014,
    kCommandCopyAsNew = 40032,
    kCommandOpen = 40010,
    kCommandSave = 40006,
    kCommandSaveAs = 40009,
    kCommandDelete = 40011,
    kCommandAutoSave = 40013,
    kCommandNextPage = 40007,
    kCommandPreviousPage = 40008,
    kCommandPrint = 40015,
    kCommandExit = 131,
    kCommandCopy = 40028,
    kCommandPaste = 40029,
    kCommandCut = 40030,
    kCommandDeleteShapes = 40031,
    kCommandShowAll = 40012,
    kCommandGrid = 40016,
    kCommandFullScreen = 40005,
    kCommandDraw = 40023,
    kCommandSelect = 40019,
    kCommandSensePressure = 40026,
    kCommandActiveSmooth = 40027,
    kCommandHelp = 40004,
    kCommandHomePage = 33162,
    kCommandAbout = 130,
    kCommandFirstPage = 40033,
    kCommandLastPage = 40034,
};

const ktResources& programResources();

}  // namespace penwick
