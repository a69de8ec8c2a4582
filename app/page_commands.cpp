// The main window's page and file commands: the save query, save and save
// as, open, new, copy as new, delete, and paging through the Sketchbook.
#include <filesystem>
#include <system_error>

#include "app/main_frame.h"
#include "app/page_order.h"
#include "app/sketchbook.h"
#include "framework/controls/message_box.h"
#include "framework/platform/file_dialog.h"
#include "framework/platform/paths.h"
#include "framework/platform/time.h"
#include "framework/text/format.h"
#include "framework/text/path_names.h"
#include "host/dialogs.h"
#include "host/host.h"
#include "render/save_to_file.h"

namespace penwick {

namespace {

constexpr std::string_view kOpenFilter = "Penwick Files (*.wnk)|*.wnk|All Files|*.*||";
constexpr std::string_view kSaveFilter =
    "Penwick Files (*.wnk)|*.wnk|Scalable Vector Graphics (*.svg)|*.svg;*.svgz|All Files|*.*||";

// The reference for paging from a page without a file: a name never made,
// which gives the Sketchbook's folder and the pages' extension.
std::string newPageReference() {
    return sketchbookFolder() + "/-.wnk";
}

ClientRect clientOf(const CanvasView& view) {
    host::Rect r = host::instance().clientRect(view.handle());
    return {r.left, r.top, r.right, r.bottom};
}

// The page as its file keeps it: the shape being drawn (strokes at the
// group or stroke level) belongs to it too. The canvas goes on drawing it.
Sketch pageToSave(const Sketch& sketch) {
    Sketch page = sketch.snapshot();
    page.commitCurrent(-1);
    return page;
}

}  // namespace

bool MainFrame::loadPage(const std::string& path) {
    std::string error;
    if (view_->load(path, error)) {
        // The steps of the page left behind would carry its drawing here.
        view_->history.clear();
        return true;
    }
    std::string text =
        format("The sketch %s cannot be opened:\n%s", path.c_str(), error.c_str()).c_str();
    if (started_)
        messageBox(handle(), text, "", host::MB_OK | host::MB_ICONEXCLAMATION);
    else
        startupReports_.push_back(text);
    return false;
}

void MainFrame::reportSaveFailure(const std::string& what, const std::string& reason) {
    messageBox(
        handle(),
        format("%s:\n%s\nThe page stays open with its changes.", what.c_str(), reason.c_str())
            .view(),
        "", host::MB_OK | host::MB_ICONHAND);
}

void MainFrame::reportSaveFailureOf(const std::string& path, const std::string& reason) {
    reportSaveFailure(format("The sketch cannot be saved as %s", path.c_str()).c_str(), reason);
}

bool MainFrame::saveQuery() {
    if (!view_->modified) return true;
    // A page is left only once its file holds it: a save that was an SVG
    // export keeps it here.
    if (autoSave()) return save() && !view_->modified;
    std::string name(currentFile_.empty() ? std::string_view() : fileNameOf(currentFile_));
    switch (messageBox(handle(), format("Save changes to %s?", name.c_str()).view(), "",
                       host::MB_YESNOCANCEL)) {
        case host::IDYES:
            return save() && !view_->modified;
        case host::IDNO:
            return true;
        default:
            return false;
    }
}

bool MainFrame::save() {
    bool claimed = false;
    if (currentFile_.empty()) {
        if (!autoSave()) return saveAs();
        const std::string& book = sketchbookFolder();
        std::string error = "no documents folder is known";
        if (!book.empty()) {
            makePath(book);
            currentFile_ = claimNewPage(book, now(), error);
        }
        if (currentFile_.empty()) {
            reportSaveFailure(
                format("The Sketchbook folder %s takes no new page", book.c_str()).c_str(), error);
            return false;
        }
        claimed = true;
    }
    // A page its owner made read-only is kept as it is; replacing it needs
    // only the folder's permission, so the file's own is asked here.
    SaveResult saved = isReadOnlyFile(currentFile_)
                           ? SaveResult{false, "the file is read-only"}
                           : saveToFile(currentFile_, pageToSave(view_->sketch), clientOf(*view_));
    if (!saved) {
        reportSaveFailureOf(currentFile_, saved.error);
        // A new page whose file stayed empty stays new: a later save claims
        // a name afresh rather than one another window may have taken since.
        if (claimed && releaseClaimedPage(currentFile_)) currentFile_.clear();
        return false;
    }
    view_->modified = false;
    return true;
}

bool MainFrame::saveAs() {
    FileDialog dialog;
    std::string initial = liesIn(currentFile_, sketchbookFolder()) ? std::string() : currentFile_;
    if (dialog.run(false, "wnk", initial, host::OFN_OVERWRITEPROMPT | host::OFN_HIDEREADONLY,
                   kSaveFilter, handle()) != 1)
        return false;
    std::string chosen(dialog.result(0).view());
    if (chosen.empty()) return false;
    SaveResult saved = saveToFile(chosen, pageToSave(view_->sketch), clientOf(*view_));
    if (!saved) {
        reportSaveFailureOf(chosen, saved.error);
        return false;
    }
    // An export leaves the page as it was: its file still lacks the changes.
    if (ktString(extensionOf(fileNameOf(chosen))).equalsNoCase("wnk")) {
        view_->modified = false;
        currentFile_ = chosen;
    }
    return true;
}

bool MainFrame::open(const std::string& given) {
    if (!saveQuery()) return false;
    // Absolute, so that paging and the Sketchbook know its folder.
    std::string path = given.empty() ? given : std::string(fullPath(given).view());
    if (path.empty()) {
        FileDialog dialog;
        if (dialog.run(true, "wnk", "", host::OFN_HIDEREADONLY | host::OFN_FILEMUSTEXIST,
                       kOpenFilter, handle()) != 1)
            return false;
        path = dialog.result(0).view();
        if (path.empty()) return false;
    }
    if (!loadPage(path)) return false;
    currentFile_ = path;
    return true;
}

void MainFrame::newPage() {
    if (!saveQuery()) return;
    currentFile_.clear();
    view_->execute("cls");
    view_->history.clear();
    view_->modified = false;
}

void MainFrame::copyAsNew() {
    currentFile_.clear();
    view_->modified = true;
}

void MainFrame::deletePermanently() {
    if (messageBox(handle(), "Permanently delete this picture?", "", host::MB_YESNO) != host::IDYES)
        return;
    view_->execute("cls");
    view_->modified = false;
    if (currentFile_.empty()) return;

    std::string target = steppedPage(currentFile_, +1);
    if (target == currentFile_) target.clear();
    std::error_code error;
    if (!std::filesystem::remove(currentFile_, error) && error) {
        // The canvas is already empty and moves on; the person learns that
        // the file is still there.
        messageBox(handle(),
                   format("The sketch %s cannot be deleted:\n%s", currentFile_.c_str(),
                          error.message().c_str())
                       .view(),
                   "", host::MB_OK | host::MB_ICONEXCLAMATION);
    }
    if (target.empty()) {
        std::vector<std::string> pages = pagesInOrder(sketchbookFolder(), ".wnk");
        if (!pages.empty()) target = sketchbookFolder() + "/" + pages.back();
    }
    currentFile_.clear();
    if (!target.empty() && fileExists(target)) open(target);
}

void MainFrame::stepPage(int step) {
    if (!saveQuery()) return;
    std::string reference = currentFile_.empty() ? newPageReference() : currentFile_;
    // A page that cannot be read is reported and stepped over: one damaged
    // page does not hide the pages beyond it.
    for (;;) {
        std::string target = steppedPage(reference, step);
        if (target == reference || target == currentFile_ || !fileExists(target)) return;
        if (loadPage(target)) {
            currentFile_ = target;
            return;
        }
        reference = target;
    }
}

void MainFrame::firstOrLastPage(bool last) {
    if (!saveQuery()) return;
    // The folder's own order is none on Linux: the order of paging.
    std::vector<std::string> pages = pagesInOrder(sketchbookFolder(), ".wnk");
    if (pages.empty()) return;
    std::string target = sketchbookFolder() + "/" + (last ? pages.back() : pages.front());
    if (target != currentFile_ && fileExists(target)) open(target);
}

}  // namespace penwick
