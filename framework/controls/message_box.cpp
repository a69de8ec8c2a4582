#include "framework/controls/message_box.h"

#include <algorithm>

#include "framework/controls/button.h"
#include "framework/platform/clipboard.h"
#include "framework/platform/graphics.h"
#include "framework/platform/version.h"
#include "framework/text/format.h"
#include "framework/text/text_helpers.h"
#include "host/dialogs.h"
#include "host/messages.h"
#include "host/window_style.h"

namespace penwick {

namespace {

constexpr int kMargin = 12;
constexpr int kMinimumWidth = 240;
constexpr int kMinimumHeight = 56;
constexpr int kIconArea = 44;
constexpr int kButtonRow = 36;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 8;
constexpr std::uint32_t kTextFlags = host::DT_NOPREFIX | host::DT_EXPANDTABS | host::DT_WORDBREAK;
constexpr std::uint32_t kBoxStyle =
    host::WS_VISIBLE | host::WS_CLIPCHILDREN | host::WS_CAPTION | host::WS_SYSMENU;
constexpr std::uint32_t kCopyCommand = 0x7F00;
constexpr int kCopyColumns = 50;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

}  // namespace

std::vector<ButtonSpec> parseButtonSpecs(std::string_view specification) {
    std::vector<ButtonSpec> specs;
    while (!specification.empty()) {
        std::size_t end = specification.find('\n');
        std::string_view line = specification.substr(0, end);
        specification =
            end == std::string_view::npos ? std::string_view{} : specification.substr(end + 1);
        ButtonSpec spec;
        line = trimLeft(line);
        if (!line.empty() && line.front() == '*') {
            spec.isDefault = true;
            line.remove_prefix(1);
        }
        if (!line.empty() && line.front() == ':') {
            std::size_t tab = line.find('\t');
            spec.id = -1;
            spec.target =
                ktString(line.substr(1, tab == std::string_view::npos ? line.npos : tab - 1));
            spec.label =
                ktString(tab == std::string_view::npos ? std::string_view{} : line.substr(tab + 1));
        } else {
            ktString rest(line);
            std::int32_t id = 0;
            if (rest.takeNumber(id)) spec.id = id;
            spec.label = rest;
        }
        specs.push_back(std::move(spec));
    }
    return specs;
}

int messageBoxWrapWidth(int displayWidth) {
    int quarter = displayWidth / 4;
    return quarter < kMinimumWidth ? 216 : quarter - 24;
}

MessageBoxLayout layoutMessageBox(int textWidth, int textHeight, bool withIcon, int buttonCount) {
    MessageBoxLayout layout;
    int width = std::max(textWidth + 2 * kMargin, kMinimumWidth);
    int textArea = std::max(textHeight + 2 * kMargin, kMinimumHeight);
    if (withIcon) width += kIconArea;
    layout.width = width;
    layout.height = textArea + kButtonRow;
    layout.icon = {kMargin, kMargin};
    layout.text = {kMargin + (withIcon ? kIconArea : 0), kMargin, width - kMargin,
                   textArea - kMargin};
    int n = std::max(buttonCount, 0);
    if (n == 0) return layout;
    int available = width - 2 * kMargin;
    int buttonWidth = kButtonWidth;
    if (n * kButtonWidth + (n - 1) * kButtonGap > available)
        buttonWidth = (available - (n - 1) * kButtonGap) / n;
    int row = n * buttonWidth + (n - 1) * kButtonGap;
    int x = kMargin + (available - row) / 2;
    for (int i = 0; i < n; ++i) {
        layout.buttons.push_back({x, textArea, x + buttonWidth, textArea + kButtonHeight});
        x += buttonWidth + kButtonGap;
    }
    return layout;
}

ktMessageBox::ktMessageBox(std::string_view text, std::string_view buttons, host::Icon icon)
    : icon_(icon), text_(text), buttons_(buttons) {}

bool ktMessageBox::create(std::string_view title, host::Window owner) {
    host::Host& h = host::instance();
    host::DisplayMode mode = displayMode().value_or(host::DisplayMode{1024, 768, 32, 0});
    host::Rect measured{0, 0, 0, 0};
    if (std::unique_ptr<host::DeviceContext> dc = h.getDC(host::kNoWindow)) {
        host::Font old = dc->selectFont(font());
        measured =
            dc->measureText(text_.view(), {0, 0, messageBoxWrapWidth(mode.width), 0}, kTextFlags);
        dc->selectFont(old);
    }
    if (icon_ == host::kNoIcon && owner != host::kNoWindow) icon_ = h.windowIcon(owner, true);
    if (icon_ == host::kNoIcon) icon_ = h.stockIcon(host::StockIcon::asterisk);

    std::vector<ButtonSpec> specs = parseButtonSpecs(buttons_.view());
    layout_ = layoutMessageBox(measured.width(), measured.height(), icon_ != host::kNoIcon,
                               int(specs.size()));
    host::Rect frame = h.adjustWindowRect({0, 0, layout_.width, layout_.height}, kBoxStyle, false);
    int x = (mode.width - frame.width()) / 2;
    int y = (mode.height - frame.height()) / 2;
    title_ = ktString(title);
    if (!ktWnd::create(nullptr, title, kBoxStyle, 0, owner, x, y, frame.width(), frame.height(),
                       -1))
        return false;
    setPopupOwner(owner);
    if (owner != host::kNoWindow) h.setWindowIcon(handle(), h.windowIcon(owner, true), true);

    host::Window focus = host::kNoWindow;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ButtonSpec& spec = specs[i];
        const host::Rect& r = layout_.buttons[i];
        auto* button = makeSelfOwned<ktButton>();
        button->setLinkTarget(spec.target.view());
        if (spec.id == -1) button->setStyle(ktButton::kLinkLook);
        if (spec.isDefault) button->setFlags(ktButton::kDefault);
        if (!button->create(
                nullptr, spec.label.view(), host::WS_CHILD | host::WS_VISIBLE | host::WS_TABSTOP,
                host::WS_EX_TRANSPARENT, handle(), r.left, r.top, r.width(), r.height(), spec.id)) {
            discard(button);
            continue;
        }
        if (spec.isDefault) {
            setDefaultButtonId(spec.id);
            focus = button->handle();
        } else if (focus == host::kNoWindow && i == 0) {
            focus = button->handle();
        }
    }
    // Without a default the first button has the focus; a default takes it.
    if (focus != host::kNoWindow) h.setFocus(focus);
    return true;
}

host::LResult ktMessageBox::windowProc(std::uint32_t message, host::WParam wParam,
                                       host::LParam lParam) {
    switch (message) {
        case host::WM_CONTEXTMENU:
            showContextMenu(lParam);
            return 0;
        case host::WM_COPY:
            putText(copyText().view());
            return 0;
        default:
            return ktPopup::windowProc(message, wParam, lParam);
    }
}

void ktMessageBox::showContextMenu(host::LParam screenPoint) {
    host::Host& h = host::instance();
    host::Menu menu = h.createMenu(true);
    h.appendMenu(menu, host::MF_STRING, kCopyCommand, "&Copy Dialog Text to Clipboard",
                 host::kNoMenu);
    int chosen =
        trackPopupMenu(host::pointX(screenPoint), host::pointY(screenPoint), menu, handle(), true);
    h.destroyMenu(menu);
    if (chosen == int(kCopyCommand)) send(host::WM_COPY);
}

void ktMessageBox::onPaint(host::PaintRecord paint) {
    if (!paint.dc) return;
    host::Host& h = host::instance();
    host::DeviceContext& dc = *paint.dc;
    fillWithButtonFace(dc, handle());
    if (icon_ != host::kNoIcon) dc.drawIcon(layout_.icon.x, layout_.icon.y, icon_);
    host::Font oldFont = dc.selectFont(font());
    dc.setTextColour(h.systemColour(host::COLOR_BTNTEXT));
    dc.setTransparentText(true);
    dc.drawText(text_.view(), layout_.text, kTextFlags);
    dc.selectFont(oldFont);
}

int ktMessageBox::onCommand(int id) {
    if (id < 1 || id > 9) return 0;
    close(id);
    return 1;
}

void ktMessageBox::onClose() {
    close(host::IDCANCEL);
}

ktString ktMessageBox::copyText() const {
    ktString dashes;
    dashes.fill(kCopyColumns, '-');
    dashes.append('\n');
    ktString text = dashes;
    text.append(title_).append('\n').append(dashes).append(text_).append('\n').append(dashes);
    std::string_view spec = buttons_.view();
    while (!spec.empty()) {
        std::size_t end = spec.find('\n');
        std::string_view line = trimLeft(spec.substr(0, end));
        spec = end == std::string_view::npos ? std::string_view{} : spec.substr(end + 1);
        std::size_t token = 0;
        while (token < line.size() && !isBlank(line[token]))
            ++token;
        text.append(trimLeft(line.substr(token))).append("   ");
    }
    text.append('\n').append(dashes);
    return wordWrap(text.view(), kCopyColumns);
}

// ---- messageBox and showMessageBox ------------------------------------------

int messageBox(host::Window owner, std::string_view text, std::string_view title,
               std::uint32_t type) {
    using namespace host;
    ktString buttons;
    switch (type & 0xF) {
        case MB_OKCANCEL:
            buttons = format("*%d &OK\n%d &Cancel", IDOK, IDCANCEL);
            break;
        case MB_ABORTRETRYIGNORE:
            buttons = format("%d &Abort\n*%d &Retry\n%d &Ignore", IDABORT, IDRETRY, IDIGNORE);
            break;
        case MB_YESNOCANCEL:
            buttons = format("*%d &Yes\n%d &No\n%d &Cancel", IDYES, IDNO, IDCANCEL);
            break;
        case MB_YESNO:
            buttons = format("*%d &Yes\n%d &No", IDYES, IDNO);
            break;
        case MB_RETRYCANCEL:
            buttons = format("*%d &Retry\n%d &Cancel", IDRETRY, IDCANCEL);
            break;
        default:
            buttons = "*1 &OK";
            break;
    }
    Icon icon = kNoIcon;
    std::uint32_t iconType = type & 0xF0;
    switch (iconType) {
        case MB_ICONHAND:
            icon = instance().stockIcon(StockIcon::hand);
            break;
        case MB_ICONQUESTION:
            icon = instance().stockIcon(StockIcon::question);
            break;
        case MB_ICONEXCLAMATION:
            icon = instance().stockIcon(StockIcon::exclamation);
            break;
        case MB_ICONASTERISK:
            icon = instance().stockIcon(StockIcon::asterisk);
            break;
        default:
            break;
    }
    if (icon != kNoIcon) instance().beep(iconType);
    ktString boxTitle = title.empty() ? versionRecord().fileDescription : ktString(title);
    // The keyboard goes back where it was once the box is gone, as it does
    // on every desktop: a key after the box reaches the window it was for.
    const Window focus = instance().focusWindow();
    ktMessageBox box(text, buttons.view(), icon);
    if (!box.create(boxTitle.view(), owner)) return 0;
    const int answer = box.runModal(owner);
    if (focus != kNoWindow && instance().isWindow(focus) && instance().isEnabled(focus))
        instance().setFocus(focus);
    return answer;
}

host::Window showMessageBox(host::Window owner, std::string_view text, std::string_view title,
                            std::string_view buttons) {
    auto* box = ktWnd::makeSelfOwned<ktMessageBox>(text, buttons);
    if (!box->create(title, owner)) {
        ktWnd::discard(box);
        return host::kNoWindow;
    }
    return box->handle();
}

}  // namespace penwick
