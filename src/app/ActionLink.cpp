#include "app/ActionLink.h"

#include <QKeySequence>

#include <type_traits>

namespace pellucor::app {
namespace {

// The action's properties as they were at the last change the link saw.
struct Seen {
    QString text;
    QString toolTip;
    bool enabled = true;
    QKeySequence shortcut;
};

Seen Snapshot(const QAction* action) {
    return {action->text(), action->toolTip(), action->isEnabled(), action->shortcut()};
}

// A QObject that dies with the client and carries the last snapshot.
class LinkState : public QObject {
public:
    LinkState(QObject* client, const QAction* action) : QObject(client), seen(Snapshot(action)) {}
    Seen seen;
};

// What both kinds of client share; the shortcut is a menu entry's only.
template <typename Client>
void Link(QAction* action, Client* client, LinkCaption caption) {
    constexpr bool hasShortcut = std::is_same_v<Client, QAction>;
    if (caption == LinkCaption::FromAction) client->setText(action->text());
    client->setToolTip(action->toolTip());
    client->setEnabled(action->isEnabled());
    if constexpr (hasShortcut) client->setShortcut(action->shortcut());
    auto* link = new LinkState(client, action);
    QObject::connect(action, &QAction::changed, link, [action, client, link] {
        const Seen now = Snapshot(action);
        Seen& old = link->seen;
        if (now.text != old.text && client->text() == old.text) client->setText(now.text);
        if (now.toolTip != old.toolTip && client->toolTip() == old.toolTip) client->setToolTip(now.toolTip);
        if (now.enabled != old.enabled && client->isEnabled() == old.enabled) client->setEnabled(now.enabled);
        if constexpr (hasShortcut)
            if (now.shortcut != old.shortcut && client->shortcut() == old.shortcut) client->setShortcut(now.shortcut);
        old = now;
    });
    const auto run = [action] {
        if (action->isEnabled()) action->trigger();  // a disabled action does not run
    };
    if constexpr (hasShortcut) QObject::connect(client, &QAction::triggered, action, run);
    else QObject::connect(client, &QAbstractButton::clicked, action, run);
}

} // namespace

void LinkAction(QAction* action, QAction* client, LinkCaption caption) { Link(action, client, caption); }

void LinkAction(QAction* action, QAbstractButton* client, LinkCaption caption) { Link(action, client, caption); }

} // namespace pellucor::app
