// The Qt host: the core's menu records shown as Qt menus, the menu bar of a
// window and popup menus.
#include <QMenu>
#include <QMenuBar>

#include "host/qt/qt_conversions.h"
#include "host/qt/qt_host.h"
#include "host/qt/qt_surface.h"

namespace host::qt {

void QtHost::surfaceMenuChanged(CoreWindow& window) {
    Surface& s = surfaceOf(window);
    if (!s.outer) return;
    if (window.menu == kNoMenu) {
        delete s.menuBar.data();
    } else {
        if (!s.menuBar) {
            s.menuBar = new QMenuBar(s.outer);
            // The bar stays inside the window on every desktop, where the
            // client rectangle expects it.
            s.menuBar->setNativeMenuBar(false);
            s.menuBar->setEnabled(window.enabled);
            s.menuBar->show();
        }
        rebuildMenuBar(window);
    }
    layoutFrame(s, window);
}

void QtHost::fillQtMenu(QMenu& qmenu, Menu menu, Window owner, bool postCommands) {
    // Sub-menus made by the last filling go with their actions.
    for (QMenu* old : qmenu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        old->deleteLater();
    qmenu.clear();
    const MenuStore::Record* record = menus().find(menu);
    if (!record) return;
    for (std::size_t i = 0; i < record->items.size(); ++i) {
        const MenuItem& item = record->items[i];
        if (item.flags & MF_SEPARATOR) {
            qmenu.addSeparator();
            continue;
        }
        // "&" marks the mnemonic and "\t" starts the shortcut text, in Qt
        // as in the program's own texts.
        if (item.flags & MF_POPUP) {
            QMenu* sub = qmenu.addMenu(fromUtf8(item.text));
            sub->setEnabled(!(item.flags & MF_GRAYED));
            Menu subMenu = item.subMenu;
            int position = int(i);
            QObject::connect(
                sub, &QMenu::aboutToShow, sub, [this, sub, subMenu, owner, position, postCommands] {
                    sendMessage(owner, WM_INITMENUPOPUP, WParam(subMenu), makeLParam(position, 0));
                    fillQtMenu(*sub, subMenu, owner, postCommands);
                });
            continue;
        }
        QAction* action = qmenu.addAction(fromUtf8(item.text));
        action->setEnabled(!(item.flags & MF_GRAYED));
        action->setCheckable(item.flags & MF_CHECKED);
        action->setChecked(item.flags & MF_CHECKED);
        action->setData(QVariant::fromValue(quint32(item.id)));
        if (postCommands) {
            std::uint32_t id = item.id;
            QObject::connect(action, &QAction::triggered, action, [this, owner, id] {
                postMessage(owner, WM_COMMAND, makeWParam(int(id), 0), 0);
            });
        }
    }
}

void QtHost::rebuildMenuBar(CoreWindow& window) {
    Surface& w = surfaceOf(window);
    if (!w.menuBar) return;
    const MenuStore::Record* record = menus().find(window.menu);
    // Texts and states change in place: the bar is updated while one of its
    // popups opens (WM_INITMENU), and that popup must stay.
    QList<QAction*> actions = w.menuBar->actions();
    std::vector<const MenuItem*> shown;
    if (record)
        for (const MenuItem& item : record->items)
            if (!(item.flags & MF_SEPARATOR)) shown.push_back(&item);
    bool same = record && actions.size() == qsizetype(shown.size());
    for (std::size_t i = 0; same && i < shown.size(); ++i)
        same = (actions[qsizetype(i)]->menu() != nullptr) == bool(shown[i]->flags & MF_POPUP);
    if (same) {
        for (std::size_t i = 0; i < shown.size(); ++i) {
            actions[qsizetype(i)]->setText(fromUtf8(shown[i]->text));
            actions[qsizetype(i)]->setEnabled(!(shown[i]->flags & MF_GRAYED));
        }
        return;
    }
    for (QMenu* old : w.menuBar->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        old->deleteLater();
    w.menuBar->clear();
    if (!record) return;
    Window owner = window.handle;
    Menu bar = window.menu;
    for (std::size_t i = 0; i < record->items.size(); ++i) {
        const MenuItem& item = record->items[i];
        if (item.flags & MF_SEPARATOR) continue;
        if (!(item.flags & MF_POPUP)) {
            QAction* action = w.menuBar->addAction(fromUtf8(item.text));
            action->setEnabled(!(item.flags & MF_GRAYED));
            std::uint32_t id = item.id;
            QObject::connect(action, &QAction::triggered, w.menuBar, [this, owner, id] {
                postMessage(owner, WM_COMMAND, makeWParam(int(id), 0), 0);
            });
            continue;
        }
        QMenu* popup = w.menuBar->addMenu(fromUtf8(item.text));
        popup->setEnabled(!(item.flags & MF_GRAYED));
        Menu subMenu = item.subMenu;
        int position = int(i);
        QObject::connect(
            popup, &QMenu::aboutToShow, popup, [this, popup, bar, subMenu, owner, position] {
                // The framework updates the items first.
                sendMessage(owner, WM_INITMENU, WParam(bar), 0);
                sendMessage(owner, WM_INITMENUPOPUP, WParam(subMenu), makeLParam(position, 0));
                fillQtMenu(*popup, subMenu, owner, true);
            });
        // Filled now too, so that the bar can be looked through before use.
        fillQtMenu(*popup, subMenu, owner, true);
    }
}

int QtHost::runPopupMenu(Menu menu, Point screen, Window owner) {
    QMenu qmenu(outerWidget(owner));
    // The chosen item comes back from exec, not as a posted command.
    fillQtMenu(qmenu, menu, owner, false);
    QAction* chosen = qmenu.exec(QPoint(screen.x, screen.y));
    return chosen && chosen->data().isValid() ? int(chosen->data().toUInt()) : 0;
}

}  // namespace host::qt
