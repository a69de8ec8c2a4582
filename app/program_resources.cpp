#include "app/program_resources.h"

#include "framework/controls/dialog.h"
#include "host/dialogs.h"
#include "host/keys.h"
#include "host/window_style.h"

namespace penwick {

namespace {

using host::MenuTemplate;

MenuTemplate item(const char* text, int id) {
    return {text, std::uint32_t(id), 0, {}};
}
MenuTemplate separator() {
    return {"", 0, host::MF_SEPARATOR, {}};
}
MenuTemplate popup(const char* text, std::vector<MenuTemplate> items) {
    return {text, 0, host::MF_POPUP, std::move(items)};
}

MenuTemplate mainMenu() {
    MenuTemplate bar;
    bar.children = {
        popup(
            "&File",
            {item("&New", kCommandNew), item("Copy As New", kCommandCopyAsNew), separator(),
             item("&Open...", kCommandOpen), item("&Save", kCommandSave),
             item("Save &As...", kCommandSaveAs), separator(),
             item("&Delete Permanently", kCommandDelete), separator(),
             item("Auto Save", kCommandAutoSave), separator(), item("N&ext Page", kCommandNextPage),
             item("&Previous Page", kCommandPreviousPage), separator(),
             item("Print (?)", kCommandPrint), separator(), item("E&xit", kCommandExit)}),
        popup("&Edit", {item("&Copy", kCommandCopy), item("&Paste", kCommandPaste),
                        item("Cu&t", kCommandCut), item("&Delete", kCommandDeleteShapes)}),
        popup("&View", {item("Show &All", kCommandShowAll), item("Grid", kCommandGrid),
                        item("&Full Screen", kCommandFullScreen)}),
        popup("&Tools", {item("&Draw", kCommandDraw), item("&Select", kCommandSelect)}),
        popup("Options", {item("Sense Pressure", kCommandSensePressure),
                          item("Active Smooth", kCommandActiveSmooth)}),
        popup("&Help", {item("&Help", kCommandHelp), item("&Home Page", kCommandHomePage),
                        item("&About ...", kCommandAbout)}),
    };
    return bar;
}

MenuTemplate pageMenu() {
    MenuTemplate bar;
    bar.children = {
        popup("File", {item("First", kCommandFirstPage), item("Last", kCommandLastPage)})};
    return bar;
}

AcceleratorTable mainAccelerators() {
    using A = Accelerator;
    constexpr std::uint8_t key = A::kVirtKey | A::kNoInvert;
    return {
        {A::kAlt, '/', kCommandAbout},  // a character accelerator
        {key | A::kControl, 'N', kCommandNew},
        {key | A::kControl | A::kShift, 'N', kCommandCopyAsNew},
        {key | A::kControl, 'O', kCommandOpen},
        {key | A::kControl, 'P', kCommandPrint},
        {key | A::kControl, 'S', kCommandSave},
        {key | A::kControl | A::kShift, 'S', kCommandSaveAs},
        {key | A::kControl | A::kShift, host::VK_DELETE, kCommandDelete},
        {key | A::kAlt, host::VK_HOME, kCommandFirstPage},
        {key | A::kAlt, host::VK_END, kCommandLastPage},
        {key | A::kAlt, host::VK_NEXT, kCommandNextPage},
        {key | A::kAlt, host::VK_PRIOR, kCommandPreviousPage},
        {key, host::VK_F1, kCommandHelp},
        {key, host::VK_F11, kCommandFullScreen},
    };
}

DialogTemplate printingDialog() {
    DialogTemplate t;
    t.caption = "Printing";
    t.width = 153;
    t.height = 58;
    t.fontFace = "MS Sans Serif";
    t.fontPoints = 8;
    t.style =
        host::WS_POPUP | host::WS_CAPTION | host::WS_SYSMENU | DS_MODALFRAME | host::WS_VISIBLE;
    t.items = {{DialogItem::Kind::text, "Printing...", -1, 62, 17, 30, 8, false},
               {DialogItem::Kind::button, "Cancel", host::IDCANCEL, 55, 37, 44, 14, false}};
    return t;
}

}  // namespace

const ktResources& programResources() {
    static const ktResources resources = [] {
        ktResources r;
        r.menus[kMainMenuResource] = mainMenu();
        r.menus[kPageMenuResource] = pageMenu();
        r.accelerators[kMainMenuResource] = mainAccelerators();
        r.dialogs[kPrintingDialogResource] = printingDialog();
        return r;
    }();
    return resources;
}

}  // namespace penwick
